// Copies a text the host hands over into the module's own storage; the host's
// memory is never kept. A null pointer reads as the empty text.
#pragma once

#include <string>

namespace qm {

inline std::string copy_host_text(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

} // namespace qm
