// Fuzz target: the first word of a chat command through on_command, with the
// fake host and a document folder holding a description file.
//
// The input, up to its first NUL, is the command's first word; a second word
// follows when the input has one. Properties: nothing crashes or escapes; the
// result is -1 or 0, and -1 only for one of the four command words in any
// letter case (0 for a reload with nothing to send).
#include "module/exports.h"
#include "module/module_state.h"
#include "platform/standin.h"
#include "tests/fake_host/fake_host.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string upper(std::string word) {
    for (char& c : word) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
    }
    return word;
}

const std::string& folder() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "qm-fuzz-command";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string first = input.substr(0, nul);
    const std::string second = nul == std::string::npos ? "" : input.substr(nul + 1);

    standin::reset();
    fh_reset();
    fh_set_docroot(folder().c_str());
    fh_set_player("Ash|Wren", "A fox.");
    std::ofstream(folder() + "/Ash Wren.txt", std::ios::trunc) << "Tall and grey.";
    const std::int32_t id = 1;
    on_module(0, &id);
    on_world(2);
    on_world(3);
    on_module(2, nullptr);
    fh_clear_calls();

    const char* words[] = {first.c_str(), second.c_str()};
    const std::int32_t count = nul == std::string::npos ? 1 : 2;
    const std::int32_t result = on_command(count, words);

    const std::string word = upper(first);
    const bool ours = word == "DESC-DELETE" || word == "DESC-RELOAD" || word == "DESC-EDIT" ||
                      word == "DESC-AUTO";
    if (result != 0 && result != -1) {
        std::fprintf(stderr, "result %d\n", result);
        std::abort();
    }
    if (result == -1 && !ours) {
        std::fprintf(stderr, "a word that is no command was handled\n");
        std::abort();
    }
    if (!ours && fh_call_count() != 0) {
        std::fprintf(stderr, "a word that is no command reached the host\n");
        std::abort();
    }
    qm::state = qm::module_state{};
    return 0;
}
