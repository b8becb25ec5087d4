// What the ANSI code page changes: counting characters for the cut to 800,
// the conversion there and back, and which bytes of a name are separators.
//
// The Linux build runs every case in 1252, 932 and 65001 through the
// stand-in. The Windows build runs in the code page Wine gives the process;
// CTest runs the program once in 1252 and once more under a Japanese locale
// (932), and the first case makes sure each run got the code page its locale
// asks for.
// CTest lists the cases before it sets a run's locale, so the Windows
// instance is named for what it tests, the process's ANSI code page ("acp"),
// and each run's names carry its code page in front.
#include "module/module_state.h"
#include "platform/win32.h"
#include "store/desc_file.h"
#include "store/desc_text.h"
#include "tests/reference_long_desc.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#if !defined(_WIN32)
#include "platform/standin.h"
#endif

namespace qmtest {
namespace {

class code_page : public ::testing::TestWithParam<UINT> {
  protected:
    void SetUp() override {
#if !defined(_WIN32)
        standin::reset();
        standin::set_code_page(GetParam());
#endif
        qm::state = qm::module_state{};
        qm::state.doc_dir = folder.module_dir();
    }
    void TearDown() override {
        qm::state = qm::module_state{};
    }

    static bool double_byte() {
        return GetACP() == 932;
    }

    temp_folder folder;
};

TEST_P(code_page, the_run_has_the_code_page_it_asked_for) {
#if defined(_WIN32)
    // The locales CTest runs this program in, and the code page each gives.
    const char* locale = std::getenv("LC_ALL");
    const std::string asked = locale != nullptr ? locale : "";
    if (asked.starts_with("ja_JP")) {
        EXPECT_EQ(GetACP(), 932u);
    } else if (asked.starts_with("en_US")) {
        EXPECT_EQ(GetACP(), 1252u);
    } else {
        GTEST_SKIP() << "run in a locale of its own (LC_ALL=" << asked << ")";
    }
#else
    EXPECT_EQ(GetACP(), GetParam());
#endif
}

TEST_P(code_page, the_cut_counts_characters_not_bytes) {
    if (GetACP() == 1252) {
        // Every assigned byte survives the trip there and back, 800 of them.
        std::string high;
        while (high.size() < 1000) {
            for (int b = 0xA0; b <= 0xFF; ++b) {
                high += static_cast<char>(b);
            }
        }
        EXPECT_EQ(qm::long_desc_from_content(high.data(), high.size()), high.substr(0, 800));
    } else if (GetACP() == 932) {
        // HIRAGANA LETTER A, two bytes: 800 of them survive, 1600 bytes.
        std::string kana;
        for (int i = 0; i < 900; ++i) {
            kana += "\x82\xA0";
        }
        const std::string cut = qm::long_desc_from_content(kana.data(), kana.size());
        EXPECT_EQ(cut, kana.substr(0, 1600));
        // 799 single-byte characters and then one double-byte: 801 bytes.
        const std::string mixed = std::string(799, 'x') + "\x82\xA0" + "y";
        EXPECT_EQ(qm::long_desc_from_content(mixed.data(), mixed.size()), mixed.substr(0, 801));
    } else if (GetACP() == CP_UTF8) {
        // A character outside the BMP counts twice (a surrogate pair).
        std::string emoji;
        for (int i = 0; i < 500; ++i) {
            emoji += "\xF0\x9F\xA6\x8A"; // U+1F98A
        }
        const std::string cut = qm::long_desc_from_content(emoji.data(), emoji.size());
        EXPECT_EQ(cut, emoji.substr(0, 400 * 4));
    }
}

TEST_P(code_page, a_separator_byte_inside_a_double_byte_character_is_not_a_separator) {
    // 0x95 0x5C is one character in 932; elsewhere the 0x5C is a backslash.
    const std::string name = "\x95\x5C";
    if (double_byte()) {
        EXPECT_EQ(qm::desc_file_path(name), folder.module_dir() + name + ".txt");
    } else {
        EXPECT_EQ(qm::desc_file_path(name), "");
    }
    EXPECT_EQ(qm::desc_file_path("a\\b"), "");
}

// Contents built to hit every rule at once: line breaks of every kind, NULs,
// lead bytes without trail bytes, invalid sequences, long runs that cross the
// module's reading window.
std::string adversarial_content(std::mt19937& random) {
    static const std::string pieces[] = {
        "\r",       "\n",   "\r\n",         "\n\r",     std::string("\0", 1),
        "a",        "word", "\x82\xA0",     "\x82",     "\x95\x5C",
        "\xE3\x81", "\xFF", "\xF0\x9F\xA6", "\xC3\xA9", "\xF0\x9F\xA6\x8A",
        "\x81",     " ",    "\t",           "\xA0\xDF", "\xED\xA0\x80"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> shape(0, 9);
    std::string content;
    const int kind = shape(random);
    std::size_t length = kind < 6 ? 40 : (kind < 9 ? 3000 : 9000);
    while (content.size() < length) {
        const std::string& piece = pieces[pick(random)];
        if (piece[0] == '\0' && shape(random) != 0) {
            continue; // keep NULs rare, so most contents run their whole length
        }
        content += piece;
    }
    return content;
}

TEST_P(code_page, the_module_agrees_with_the_step_by_step_model) {
    std::mt19937 random(1234 + GetACP());
    for (int round = 0; round < 300; ++round) {
        const std::string content = adversarial_content(random);
        SCOPED_TRACE(round);
        ASSERT_EQ(qm::long_desc_from_content(content.data(), content.size()),
                  reference_long_desc(content));
    }
    // Long runs of one kind of character, so the reading window ends inside
    // a multi-byte character or between CR and LF.
    for (const std::string unit : {"\x82\xA0", "\xF0\x9F\xA6\x8A", "\xE3\x81\x82", "\r\n", "x\r"}) {
        for (std::size_t extra = 0; extra < 4; ++extra) {
            std::string content(extra, 'x');
            while (content.size() < 20000) {
                content += unit;
            }
            SCOPED_TRACE(unit + std::to_string(extra));
            ASSERT_EQ(qm::long_desc_from_content(content.data(), content.size()),
                      reference_long_desc(content));
        }
    }
}

#if defined(_WIN32)
INSTANTIATE_TEST_SUITE_P(process, code_page, ::testing::Values(0u),
                         [](const ::testing::TestParamInfo<UINT>&) { return std::string("acp"); });
#else
INSTANTIATE_TEST_SUITE_P(standin, code_page, ::testing::Values(1252u, 932u, 65001u));
#endif

} // namespace
} // namespace qmtest
