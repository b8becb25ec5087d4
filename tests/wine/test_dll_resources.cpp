// The shipped DLL's resources, read through the real Windows functions:
// the version block and the editor's string.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class dll_resources : public ::testing::Test {
  protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA("Quillmark.dll", &ignored);
        ASSERT_GT(size, 0u);
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA("Quillmark.dll", 0, size, block.data()));
    }

    std::string string_value(const char* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0) {
            return "<missing>";
        }
        return std::string(static_cast<const char*>(value));
    }

    std::vector<char> block;
};

TEST_F(dll_resources, version_strings) {
    EXPECT_EQ(string_value("ProductName"), "Quillmark");
    EXPECT_EQ(string_value("FileDescription"), "Quillmark Furnarchy2 Module");
    EXPECT_EQ(string_value("FileVersion"), "1.4.0.8");
    EXPECT_EQ(string_value("ProductVersion"), "1.4.0.0");
    EXPECT_EQ(string_value("OriginalFilename"), "Quillmark.dll");
}

TEST_F(dll_resources, numeric_version_matches_the_strings) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(info->dwFileVersionMS, MAKELONG(4, 1));
    EXPECT_EQ(info->dwFileVersionLS, MAKELONG(8, 0));
    EXPECT_EQ(info->dwProductVersionMS, MAKELONG(4, 1));
    EXPECT_EQ(info->dwProductVersionLS, 0u);
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST(dll_strings, the_editor_string_is_notepad) {
    const HMODULE module = LoadLibraryA("Quillmark.dll");
    ASSERT_NE(module, nullptr);
    char buffer[64];
    memset(buffer, 0xCC, sizeof buffer);
    const int length = LoadStringA(module, 65430, buffer, sizeof buffer);
    EXPECT_EQ(length, 7);
    EXPECT_STREQ(buffer, "notepad");
    FreeLibrary(module);
}

} // namespace
