// How a description file's content becomes the long description.
//
// The content ends at its first NUL byte. CR LF is one line break; every
// other CR and every other LF is a line break by itself. The lines are joined
// into one text with two spaces between them; a break at the very end adds no
// empty line, except that a content of nothing but one line break reads as two
// spaces. The text is then cut to its first 800 characters, counted in UTF-16
// code units of the ANSI code page. No other byte is touched.
#pragma once

#include <cstddef>
#include <string>

namespace qm {

inline constexpr std::int32_t long_desc_max_chars = 800;

// The long description for `size` bytes of file content.
//
// Only the start of the content that the cut can use is ever joined and
// converted, so the cost does not grow with the file beyond the read itself.
std::string long_desc_from_content(const char* content, std::size_t size);

} // namespace qm
