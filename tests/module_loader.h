// Loads the module library afresh and finds its seven entry points, so each
// scenario starts from the state a freshly loaded library has.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include "platform/win32.h"
#else
#include <dlfcn.h>
#endif

namespace qmtest {

using on_module_fn = std::int32_t (*)(std::int32_t, const void*);
using on_plain_fn = std::int32_t (*)();
using on_world_fn = std::int32_t (*)(std::int32_t);
using on_command_fn = std::int32_t (*)(std::int32_t, const char* const*);
using on_net_fn = void (*)();

inline std::string module_library_path() {
#if defined(_WIN32)
    return "Quillmark.dll";
#else
    return QM_MODULE_PATH;
#endif
}

class loaded_module {
  public:
    loaded_module() {
#if defined(_WIN32)
        handle_ = LoadLibraryA(module_library_path().c_str());
#else
        handle_ = dlopen(module_library_path().c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
        if (handle_ == nullptr) {
            throw std::runtime_error("cannot load " + module_library_path());
        }
        on_module = find<on_module_fn>("on_module");
        on_client = find<on_plain_fn>("on_client");
        on_wndproc = find<on_plain_fn>("on_wndproc");
        on_world = find<on_world_fn>("on_world");
        on_command = find<on_command_fn>("on_command");
        on_inet = find<on_net_fn>("on_inet");
        on_onet = find<on_net_fn>("on_onet");
    }
    loaded_module(const loaded_module&) = delete;
    loaded_module& operator=(const loaded_module&) = delete;
    ~loaded_module() {
        unload();
    }

    void unload() {
        if (handle_ != nullptr) {
#if defined(_WIN32)
            FreeLibrary(static_cast<HMODULE>(handle_));
#else
            dlclose(handle_);
#endif
            handle_ = nullptr;
        }
    }

    on_module_fn on_module = nullptr;
    on_plain_fn on_client = nullptr;
    on_plain_fn on_wndproc = nullptr;
    on_world_fn on_world = nullptr;
    on_command_fn on_command = nullptr;
    on_net_fn on_inet = nullptr;
    on_net_fn on_onet = nullptr;

  private:
    template <class Fn> Fn find(const char* name) {
#if defined(_WIN32)
        auto* address = GetProcAddress(static_cast<HMODULE>(handle_), name);
#else
        void* address = dlsym(handle_, name);
#endif
        if (address == nullptr) {
            throw std::runtime_error(std::string("missing export ") + name);
        }
        // Through the generic function pointer type, which any other converts to.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
    }

    void* handle_ = nullptr;
};

} // namespace qmtest
