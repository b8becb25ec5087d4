// World events: learning the character at login and catching the description
// it logged in with.
#include "host/furn2.h"
#include "module/exports.h"
#include "module/guard.h"
#include "module/host_text.h"
#include "module/lifecycle.h"
#include "module/module_state.h"
#include "store/auto_enable.h"
#include "store/desc_file.h"

namespace qm {

namespace {

constexpr std::int32_t world_event_character_known = 2;
constexpr std::int32_t world_event_description_known = 3;

player_info ask_player_info() {
    player_info info{};
    f2_myplayerinfo(&info);
    return info;
}

void character_known() {
    const player_info info = ask_player_info();
    state.player_name = copy_host_text(player_info_pointer(info, player_info_name_offset));
    switch (load_auto_enable(state.player_name)) {
    case auto_enable_outcome::on:
        state.auto_enable = true;
        f2_modenable(state.module_id, true_value);
        break;
    case auto_enable_outcome::off:
        state.auto_enable = false;
        break;
    case auto_enable_outcome::none:
        break;
    }
    // An unreadable file ends the event here: no catch is armed.
    load_long_desc(state.player_name);
    state.catch_pending = true;
}

void description_known() {
    const player_info info = ask_player_info();
    if (!state.catch_pending) {
        return;
    }
    state.catch_pending = false;
    state.caught_desc = copy_host_text(player_info_pointer(info, player_info_desc_offset));
    f2_errlog(("Description caught: " + state.caught_desc).c_str());
    if (state.active != 0 && !state.long_desc.empty()) {
        send_desc_line(state.long_desc);
    }
}

} // namespace

} // namespace qm

extern "C" std::int32_t QM_CDECL on_world(std::int32_t event) {
    return qm::guarded(0, [&] {
        if (event == qm::world_event_character_known) {
            qm::character_known();
        } else if (event == qm::world_event_description_known) {
            qm::description_known();
        }
        return 0;
    });
}
