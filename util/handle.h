// Small RAII owners for Win32 handles, so every path closes what it opened.
#pragma once

#include "platform/win32.h"

namespace qm {

// Owns a file handle from CreateFileA; INVALID_HANDLE_VALUE means none.
class unique_file_handle {
  public:
    explicit unique_file_handle(HANDLE handle) noexcept : handle_(handle) {}
    unique_file_handle(const unique_file_handle&) = delete;
    unique_file_handle& operator=(const unique_file_handle&) = delete;
    ~unique_file_handle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }

    [[nodiscard]] bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const noexcept { return handle_; }

  private:
    HANDLE handle_;
};

} // namespace qm
