// Fault injection: every allocation the module makes in a scenario is made to
// fail in turn, and the module must keep the failure inside the entry point.
//
// The global operator new of this program is replaced. It counts only
// allocations made on behalf of the module library (the first of our own
// libraries on the call stack is libQuillmark.so), so the fake host and the
// Win32 stand-in, which play the host and the system, never fail. For each
// scenario a clean run records the host calls; then for every N the run is
// repeated with the Nth allocation failing. Each run must:
//   - let no exception out of an entry point;
//   - return the entry point's specified result (a chat command that was
//     recognised still answers -1, one that failed before it was recognised 0);
//   - make host calls that are a prefix of the clean run's: the steps before
//     the failure keep their effect, the ones after it do not run;
//   - leak nothing (LeakSanitizer, checked after every run).
#include "platform/standin.h"
#include "tests/host_record.h"
#include "tests/module_loader.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <sanitizer/lsan_interface.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <execinfo.h>
#include <functional>
#include <new>

namespace {

struct injector_state {
    bool armed = false;
    long countdown = -1; // the allocation that fails: 0 is the next one
    long counted = 0;
    long injected = 0;
};

injector_state injector;
thread_local bool inside_injector = false;

// True when the allocation comes from the module library rather than from the
// fake host, the stand-in or the test.
bool made_by_module() {
    void* frames[64];
    const int depth = backtrace(frames, 64);
    bool past_injector = false;
    for (int i = 0; i < depth; ++i) {
        Dl_info info{};
        if (dladdr(frames[i], &info) == 0 || info.dli_fname == nullptr) {
            continue;
        }
        const char* name = info.dli_fname;
        const bool in_this_program = std::strstr(name, "qm_fault_tests") != nullptr;
        // The first frames are this injector itself; what called it decides.
        if (!past_injector) {
            past_injector = !in_this_program;
            if (in_this_program) {
                continue;
            }
        }
        if (std::strstr(name, "libQuillmark") != nullptr) {
            return true;
        }
        if (in_this_program || std::strstr(name, "libfurn2") != nullptr ||
            std::strstr(name, "libwin32_standin") != nullptr) {
            return false;
        }
    }
    return false;
}

bool should_fail() {
    if (!injector.armed || inside_injector) {
        return false;
    }
    inside_injector = true;
    bool fail = false;
    if (made_by_module()) {
        ++injector.counted;
        if (injector.countdown == 0) {
            fail = true;
            ++injector.injected;
        }
        --injector.countdown;
    }
    inside_injector = false;
    return fail;
}

void* allocate(std::size_t size) {
    if (should_fail()) {
        throw std::bad_alloc();
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void* allocate_nothrow(std::size_t size) noexcept {
    if (should_fail()) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

// The replaceable allocation functions, all of them, over malloc.
void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate_nothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate_nothrow(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace qmtest {
namespace {

struct outcome {
    std::vector<host_call> calls;
    std::vector<std::int32_t> results;
    bool escaped = false;
};

bool same_call(const host_call& a, const host_call& b) {
    return a.kind == b.kind && a.bytes == b.bytes && a.first == b.first && a.second == b.second;
}

// One scenario: what runs before (never failing) and what runs armed.
struct scenario_case {
    const char* name;
    std::function<void(loaded_module&, const temp_folder&)> prepare;
    std::function<std::vector<std::int32_t>(loaded_module&)> act;
    // The results a run may give when an allocation failed in it.
    std::function<bool(const std::vector<std::int32_t>&)> results_allowed;
};

const std::int32_t module_id = 11;

void login(loaded_module& m, const char* name, const char* description) {
    fh_set_player(name, description);
    m.on_world(2);
    m.on_world(3);
}

std::int32_t command(loaded_module& m, const char* word) {
    const char* words[] = {word, "extra"};
    return m.on_command(2, words);
}

bool all_zero(const std::vector<std::int32_t>& results) {
    return std::all_of(results.begin(), results.end(), [](std::int32_t r) { return r == 0; });
}

bool zero_or_handled(const std::vector<std::int32_t>& results) {
    return results.size() == 1 && (results[0] == 0 || results[0] == -1);
}

std::vector<scenario_case> scenarios() {
    const auto init = [](loaded_module& m, const temp_folder&) { m.on_module(0, &module_id); };
    const auto logged_in = [](loaded_module& m, const temp_folder& folder) {
        folder.write("Ash Wren.txt", "Tall and grey,\r\nwith a silver quill.");
        folder.write("Quillmarker.ini", "[Main]\r\n%AEAsh|Wren=1\r\n");
        m.on_module(0, &module_id);
        m.on_module(2, nullptr);
        login(m, "Ash|Wren", "A grey fox.");
    };
    return {
        {"module event 0", [](loaded_module&, const temp_folder&) {},
         [](loaded_module& m) { return std::vector<std::int32_t>{m.on_module(0, &module_id)}; },
         all_zero},
        {"module event 2", logged_in,
         [](loaded_module& m) { return std::vector<std::int32_t>{m.on_module(2, nullptr)}; },
         all_zero},
        {"module event 3", logged_in,
         [](loaded_module& m) { return std::vector<std::int32_t>{m.on_module(3, nullptr)}; },
         all_zero},
        {"module event 4", init,
         [](loaded_module& m) { return std::vector<std::int32_t>{m.on_module(4, nullptr)}; },
         all_zero},
        {"the login road",
         [](loaded_module& m, const temp_folder& folder) {
             folder.write("Ash Wren.txt", "Tall and grey,\r\nwith a silver quill.");
             folder.write("Quillmarker.ini", "[Main]\r\n%AEAsh|Wren=1\r\n");
             m.on_module(0, &module_id);
             m.on_module(2, nullptr);
             fh_set_player("Ash|Wren", "A grey fox.");
         },
         [](loaded_module& m) {
             return std::vector<std::int32_t>{m.on_world(2), m.on_world(3)};
         },
         all_zero},
        {"desc-delete", logged_in,
         [](loaded_module& m) { return std::vector<std::int32_t>{command(m, "desc-delete")}; },
         zero_or_handled},
        {"desc-reload", logged_in,
         [](loaded_module& m) { return std::vector<std::int32_t>{command(m, "DESC-RELOAD")}; },
         zero_or_handled},
        {"desc-edit", logged_in,
         [](loaded_module& m) { return std::vector<std::int32_t>{command(m, "desc-edit")}; },
         zero_or_handled},
        {"desc-auto", logged_in,
         [](loaded_module& m) { return std::vector<std::int32_t>{command(m, "Desc-Auto")}; },
         zero_or_handled},
    };
}

// Runs a scenario with the given allocation failing (-1: none).
outcome run(const scenario_case& s, long fail_at) {
    outcome result;
    fh_reset();
    standin::reset();
    {
        const temp_folder folder;
        fh_set_docroot(folder.root().c_str());
        loaded_module module;
        s.prepare(module, folder);
        fh_clear_calls();
        injector.counted = 0;
        injector.countdown = fail_at;
        injector.armed = true;
        try {
            result.results = s.act(module);
        } catch (...) {
            result.escaped = true;
        }
        injector.armed = false;
        result.calls = host_calls();
    }
    fh_reset();
    standin::reset();
    return result;
}

TEST(fault_injection, every_failed_allocation_stays_inside_the_module) {
    long total_injected = 0;
    for (const scenario_case& s : scenarios()) {
        SCOPED_TRACE(s.name);
        const outcome clean = run(s, -1);
        ASSERT_FALSE(clean.escaped);
        const long allocations = injector.counted;
        for (long n = 0; n < allocations; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n));
            const long before = injector.injected;
            const outcome failed = run(s, n);
            EXPECT_EQ(injector.injected, before + 1);
            EXPECT_FALSE(failed.escaped);
            EXPECT_TRUE(s.results_allowed(failed.results));
            ASSERT_LE(failed.calls.size(), clean.calls.size());
            for (std::size_t i = 0; i < failed.calls.size(); ++i) {
                EXPECT_TRUE(same_call(failed.calls[i], clean.calls[i])) << "call " << i;
            }
            EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "leaked";
        }
        total_injected += allocations;
        std::printf("fault injection: %-16s %3ld allocations, each failed in turn\n", s.name,
                    allocations);
    }
    std::printf("fault injection: %ld injected failures in all\n", total_injected);
    // Every scenario but the about lines builds texts; a count near zero
    // means the injector no longer sees the module's allocations.
    EXPECT_GE(total_injected, 30);
}

} // namespace
} // namespace qmtest
