// Desktop actions: the editor started by @desc-edit and the shell's delete.
//
// The Linux build checks every argument the module hands the system. The
// Windows build starts a real process: a recorder named notepad.exe beside
// this program, which CreateProcessA finds first.
#include "tests/scenario.h"
#include "tests/time_scale.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace qmtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class desktop : public started_scenario {
  protected:
    void SetUp() override {
        started_scenario::SetUp();
#if defined(_WIN32)
        log_path = folder.root() + "\\editor.log";
        SetEnvironmentVariableA("QM_EDITOR_LOG", log_path.c_str());
#endif
    }

#if defined(_WIN32)
    // The editor runs on its own; wait until `count` of them have reported.
    std::vector<std::string> editor_lines(std::size_t count) {
        std::vector<std::string> lines;
        for (int attempt = 0; attempt < 300 * time_scale() && lines.size() < count; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            lines.clear();
            std::istringstream in(folder.read("editor.log"));
            for (std::string line; std::getline(in, line);) {
                lines.push_back(line);
            }
        }
        return lines;
    }
    std::string log_path;
#endif
};

TEST_F(desktop, edit_starts_the_editor_on_the_quoted_path) {
    login("Ash|Wren", "");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-edit"}), -1);
    EXPECT_EQ(fh_call_count(), 0) << "no message, whether the editor starts or not";
    const std::string expected = "notepad \"" + desc_path("Ash Wren.txt") + "\"";
#if defined(_WIN32)
    EXPECT_THAT(editor_lines(1), ElementsAre(expected));
#else
    const auto starts = standin::process_starts();
    ASSERT_EQ(starts.size(), 1u);
    const standin::process_start& s = starts[0];
    EXPECT_TRUE(s.application_null);
    EXPECT_EQ(s.command_line, expected);
    EXPECT_TRUE(s.process_attributes_null);
    EXPECT_TRUE(s.thread_attributes_null);
    EXPECT_EQ(s.inherit_handles, 0);
    EXPECT_EQ(s.creation_flags, 0x20u);
    EXPECT_TRUE(s.environment_null);
    EXPECT_TRUE(s.directory_null);
    EXPECT_EQ(s.startup_cb, sizeof(STARTUPINFOA));
    EXPECT_TRUE(s.startup_rest_zero);
    // Both handles closed at once: the process first, then the thread.
    EXPECT_THAT(standin::closed_handles(), ElementsAre(s.process, s.thread));
    EXPECT_EQ(standin::open_handle_count(), 0);
#endif
}

TEST_F(desktop, two_edits_start_two_editors) {
    login("Ash", "");
    folder.write("Ash.txt", "exists this time");
    command({"desc-edit"});
    command({"DESC-EDIT"});
    const std::string expected = "notepad \"" + desc_path("Ash.txt") + "\"";
#if defined(_WIN32)
    EXPECT_THAT(editor_lines(2), ElementsAre(expected, expected));
#else
    const auto starts = standin::process_starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_NE(starts[0].process, starts[1].process);
    EXPECT_EQ(standin::closed_handles().size(), 4u);
#endif
}

#if !defined(_WIN32)
TEST_F(desktop, a_missing_editor_is_not_reported_and_nothing_is_closed) {
    standin::set_program_exists(false);
    login("Ash", "");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-edit"}), -1);
    EXPECT_EQ(fh_call_count(), 0);
    EXPECT_EQ(standin::process_starts().size(), 1u);
    EXPECT_THAT(standin::closed_handles(), IsEmpty());
}

TEST_F(desktop, a_null_folder_gives_paths_at_the_root) {
    fh_set_docroot(nullptr);
    const std::int32_t id = 3;
    module->on_module(0, &id);
    command({"desc-edit"});
    ASSERT_EQ(standin::process_starts().size(), 1u);
    EXPECT_EQ(standin::process_starts()[0].command_line, "notepad \"\\.txt\"");
    module->on_world(2); // reads the settings at the root
    EXPECT_THAT(standin::opened_paths(), IsEmpty());
}
#endif

TEST_F(desktop, edit_for_a_name_that_leaves_the_folder_starts_nothing) {
    login("..\\..\\Windows\\win", "");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-edit"}), -1);
    EXPECT_EQ(fh_call_count(), 0);
#if defined(_WIN32)
    Sleep(static_cast<DWORD>(300 * time_scale()));
    EXPECT_FALSE(folder.exists("editor.log"));
#else
    EXPECT_THAT(standin::process_starts(), IsEmpty());
#endif
}

} // namespace
} // namespace qmtest
