// Quillmark: the one module-wide state record.
//
// It lives as long as the library is loaded. It is constant-initialised, so
// loading the library runs none of the module's own code; unloading releases
// its texts and does nothing else.
#pragma once

#include <cstdint>
#include <string>

// The shipping build (GCC) proves the record is constant-initialised. Clang
// before 15 cannot evaluate libstdc++'s constexpr string constructor, so the
// Linux build compiled by it initialises the same record without the check.
#if defined(__clang__) && __clang_major__ < 15
#define QM_CONSTINIT
#else
#define QM_CONSTINIT constinit
#endif

namespace qm {

struct module_state {
    std::int32_t module_id = 0; // the host's id for this module; never interpreted
    std::int32_t active = 0;    // -1 once switched on, 0 once switched off
    bool auto_enable = false;   // the current character's auto-enable setting
    std::string ini_path;       // the settings file
    std::string doc_dir;        // the document folder, ending in one backslash
    std::string player_name;    // the current character as the host names it
    bool catch_pending = false; // the next world event 3 catches a description
    std::string caught_desc;    // the description the character logged in with
    std::string long_desc;      // the long description, empty when there is none
};

extern QM_CONSTINIT module_state state;

inline constexpr std::int32_t true_value = -1;

} // namespace qm
