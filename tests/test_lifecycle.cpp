// Module events, the plain entry points, sending a description, and what
// loading and unloading the library do.
#include "tests/scenario.h"

#include <filesystem>

namespace qmtest {
namespace {

using ::testing::ElementsAre;

class lifecycle : public scenario {};

TEST_F(lifecycle, about_right_after_load_reads_off) {
    EXPECT_EQ(module->on_module(4, nullptr), 0);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Quillmark Version 1.4 by Tolvane",
                                      "[QM] AutoEnable for current character: Off",
                                      "[QM] Commands: @desc-auto, @desc-edit, @desc-reload, "
                                      "@desc-delete"));
    EXPECT_EQ(fh_call_count(), 3);
}

TEST_F(lifecycle, init_asks_the_host_for_the_folder_once_with_the_id) {
    const std::int32_t id = 0x5A17;
    EXPECT_EQ(module->on_module(0, &id), 0);
    const auto calls = host_calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, fh_moddocroot);
    EXPECT_EQ(calls[0].first, id);
}

TEST_F(lifecycle, enable_with_no_long_description_sends_and_shows_nothing) {
    init();
    EXPECT_EQ(module->on_module(2, nullptr), 0);
    EXPECT_EQ(fh_call_count(), 0);

    // The module is on all the same: a login now sends the long description.
    folder.write("Ash.txt", "Tall and grey.");
    login("Ash", "short");
    EXPECT_THAT(netouts(), ElementsAre("desc Tall and grey.\n"));
}

TEST_F(lifecycle, disable_before_any_catch_sends_exactly_six_bytes) {
    init();
    EXPECT_EQ(module->on_module(3, nullptr), 0);
    const auto calls = host_calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, fh_netout);
    EXPECT_EQ(calls[0].bytes, std::string("desc \n"));
    EXPECT_EQ(calls[0].first, 6);
    EXPECT_EQ(calls[0].second, 1) << "a NUL follows the counted bytes";
    EXPECT_EQ(calls[1].kind, fh_speak);
    EXPECT_EQ(calls[1].bytes, "[QM] Long description off");
}

TEST_F(lifecycle, repeated_events_repeat_their_lines_and_messages) {
    folder.write("Ash.txt", "Tall and grey.");
    init();
    login("Ash", "A fox.");
    fh_clear_calls();

    module->on_module(3, nullptr);
    module->on_module(3, nullptr);
    module->on_module(2, nullptr);
    module->on_module(2, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc A fox.\n", "desc A fox.\n", "desc Tall and grey.\n",
                                       "desc Tall and grey.\n"));
    EXPECT_THAT(speaks(),
                ElementsAre("[QM] Long description off", "[QM] Long description off",
                            "[QM] Long description active", "[QM] Long description active"));
    EXPECT_THAT(call_kinds(), ElementsAre(fh_netout, fh_speak, fh_netout, fh_speak, fh_netout,
                                          fh_speak, fh_netout, fh_speak));
}

TEST_F(lifecycle, the_count_given_to_netout_is_the_line_without_its_nul) {
    folder.write("Ash.txt", "0123456789");
    init();
    login("Ash", "");
    fh_clear_calls();
    module->on_module(2, nullptr);
    const auto calls = host_calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].kind, fh_netout);
    EXPECT_EQ(calls[0].first, 16);
    EXPECT_EQ(calls[0].bytes, "desc 0123456789\n");
}

TEST_F(lifecycle, ignored_module_events_touch_nothing) {
    init();
    for (const std::int32_t event : {1, 5, -1, 100, 0x7FFFFFFF}) {
        SCOPED_TRACE(event);
        EXPECT_EQ(module->on_module(event, nullptr), 0);
    }
    EXPECT_EQ(fh_call_count(), 0);
    // Nothing changed either: the module is still off.
    EXPECT_EQ(module->on_module(4, nullptr), 0);
    EXPECT_EQ(speaks().at(1), "[QM] AutoEnable for current character: Off");
}

TEST_F(lifecycle, plain_entry_points_do_nothing) {
    init();
    EXPECT_EQ(module->on_client(), 0);
    EXPECT_EQ(module->on_wndproc(), 0);
    module->on_inet();
    module->on_onet();
    EXPECT_EQ(fh_call_count(), 0);
}

TEST_F(lifecycle, a_second_init_takes_the_new_id_and_folder_and_forgets_the_character) {
    folder.write("Ash.txt", "First folder.");
    init();
    login("Ash", "");

    temp_folder second;
    second.write(".txt", "Second folder, no name.");
    fh_set_docroot(second.root().c_str());
    const std::int32_t new_id = 99;
    module->on_module(0, &new_id);
    EXPECT_EQ(host_calls().back().first, new_id);
    fh_clear_calls();

    // The name is gone, so the commands work on "<new folder>\.txt".
    EXPECT_EQ(command({"desc-reload"}), -1);
    EXPECT_THAT(netouts(), ElementsAre("desc Second folder, no name.\n"));
    fh_clear_calls();
    command({"desc-auto"});
    EXPECT_THAT(speaks(), ElementsAre("[QM] Auto-Init: On for "));
    EXPECT_TRUE(second.exists("Quillmarker.ini"));
    EXPECT_FALSE(folder.exists("Quillmarker.ini"));
}

TEST_F(lifecycle, unload_sends_shows_and_writes_nothing) {
    folder.write("Ash.txt", "Tall and grey.");
    init();
    login("Ash", "A fox.");
    module->on_module(2, nullptr);
    fh_clear_calls();
    const auto before = std::distance(std::filesystem::directory_iterator(folder.root()),
                                      std::filesystem::directory_iterator());
    module->unload();
    EXPECT_EQ(fh_call_count(), 0);
    const auto after = std::distance(std::filesystem::directory_iterator(folder.root()),
                                     std::filesystem::directory_iterator());
    EXPECT_EQ(before, after);
}

TEST_F(lifecycle, a_reloaded_library_starts_from_the_state_at_load) {
    init();
    command({"desc-auto"}); // auto_enable on in this load
    module->on_module(2, nullptr);
    module.reset();

    module = std::make_unique<loaded_module>();
    fh_clear_calls();
    module->on_module(4, nullptr);
    EXPECT_EQ(speaks().at(1), "[QM] AutoEnable for current character: Off");
    // Not active either: a disable still sends the empty caught description.
    fh_clear_calls();
    module->on_module(3, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc \n"));
}

TEST_F(lifecycle, a_null_data_pointer_at_init_reads_as_id_zero) {
    EXPECT_EQ(module->on_module(0, nullptr), 0);
    ASSERT_EQ(fh_call_count(), 1);
    EXPECT_EQ(host_calls()[0].first, 0);
}

TEST_F(lifecycle, a_caught_description_with_line_breaks_cannot_add_a_server_command) {
    init();
    login("Ash", "nice\r\nemit hacked\nx\r");
    fh_clear_calls();
    module->on_module(3, nullptr);
    const auto calls = host_calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].bytes, "desc nice  emit hacked x \n");
    EXPECT_EQ(calls[0].first, 26);
    // The log keeps what the host reported.
    module->on_world(2);
    fh_clear_calls();
    module->on_world(3);
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: nice\r\nemit hacked\nx\r"));
}

} // namespace
} // namespace qmtest
