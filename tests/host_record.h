// The fake host's record, read into C++ values for assertions.
#pragma once

#include "tests/fake_host/fake_host.h"

#include <string>
#include <vector>

namespace qmtest {

struct host_call {
    int kind;
    std::string bytes;
    int first;
    int second;
};

inline std::vector<host_call> host_calls() {
    std::vector<host_call> calls;
    for (int i = 0; i < fh_call_count(); ++i) {
        calls.push_back(host_call{fh_call_kind(i), std::string(fh_call_bytes(i), fh_call_length(i)),
                                  fh_call_int(i, 0), fh_call_int(i, 1)});
    }
    return calls;
}

inline std::vector<std::string> calls_of(int kind) {
    std::vector<std::string> texts;
    for (const host_call& call : host_calls()) {
        if (call.kind == kind) {
            texts.push_back(call.bytes);
        }
    }
    return texts;
}

inline std::vector<std::string> speaks() {
    return calls_of(fh_speak);
}
inline std::vector<std::string> netouts() {
    return calls_of(fh_netout);
}
inline std::vector<std::string> errlogs() {
    return calls_of(fh_errlog);
}

// The kinds of every call in order, for checking what came before what.
inline std::vector<int> call_kinds() {
    std::vector<int> kinds;
    for (const host_call& call : host_calls()) {
        kinds.push_back(call.kind);
    }
    return kinds;
}

} // namespace qmtest
