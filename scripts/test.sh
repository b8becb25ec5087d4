#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the
# Linux build with sanitizers (and short fuzzing runs), then the shipping
# Windows build under Wine. Where this machine's kernel runs no 32-bit
# program, the Windows tests run inside a virtual machine (scripts/wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --tests

status=0
# The Linux build's tests include one trip into the virtual machine, so that
# way is tried on every machine.
echo "== Linux build (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --workflow --preset native || status=1

echo "== Windows build (Quillmark.dll), tests under Wine"
# Inside the virtual machine a program runs five to ten times slower: every
# wait and time limit of the Windows tests stretches by QM_TIME_SCALE.
if [[ $(scripts/wine.sh --where) == vm ]]; then
    export QM_TIME_SCALE=${QM_TIME_SCALE:-10}
else
    export QM_TIME_SCALE=${QM_TIME_SCALE:-1}
fi
if cmake --preset windows -DQM_TIME_SCALE="$QM_TIME_SCALE" >/dev/null &&
    cmake --build --preset windows; then
    scripts/wine.sh ctest --preset windows || status=1
else
    status=1
fi

if ((status == 0)); then
    echo "All tests passed."
else
    echo "Some tests failed." >&2
fi
exit $status
