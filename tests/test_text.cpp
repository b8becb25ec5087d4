// The text helpers.
#include "util/utilities.h"

#include <gtest/gtest.h>

namespace qmtest {
namespace {

TEST(text, replace_char_replaces_every_match_and_keeps_the_length) {
    struct row {
        std::string in;
        char sought;
        char replacement;
        std::string out;
    };
    const row rows[] = {
        {"", '|', ' ', ""},
        {"Ash|Wren", '|', ' ', "Ash Wren"},
        {"||", '|', ' ', "  "},
        {"a\r\nb", '\n', ' ', "a\r b"},
        {std::string("a\0b", 3), '\0', '-', "a-b"},
        {"\x81|", '|', ' ', "\x81 "}, // a byte above 127 does not hide the next one
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.in);
        const std::string original = r.in;
        EXPECT_EQ(qm::replace_char(r.in, r.sought, r.replacement), r.out);
        EXPECT_EQ(r.in, original);
    }
}

TEST(text, upper_ascii_raises_only_a_to_z) {
    EXPECT_EQ(qm::upper_ascii("desc-Auto"), "DESC-AUTO");
    EXPECT_EQ(qm::upper_ascii("az AZ 09 @[`{"), "AZ AZ 09 @[`{");
    // Latin-1 letters stay as they are: no locale is consulted.
    EXPECT_EQ(qm::upper_ascii("\xE9t\xE9"), "\xE9T\xE9");
    std::string all;
    for (int b = 128; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(qm::upper_ascii(all), all);
}

TEST(text, left_chars_takes_the_first_count_characters) {
    EXPECT_EQ(qm::left_chars("abcdef", 3), "abc");
    EXPECT_EQ(qm::left_chars("abc", 3), "abc");
    EXPECT_EQ(qm::left_chars("abc", 800), "abc");
    EXPECT_EQ(qm::left_chars("abc", 0), "");
    EXPECT_EQ(qm::left_chars("abc", -5), "");
    EXPECT_EQ(qm::left_chars("", 800), "");
}

} // namespace
} // namespace qmtest
