// The Win32 seam: the one header through which module code reaches Windows.
//
// In the shipping build it includes the toolchain's own SDK headers. In the
// Linux build it declares the few types, constants and functions the module
// uses, and the Linux stand-in (win32_standin.cpp) implements them over POSIX
// from what the module relies on of each. Module code calls every function by
// its Win32 name either way; `#if defined(_WIN32)` appears only here and in the
// stand-in.
#pragma once

#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h must come first.
#include <shellapi.h>

#else

#include <cstdint>

#define QM_STANDIN_API __attribute__((visibility("default")))

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using LONG = std::int32_t;
using LONGLONG = std::int64_t;
using CHAR = char;
using WCHAR = char16_t;
using HANDLE = void*;
using HWND = void*;
using HINSTANCE = void*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPDWORD = DWORD*;
using LPBOOL = BOOL*;
using FILEOP_FLAGS = WORD;

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

union LARGE_INTEGER {
    LONGLONG QuadPart;
};
using PLARGE_INTEGER = LARGE_INTEGER*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD FILE_SHARE_READ = 1;
inline constexpr DWORD OPEN_EXISTING = 3;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

inline constexpr UINT FO_DELETE = 3;
inline constexpr FILEOP_FLAGS FOF_SILENT = 0x4;
inline constexpr FILEOP_FLAGS FOF_NOCONFIRMATION = 0x10;
inline constexpr FILEOP_FLAGS FOF_ALLOWUNDO = 0x40;
inline constexpr FILEOP_FLAGS FOF_NOERRORUI = 0x400;
inline constexpr DWORD NORMAL_PRIORITY_CLASS = 0x20;
inline constexpr UINT CP_UTF8 = 65001;

struct SHFILEOPSTRUCTA {
    HWND hwnd;
    UINT wFunc;
    LPCSTR pFrom;
    LPCSTR pTo;
    FILEOP_FLAGS fFlags;
    BOOL fAnyOperationsAborted;
    LPVOID hNameMappings;
    LPCSTR lpszProgressTitle;
};
using LPSHFILEOPSTRUCTA = SHFILEOPSTRUCTA*;

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

extern "C" {
QM_STANDIN_API DWORD GetFileAttributesA(LPCSTR path);
QM_STANDIN_API DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* file_part);
QM_STANDIN_API HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share,
                                  LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                  HANDLE template_file);
QM_STANDIN_API BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
QM_STANDIN_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD to_read, LPDWORD read,
                             LPOVERLAPPED overlapped);
QM_STANDIN_API BOOL CloseHandle(HANDLE handle);
QM_STANDIN_API UINT GetACP();
QM_STANDIN_API int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR src, int src_len,
                                       LPWSTR dst, int dst_len);
QM_STANDIN_API int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR src, int src_len,
                                       LPSTR dst, int dst_len, LPCSTR default_char,
                                       LPBOOL used_default);
QM_STANDIN_API DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_value,
                                              LPSTR buffer, DWORD size, LPCSTR file);
QM_STANDIN_API BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value,
                                               LPCSTR file);
QM_STANDIN_API int SHFileOperationA(LPSHFILEOPSTRUCTA operation);
QM_STANDIN_API BOOL CreateProcessA(LPCSTR application, LPSTR command_line,
                                   LPSECURITY_ATTRIBUTES process_attributes,
                                   LPSECURITY_ATTRIBUTES thread_attributes, BOOL inherit_handles,
                                   DWORD creation_flags, LPVOID environment, LPCSTR directory,
                                   LPSTARTUPINFOA startup_info,
                                   LPPROCESS_INFORMATION process_information);
QM_STANDIN_API int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int buffer_max);
}

#endif

namespace qm {

// The module's own instance handle, for reading its resources. Taken from the
// linker's image base, so nothing runs at load to find it.
HINSTANCE module_instance();

} // namespace qm
