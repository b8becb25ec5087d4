#include "store/auto_enable.h"

#include "module/module_state.h"
#include "platform/win32.h"

#include <string>

namespace qm {

namespace {

constexpr const char* settings_section = "Main";

std::string settings_key(std::string_view name) {
    return "%AE" + std::string(name);
}

} // namespace

auto_enable_outcome load_auto_enable(std::string_view name) {
    const std::string key = settings_key(name);
    char value[5] = {};
    const auto count = static_cast<std::int32_t>(GetPrivateProfileStringA(
        settings_section, key.c_str(), "0", value, sizeof value, state.ini_path.c_str()));
    if (count <= 0) {
        return auto_enable_outcome::none;
    }
    return value[0] == '1' ? auto_enable_outcome::on : auto_enable_outcome::off;
}

void save_auto_enable(std::string_view name, bool flag) {
    const std::string key = settings_key(name);
    WritePrivateProfileStringA(settings_section, key.c_str(), flag ? "1" : "0",
                               state.ini_path.c_str());
}

} // namespace qm
