// Fuzz target: a description file's content to the long description.
//
// The first byte picks the ANSI code page (1252, 932 or 65001); the rest is
// the file's content. Properties: the result holds no CR, LF or NUL; it is at
// most 800 UTF-16 units long; and it equals what the plain step-by-step model
// gives.
#include "platform/standin.h"
#include "store/desc_text.h"
#include "tests/reference_long_desc.h"
#include "util/utilities.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const UINT code_pages[] = {1252, 932, 65001};
    standin::set_code_page(code_pages[data[0] % 3]);
    const std::string content(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string result = qm::long_desc_from_content(content.data(), content.size());
    if (result.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        std::fprintf(stderr, "a line break or NUL survived\n");
        std::abort();
    }
    if (qm::to_wide(result).size() > 800) {
        std::fprintf(stderr, "more than 800 units\n");
        std::abort();
    }
    if (result != qmtest::reference_long_desc(content)) {
        std::fprintf(stderr, "differs from the step-by-step model\n");
        std::abort();
    }
    return 0;
}
