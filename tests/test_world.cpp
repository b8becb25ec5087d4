// World events: the road of a login, through the real exports.
#include "tests/scenario.h"
#include "tests/write_lock.h"

namespace qmtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class world : public started_scenario {};

TEST_F(world, a_full_login_catches_logs_and_sends_the_long_description) {
    folder.write("Ash Wren.txt", "Tall and grey,\r\nwith a silver quill.\r\n");
    folder.write("Quillmarker.ini", "[Main]\r\n%AEAsh|Wren=1\r\n");
    module->on_module(2, nullptr); // the host switched the module on
    fh_clear_calls();

    fh_set_player("Ash|Wren", "A fox.");
    EXPECT_EQ(module->on_world(2), 0);
    EXPECT_EQ(module->on_world(3), 0);

    const auto calls = host_calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].kind, fh_myplayerinfo);
    EXPECT_EQ(calls[1].kind, fh_modenable);
    EXPECT_EQ(calls[1].first, test_module_id);
    EXPECT_EQ(calls[1].second, -1);
    EXPECT_EQ(calls[2].kind, fh_myplayerinfo);
    EXPECT_EQ(calls[3].kind, fh_errlog);
    EXPECT_EQ(calls[3].bytes, "Description caught: A fox.");
    EXPECT_EQ(calls[4].kind, fh_netout);
    EXPECT_EQ(calls[4].bytes, "desc Tall and grey,  with a silver quill.\n");

    // Switched off, the caught description goes back.
    fh_clear_calls();
    module->on_module(3, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc A fox.\n"));
}

TEST_F(world, enable_is_asked_before_the_new_description_is_loaded) {
    // The host enables the module from inside f2_modenable, so event 2 runs
    // while the previous character's long description is still loaded.
    folder.write("Ash.txt", "Ash's long description.");
    folder.write("Wren.txt", "Wren's long description.");
    folder.write("Quillmarker.ini", "[Main]\r\n%AEWren=1\r\n");
    login("Ash", "");
    struct hook_context {
        loaded_module* module;
    } context{module.get()};
    fh_set_modenable_hook(
        [](void* c) { static_cast<hook_context*>(c)->module->on_module(2, nullptr); }, &context);
    fh_clear_calls();

    fh_set_player("Wren", "Wren's own.");
    module->on_world(2);
    EXPECT_THAT(netouts(), ElementsAre("desc Ash's long description.\n"));
    module->on_world(3);
    EXPECT_THAT(netouts(),
                ElementsAre("desc Ash's long description.\n", "desc Wren's long description.\n"));
}

TEST_F(world, auto_enable_outcomes_set_or_keep_the_flag) {
    struct row {
        const char* settings;
        bool on_before;
        const char* about;
        bool enable_asked;
    };
    const row rows[] = {
        {"[Main]\r\n%AEAsh=1\r\n", false, "[QM] AutoEnable for current character: On", true},
        {"[Main]\r\n%AEAsh=1\r\n", true, "[QM] AutoEnable for current character: On", true},
        {"[Main]\r\n%AEAsh=0\r\n", true, "[QM] AutoEnable for current character: Off", false},
        {"", true, "[QM] AutoEnable for current character: Off", false},
        {"[Main]\r\n%AEAsh=\r\n", true, "[QM] AutoEnable for current character: On", false},
        {"[Main]\r\n%AEAsh=\r\n", false, "[QM] AutoEnable for current character: Off", false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.settings) + (r.on_before ? " on before" : " off before"));
        module.reset();
        module = std::make_unique<loaded_module>();
        init();
        if (r.on_before) {
            command({"desc-auto"});
        }
        folder.write("Quillmarker.ini", r.settings);
        if (*r.settings == '\0') {
            folder.remove("Quillmarker.ini");
        }
        fh_clear_calls();
        fh_set_player("Ash", "");
        module->on_world(2);
        const auto kinds = call_kinds();
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), fh_modenable), r.enable_asked ? 1 : 0);
        fh_clear_calls();
        module->on_module(4, nullptr);
        EXPECT_EQ(speaks().at(1), r.about);
    }
}

TEST_F(world, each_character_known_arms_one_catch) {
    fh_set_player("Ash", "First.");
    module->on_world(2);
    module->on_world(2);
    module->on_world(3);
    fh_set_player("Ash", "Second.");
    module->on_world(3);
    module->on_world(3);
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: First."));
    const auto kinds = call_kinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), fh_myplayerinfo), 5);
}

TEST_F(world, a_description_with_no_character_before_only_asks_the_host) {
    fh_set_player("Ash", "A fox.");
    EXPECT_EQ(module->on_world(3), 0);
    EXPECT_THAT(call_kinds(), ElementsAre(fh_myplayerinfo));
    module->on_module(3, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc \n")) << "nothing was caught";
}

TEST_F(world, nothing_is_sent_while_off_or_without_a_long_description) {
    folder.write("Ash.txt", "Long.");
    login("Ash", "Short.");
    EXPECT_THAT(netouts(), IsEmpty());
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: Short."));

    module->on_module(2, nullptr); // sends what is loaded
    fh_clear_calls();
    login("Kit", "Kit's."); // no file for Kit
    EXPECT_THAT(netouts(), IsEmpty());
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: Kit's."));
}

TEST_F(world, null_texts_from_the_host_read_as_empty) {
    folder.write(".txt", "For the nameless.");
    module->on_module(2, nullptr);
    fh_clear_calls();
    fh_set_player(nullptr, nullptr);
    module->on_world(2);
    module->on_world(3);
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: "));
    EXPECT_THAT(netouts(), ElementsAre("desc For the nameless.\n"));
    fh_clear_calls();
    module->on_module(3, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc \n"));
}

TEST_F(world, disable_between_the_two_events_sends_the_description_caught_before) {
    login("Ash", "Ash's own.");
    fh_set_player("Wren", "Wren's own.");
    module->on_world(2);
    fh_clear_calls();
    module->on_module(3, nullptr);
    EXPECT_THAT(netouts(), ElementsAre("desc Ash's own.\n"));
}

TEST_F(world, the_host_text_is_copied_at_once) {
    fh_set_player("Ash", "A fox.");
    module->on_world(2);
    fh_set_player("Changed", "Changed.");
    fh_clear_calls();
    command({"desc-auto"});
    EXPECT_THAT(speaks(), ElementsAre("[QM] Auto-Init: On for Ash"));
}

TEST_F(world, ignored_world_events_call_nothing) {
    for (const std::int32_t event : {0, 1, 4, -1, 1000}) {
        SCOPED_TRACE(event);
        EXPECT_EQ(module->on_world(event), 0);
    }
    EXPECT_EQ(fh_call_count(), 0);
}

TEST_F(world, an_unreadable_file_ends_the_event_before_the_catch_is_armed) {
    folder.write("Ash.txt", "Being saved.");
    folder.write("Quillmarker.ini", "[Main]\r\n%AEAsh=1\r\n");
    module->on_module(2, nullptr);
    fh_clear_calls();
    {
        const write_lock lock(desc_path("Ash.txt"));
        ASSERT_TRUE(lock.held());
        fh_set_player("Ash", "A fox.");
        EXPECT_EQ(module->on_world(2), 0);
        // The steps before the load kept their effect.
        EXPECT_THAT(call_kinds(), ElementsAre(fh_myplayerinfo, fh_modenable));
        fh_clear_calls();
        EXPECT_EQ(module->on_world(3), 0);
        EXPECT_THAT(call_kinds(), ElementsAre(fh_myplayerinfo)) << "no catch was armed";
    }
    // A catch armed before the failure stays armed.
    fh_set_player("Ash", "Second try.");
    module->on_world(2);
    {
        const write_lock lock(desc_path("Ash.txt"));
        module->on_world(2);
    }
    fh_clear_calls();
    module->on_world(3);
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: Second try."));
    EXPECT_THAT(netouts(), IsEmpty()) << "the failed load left the long description empty";
}

} // namespace
} // namespace qmtest
