#include "util/utilities.h"

#include <algorithm>
#include <climits>
#include <new>

namespace qm {

namespace {

int checked_int(std::size_t length) {
    if (length > static_cast<std::size_t>(INT_MAX)) {
        throw std::bad_alloc();
    }
    return static_cast<int>(length);
}

} // namespace

std::string replace_char(std::string_view text, char sought, char replacement) {
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), sought, replacement);
    return copy;
}

UINT ansi_code_page() {
    // The ANSI code page is fixed for the life of a process, so asking each
    // time gives what a single read at start would, without state to keep.
    return GetACP();
}

wide_text to_wide(std::string_view text) {
    wide_text units;
    if (text.empty()) {
        return units;
    }
    const UINT code_page = ansi_code_page();
    const int length = checked_int(text.size());
    const int needed = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return units;
    }
    units.resize(static_cast<std::size_t>(needed));
    const int made = MultiByteToWideChar(code_page, 0, text.data(), length, units.data(), needed);
    units.resize(static_cast<std::size_t>(std::max(made, 0)));
    return units;
}

std::string from_wide(const WCHAR* units, std::size_t count) {
    std::string text;
    if (count == 0) {
        return text;
    }
    const UINT code_page = ansi_code_page();
    const int length = checked_int(count);
    const int needed =
        WideCharToMultiByte(code_page, 0, units, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return text;
    }
    text.resize(static_cast<std::size_t>(needed));
    const int made =
        WideCharToMultiByte(code_page, 0, units, length, text.data(), needed, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(std::max(made, 0)));
    return text;
}

std::string left_chars(std::string_view text, std::int32_t count) {
    if (count <= 0) {
        return {};
    }
    const wide_text units = to_wide(text);
    return from_wide(units.data(), std::min(units.size(), static_cast<std::size_t>(count)));
}

std::string upper_ascii(std::string_view text) {
    std::string copy(text);
    for (char& byte : copy) {
        if (byte >= 'a' && byte <= 'z') {
            byte = static_cast<char>(byte - ('a' - 'A'));
        }
    }
    return copy;
}

} // namespace qm
