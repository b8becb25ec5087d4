// The recording fake host: a furn2.dll (libfurn2.so on Linux) that offers the
// six host functions and records every call the module makes, in order, with
// the exact bytes it was given. Tests and the host simulator set what the host
// reports and read the record back. The interface is plain C so it can cross
// a DLL boundary between separately linked runtimes.
#pragma once

#include "host/furn2.h"

#if defined(_WIN32)
#if defined(FURN2_BUILDING_HOST)
#define FH_API __declspec(dllexport)
#else
#define FH_API __declspec(dllimport)
#endif
#else
#define FH_API __attribute__((visibility("default")))
#endif

extern "C" {

enum fh_kind {
    fh_moddocroot = 1,
    fh_myplayerinfo = 2,
    fh_modenable = 3,
    fh_speak = 4,
    fh_errlog = 5,
    fh_netout = 6,
};

// Forgets every call and every setting: the document root, the character and
// the enable hook.
FH_API void fh_reset(void);

// Forgets the calls recorded so far; keeps the settings.
FH_API void fh_clear_calls(void);

// What f2_moddocroot returns; null makes it return a null pointer.
FH_API void fh_set_docroot(const char* root);

// What f2_myplayerinfo reports; either may be null.
FH_API void fh_set_player(const char* name, const char* description);

// Called from inside f2_modenable, as a host that enables the module at once
// (and so calls its on_module with event 2) would.
FH_API void fh_set_modenable_hook(void (*hook)(void* context), void* context);

FH_API int fh_call_count(void);
FH_API int fh_call_kind(int index);
// The text or bytes of a call: speak, errlog and netout; for netout exactly
// the counted bytes.
FH_API const char* fh_call_bytes(int index);
FH_API unsigned fh_call_length(int index);
// Integer arguments: moddocroot's id (0); modenable's id (0) and flag (1);
// netout's count (0) and whether a NUL followed the bytes (1).
FH_API int fh_call_int(int index, int which);
}
