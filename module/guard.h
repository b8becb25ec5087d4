// The one guard every entry point runs its body in.
//
// Nothing may cross back into the host: an exception leaving an entry point
// would end in terminate() inside the game client. The guard catches every
// failure (memory running out while a text is built, a description file that
// exists but cannot be opened) and answers with the entry point's own result
// for that case. What the body did before the failure keeps its effect.
#pragma once

namespace qm {

template <class Result, class Body> Result guarded(Result on_failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return on_failure;
    }
}

template <class Body> void guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        // Kept inside: an entry point without a result has nothing to report.
    }
}

} // namespace qm
