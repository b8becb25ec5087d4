// @desc-delete against the real shell under Wine with a display: the shell
// asks "Confirm file deletion" in a window, and recycle_bin.sh answers it
// through xdotool with the key this test writes into QM_ANSWER_FILE.
#include "tests/scenario.h"

#include <cstdlib>
#include <fstream>

namespace qmtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class recycle_bin : public started_scenario {
  protected:
    void SetUp() override {
        const char* answer = std::getenv("QM_ANSWER_FILE");
        const char* trash = std::getenv("QM_TRASH_DIR");
        if (answer == nullptr || trash == nullptr) {
            GTEST_SKIP() << "runs only from recycle_bin.sh, with a display to answer";
        }
        answer_file = answer;
        trash_dir = trash;
        started_scenario::SetUp();
    }

    void answer_with(const char* key) const { std::ofstream(answer_file, std::ios::trunc) << key; }

    std::string answer_file;
    std::string trash_dir;
};

TEST_F(recycle_bin, accepted_the_file_goes_to_the_recycle_bin) {
    const std::string name = "Ash Wren " + std::to_string(GetTickCount());
    const std::string file = name + ".txt";
    folder.write(file, "Long.");
    login(name.c_str(), "A fox.");
    module->on_module(2, nullptr);
    fh_clear_calls();

    answer_with("y");
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_FALSE(folder.exists(file));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(trash_dir) / file))
        << "moved to " << trash_dir << ", not deleted for good";
    EXPECT_THAT(netouts(), ElementsAre("desc A fox.\n"));
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description deleted and reset."));
}

TEST_F(recycle_bin, declined_the_file_stays) {
    folder.write("Kit.txt", "Long.");
    login("Kit", "A cat.");
    module->on_module(2, nullptr);
    fh_clear_calls();

    answer_with("n");
    EXPECT_EQ(command({"desc-delete"}), -1);
    EXPECT_TRUE(folder.exists("Kit.txt"));
    EXPECT_THAT(netouts(), IsEmpty());
    EXPECT_THAT(speaks(), ElementsAre("[QM] Description not deleted."));
}

} // namespace
} // namespace qmtest
