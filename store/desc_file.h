// Description files: one plain text file per character in the document
// folder, named after the character. The module only reads them.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace qm {

// Raised by load_long_desc when a description file exists but cannot be
// opened or read (access denied, or another program holds it open for
// writing). Entry points let it end the operation and keep it from the host.
struct description_unreadable : std::exception {
    [[nodiscard]] const char* what() const noexcept override {
        return "description file cannot be read";
    }
};

// doc_dir + the name with every "|" replaced by a space + ".txt".
//
// A name that would lead the path out of the document folder (one holding
// "\\", "/" or ":" as the ANSI code page reads it) has no description file:
// the result is then empty. In a double-byte code page a trail byte of 0x5C is
// part of its character, not a separator, and stays allowed. A path that the
// system reads as a device (a character named Con, Nul, Com1 or Lpt1, say) is
// no description file either: the result is empty, and nothing is opened,
// recycled or edited for it.
std::string desc_file_path(std::string_view name);

// True when a file (not a folder) exists at the path.
bool description_file_exists(const std::string& path);

// Sets long_desc from the character's description file: empty when there is
// no file, a folder or an unusable name. Throws description_unreadable when
// the file exists but cannot be read; long_desc is empty then too.
void load_long_desc(std::string_view name);

} // namespace qm
