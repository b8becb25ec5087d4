// Description files: the file's name, reading it, and turning its content
// into the long description.
#include "module/module_state.h"
#include "store/desc_file.h"
#include "store/desc_text.h"
#include "tests/reference_long_desc.h"
#include "tests/temp_folder.h"
#include "tests/write_lock.h"
#include "util/utilities.h"

#include <gtest/gtest.h>

namespace qmtest {
namespace {

class desc_file : public ::testing::Test {
  protected:
    void SetUp() override {
        qm::state = qm::module_state{};
        qm::state.doc_dir = folder.module_dir();
    }
    void TearDown() override { qm::state = qm::module_state{}; }

    std::string load(const std::string& name) {
        qm::state.long_desc = "left over from before";
        qm::load_long_desc(name);
        return qm::state.long_desc;
    }

    temp_folder folder;
};

struct content_case {
    const char* label;
    std::string content;
    std::string expected;
};

const std::string A = "Tall, grey\tfox";
const std::string B = "B";

// The content of a file and the long description it gives.
const content_case content_cases[] = {
    {"empty file", "", ""},
    {"begins with NUL", std::string("\0abc", 4), ""},
    {"CR LF alone", "\r\n", "  "},
    {"CR alone", "\r", "  "},
    {"LF alone", "\n", "  "},
    {"two CR LF", "\r\n\r\n", "  "},
    {"one line", A, A},
    {"line, CR LF", A + "\r\n", A},
    {"line, two CR LF", A + "\r\n\r\n", A + "  "},
    {"CR LF, line", "\r\n" + A, "  " + A},
    {"A CR LF B", A + "\r\n" + B, A + "  " + B},
    {"A CR B", A + "\r" + B, A + "  " + B},
    {"A LF B", A + "\n" + B, A + "  " + B},
    {"A LF CR B", A + "\n\r" + B, A + "    " + B},
    {"A CR CR LF B", A + "\r\r\n" + B, A + "    " + B},
    {"A NUL B", A + std::string("\0", 1) + B, A},
    {"A CR LF NUL B", A + std::string("\r\n\0", 3) + B, A},
    {"control bytes stay", "a\x01\x7f\tb  ", "a\x01\x7f\tb  "},
    {"799 then a second line", std::string(799, 'x') + "\r\nsecond", std::string(799, 'x') + " "},
    {"one line over 800", std::string(1000, 'y'), std::string(800, 'y')},
    {"exactly 800", std::string(800, 'z') + "\r\n", std::string(800, 'z')},
    {"UTF-16 file with BOM", std::string("\xFF\xFEH\0i\0", 6), "\xFF\xFEH"},
};

TEST_F(desc_file, content_becomes_the_long_description) {
    for (const content_case& c : content_cases) {
        SCOPED_TRACE(c.label);
        folder.write("Ash.txt", c.content);
        EXPECT_EQ(load("Ash"), c.expected);
        EXPECT_EQ(qmtest::reference_long_desc(c.content), c.expected) << "the reference model";
    }
}

TEST_F(desc_file, no_file_or_a_folder_gives_the_empty_text_without_failure) {
    EXPECT_EQ(load("Nobody"), "");
    folder.make_folder("Folder.txt");
    EXPECT_EQ(load("Folder"), "");
}

TEST_F(desc_file, the_name_maps_bars_to_blanks_and_nothing_else) {
    EXPECT_EQ(qm::desc_file_path("Ash|Wren"), folder.module_dir() + "Ash Wren.txt");
    EXPECT_EQ(qm::desc_file_path("|a||b|"), folder.module_dir() + " a  b .txt");
    EXPECT_EQ(qm::desc_file_path("Ash Wren.old"), folder.module_dir() + "Ash Wren.old.txt");
    EXPECT_EQ(qm::desc_file_path(""), folder.module_dir() + ".txt");

    folder.write("Ash Wren.txt", "Found by its blank.");
    EXPECT_EQ(load("Ash|Wren"), "Found by its blank.");
    folder.write(".txt", "No name yet.");
    EXPECT_EQ(load(""), "No name yet.");
}

TEST_F(desc_file, names_that_would_leave_the_folder_have_no_file) {
    folder.make_folder("sub");
    folder.write("sub/Ash.txt", "Somewhere else.");
    folder.write("Ash.txt", "Here.");
    for (const char* name : {"sub\\Ash", "sub/Ash", "..\\qm\\Ash", "C:Ash", "Ash:stream"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(qm::desc_file_path(name), "");
        EXPECT_EQ(load(name), "");
    }
    EXPECT_EQ(load("Ash"), "Here.");
}

TEST_F(desc_file, names_the_system_reads_as_devices_have_no_file) {
    struct row {
        const char* name;
        bool device;
    };
    const row rows[] = {
        {"Con", true},     {"con", true},      {"PRN", true},   {"Aux", true},
        {"Nul", true},     {"Nul ", true},     {"Com1", true},  {"com9", true},
        {"Lpt1", true},    {"LPT9", true},     {"Con.x", true}, {"Con Artist", false},
        {"Conx", false},   {"Com0", false},    {"Lpt", false},  {"Aux|Wren", false},
        {"Nul.Con", true}, {"Ash.Con", false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string file = qm::replace_char(r.name, '|', ' ') + ".txt";
        EXPECT_EQ(qm::desc_file_path(r.name), r.device ? "" : folder.module_dir() + file);
    }
    folder.write("Con Artist.txt", "A file, not the console.");
    EXPECT_EQ(load("Con Artist"), "A file, not the console.");
}

TEST_F(desc_file, each_load_reads_the_file_as_it_is_now) {
    folder.write("Ash.txt", "One.");
    EXPECT_EQ(load("Ash"), "One.");
    EXPECT_EQ(load("Ash"), "One.");
    folder.write("Ash.txt", "Two.");
    EXPECT_EQ(load("Ash"), "Two.");
    folder.remove("Ash.txt");
    EXPECT_EQ(load("Ash"), "");
}

TEST_F(desc_file, a_file_held_open_for_writing_is_a_failure_with_an_empty_description) {
    folder.write("Ash.txt", "Being saved.");
    const write_lock lock(folder.module_dir() + "Ash.txt");
    ASSERT_TRUE(lock.held());
    qm::state.long_desc = "before";
    EXPECT_THROW(qm::load_long_desc("Ash"), qm::description_unreadable);
    EXPECT_EQ(qm::state.long_desc, "");
}

} // namespace
} // namespace qmtest
