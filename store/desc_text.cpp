#include "store/desc_text.h"

#include "util/utilities.h"

#include <cstdint>

namespace qm {

namespace {

// Every line break is written as these two bytes: the CR LF that joins the
// lines, each byte then replaced by a space.
constexpr char break_bytes[] = "  ";

// The joined text's first bytes, up to `limit` when the content goes on.
struct joined_prefix {
    std::string text;
    bool complete = false;      // the whole content was joined
    bool ends_in_break = false; // the content's last byte closed a line break
};

joined_prefix join_lines(const char* content, std::size_t size, std::size_t limit) {
    joined_prefix out;
    out.text.reserve(limit + 2);
    std::size_t at = 0;
    while (at < size && content[at] != '\0') {
        if (out.text.size() >= limit) {
            return out;
        }
        const char byte = content[at++];
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && at < size && content[at] == '\n') {
                ++at;
            }
            out.text += break_bytes;
            out.ends_in_break = true;
        } else {
            out.text += byte;
            out.ends_in_break = false;
        }
    }
    out.complete = true;
    // Every line is followed by a break in the joined text, the last one too,
    // and the last two bytes are then dropped when there are more than two.
    // A content that ends in a break has already written the last line's
    // break; one that ends inside a line has not, and its added break is the
    // one that is dropped again.
    if (out.ends_in_break && out.text.size() > 2) {
        out.text.resize(out.text.size() - 2);
    }
    return out;
}

} // namespace

std::string long_desc_from_content(const char* content, std::size_t size) {
    // A window of joined bytes that holds 800 characters of a single-byte
    // code page with room to spare. When the window turns out too small (a
    // double-byte or UTF-8 text spends more bytes per unit), it grows until
    // the units before its last few bytes decide the cut.
    constexpr std::size_t margin_units = 8;
    std::size_t window = 1024;
    for (;;) {
        joined_prefix joined = join_lines(content, size, window + 2);
        if (joined.complete) {
            return left_chars(joined.text, long_desc_max_chars);
        }
        // The content goes on past the window, so the final text (the joined
        // text less at most two bytes at its very end) starts with the window.
        joined.text.resize(window);
        const wide_text units = to_wide(joined.text);
        if (units.size() >= static_cast<std::size_t>(long_desc_max_chars) + margin_units) {
            // The last bytes of the window can only change the last few units
            // (an incomplete sequence), never the first 800.
            return from_wide(units.data(), long_desc_max_chars);
        }
        window *= 4;
    }
}

} // namespace qm
