// Auto-enable settings over the private-profile functions: the real ones
// under Wine, the stand-in on Linux.
#include "module/module_state.h"
#include "store/auto_enable.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

namespace qmtest {
namespace {

using qm::auto_enable_outcome;

class auto_enable : public ::testing::Test {
  protected:
    void SetUp() override {
        qm::state = qm::module_state{};
        qm::state.doc_dir = folder.module_dir();
        qm::state.ini_path = folder.module_dir() + "Quillmarker.ini";
    }
    void TearDown() override { qm::state = qm::module_state{}; }

    temp_folder folder;
};

const char* outcome_name(auto_enable_outcome outcome) {
    switch (outcome) {
    case auto_enable_outcome::on:
        return "on";
    case auto_enable_outcome::off:
        return "off";
    case auto_enable_outcome::none:
        return "none";
    }
    return "?";
}

TEST_F(auto_enable, no_settings_file_reads_off_and_creates_nothing) {
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash")), "off");
    EXPECT_FALSE(folder.exists("Quillmarker.ini"));
}

TEST_F(auto_enable, only_the_first_character_of_the_value_counts) {
    struct row {
        const char* file;
        const char* outcome;
    };
    const row rows[] = {
        {"[Main]\r\n%AEAsh=1\r\n", "on"},
        {"[Main]\r\n%AEAsh=0\r\n", "off"},
        {"[Main]\r\n%AEAsh=2\r\n", "off"},
        {"[Main]\r\n%AEAsh=yes\r\n", "off"},
        {"[Main]\r\n%AEAsh=true\r\n", "off"},
        {"[Main]\r\n%AEAsh=on\r\n", "off"},
        {"[Main]\r\n%AEAsh=10\r\n", "on"},
        {"[Main]\r\n%AEAsh=1abc\r\n", "on"},
        {"[Main]\r\n%AEAsh=12345678\r\n", "on"},
        {"[Main]\r\n%AEAsh=\r\n", "none"},
        {"[Other]\r\n%AEAsh=1\r\n", "off"},
        {"[Main]\r\n%AEWren=1\r\n", "off"},
        {"[Main]\r\n%AEAsh|Wren=1\r\n", "off"}, // another character's key
        {"[Main]\n%AEAsh=1\n", "on"},           // LF line ends, as an editor may save
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.file);
        folder.write("Quillmarker.ini", r.file);
        EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash")), r.outcome);
    }
}

TEST_F(auto_enable, the_key_keeps_the_bar_of_the_name) {
    folder.write("Quillmarker.ini", "[Main]\r\n%AEAsh|Wren=1\r\n%AEAsh Wren=0\r\n");
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash|Wren")), "on");
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash Wren")), "off");
}

TEST_F(auto_enable, saving_writes_one_then_zero_under_the_same_key) {
    qm::save_auto_enable("Ash|Wren", true);
    EXPECT_EQ(folder.read("Quillmarker.ini"), "[Main]\r\n%AEAsh|Wren=1\r\n");
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash|Wren")), "on");

    qm::save_auto_enable("Ash|Wren", false);
    EXPECT_EQ(folder.read("Quillmarker.ini"), "[Main]\r\n%AEAsh|Wren=0\r\n");
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash|Wren")), "off");
}

TEST_F(auto_enable, saving_leaves_other_characters_alone) {
    folder.write("Quillmarker.ini", "[Main]\r\n%AEWren=1\r\n%AEAsh=0\r\n");
    qm::save_auto_enable("Ash", true);
    qm::save_auto_enable("Kit", false);
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Wren")), "on");
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash")), "on");
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Kit")), "off");
    const std::string text = folder.read("Quillmarker.ini");
    EXPECT_NE(text.find("%AEWren=1"), std::string::npos);
    EXPECT_NE(text.find("%AEKit=0"), std::string::npos);
}

TEST_F(auto_enable, an_empty_name_uses_the_bare_prefix) {
    qm::save_auto_enable("", true);
    EXPECT_EQ(folder.read("Quillmarker.ini"), "[Main]\r\n%AE=1\r\n");
}

TEST_F(auto_enable, a_write_into_a_missing_folder_fails_quietly) {
    qm::state.ini_path = folder.module_dir() + "missing\\Quillmarker.ini";
    qm::save_auto_enable("Ash", true);
    EXPECT_FALSE(folder.exists("missing"));
    EXPECT_STREQ(outcome_name(qm::load_auto_enable("Ash")), "off");
}

} // namespace
} // namespace qmtest
