// Loading a description: load_long_desc against a plain whole-file read of
// the same file, in the same run and cache state, over file shapes and sizes.
//
// Each iteration reads the file plainly, loads it through load_long_desc and
// (for the record of what a literal reading of the steps costs) runs the
// step-by-step model on it, alternating so all three meet the same cache.
// Reported per benchmark:
//   read_ms, load_ms, naive_ms    mean time of each
//   ratio                         load_ms / read_ms
//   naive_ratio                   (read + step-by-step model) / read
//   extra_peak_KiB                peak bytes load_long_desc holds beyond the
//                                 file's own buffer
//   naive_extra_peak_MiB          the same for the step-by-step model
#include "module/module_state.h"
#include "platform/standin.h"
#include "platform/win32.h"
#include "store/desc_file.h"
#include "tests/reference_long_desc.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <new>
#include <string>

// ---- allocation accounting ---------------------------------------------------

namespace {
std::size_t current_bytes = 0;
std::size_t peak_bytes = 0;

void* counted_allocate(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    current_bytes += malloc_usable_size(p);
    if (current_bytes > peak_bytes) {
        peak_bytes = current_bytes;
    }
    return p;
}

void counted_free(void* p) noexcept {
    if (p != nullptr) {
        current_bytes -= malloc_usable_size(p);
        std::free(p);
    }
}
} // namespace

void* operator new(std::size_t size) {
    return counted_allocate(size);
}
void* operator new[](std::size_t size) {
    return counted_allocate(size);
}
void operator delete(void* p) noexcept {
    counted_free(p);
}
void operator delete[](void* p) noexcept {
    counted_free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    counted_free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    counted_free(p);
}

namespace {

// ---- files -------------------------------------------------------------------

enum shape { prose_crlf, lf_only, all_cr, one_line, one_byte_lines, nul_near_start, nul_near_end };

const char* shape_name(int s) {
    static const char* names[] = {"prose_crlf",     "lf_only",        "all_cr",      "one_line",
                                  "one_byte_lines", "nul_near_start", "nul_near_end"};
    return names[s];
}

std::string make_content(int s, std::size_t size) {
    std::string content;
    content.reserve(size);
    const std::string sentence = "The fox wears a grey coat and carries a silver quill. ";
    switch (s) {
    case prose_crlf:
    case lf_only:
        while (content.size() < size) {
            content += sentence;
            content += sentence;
            content += s == prose_crlf ? "\r\n" : "\n";
        }
        break;
    case all_cr:
        content.assign(size, '\r');
        break;
    case one_line:
        while (content.size() < size) {
            content += sentence;
        }
        break;
    case one_byte_lines:
        while (content.size() < size) {
            content += "a\n";
        }
        break;
    case nul_near_start:
    case nul_near_end:
        while (content.size() < size) {
            content += sentence;
            content += "\r\n";
        }
        content.resize(size);
        content[s == nul_near_start ? 100 : size - 100] = '\0';
        break;
    default:
        break;
    }
    content.resize(size);
    return content;
}

std::filesystem::path bench_folder() {
    static const std::filesystem::path folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "quillmark-bench";
        std::filesystem::create_directories(dir);
        return dir;
    }();
    return folder;
}

std::string file_name(int s, std::size_t size) {
    return std::string(shape_name(s)) + "-" + std::to_string(size);
}

void ensure_file(int s, std::size_t size) {
    const auto path = bench_folder() / (file_name(s, size) + ".txt");
    if (std::filesystem::exists(path) && std::filesystem::file_size(path) == size) {
        return;
    }
    const std::string content = make_content(s, size);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

// The plain whole-file read: the same calls load_long_desc makes to get the
// bytes, and nothing after.
std::size_t plain_read(const std::string& path, std::unique_ptr<char[]>& out) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    out = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ReadFile(file, out.get(), static_cast<DWORD>(size.QuadPart), &got, nullptr);
    CloseHandle(file);
    return got;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void load_description(benchmark::State& state) {
    const int s = static_cast<int>(state.range(0));
    const auto size = static_cast<std::size_t>(state.range(1));
    ensure_file(s, size);
    qm::state.doc_dir = bench_folder().string() + "\\";
    const std::string name = file_name(s, size);
    const std::string path = qm::state.doc_dir + name + ".txt";
    const bool with_naive = size <= (64u << 20);

    double read_total = 0;
    double load_total = 0;
    double naive_total = 0;
    std::size_t extra_peak = 0;
    std::size_t naive_extra_peak = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        {
            std::unique_ptr<char[]> bytes;
            benchmark::DoNotOptimize(plain_read(path, bytes));
        }
        read_total += seconds_since(start);

        standin::reset(); // the stand-in's own records stay out of the figures
        const std::size_t base = current_bytes;
        peak_bytes = current_bytes;
        start = std::chrono::steady_clock::now();
        qm::load_long_desc(name);
        load_total += seconds_since(start);
        benchmark::DoNotOptimize(qm::state.long_desc.data());
        extra_peak = std::max(extra_peak, peak_bytes - base - size);

        if (with_naive) {
            peak_bytes = current_bytes;
            start = std::chrono::steady_clock::now();
            std::unique_ptr<char[]> bytes;
            const std::size_t got = plain_read(path, bytes);
            const std::string result = qmtest::reference_long_desc(std::string(bytes.get(), got));
            naive_total += seconds_since(start);
            naive_extra_peak = std::max(naive_extra_peak, peak_bytes - base - size);
            if (result != qm::state.long_desc) {
                state.SkipWithError("the module and the step-by-step model disagree");
                break;
            }
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["read_ms"] = read_total / n * 1e3;
    state.counters["load_ms"] = load_total / n * 1e3;
    state.counters["ratio"] = load_total / read_total;
    state.counters["extra_peak_KiB"] = static_cast<double>(extra_peak) / 1024.0;
    if (with_naive) {
        state.counters["naive_ms"] = naive_total / n * 1e3;
        state.counters["naive_ratio"] = naive_total / read_total;
        state.counters["naive_extra_peak_MiB"] =
            static_cast<double>(naive_extra_peak) / (1024.0 * 1024.0);
    }
}

// Every shape at every size, with a fixed number of rounds per size so the
// slow step-by-step model does not set the pace.
void register_benchmarks() {
    struct size_rounds {
        long size;
        int rounds;
    };
    const size_rounds sizes[] = {{4L << 10, 2000}, {1L << 20, 40}, {64L << 20, 5}, {256L << 20, 3}};
    for (int s = prose_crlf; s <= nul_near_end; ++s) {
        for (const size_rounds& sr : sizes) {
            const std::string label =
                std::string(shape_name(s)) + "/" + std::to_string(sr.size >> 10) + "KiB";
            benchmark::RegisterBenchmark(label.c_str(), load_description)
                ->Args({s, sr.size})
                ->Iterations(sr.rounds)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    register_benchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (std::getenv("QM_BENCH_KEEP_FILES") == nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(bench_folder(), ignored);
    }
    return 0;
}
