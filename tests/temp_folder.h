// A fresh, empty folder for one test, removed again at its end, and the file
// operations the tests make in it.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace qmtest {

class temp_folder {
  public:
    explicit temp_folder(const std::string& prefix = "qm-test-") {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (;;) {
            path_ = std::filesystem::temp_directory_path() /
                    (prefix + std::to_string(stamp) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(path_)) {
                break;
            }
        }
    }
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    ~temp_folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // The folder as the host reports it: native separators, no trailing one.
    [[nodiscard]] std::string root() const { return path_.string(); }
    // The folder as the module spells paths in it: root + "\\".
    [[nodiscard]] std::string module_dir() const { return root() + "\\"; }
    [[nodiscard]] std::filesystem::path file(const std::string& name) const { return path_ / name; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    [[nodiscard]] std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    [[nodiscard]] bool exists(const std::string& name) const {
        return std::filesystem::exists(file(name));
    }
    void remove(const std::string& name) const { std::filesystem::remove(file(name)); }
    void make_folder(const std::string& name) const {
        std::filesystem::create_directory(file(name));
    }

  private:
    std::filesystem::path path_;
};

} // namespace qmtest
