// Control of the Linux stand-in for the Win32 functions the module uses.
//
// Tests and the host simulator set here what the real system would decide
// (the ANSI code page, the user's answer to the shell's question, whether the
// editor program exists, another program holding a file open for writing) and
// read back what the module asked of the system.
#pragma once

#if !defined(_WIN32)

#include "platform/win32.h"

#include <string>
#include <vector>

namespace standin {

// Everything back to its start: code page 1252 (or QM_STANDIN_ACP), the shell
// question accepted, the editor present, no locks, no records.
QM_STANDIN_API void reset();

// 1252, 932 and 65001 are known.
QM_STANDIN_API void set_code_page(UINT code_page);

// What the user answers to the shell's confirmation question.
QM_STANDIN_API void set_shell_accepts(bool accepts);

// Whether CreateProcessA finds the program.
QM_STANDIN_API void set_program_exists(bool exists);

// Another program holds the file open for writing without sharing: opening it
// for reading fails. The path is given as the module spells it.
QM_STANDIN_API void hold_open_for_writing(const std::string& path);
QM_STANDIN_API void release_for_writing(const std::string& path);

struct shell_request {
    HWND hwnd;
    UINT function;
    std::string names; // the name list, up to and including its closing empty name
    bool to_is_null;
    FILEOP_FLAGS flags;
    BOOL aborted_in;
    bool mappings_null;
    bool title_null;
};
QM_STANDIN_API std::vector<shell_request> shell_requests();

struct process_start {
    bool application_null;
    std::string command_line;
    bool process_attributes_null;
    bool thread_attributes_null;
    BOOL inherit_handles;
    DWORD creation_flags;
    bool environment_null;
    bool directory_null;
    DWORD startup_cb;
    bool startup_rest_zero; // every byte of STARTUPINFOA after cb is zero
    HANDLE process;         // the handles handed out, null when the start failed
    HANDLE thread;
};
QM_STANDIN_API std::vector<process_start> process_starts();

// Every handle CloseHandle was given, in order.
QM_STANDIN_API std::vector<HANDLE> closed_handles();

// Handles handed out and not yet closed.
QM_STANDIN_API int open_handle_count();

// Every CreateFileA call: the path as given.
QM_STANDIN_API std::vector<std::string> opened_paths();

// The path as the stand-in uses it on this system: "\\" becomes "/".
QM_STANDIN_API std::string native_path(const std::string& path);

} // namespace standin

#endif
