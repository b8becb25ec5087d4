#include "store/desc_file.h"

#include "module/module_state.h"
#include "platform/win32.h"
#include "store/desc_text.h"
#include "util/handle.h"
#include "util/utilities.h"

#include <cstdint>
#include <memory>
#include <new>

namespace qm {

namespace {

bool leaves_document_folder(std::string_view name) {
    for (const WCHAR unit : to_wide(name)) {
        if (unit == u'\\' || unit == u'/' || unit == u':') {
            return true;
        }
    }
    return false;
}

// Whether the system reads the path as a DOS device (CON, PRN, AUX, NUL,
// COM1-9, LPT1-9: "Con.txt" is the console on older Windows and under Wine).
// The system judges it: its full path for a device is "\\.\" + the device.
// A Windows that reads such a name as a file keeps the file.
bool names_a_device(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return false; // a path the system rejects reads as no file anyway
    }
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return false;
    }
    full.resize(length);
    return full.starts_with("\\\\.\\");
}

struct file_bytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};

// Reads the whole file with one ReadFile. The file is opened for reading with
// read sharing only, so a file another program holds open for writing fails.
file_bytes read_whole_file(const std::string& path) {
    const unique_file_handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        throw description_unreadable();
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) == 0 || size.QuadPart < 0) {
        throw description_unreadable();
    }
    const auto wanted = static_cast<std::uint64_t>(size.QuadPart);
    if (wanted > UINT32_MAX || wanted > SIZE_MAX) {
        throw std::bad_alloc(); // more than one read can hold in this process
    }
    file_bytes bytes;
    bytes.data = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(wanted));
    DWORD got = 0;
    if (wanted > 0 &&
        ReadFile(file.get(), bytes.data.get(), static_cast<DWORD>(wanted), &got, nullptr) == 0) {
        throw description_unreadable();
    }
    bytes.size = got;
    return bytes;
}

} // namespace

std::string desc_file_path(std::string_view name) {
    if (leaves_document_folder(name)) {
        return {};
    }
    std::string path = state.doc_dir + replace_char(name, '|', ' ') + ".txt";
    if (names_a_device(path)) {
        return {};
    }
    return path;
}

bool description_file_exists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void load_long_desc(std::string_view name) {
    state.long_desc.clear();
    const std::string path = desc_file_path(name);
    if (!description_file_exists(path)) {
        return;
    }
    const file_bytes bytes = read_whole_file(path);
    state.long_desc = long_desc_from_content(bytes.data.get(), bytes.size);
}

} // namespace qm
