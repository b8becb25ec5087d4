// The scenario fixture: the module loaded afresh through its real exports, the
// recording fake host, and a fresh document folder, for every test.
#pragma once

#include "tests/host_record.h"
#include "tests/module_loader.h"
#include "tests/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include "platform/standin.h"
#endif

namespace qmtest {

inline constexpr std::int32_t test_module_id = 7;

class scenario : public ::testing::Test {
  protected:
    void SetUp() override {
        fh_reset();
#if !defined(_WIN32)
        standin::reset();
#endif
        fh_set_docroot(folder.root().c_str());
        module = std::make_unique<loaded_module>();
    }

    void TearDown() override {
        module.reset();
    }

    // Module event 0 with the test's id, then a clean record.
    void init() {
        module->on_module(0, &test_module_id);
        fh_clear_calls();
    }

    // A full login: the character becomes known, then its description.
    void login(const char* name, const char* description) {
        fh_set_player(name, description);
        module->on_world(2);
        module->on_world(3);
    }

    std::int32_t command(std::initializer_list<const char*> words) {
        const std::vector<const char*> list(words);
        return module->on_command(static_cast<std::int32_t>(list.size()), list.data());
    }

    [[nodiscard]] std::string desc_path(const std::string& file_name) const {
        return folder.module_dir() + file_name;
    }

    temp_folder folder;
    std::unique_ptr<loaded_module> module;
};

// A scenario that starts with module event 0 already given.
class started_scenario : public scenario {
  protected:
    void SetUp() override {
        scenario::SetUp();
        init();
    }
};

} // namespace qmtest
