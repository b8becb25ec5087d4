// Hostile files and host data, through the real exports: nothing crashes,
// nothing escapes, and no input reaches past its place.
#include "tests/scenario.h"
#include "tests/write_lock.h"

#include <random>

namespace qmtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class hostile : public scenario {};

TEST_F(hostile, names_that_would_leave_the_folder_reach_no_file) {
    // The document folder is a folder inside ours, so "..\" leads to files
    // that exist: a name must not reach them.
    folder.make_folder("docs");
    folder.make_folder("docs/sub");
    folder.write("Ash.txt", "Outside the document folder.");
    folder.write("docs/sub/Ash.txt", "In a folder below.");
    const std::string docs = folder.root() + "\\docs";
    fh_set_docroot(docs.c_str());
    init();
    module->on_module(2, nullptr);

    for (const char* name :
         {"..\\Ash", "../Ash", "sub\\Ash", "sub/Ash", "C:Ash", "Ash:stream", "..\\..\\..\\Ash"}) {
        SCOPED_TRACE(name);
        fh_clear_calls();
        login(name, "Short.");
        EXPECT_THAT(netouts(), IsEmpty()) << "no long description was found";

        fh_clear_calls();
        EXPECT_EQ(command({"desc-reload"}), 0);
        EXPECT_THAT(speaks(), ElementsAre("[QM] Description empty, nothing done."));
        EXPECT_THAT(netouts(), IsEmpty());

        fh_clear_calls();
        EXPECT_EQ(command({"desc-delete"}), -1);
        EXPECT_EQ(fh_call_count(), 0);

        EXPECT_EQ(command({"desc-edit"}), -1);
        EXPECT_EQ(fh_call_count(), 0);
    }
    EXPECT_TRUE(folder.exists("Ash.txt"));
    EXPECT_TRUE(folder.exists("docs/sub/Ash.txt"));
#if !defined(_WIN32)
    EXPECT_THAT(standin::shell_requests(), IsEmpty());
    EXPECT_THAT(standin::process_starts(), IsEmpty());
    EXPECT_THAT(standin::opened_paths(), IsEmpty());
#endif
}

TEST_F(hostile, characters_named_after_devices_keep_their_login_catch) {
    init();
    module->on_module(2, nullptr);
    for (const char* name : {"Con", "Prn", "nul", "Aux", "Com1", "LPT9", "Con.x"}) {
        SCOPED_TRACE(name);
#if !defined(_WIN32)
        // Here the name is an ordinary file, as a device path "exists" on
        // Windows: the module must still leave it alone.
        folder.write(std::string(name) + ".txt", "A device, not a description.");
#endif
        fh_clear_calls();
        login(name, "Their own words.");
        EXPECT_THAT(errlogs(), ElementsAre("Description caught: Their own words."));
        EXPECT_THAT(netouts(), IsEmpty()) << "no long description for a device";

        fh_clear_calls();
        EXPECT_EQ(command({"desc-reload"}), 0);
        EXPECT_THAT(speaks(), ElementsAre("[QM] Description empty, nothing done."));
        fh_clear_calls();
        EXPECT_EQ(command({"desc-delete"}), -1);
        EXPECT_EQ(command({"desc-edit"}), -1);
        EXPECT_EQ(fh_call_count(), 0);

        module->on_module(3, nullptr);
        EXPECT_THAT(netouts(), ElementsAre("desc Their own words.\n")) << "the catch comes back";
        module->on_module(2, nullptr);
    }
#if !defined(_WIN32)
    EXPECT_THAT(standin::opened_paths(), IsEmpty());
    EXPECT_THAT(standin::shell_requests(), IsEmpty());
    EXPECT_THAT(standin::process_starts(), IsEmpty());
    EXPECT_TRUE(folder.exists("Con.txt"));
#endif
}

TEST_F(hostile, odd_contents_give_a_single_clean_line) {
    init();
    login("Ash", "");
    struct row {
        const char* label;
        std::string content;
        std::string sent; // empty: nothing is sent
    };
    std::mt19937 random(20261211);
    std::string binary(4096, '\0');
    for (char& c : binary) {
        c = static_cast<char>(random() % 255 + 1); // no NUL, so all of it is read
    }
    const row rows[] = {
        {"zero bytes", "", ""},
        {"only NUL bytes", std::string(64, '\0'), ""},
        {"UTF-16 with a byte-order mark", std::string("\xFF\xFEH\0i\0\r\0\n\0", 10),
         "desc \xFF\xFEH\n"},
        {"only line breaks", "\r\n\r\n\n\r\r", "desc " + std::string(8, ' ') + "\n"},
        {"random binary", binary, "?"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.label);
        folder.write("Ash.txt", r.content);
        fh_clear_calls();
        const std::int32_t result = command({"desc-reload"});
        const auto sent = netouts();
        if (r.sent.empty()) {
            EXPECT_EQ(result, 0);
            EXPECT_THAT(sent, IsEmpty());
            continue;
        }
        EXPECT_EQ(result, -1);
        ASSERT_EQ(sent.size(), 1u);
        if (r.sent != "?") {
            EXPECT_EQ(sent[0], r.sent);
        }
        // One line: "desc ", at most 800 bytes in a single-byte code page, one LF.
        const std::string payload = sent[0].substr(5, sent[0].size() - 6);
        EXPECT_EQ(payload.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        EXPECT_LE(payload.size(), 800u);
        EXPECT_EQ(sent[0].back(), '\n');
    }
}

TEST_F(hostile, a_host_that_reports_null_for_every_text) {
    fh_set_docroot(nullptr);
    fh_set_player(nullptr, nullptr);
    EXPECT_EQ(module->on_module(0, &test_module_id), 0);
    EXPECT_EQ(module->on_world(2), 0);
    EXPECT_EQ(module->on_world(3), 0);
    EXPECT_EQ(module->on_module(2, nullptr), 0);
    EXPECT_EQ(module->on_module(4, nullptr), 0);
    EXPECT_EQ(command({"desc-reload"}), 0);
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_EQ(module->on_module(3, nullptr), 0);
    EXPECT_THAT(errlogs(), ElementsAre("Description caught: "));
    EXPECT_THAT(netouts(), ElementsAre("desc \n"));
}

TEST_F(hostile, a_folder_where_the_file_should_be) {
    folder.make_folder("Ash.txt");
    init();
    module->on_module(2, nullptr);
    login("Ash", "Short.");
    EXPECT_THAT(netouts(), IsEmpty());
    fh_clear_calls();
    EXPECT_EQ(command({"desc-reload"}), 0);
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description empty, nothing done."));
}

} // namespace
} // namespace qmtest
