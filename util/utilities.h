// Utilities: the module's text helpers. Texts are 8-bit strings in the
// system's ANSI code page; every helper returns a new text and leaves its
// argument alone.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

using wide_text = std::basic_string<WCHAR>;

// A copy of `text` with every byte equal to `sought` replaced by
// `replacement`. Works on single bytes: in a double-byte code page a trail
// byte equal to `sought` is replaced too.
std::string replace_char(std::string_view text, char sought, char replacement);

// The first `count` characters of `text`, counted in UTF-16 code units of the
// ANSI code page. The text goes through the system conversion there and back
// whatever its length, so bytes that are invalid in the code page come back as
// the system converts them. A count of 0 or less gives the empty text.
std::string left_chars(std::string_view text, std::int32_t count);

// A copy of `text` with the ASCII letters a-z raised to A-Z; every other byte,
// those above 127 included, is copied unchanged. No locale is consulted.
std::string upper_ascii(std::string_view text);

// The system's ANSI code page.
UINT ansi_code_page();

// `text` converted to UTF-16 in the ANSI code page (flags 0).
wide_text to_wide(std::string_view text);

// The first `count` units of `units` converted back to the ANSI code page
// (flags 0, no default character).
std::string from_wide(const WCHAR* units, std::size_t count);

} // namespace qm
