// How much longer every wait of a test may take: QM_TIME_SCALE, set where the
// tests run slower than on a machine of their own (10 inside the virtual
// machine that runs the Windows tests on a kernel without 32-bit support).
// A missing, malformed or out-of-range value counts as 1.
#pragma once

#include <cstdlib>

namespace qmtest {

inline int time_scale() {
    const char* text = std::getenv("QM_TIME_SCALE");
    if (text == nullptr) {
        return 1;
    }
    char* end = nullptr;
    const long scale = std::strtol(text, &end, 10);
    return (end != text && *end == '\0' && scale >= 1 && scale <= 100) ? static_cast<int>(scale)
                                                                       : 1;
}

} // namespace qmtest
