// Another program holding a file open for writing without sharing it, as an
// editor in the middle of saving does. Opening the file for reading then fails.
#pragma once

#include <string>

#if defined(_WIN32)
#include "platform/win32.h"
#else
#include "platform/standin.h"
#endif

namespace qmtest {

class write_lock {
  public:
    explicit write_lock(const std::string& path) {
#if defined(_WIN32)
        handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        held_ = handle_ != INVALID_HANDLE_VALUE;
#else
        standin::hold_open_for_writing(path);
        path_ = path;
        held_ = true;
#endif
    }
    write_lock(const write_lock&) = delete;
    write_lock& operator=(const write_lock&) = delete;
    ~write_lock() {
#if defined(_WIN32)
        if (held_) {
            CloseHandle(handle_);
        }
#else
        standin::release_for_writing(path_);
#endif
    }
    [[nodiscard]] bool held() const {
        return held_;
    }

  private:
#if defined(_WIN32)
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    std::string path_;
#endif
    bool held_ = false;
};

} // namespace qmtest
