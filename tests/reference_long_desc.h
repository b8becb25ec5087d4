// A plain, step-by-step model of how a description file's content becomes the
// long description: split into lines, join each followed by CR LF, replace LF
// and then CR by spaces, drop the last two bytes when there are more than two,
// cut to 800 UTF-16 units. Obviously correct and obviously slow; the module's
// own transformation must agree with it byte for byte.
#pragma once

#include "util/utilities.h"

#include <string>
#include <vector>

namespace qmtest {

inline std::string reference_long_desc(const std::string& content_in) {
    std::string content = content_in.substr(0, content_in.find('\0'));
    std::vector<std::string> lines;
    std::string piece;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char byte = content[i];
        if (byte == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
            lines.push_back(piece);
            piece.clear();
            ++i;
        } else if (byte == '\r' || byte == '\n') {
            lines.push_back(piece);
            piece.clear();
        } else {
            piece += byte;
        }
    }
    if (!piece.empty()) {
        lines.push_back(piece);
    }
    std::string joined;
    for (const std::string& line : lines) {
        joined += line + "\r\n";
    }
    joined = qm::replace_char(joined, '\n', ' ');
    joined = qm::replace_char(joined, '\r', ' ');
    if (joined.size() > 2) {
        joined.resize(joined.size() - 2);
    }
    return qm::left_chars(joined, 800);
}

} // namespace qmtest
