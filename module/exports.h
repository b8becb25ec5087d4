// The seven entry points the host calls, with the C calling convention.
// Arguments are pushed from the last to the first and the caller removes them,
// so the host may pass more arguments than an entry point reads.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QM_CDECL __cdecl
#define QM_EXPORT
#else
#define QM_CDECL
#define QM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Module events: 0 sets the module up (`data` points to the 32-bit module id),
// 2 switches the long description on, 3 switches it off, 4 shows the about
// lines; every other code is ignored. Always returns 0.
QM_EXPORT std::int32_t QM_CDECL on_module(std::int32_t event, const void* data);

// Client and window events: nothing to do. Always returns 0.
QM_EXPORT std::int32_t QM_CDECL on_client();
QM_EXPORT std::int32_t QM_CDECL on_wndproc();

// World events: 2 when the character is known, 3 when its description is
// known; every other code is ignored. Always returns 0.
QM_EXPORT std::int32_t QM_CDECL on_world(std::int32_t event);

// A chat command as a list of words, the command's name first. Returns -1 for
// a command of this module, 0 for anything else (and for a reload that found
// nothing to send).
QM_EXPORT std::int32_t QM_CDECL on_command(std::int32_t count, const char* const* words);

// Network traffic in and out: nothing to do, no result.
QM_EXPORT void QM_CDECL on_inet();
QM_EXPORT void QM_CDECL on_onet();
}
