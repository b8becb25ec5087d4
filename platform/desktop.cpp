#include "platform/desktop.h"

#include "platform/resource_ids.h"
#include "platform/win32.h"

#include <cstring>
#include <vector>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record the system expects");
#endif

namespace qm {

void delete_to_recycle_bin(const std::string& path) {
    // The shell takes a list of names ended by an empty one: the path, its
    // NUL, and one more NUL.
    std::vector<char> names(path.begin(), path.end());
    names.push_back('\0');
    names.push_back('\0');

    SHFILEOPSTRUCTA operation;
    std::memset(&operation, 0, sizeof operation);
    operation.wFunc = FO_DELETE;
    operation.pFrom = names.data();
    operation.fFlags = FOF_ALLOWUNDO;
    SHFileOperationA(&operation);
}

void launch_editor(const std::string& command_line) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);

    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process) != 0) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

std::string editor_program() {
    char buffer[260] = {};
    const int length = LoadStringA(module_instance(), QM_IDS_EDITOR_PROGRAM, buffer,
                                   static_cast<int>(sizeof buffer));
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

std::string editor_command_line(const std::string& path) {
    return editor_program() + " \"" + path + "\"";
}

} // namespace qm
