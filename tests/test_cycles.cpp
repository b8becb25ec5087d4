// Load and unload, many times in one process: a full login with commands in
// each cycle, and afterwards the process holds what it held before.
//
// Under Wine the process's handles are counted by probing every handle value
// (GetProcessHandleCount is a stub there), the C runtime heap's bytes in use
// are summed with _heapwalk, and the commit charge is read with
// GetProcessMemoryInfo. The static C++ runtime linked into any MinGW DLL
// leaves things of its own behind at every unload (the locks and the
// thread-local key of its exception support, its emergency exception pool);
// a probe DLL built with the same flags measures that share, and the module
// must add nothing to it. The runtime's thread-local key is one of the
// process's 1088, so a process can load and unload such a DLL only about a
// thousand times in all: the warm-up and the probe are kept short. The Linux
// build counts the stand-in's open handles and leaves leaks to LeakSanitizer.
#include "tests/host_record.h"
#include "tests/module_loader.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>

#if defined(_WIN32)
#include <malloc.h>
#include <psapi.h>
#else
#include "platform/standin.h"
#endif

namespace qmtest {
namespace {

constexpr int warm_up_cycles = 5;
constexpr int measured_cycles = 1000;

struct process_level {
    long handles = 0;
    unsigned long long heap_in_use = 0;
    unsigned long long commit = 0;
};

process_level measure() {
    process_level level;
#if defined(_WIN32)
    for (std::uintptr_t value = 4; value < 0x20000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++level.handles;
        }
    }
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) {
            level.heap_in_use += entry._size;
        }
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        level.commit = counters.PagefileUsage;
    }
#else
    level.handles = standin::open_handle_count();
#endif
    return level;
}

void one_cycle(const temp_folder& folder) {
    loaded_module module;
    const std::int32_t id = 5;
    module.on_module(0, &id);
    folder.write("Ash Wren.txt", "Tall and grey,\r\nwith a silver quill.\r\n");
    module.on_module(2, nullptr);
    fh_set_player("Ash|Wren", "A grey fox.");
    module.on_world(2);
    module.on_world(3);
    const char* reload[] = {"desc-reload"};
    const char* autoenable[] = {"desc-auto"};
    const char* remove[] = {"desc-delete"};
    module.on_command(1, reload);
    module.on_command(1, autoenable);
    module.on_command(1, autoenable);
    module.on_command(1, remove); // declined: the file stays for the next cycle
    module.on_module(4, nullptr);
    module.on_module(3, nullptr);
    fh_clear_calls();
}

// What the C++ runtime itself leaves per load and unload of a DLL.
process_level runtime_share_per_load() {
    process_level share;
#if defined(_WIN32)
    constexpr int probe_loads = 10;
    const process_level before = measure();
    for (int i = 0; i < probe_loads; ++i) {
        const HMODULE probe = LoadLibraryA("qm_runtime_probe.dll");
        if (probe == nullptr) {
            ADD_FAILURE() << "cannot load qm_runtime_probe.dll";
            return share;
        }
        using probe_fn = int(__cdecl*)(int);
        const auto fn = reinterpret_cast<probe_fn>(
            reinterpret_cast<void (*)()>(GetProcAddress(probe, "probe_throw")));
        EXPECT_EQ(fn(0), 0); // the module throws nothing on its main paths either
        FreeLibrary(probe);
    }
    const process_level after = measure();
    share.handles = (after.handles - before.handles) / probe_loads;
    share.heap_in_use = (after.heap_in_use - before.heap_in_use) / probe_loads;
#endif
    return share;
}

TEST(cycles, a_thousand_loads_leave_the_process_as_it_was) {
    fh_reset();
#if !defined(_WIN32)
    standin::reset();
    standin::set_shell_accepts(false);
#endif
    const temp_folder folder;
    fh_set_docroot(folder.root().c_str());
    const process_level runtime = runtime_share_per_load();

    for (int i = 0; i < warm_up_cycles; ++i) {
        one_cycle(folder);
    }
    const process_level before = measure();
    for (int i = 0; i < measured_cycles; ++i) {
        one_cycle(folder);
    }
    const process_level after = measure();

    std::printf("cycles: %d loads, each a login and four commands\n", measured_cycles);
    std::printf("cycles: handles %ld -> %ld; the C++ runtime alone leaves %ld per unload\n",
                before.handles, after.handles, runtime.handles);
    std::printf("cycles: heap in use %llu -> %llu bytes; the runtime alone leaves %llu per "
                "unload\n",
                before.heap_in_use, after.heap_in_use, runtime.heap_in_use);
    std::printf("cycles: commit %llu -> %llu bytes\n", before.commit, after.commit);
    EXPECT_EQ(after.handles - before.handles, runtime.handles * measured_cycles)
        << "the module's own handles must all be closed";
    // Beyond the runtime's share, a leak of even one short text per cycle
    // would show as 16 KB or more.
    const unsigned long long runtime_heap = runtime.heap_in_use * measured_cycles;
    EXPECT_LE(after.heap_in_use - before.heap_in_use, runtime_heap + 4 * 1024);
    fh_reset();
}

} // namespace
} // namespace qmtest
