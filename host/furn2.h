// Furn2: the Furnarchy2 host's interface as this module uses it.
//
// The host exports these six functions from its interface library furn2.dll.
// All of them use the C calling convention: arguments are pushed from the last
// to the first and the caller removes them. Texts are NUL-terminated 8-bit
// strings in the ANSI code page; integers and pointers are 32 bits wide in the
// shipping build.
//
// Ownership: every text the host returns belongs to the host. The module
// copies it at once and never writes, keeps or frees it. Every text the module
// passes in stays valid only until the module's entry point returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define FURN2_CDECL __cdecl
#if defined(FURN2_BUILDING_HOST)
#define FURN2_API __declspec(dllexport)
#else
#define FURN2_API __declspec(dllimport)
#endif
#else
#define FURN2_CDECL
#define FURN2_API __attribute__((visibility("default")))
#endif

// The 32-byte record the host fills for f2_myplayerinfo. The module reads two
// pointers from it: the character's name at byte 0 and its current
// description at byte 12. Every other byte belongs to the host. The record is
// kept as raw bytes so both offsets hold whatever the pointer width is.
struct player_info {
    unsigned char bytes[32];
};
static_assert(sizeof(player_info) == 32);

inline constexpr std::size_t player_info_name_offset = 0;
inline constexpr std::size_t player_info_desc_offset = 12;
static_assert(player_info_desc_offset + sizeof(const char*) <= sizeof(player_info));
static_assert(player_info_name_offset + sizeof(const char*) <= player_info_desc_offset);

inline const char* player_info_pointer(const player_info& info, std::size_t offset) {
    const char* text = nullptr;
    std::memcpy(&text, info.bytes + offset, sizeof text);
    return text;
}

inline void set_player_info_pointer(player_info& info, std::size_t offset, const char* text) {
    std::memcpy(info.bytes + offset, &text, sizeof text);
}

extern "C" {

// The module's document folder, without a trailing backslash; may be null.
FURN2_API const char* FURN2_CDECL f2_moddocroot(std::int32_t module_id);

// Fills the name and description pointers of the character being played.
FURN2_API std::int32_t FURN2_CDECL f2_myplayerinfo(player_info* info);

// Asks the host to enable (flag -1) the module.
FURN2_API std::int32_t FURN2_CDECL f2_modenable(std::int32_t module_id, std::int32_t flag);

// Shows the text to the user as a local chat line.
FURN2_API std::int32_t FURN2_CDECL f2_speak(const char* text);

// Writes the text as one line to the host's error log.
FURN2_API std::int32_t FURN2_CDECL f2_errlog(const char* text);

// Sends exactly `count` bytes to the game server; a NUL follows them but is
// not counted.
FURN2_API std::int32_t FURN2_CDECL f2_netout(const char* bytes, std::uint32_t count);
}
