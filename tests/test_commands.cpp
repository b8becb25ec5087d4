// Chat commands through the real on_command export.
#include "tests/scenario.h"
#include "tests/write_lock.h"

namespace qmtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class commands : public started_scenario {};

TEST_F(commands, the_first_word_matches_in_any_case_and_nothing_else_matches) {
    struct row {
        std::vector<const char*> words;
        std::int32_t result;
        bool toggles;
    };
    const row rows[] = {
        {{"desc-auto"}, -1, true},        {{"DESC-AUTO"}, -1, true},    {{"Desc-Auto"}, -1, true},
        {{"desc-auto", "off"}, -1, true}, {{"desc-autos"}, 0, false},   {{"desc-auto "}, 0, false},
        {{" desc-auto"}, 0, false},       {{"@desc-auto"}, 0, false},   {{"desc-aut"}, 0, false},
        {{"desc-auto\xE9"}, 0, false},    {{"d\xC9sc-auto"}, 0, false}, {{""}, 0, false},
        {{"off", "desc-auto"}, 0, false}, {{"desc"}, 0, false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.words[0]) + "|");
        fh_clear_calls();
        EXPECT_EQ(module->on_command(static_cast<std::int32_t>(r.words.size()), r.words.data()),
                  r.result);
        EXPECT_EQ(speaks().size(), r.toggles ? 1u : 0u);
        EXPECT_EQ(fh_call_count(), r.toggles ? 1 : 0);
    }
}

TEST_F(commands, no_words_are_read_for_a_count_of_zero_or_less) {
    EXPECT_EQ(module->on_command(0, nullptr), 0);
    EXPECT_EQ(module->on_command(-1, nullptr), 0);
    EXPECT_EQ(module->on_command(INT32_MIN, nullptr), 0);
    const char* null_word[] = {nullptr};
    EXPECT_EQ(module->on_command(1, null_word), 0);
    EXPECT_EQ(module->on_command(1, nullptr), 0);
    EXPECT_EQ(fh_call_count(), 0);
    EXPECT_FALSE(folder.exists("Quillmarker.ini"));
}

TEST_F(commands, reload_sends_the_file_even_when_off) {
    folder.write("Ash.txt", "Line one\nLine two\n");
    login("Ash", "A fox.");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-reload"}), -1);
    EXPECT_THAT(call_kinds(), ElementsAre(fh_netout, fh_speak));
    EXPECT_THAT(netouts(), ElementsAre("desc Line one  Line two\n"));
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description reloaded."));
}

TEST_F(commands, reload_warns_from_760_bytes) {
    login("Ash", "");
    for (const std::size_t length : {759u, 760u, 800u}) {
        SCOPED_TRACE(length);
        folder.write("Ash.txt", std::string(length, 'w'));
        fh_clear_calls();
        EXPECT_EQ(command({"DESC-RELOAD"}), -1);
        EXPECT_THAT(netouts(), ElementsAre("desc " + std::string(length, 'w') + "\n"));
        if (length < 760) {
            EXPECT_THAT(speaks(), ElementsAre("[QM] Description reloaded."));
        } else {
            EXPECT_THAT(speaks(), ElementsAre("[QM] Warning: Description may be too long.",
                                              "[QM] Description reloaded."));
        }
    }
}

TEST_F(commands, reload_after_the_file_was_removed_empties_the_long_description) {
    folder.write("Ash.txt", "Long.");
    login("Ash", "Short.");
    folder.remove("Ash.txt");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-reload"}), 0);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description empty, nothing done."));
    EXPECT_THAT(netouts(), IsEmpty());
    fh_clear_calls();
    module->on_module(2, nullptr);
    EXPECT_EQ(fh_call_count(), 0) << "nothing left to send";
}

TEST_F(commands, auto_toggles_shows_and_stores_the_setting) {
    login("Ash|Wren", "");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-auto"}), -1);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Auto-Init: On for Ash|Wren"));
    EXPECT_EQ(folder.read("Quillmarker.ini"), "[Main]\r\n%AEAsh|Wren=1\r\n");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-auto"}), -1);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Auto-Init: Off for Ash|Wren"));
    EXPECT_EQ(folder.read("Quillmarker.ini"), "[Main]\r\n%AEAsh|Wren=0\r\n");
    // It asks nothing of the host and sends nothing.
    EXPECT_THAT(call_kinds(), ElementsAre(fh_speak));
}

TEST_F(commands, auto_before_any_character_uses_the_bare_key) {
    EXPECT_EQ(command({"desc-auto"}), -1);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Auto-Init: On for "));
    EXPECT_EQ(folder.read("Quillmarker.ini"), "[Main]\r\n%AE=1\r\n");
    fh_clear_calls();
    module->on_module(4, nullptr);
    EXPECT_EQ(speaks().at(1), "[QM] AutoEnable for current character: On");
}

TEST_F(commands, delete_without_a_file_does_nothing) {
    login("Ash", "A fox.");
    module->on_module(2, nullptr);
    fh_clear_calls();
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_EQ(fh_call_count(), 0);
#if !defined(_WIN32)
    EXPECT_THAT(standin::shell_requests(), IsEmpty());
#endif
}

TEST_F(commands, delete_of_a_folder_at_the_path_does_nothing) {
    folder.make_folder("Ash.txt");
    login("Ash", "A fox.");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_EQ(fh_call_count(), 0);
    EXPECT_TRUE(folder.exists("Ash.txt"));
}

#if !defined(_WIN32)
// Without a display, Wine's shell cannot ask and keeps the file, so the
// accepted path runs here and, under Windows, in the recycle bin test.
TEST_F(commands, delete_accepted_while_active_puts_the_caught_description_back) {
    folder.write("Ash Wren.txt", "Long.");
    login("Ash|Wren", "A fox.");
    module->on_module(2, nullptr);
    fh_clear_calls();
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_FALSE(folder.exists("Ash Wren.txt"));
    EXPECT_THAT(call_kinds(), ElementsAre(fh_netout, fh_speak));
    EXPECT_THAT(netouts(), ElementsAre("desc A fox.\n"));
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description deleted and reset."));

    const auto requests = standin::shell_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].hwnd, nullptr);
    EXPECT_EQ(requests[0].function, 3u);
    EXPECT_EQ(requests[0].names, desc_path("Ash Wren.txt") + std::string("\0\0", 2));
    EXPECT_TRUE(requests[0].to_is_null);
    EXPECT_EQ(requests[0].flags, 0x40);
    EXPECT_EQ(requests[0].aborted_in, 0);
    EXPECT_TRUE(requests[0].mappings_null);
    EXPECT_TRUE(requests[0].title_null);

    fh_clear_calls();
    module->on_module(2, nullptr);
    EXPECT_EQ(fh_call_count(), 0) << "the long description is gone";
}

TEST_F(commands, delete_accepted_while_off_sends_nothing) {
    folder.write("Ash.txt", "Long.");
    login("Ash", "A fox.");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_THAT(netouts(), IsEmpty());
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description deleted and reset."));
}

TEST_F(commands, delete_accepted_before_any_catch_sends_six_bytes) {
    folder.write(".txt", "Long.");
    module->on_module(2, nullptr);
    fh_clear_calls();
    EXPECT_EQ(command({"desc-delete"}), -1);
    const auto calls = host_calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].bytes, "desc \n");
    EXPECT_EQ(calls[0].first, 6);
}
#endif

TEST_F(commands, delete_declined_keeps_everything) {
#if !defined(_WIN32)
    standin::set_shell_accepts(false);
#endif
    folder.write("Ash.txt", "Long.");
    login("Ash", "A fox.");
    module->on_module(2, nullptr);
    fh_clear_calls();
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_TRUE(folder.exists("Ash.txt"));
    EXPECT_THAT(call_kinds(), ElementsAre(fh_speak));
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description not deleted."));
    fh_clear_calls();
    module->on_module(2, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc Long.\n")) << "the long description is kept";
}

TEST_F(commands, a_file_held_open_for_writing_stops_the_command_quietly) {
    folder.write("Ash.txt", "Long.");
    login("Ash", "A fox.");
    module->on_module(2, nullptr);
    const write_lock lock(desc_path("Ash.txt"));
    ASSERT_TRUE(lock.held());
    fh_clear_calls();
    // The command is ours even though it could not finish, so it is handled.
    EXPECT_EQ(command({"desc-reload"}), -1);
    EXPECT_EQ(fh_call_count(), 0);
    // The shell cannot move a file in use; the module says so.
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description not deleted."));
    EXPECT_THAT(netouts(), IsEmpty());
}

#if defined(_WIN32)
// The 32-bit DLL reads a description file whole, whatever its size: a file of
// 256 MB loads and gives its first 800 characters.
TEST_F(commands, reload_of_a_256_mb_file_sends_its_first_800_characters) {
    const auto line = [](int i) { return "line " + std::to_string(100000 + i) + " of the tale"; };
    std::string content;
    content.reserve(256u << 20);
    for (int i = 0; content.size() < (256u << 20); ++i) {
        content += line(i) + "\r\n";
    }
    folder.write("Ash.txt", content);
    content = std::string();
    std::string expected;
    for (int i = 0; expected.size() < 800; ++i) {
        expected += line(i) + "  ";
    }
    expected.resize(800);

    login("Ash", "");
    fh_clear_calls();
    EXPECT_EQ(command({"desc-reload"}), -1);
    EXPECT_THAT(netouts(), ElementsAre("desc " + expected + "\n"));
    EXPECT_THAT(speaks(), ElementsAre("[QM] Warning: Description may be too long.",
                                      "[QM] Description reloaded."));
}
#endif

} // namespace
} // namespace qmtest
