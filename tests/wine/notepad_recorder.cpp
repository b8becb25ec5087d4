// Stands in for the editor in the Windows tests. Built as notepad.exe beside
// the test programs, where CreateProcessA looks first. It appends the command
// line it was started with to the file named by QM_EDITOR_LOG, one per line,
// and ends.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "tests/time_scale.h"

#include <cstdlib>
#include <cstring>

int main() {
    const char* log = std::getenv("QM_EDITOR_LOG");
    if (log == nullptr) {
        return 1;
    }
    // Several editors may start at once: retry while another one writes.
    for (int attempt = 0; attempt < 200 * qmtest::time_scale(); ++attempt) {
        const HANDLE file = CreateFileA(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const char* line = GetCommandLineA();
            DWORD written = 0;
            WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
            WriteFile(file, "\n", 1, &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(10);
    }
    return 2;
}
