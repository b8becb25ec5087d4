// The host simulator: plays Furnarchy2 for Quillmark without the game.
//
// It loads the module library, replays a session script of host events
// against a document folder and prints the transcript: every call the module
// makes of the host (lines to the server with their bytes made visible, chat
// lines, error-log lines, enable requests), every editor started, and each
// entry point's result. The script format is described in the README.
//
//   quillmark-simulator SCRIPT [--folder DIR]
//
// Without --folder the session gets a fresh folder in the system's temporary
// folder, removed at the end; a folder given with --folder is kept.
#include "tests/host_record.h"
#include "tests/module_loader.h"
#include "tests/temp_folder.h"
#include "tests/time_scale.h"
#include "tests/write_lock.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A word of the script: its text, or null for the bare word `null`.
struct word {
    std::optional<std::string> text;
};

bool split_words(const std::string& line, std::vector<word>& words, std::string& error) {
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ' || line[at] == '\t' || line[at] == '\r') {
            ++at;
            continue;
        }
        if (line[at] == '#') {
            break;
        }
        if (line[at] != '"') {
            const std::size_t end = line.find_first_of(" \t\r", at);
            const std::string bare = line.substr(at, end == std::string::npos ? end : end - at);
            words.push_back(bare == "null" ? word{} : word{bare});
            at = end == std::string::npos ? line.size() : end;
            continue;
        }
        std::string text;
        ++at;
        bool closed = false;
        while (at < line.size()) {
            const char c = line[at++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c != '\\' || at >= line.size()) {
                text += c;
                continue;
            }
            const char e = line[at++];
            switch (e) {
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case '0':
                text += '\0';
                break;
            case 'x':
                if (at + 2 <= line.size()) {
                    text += static_cast<char>(std::stoi(line.substr(at, 2), nullptr, 16));
                    at += 2;
                }
                break;
            default:
                text += e;
                break;
            }
        }
        if (!closed) {
            error = "unclosed quote";
            return false;
        }
        words.push_back(word{text});
    }
    return true;
}

// The bytes made visible: printable ASCII as it is, everything else escaped.
std::string visible(const std::string& bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

class session {
  public:
    session(std::string folder, std::string editor_log)
        : folder_(std::move(folder)), editor_log_(std::move(editor_log)) {}

    void report_host_calls() {
        for (const qmtest::host_call& call : qmtest::host_calls()) {
            switch (call.kind) {
            case fh_moddocroot:
                std::cout << "  host   f2_moddocroot(" << call.first << ")\n";
                break;
            case fh_myplayerinfo:
                std::cout << "  host   f2_myplayerinfo\n";
                break;
            case fh_modenable:
                std::cout << "  host   f2_modenable(" << call.first << ", " << call.second << ")\n";
                break;
            case fh_speak:
                std::cout << "  chat   " << call.bytes << "\n";
                break;
            case fh_errlog:
                std::cout << "  errlog " << call.bytes << "\n";
                break;
            case fh_netout:
                std::cout << "  server " << visible(call.bytes) << " (" << call.first
                          << " bytes)\n";
                break;
            default:
                break;
            }
        }
        fh_clear_calls();
        report_editors();
    }

    void report_editors() {
#if defined(_WIN32)
        // An editor runs on its own; give the ones just started a moment to report.
        for (int attempt = 0; attempt < 60 * qmtest::time_scale() &&
                              editor_log().size() < editors_seen_ + editors_pending_;
             ++attempt) {
            Sleep(50);
        }
        editors_pending_ = 0;
        const std::vector<std::string> lines = editor_log();
        for (; editors_seen_ < lines.size(); ++editors_seen_) {
            std::cout << "  editor " << lines[editors_seen_] << "\n";
        }
#else
        const auto starts = standin::process_starts();
        for (; editors_seen_ < starts.size(); ++editors_seen_) {
            std::cout << "  editor " << starts[editors_seen_].command_line
                      << (starts[editors_seen_].process != nullptr ? "" : " (not found)") << "\n";
        }
#endif
    }

    bool run(const std::vector<word>& words, std::string& error) {
        const std::string verb = *words[0].text;
        const auto number = [&](std::size_t i, std::int32_t fallback) {
            if (i >= words.size() || !words[i].text) {
                return fallback;
            }
            return static_cast<std::int32_t>(std::stol(*words[i].text));
        };
        const auto text = [&](std::size_t i) -> const char* {
            return i < words.size() && words[i].text ? words[i].text->c_str() : nullptr;
        };
        if (verb == "module") {
            const std::int32_t event = number(1, 0);
            if (event == 0) {
                const std::int32_t id = number(2, 1);
                result(module_->on_module(0, &id));
            } else {
                result(module_->on_module(event, nullptr));
            }
        } else if (verb == "world") {
            result(module_->on_world(number(1, 0)));
        } else if (verb == "command") {
            std::vector<const char*> list;
            for (std::size_t i = 1; i < words.size(); ++i) {
                list.push_back(text(i));
            }
            if (verb_mentions_edit(list)) {
                ++editors_pending_;
            }
            result(module_->on_command(static_cast<std::int32_t>(list.size()),
                                       list.empty() ? nullptr : list.data()));
        } else if (verb == "client") {
            result(module_->on_client());
        } else if (verb == "wndproc") {
            result(module_->on_wndproc());
        } else if (verb == "inet") {
            module_->on_inet();
            report_host_calls();
        } else if (verb == "onet") {
            module_->on_onet();
            report_host_calls();
        } else if (verb == "player") {
            fh_set_player(text(1), text(2));
        } else if (verb == "docroot") {
            fh_set_docroot(words.size() > 1 ? text(1) : folder_.c_str());
        } else if (verb == "enable-hook") {
            const bool on =
                words.size() > 1 && text(1) != nullptr && std::strcmp(text(1), "on") == 0;
            fh_set_modenable_hook(on ? &session::enable_from_host : nullptr, this);
        } else if (verb == "file") {
            if (words.size() < 3 || !words[1].text || !words[2].text) {
                error = "file takes a name and a content";
                return false;
            }
            std::ofstream out(path(*words[1].text), std::ios::binary | std::ios::trunc);
            out << *words[2].text;
            if (!out) {
                error = "cannot write " + *words[1].text;
                return false;
            }
        } else if (verb == "remove" && words.size() > 1 && words[1].text) {
            std::error_code ignored;
            std::filesystem::remove(path(*words[1].text), ignored);
        } else if (verb == "lock" && words.size() > 1 && words[1].text) {
            locks_[*words[1].text] =
                std::make_unique<qmtest::write_lock>(folder_ + "\\" + *words[1].text);
        } else if (verb == "unlock" && words.size() > 1 && words[1].text) {
            locks_.erase(*words[1].text);
        } else if (verb == "show" && words.size() > 1 && words[1].text) {
            std::ifstream in(path(*words[1].text), std::ios::binary);
            if (!in) {
                std::cout << "  file   " << *words[1].text << " does not exist\n";
            } else {
                const std::string content((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
                std::cout << "  file   " << *words[1].text << " = " << visible(content) << "\n";
            }
        } else if (verb == "shell" && words.size() > 1 && words[1].text) {
#if defined(_WIN32)
            std::cout << "  (the Windows shell asks the player itself; without a display Wine "
                         "keeps the file)\n";
#else
            standin::set_shell_accepts(*words[1].text == "accept");
#endif
        } else if (verb == "say") {
            std::cout << "# " << (text(1) != nullptr ? text(1) : "") << "\n";
        } else {
            error = "unknown or incomplete line";
            return false;
        }
        return true;
    }

    std::unique_ptr<qmtest::loaded_module> module_;

  private:
    static bool verb_mentions_edit(const std::vector<const char*>& list) {
        if (list.empty() || list[0] == nullptr) {
            return false;
        }
        std::string first = list[0];
        for (char& c : first) {
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        }
        return first == "DESC-EDIT";
    }

    static void enable_from_host(void* self) {
        auto* s = static_cast<session*>(self);
        std::cout << "  (the host enables the module at once)\n";
        s->module_->on_module(2, nullptr);
    }

    void result(std::int32_t value) {
        report_host_calls();
        std::cout << "  result " << value << "\n";
    }

    [[nodiscard]] std::filesystem::path path(const std::string& name) const {
        return std::filesystem::path(folder_) / name;
    }

#if defined(_WIN32)
    [[nodiscard]] std::vector<std::string> editor_log() const {
        std::vector<std::string> lines;
        std::ifstream in(editor_log_, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
#endif

    std::string folder_;
    std::string editor_log_;
    std::size_t editors_seen_ = 0;
    std::size_t editors_pending_ = 0;
    std::map<std::string, std::unique_ptr<qmtest::write_lock>> locks_;
};

int run_script(const char* script_path, const std::string& folder) {
    std::ifstream script(script_path, std::ios::binary);
    if (!script) {
        std::cerr << "cannot read " << script_path << "\n";
        return 2;
    }
    const std::string editor_log =
        folder + (folder.find('\\') != std::string::npos ? "\\" : "/") + "editor-starts.log";
#if defined(_WIN32)
    SetEnvironmentVariableA("QM_EDITOR_LOG", editor_log.c_str());
#else
    standin::reset();
#endif
    fh_reset();
    fh_set_docroot(folder.c_str());
    session s(folder, editor_log);
    s.module_ = std::make_unique<qmtest::loaded_module>();
    std::cout << "# Quillmark host simulator: " << script_path << "\n# document folder: " << folder
              << "\n";

    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        std::vector<word> words;
        std::string error;
        if (!split_words(line, words, error)) {
            std::cerr << script_path << ":" << number << ": " << error << "\n";
            return 2;
        }
        if (words.empty()) {
            continue;
        }
        if (!words[0].text) {
            std::cerr << script_path << ":" << number << ": a line cannot start with null\n";
            return 2;
        }
        if (*words[0].text != "say") {
            std::cout << "> " << line.substr(line.find_first_not_of(" \t")) << "\n";
        }
        try {
            if (!s.run(words, error)) {
                std::cerr << script_path << ":" << number << ": " << error << ": " << line << "\n";
                return 2;
            }
        } catch (const std::exception& e) {
            std::cerr << script_path << ":" << number << ": " << e.what() << "\n";
            return 2;
        }
    }
    s.module_->unload();
    s.report_host_calls();
    std::cout << "# module unloaded\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const char* script = nullptr;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (script == nullptr) {
            script = argv[i];
        } else {
            script = nullptr;
            break;
        }
    }
    if (script == nullptr) {
        std::cerr << "usage: quillmark-simulator SCRIPT [--folder DIR]\n";
        return 2;
    }
    try {
        if (!folder.empty()) {
            std::filesystem::create_directories(folder);
            return run_script(script, folder);
        }
        const qmtest::temp_folder temporary("quillmark-session-");
        return run_script(script, temporary.root());
    } catch (const std::exception& e) {
        std::cerr << "simulator: " << e.what() << "\n";
        return 2;
    }
}
