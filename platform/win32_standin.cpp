// The Linux stand-in for the Win32 functions the module uses.
//
// Each function does what the module relies on of its Windows namesake, over
// POSIX: paths use "\\" as Windows does and are mapped to "/" here; handles are
// small tokens; the private-profile functions read and write INI text; the
// shell's delete and the process start are recorded and answered as a test
// decides. Nothing here throws: like the real functions, a failure (memory
// included) is a failure result.
#include "platform/standin.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <map>
#include <set>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct handle_entry {
    int fd; // -1 for a process or thread token
};

struct standin_state {
    UINT code_page = 1252;
    bool shell_accepts = true;
    bool program_exists = true;
    std::set<std::string> held_for_writing;
    std::vector<standin::shell_request> shell_requests;
    std::vector<standin::process_start> process_starts;
    std::vector<HANDLE> closed;
    std::vector<std::string> opened;
    std::map<std::uintptr_t, handle_entry> handles;
    std::uintptr_t next_handle = 0x100;
};

UINT default_code_page();

standin_state& the_state() {
    static standin_state instance = [] {
        standin_state fresh;
        fresh.code_page = default_code_page();
        return fresh;
    }();
    return instance;
}

UINT default_code_page() {
    const char* value = std::getenv("QM_STANDIN_ACP");
    if (value != nullptr) {
        const long parsed = std::strtol(value, nullptr, 10);
        if (parsed == 932 || parsed == 65001 || parsed == 1252) {
            return static_cast<UINT>(parsed);
        }
    }
    return 1252;
}

HANDLE new_handle(int fd) {
    standin_state& s = the_state();
    const std::uintptr_t value = s.next_handle;
    s.next_handle += 4;
    s.handles.emplace(value, handle_entry{fd});
    return reinterpret_cast<HANDLE>(value);
}

handle_entry* find_handle(HANDLE handle) {
    auto& handles = the_state().handles;
    const auto found = handles.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == handles.end() ? nullptr : &found->second;
}

// ---- code pages ------------------------------------------------------------

// Code page 1252, bytes 0x80-0x9F; the five unassigned bytes map to the C1
// control with the same number, as Windows does.
constexpr char16_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t cp932_default_unit = 0x30FB; // what Windows gives for an invalid sequence

void decode_1252(std::string_view in, std::u16string& out) {
    for (const char c : in) {
        const auto byte = static_cast<unsigned char>(c);
        out += (byte >= 0x80 && byte < 0xA0) ? cp1252_high[byte - 0x80] : char16_t{byte};
    }
}

void encode_1252(std::u16string_view in, std::string& out) {
    for (const char16_t unit : in) {
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            out += static_cast<char>(unit);
            continue;
        }
        const char16_t* found = std::find(std::begin(cp1252_high), std::end(cp1252_high), unit);
        out += found != std::end(cp1252_high)
                   ? static_cast<char>(0x80 + (found - std::begin(cp1252_high)))
                   : '?';
    }
}

void decode_utf8(std::string_view in, std::u16string& out) {
    std::size_t at = 0;
    while (at < in.size()) {
        const auto lead = static_cast<unsigned char>(in[at]);
        if (lead < 0x80) {
            out += char16_t{lead};
            ++at;
            continue;
        }
        int extra = 0;
        char32_t value = 0;
        char32_t low = 0x80;
        char32_t high = 0xBF; // bounds of the first continuation byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            value = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            value = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            out += char16_t{0xFFFD};
            ++at;
            continue;
        }
        // Replace the longest valid start of a sequence by one U+FFFD.
        std::size_t next = at + 1;
        bool complete = true;
        for (int i = 0; i < extra; ++i, ++next) {
            const unsigned char byte = next < in.size() ? static_cast<unsigned char>(in[next]) : 0;
            const char32_t lo = i == 0 ? low : 0x80;
            const char32_t hi = i == 0 ? high : 0xBF;
            if (next >= in.size() || byte < lo || byte > hi) {
                complete = false;
                break;
            }
            value = (value << 6) | (byte & 0x3F);
        }
        if (!complete) {
            out += char16_t{0xFFFD};
            at = next;
            continue;
        }
        if (value >= 0x10000) {
            value -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (value >> 10));
            out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
        } else {
            out += static_cast<char16_t>(value);
        }
        at = next;
    }
}

void encode_utf8(std::u16string_view in, std::string& out) {
    for (std::size_t at = 0; at < in.size(); ++at) {
        char32_t value = in[at];
        if (value >= 0xD800 && value <= 0xDBFF && at + 1 < in.size() && in[at + 1] >= 0xDC00 &&
            in[at + 1] <= 0xDFFF) {
            value = 0x10000 + ((value - 0xD800) << 10) + (in[at + 1] - 0xDC00);
            ++at;
        } else if (value >= 0xD800 && value <= 0xDFFF) {
            value = 0xFFFD;
        }
        if (value < 0x80) {
            out += static_cast<char>(value);
        } else if (value < 0x800) {
            out += static_cast<char>(0xC0 | (value >> 6));
            out += static_cast<char>(0x80 | (value & 0x3F));
        } else if (value < 0x10000) {
            out += static_cast<char>(0xE0 | (value >> 12));
            out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (value & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (value >> 18));
            out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (value & 0x3F));
        }
    }
}

// One conversion through iconv; false when the input has no mapping.
bool iconv_once(const char* to, const char* from, const char* in, std::size_t in_size, char* out,
                std::size_t out_size, std::size_t& produced) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = out;
    std::size_t in_left = in_size;
    std::size_t out_left = out_size;
    const std::size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    produced = out_size - out_left;
    return result != static_cast<std::size_t>(-1) && in_left == 0;
}

bool is_932_lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void decode_932(std::string_view in, std::u16string& out) {
    std::size_t at = 0;
    while (at < in.size()) {
        const auto byte = static_cast<unsigned char>(in[at]);
        if (byte < 0x80) {
            out += char16_t{byte};
            ++at;
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            out += static_cast<char16_t>(0xFF61 + (byte - 0xA1));
            ++at;
        } else if (is_932_lead(byte)) {
            if (at + 1 >= in.size()) {
                out += cp932_default_unit;
                ++at;
                continue;
            }
            char unit_bytes[4] = {};
            std::size_t produced = 0;
            if (iconv_once("UTF-16LE", "CP932", in.data() + at, 2, unit_bytes, sizeof unit_bytes,
                           produced) &&
                produced == 2) {
                out += static_cast<char16_t>(static_cast<unsigned char>(unit_bytes[0]) |
                                             (static_cast<unsigned char>(unit_bytes[1]) << 8));
                at += 2;
            } else {
                out += cp932_default_unit;
                // A trail byte that cannot belong to this lead stays for itself.
                const auto trail = static_cast<unsigned char>(in[at + 1]);
                at += (trail >= 0x40 && trail <= 0xFC && trail != 0x7F) ? 2 : 1;
            }
        } else if (byte == 0x80) {
            out += char16_t{0x0080};
            ++at;
        } else if (byte == 0xA0) {
            out += char16_t{0xF8F0};
            ++at;
        } else {
            out += static_cast<char16_t>(0xF8F1 + (byte - 0xFD));
            ++at;
        }
    }
}

void encode_932(std::u16string_view in, std::string& out) {
    for (const char16_t unit : in) {
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        if (unit >= 0xFF61 && unit <= 0xFF9F) {
            out += static_cast<char>(0xA1 + (unit - 0xFF61));
            continue;
        }
        const char in_bytes[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out_bytes[4] = {};
        std::size_t produced = 0;
        if (unit < 0xD800 || unit > 0xDFFF) {
            if (iconv_once("CP932", "UTF-16LE", in_bytes, 2, out_bytes, sizeof out_bytes,
                           produced) &&
                produced > 0) {
                out.append(out_bytes, produced);
                continue;
            }
        }
        out += '?';
    }
}

bool decode(UINT code_page, std::string_view in, std::u16string& out) {
    switch (code_page) {
    case 1252:
        decode_1252(in, out);
        return true;
    case 932:
        decode_932(in, out);
        return true;
    case CP_UTF8:
        decode_utf8(in, out);
        return true;
    default:
        return false;
    }
}

bool encode(UINT code_page, std::u16string_view in, std::string& out) {
    switch (code_page) {
    case 1252:
        encode_1252(in, out);
        return true;
    case 932:
        encode_932(in, out);
        return true;
    case CP_UTF8:
        encode_utf8(in, out);
        return true;
    default:
        return false;
    }
}

UINT resolve_code_page(UINT code_page) {
    return code_page == 0 ? the_state().code_page : code_page; // 0 is CP_ACP
}

// ---- private profile -------------------------------------------------------

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
               };
               return lower(x) == lower(y);
           });
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string> read_lines(const std::string& path, bool& exists) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    exists = static_cast<bool>(in);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

bool section_header(std::string_view line, std::string_view& name) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') {
        return false;
    }
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    name = trim(line.substr(1, close - 1));
    return true;
}

bool key_line(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    key = trim(line.substr(0, equals));
    value = trim(line.substr(equals + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\''))) {
        value = value.substr(1, value.size() - 2);
    }
    return true;
}

DWORD copy_out(std::string_view value, LPSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t count = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

} // namespace

// ---- control -----------------------------------------------------------------

namespace standin {

void reset() {
    standin_state& s = the_state();
    for (auto& [value, entry] : s.handles) {
        if (entry.fd >= 0) {
            ::close(entry.fd);
        }
    }
    s = standin_state{};
    s.code_page = default_code_page();
}

void set_code_page(UINT code_page) {
    the_state().code_page = code_page;
}

void set_shell_accepts(bool accepts) {
    the_state().shell_accepts = accepts;
}

void set_program_exists(bool exists) {
    the_state().program_exists = exists;
}

void hold_open_for_writing(const std::string& path) {
    the_state().held_for_writing.insert(native_path(path));
}

void release_for_writing(const std::string& path) {
    the_state().held_for_writing.erase(native_path(path));
}

std::vector<shell_request> shell_requests() {
    return the_state().shell_requests;
}

std::vector<process_start> process_starts() {
    return the_state().process_starts;
}

std::vector<HANDLE> closed_handles() {
    return the_state().closed;
}

int open_handle_count() {
    return static_cast<int>(the_state().handles.size());
}

std::vector<std::string> opened_paths() {
    return the_state().opened;
}

std::string native_path(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

} // namespace standin

// ---- the Win32 functions -----------------------------------------------------

extern "C" {

// The full path, as Windows (and Wine) give it for an absolute path: the path
// itself, except that a last component whose part before its first dot, with
// trailing spaces dropped, is a DOS device name (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, in any letter case) gives the device, "\\.\" and that
// part. Too small a buffer gets nothing and the size needed, NUL included.
DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* file_part) {
    try {
        if (path == nullptr || *path == '\0') {
            return 0;
        }
        std::string full = path;
        const std::string_view whole = full;
        const std::size_t slash = whole.find_last_of("\\/");
        std::string_view base = whole.substr(slash == std::string_view::npos ? 0 : slash + 1);
        base = base.substr(0, base.find('.'));
        while (!base.empty() && base.back() == ' ') {
            base.remove_suffix(1);
        }
        std::string upper(base);
        for (char& c : upper) {
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        const bool numbered = upper.size() == 4 && upper[3] >= '1' && upper[3] <= '9' &&
                              (upper.starts_with("COM") || upper.starts_with("LPT"));
        if (numbered || upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") {
            full = "\\\\.\\" + std::string(base);
        }
        const auto needed = static_cast<DWORD>(full.size() + 1);
        if (buffer == nullptr || size < needed) {
            return needed;
        }
        std::memcpy(buffer, full.c_str(), needed);
        if (file_part != nullptr) {
            const std::size_t last = full.find_last_of('\\');
            *file_part = buffer + (last == std::string::npos ? 0 : last + 1);
        }
        return needed - 1;
    } catch (...) {
        return 0;
    }
}

DWORD GetFileAttributesA(LPCSTR path) {
    try {
        if (path == nullptr || *path == '\0') {
            return INVALID_FILE_ATTRIBUTES;
        }
        struct stat info {};
        if (::stat(standin::native_path(path).c_str(), &info) != 0) {
            return INVALID_FILE_ATTRIBUTES;
        }
        return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    } catch (...) {
        return INVALID_FILE_ATTRIBUTES;
    }
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD, HANDLE) {
    try {
        if (path == nullptr) {
            return INVALID_HANDLE_VALUE;
        }
        standin_state& s = the_state();
        s.opened.emplace_back(path);
        const std::string native = standin::native_path(path);
        if (access != GENERIC_READ || disposition != OPEN_EXISTING) {
            return INVALID_HANDLE_VALUE; // the module only ever opens for reading
        }
        if (s.held_for_writing.count(native) != 0 && (share & 2) == 0) {
            return INVALID_HANDLE_VALUE; // a sharing violation, as on Windows
        }
        const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return INVALID_HANDLE_VALUE;
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            ::close(fd);
            return INVALID_HANDLE_VALUE;
        }
        return new_handle(fd);
    } catch (...) {
        return INVALID_HANDLE_VALUE;
    }
}

BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    const handle_entry* entry = find_handle(file);
    struct stat info {};
    if (entry == nullptr || entry->fd < 0 || size == nullptr || ::fstat(entry->fd, &info) != 0) {
        return FALSE;
    }
    size->QuadPart = info.st_size;
    return TRUE;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD to_read, LPDWORD read, LPOVERLAPPED) {
    const handle_entry* entry = find_handle(file);
    if (entry == nullptr || entry->fd < 0) {
        return FALSE;
    }
    DWORD done = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (done < to_read) {
        const ssize_t got = ::read(entry->fd, bytes + done, to_read - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return FALSE;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<DWORD>(got);
    }
    if (read != nullptr) {
        *read = done;
    }
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    try {
        standin_state& s = the_state();
        s.closed.push_back(handle);
        const auto found = s.handles.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == s.handles.end()) {
            return FALSE;
        }
        if (found->second.fd >= 0) {
            ::close(found->second.fd);
        }
        s.handles.erase(found);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

UINT GetACP() {
    return the_state().code_page;
}

int MultiByteToWideChar(UINT code_page, DWORD, LPCSTR src, int src_len, LPWSTR dst, int dst_len) {
    try {
        if (src == nullptr || src_len == 0 || dst_len < 0) {
            return 0;
        }
        const std::size_t length =
            src_len < 0 ? std::strlen(src) + 1 : static_cast<std::size_t>(src_len);
        std::u16string units;
        if (!decode(resolve_code_page(code_page), std::string_view(src, length), units)) {
            return 0;
        }
        if (dst_len == 0) {
            return static_cast<int>(units.size());
        }
        if (units.size() > static_cast<std::size_t>(dst_len)) {
            return 0;
        }
        std::copy(units.begin(), units.end(), dst);
        return static_cast<int>(units.size());
    } catch (...) {
        return 0;
    }
}

int WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR src, int src_len, LPSTR dst, int dst_len,
                        LPCSTR, LPBOOL) {
    try {
        if (src == nullptr || src_len == 0 || dst_len < 0) {
            return 0;
        }
        std::size_t length = static_cast<std::size_t>(src_len);
        if (src_len < 0) {
            length = 0;
            while (src[length] != 0) {
                ++length;
            }
            ++length;
        }
        std::string bytes;
        if (!encode(resolve_code_page(code_page), std::u16string_view(src, length), bytes)) {
            return 0;
        }
        if (dst_len == 0) {
            return static_cast<int>(bytes.size());
        }
        if (bytes.size() > static_cast<std::size_t>(dst_len)) {
            return 0;
        }
        // Like the real function, a counted conversion writes no NUL of its own.
        std::memcpy(dst, bytes.data(), bytes.size()); // NOLINT(bugprone-not-null-terminated-result)
        return static_cast<int>(bytes.size());
    } catch (...) {
        return 0;
    }
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                               DWORD size, LPCSTR file) {
    try {
        const std::string_view fallback = default_value != nullptr ? default_value : "";
        if (section == nullptr || key == nullptr || file == nullptr) {
            return copy_out(fallback, buffer, size);
        }
        bool exists = false;
        const std::vector<std::string> lines = read_lines(standin::native_path(file), exists);
        bool in_section = false;
        for (const std::string& line : lines) {
            std::string_view name;
            if (section_header(line, name)) {
                in_section = same_name(name, section);
                continue;
            }
            std::string_view line_key;
            std::string_view value;
            if (in_section && key_line(line, line_key, value) && same_name(line_key, key)) {
                return copy_out(value, buffer, size);
            }
        }
        return copy_out(fallback, buffer, size);
    } catch (...) {
        return copy_out("", buffer, size);
    }
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    try {
        if (section == nullptr || key == nullptr || value == nullptr || file == nullptr) {
            return FALSE;
        }
        const std::string path = standin::native_path(file);
        bool exists = false;
        std::vector<std::string> lines = read_lines(path, exists);
        const std::string entry = std::string(key) + "=" + value;

        bool in_section = false;
        bool section_found = false;
        std::size_t insert_at = lines.size();
        bool written = false;
        for (std::size_t i = 0; i < lines.size() && !written; ++i) {
            std::string_view name;
            if (section_header(lines[i], name)) {
                if (in_section) {
                    break; // the next section: the key goes at the end of ours
                }
                in_section = same_name(name, section);
                section_found = section_found || in_section;
                if (in_section) {
                    insert_at = i + 1;
                }
                continue;
            }
            std::string_view line_key;
            std::string_view line_value;
            if (in_section) {
                if (key_line(lines[i], line_key, line_value) && same_name(line_key, key)) {
                    lines[i] = entry;
                    written = true;
                } else if (!trim(lines[i]).empty()) {
                    insert_at = i + 1;
                }
            }
        }
        if (!written) {
            if (section_found) {
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), entry);
            } else {
                lines.push_back("[" + std::string(section) + "]");
                lines.push_back(entry);
            }
        }
        std::ostringstream text;
        for (const std::string& line : lines) {
            text << line << "\r\n";
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) {
            return FALSE;
        }
        out << text.str();
        return out.good() ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

int SHFileOperationA(LPSHFILEOPSTRUCTA operation) {
    try {
        if (operation == nullptr || operation->pFrom == nullptr) {
            return 1;
        }
        // The name list ends at the first empty name.
        std::string names;
        const char* at = operation->pFrom;
        for (;;) {
            const std::size_t length = std::strlen(at);
            names.append(at, length + 1);
            if (length == 0) {
                break;
            }
            at += length + 1;
        }
        standin_state& s = the_state();
        s.shell_requests.push_back(standin::shell_request{
            operation->hwnd, operation->wFunc, names, operation->pTo == nullptr, operation->fFlags,
            operation->fAnyOperationsAborted, operation->hNameMappings == nullptr,
            operation->lpszProgressTitle == nullptr});
        if (operation->wFunc != FO_DELETE) {
            return 1;
        }
        if (!s.shell_accepts) {
            operation->fAnyOperationsAborted = TRUE;
            return 0;
        }
        for (const char* name = operation->pFrom; *name != '\0'; name += std::strlen(name) + 1) {
            // A file another program holds open cannot be moved, as on Windows.
            const std::string native = standin::native_path(name);
            if (s.held_for_writing.count(native) == 0) {
                ::unlink(native.c_str());
            }
        }
        return 0;
    } catch (...) {
        return 1;
    }
}

BOOL CreateProcessA(LPCSTR application, LPSTR command_line,
                    LPSECURITY_ATTRIBUTES process_attributes,
                    LPSECURITY_ATTRIBUTES thread_attributes, BOOL inherit_handles,
                    DWORD creation_flags, LPVOID environment, LPCSTR directory,
                    LPSTARTUPINFOA startup_info, LPPROCESS_INFORMATION process_information) {
    try {
        standin_state& s = the_state();
        standin::process_start start{};
        start.application_null = application == nullptr;
        start.command_line = command_line != nullptr ? command_line : "";
        start.process_attributes_null = process_attributes == nullptr;
        start.thread_attributes_null = thread_attributes == nullptr;
        start.inherit_handles = inherit_handles;
        start.creation_flags = creation_flags;
        start.environment_null = environment == nullptr;
        start.directory_null = directory == nullptr;
        if (startup_info != nullptr) {
            start.startup_cb = startup_info->cb;
            const auto* bytes = reinterpret_cast<const unsigned char*>(startup_info);
            start.startup_rest_zero =
                std::all_of(bytes + sizeof(DWORD), bytes + sizeof(STARTUPINFOA),
                            [](unsigned char b) { return b == 0; });
        }
        if (!s.program_exists || process_information == nullptr) {
            s.process_starts.push_back(start);
            return FALSE;
        }
        start.process = new_handle(-1);
        start.thread = new_handle(-1);
        process_information->hProcess = start.process;
        process_information->hThread = start.thread;
        process_information->dwProcessId = 1000;
        process_information->dwThreadId = 1001;
        s.process_starts.push_back(start);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int buffer_max) {
    // The module's string table, as its resource script declares it.
    if (id != 65430 || buffer == nullptr || buffer_max <= 0) {
        return 0;
    }
    const std::string_view text = "notepad";
    return static_cast<int>(copy_out(text, buffer, static_cast<DWORD>(buffer_max)));
}
}
