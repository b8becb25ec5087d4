// Auto-enable settings: per character, whether the module switches itself on
// at login. They live in the settings file (ini_path), section "Main", one key
// "%AE" + the character's name as the host reports it, value "1" or "0".
#pragma once

#include <string_view>

namespace qm {

enum class auto_enable_outcome { on, off, none };

// Reads the character's setting. `on` when the value starts with "1"; `none`
// when the key holds an empty value; `off` otherwise, a missing file, section
// or key included. Never creates the file.
auto_enable_outcome load_auto_enable(std::string_view name);

// Writes "1" or "0" under the character's key, creating the file and section
// when missing. A failed write goes unnoticed.
void save_auto_enable(std::string_view name, bool flag);

} // namespace qm
