// A DLL built with exactly the shipping DLL's toolchain and runtime flags
// that does nothing but throw and catch one exception. Loading and unloading
// it shows what the static C++ runtime itself leaves behind per load, so the
// cycle test can tell the runtime's share from the module's.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

extern "C" __declspec(dllexport) int __cdecl probe_throw(int value) {
    try {
        if (value != 0) {
            throw value;
        }
    } catch (int caught) {
        return caught;
    }
    return 0;
}
