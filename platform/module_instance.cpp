#include "platform/win32.h"

#if defined(_WIN32)
// The linker places the image's DOS header here; its address is the module's
// instance handle.
extern "C" IMAGE_DOS_HEADER __ImageBase;
#endif

namespace qm {

HINSTANCE module_instance() {
#if defined(_WIN32)
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
#else
    return nullptr; // the stand-in keeps the module's strings itself
#endif
}

} // namespace qm
