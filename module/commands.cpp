// Chat commands: @desc-delete, @desc-reload, @desc-edit and @desc-auto.
//
// The host hands a command over as a list of words with the command's name
// first, without its at sign. Only that first word is read; it matches in any
// letter case but must otherwise be exact.
#include "host/furn2.h"
#include "module/exports.h"
#include "module/guard.h"
#include "module/host_text.h"
#include "module/lifecycle.h"
#include "module/module_state.h"
#include "platform/desktop.h"
#include "store/auto_enable.h"
#include "store/desc_file.h"
#include "util/utilities.h"

#include <string>

namespace qm {

namespace {

constexpr std::int32_t handled = -1;
constexpr std::int32_t not_handled = 0;

// A long description this long may be more than the server takes.
constexpr std::size_t long_desc_warning_bytes = 760;

enum class command { none, desc_delete, desc_reload, desc_edit, desc_auto };

command recognise(std::int32_t count, const char* const* words) {
    if (count <= 0) {
        return command::none;
    }
    const std::string word = upper_ascii(copy_host_text(words != nullptr ? words[0] : nullptr));
    if (word == "DESC-DELETE") {
        return command::desc_delete;
    }
    if (word == "DESC-RELOAD") {
        return command::desc_reload;
    }
    if (word == "DESC-EDIT") {
        return command::desc_edit;
    }
    if (word == "DESC-AUTO") {
        return command::desc_auto;
    }
    return command::none;
}

std::int32_t desc_delete() {
    const std::string path = desc_file_path(state.player_name);
    if (!description_file_exists(path)) {
        return handled;
    }
    delete_to_recycle_bin(path);
    if (description_file_exists(path)) {
        f2_speak("[QM] Description not deleted.");
        return handled;
    }
    load_long_desc(state.player_name);
    if (state.active != 0) {
        send_desc_line(state.caught_desc);
    }
    f2_speak("[QM] Description deleted and reset.");
    return handled;
}

std::int32_t desc_reload() {
    load_long_desc(state.player_name);
    if (state.long_desc.empty()) {
        f2_speak("[QM] Description empty, nothing done.");
        return not_handled;
    }
    send_desc_line(state.long_desc);
    if (state.long_desc.size() >= long_desc_warning_bytes) {
        f2_speak("[QM] Warning: Description may be too long.");
    }
    f2_speak("[QM] Description reloaded.");
    return handled;
}

std::int32_t desc_edit() {
    const std::string path = desc_file_path(state.player_name);
    if (!path.empty()) {
        launch_editor(editor_command_line(path));
    }
    return handled;
}

std::int32_t desc_auto() {
    state.auto_enable = !state.auto_enable;
    const std::string message =
        (state.auto_enable ? "[QM] Auto-Init: On for " : "[QM] Auto-Init: Off for ") +
        state.player_name;
    f2_speak(message.c_str());
    save_auto_enable(state.player_name, state.auto_enable);
    return handled;
}

std::int32_t run(command which) {
    switch (which) {
    case command::desc_delete:
        return desc_delete();
    case command::desc_reload:
        return desc_reload();
    case command::desc_edit:
        return desc_edit();
    case command::desc_auto:
        return desc_auto();
    case command::none:
        break;
    }
    return not_handled;
}

} // namespace

} // namespace qm

extern "C" std::int32_t QM_CDECL on_command(std::int32_t count, const char* const* words) {
    // A word that cannot even be read is no command of ours. Once a command is
    // recognised, a failure part-way (an unreadable description file, memory
    // running out) still answers "handled", so the host does not pass the
    // command on as if nobody knew it.
    return qm::guarded(qm::not_handled, [&] {
        const qm::command which = qm::recognise(count, words);
        if (which == qm::command::none) {
            return qm::not_handled;
        }
        return qm::guarded(qm::handled, [&] { return qm::run(which); });
    });
}
