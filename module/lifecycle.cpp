// Module events and the entry points that have nothing to do.
#include "module/lifecycle.h"

#include "host/furn2.h"
#include "module/exports.h"
#include "module/guard.h"
#include "module/host_text.h"
#include "module/module_state.h"

#include <cstring>

namespace qm {

namespace {

constexpr std::int32_t module_event_init = 0;
constexpr std::int32_t module_event_enable = 2;
constexpr std::int32_t module_event_disable = 3;
constexpr std::int32_t module_event_about = 4;

void show_about() {
    f2_speak("[QM] Quillmark Version 1.4 by Tolvane");
    f2_speak(state.auto_enable ? "[QM] AutoEnable for current character: On"
                               : "[QM] AutoEnable for current character: Off");
    f2_speak("[QM] Commands: @desc-auto, @desc-edit, @desc-reload, @desc-delete");
}

void handle_module_event(std::int32_t event, const void* data) {
    switch (event) {
    case module_event_init: {
        std::int32_t id = 0;
        if (data != nullptr) {
            std::memcpy(&id, data, sizeof id);
        }
        state.module_id = id;
        init_paths();
        break;
    }
    case module_event_enable:
        state.active = true_value;
        if (!state.long_desc.empty()) {
            send_desc_line(state.long_desc);
            f2_speak("[QM] Long description active");
        }
        break;
    case module_event_disable:
        state.active = 0;
        send_desc_line(state.caught_desc);
        f2_speak("[QM] Long description off");
        break;
    case module_event_about:
        show_about();
        break;
    default:
        break;
    }
}

} // namespace

void init_paths() {
    state.player_name.clear();
    state.ini_path.clear();
    state.doc_dir = copy_host_text(f2_moddocroot(state.module_id)) + "\\";
    state.ini_path = state.doc_dir + "Quillmarker.ini";
}

void send_desc_line(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 6);
    line += "desc ";
    for (const char byte : text) {
        line += (byte == '\r' || byte == '\n') ? ' ' : byte;
    }
    line += '\n';
    f2_netout(line.c_str(), static_cast<std::uint32_t>(line.size()));
}

} // namespace qm

extern "C" {

std::int32_t QM_CDECL on_module(std::int32_t event, const void* data) {
    return qm::guarded(0, [&] {
        qm::handle_module_event(event, data);
        return 0;
    });
}

std::int32_t QM_CDECL on_client() {
    return qm::guarded(0, [] { return 0; });
}

std::int32_t QM_CDECL on_wndproc() {
    return qm::guarded(0, [] { return 0; });
}

void QM_CDECL on_inet() {
    qm::guarded([] {});
}

void QM_CDECL on_onet() {
    qm::guarded([] {});
}
}
