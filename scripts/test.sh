#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the
# Linux build with sanitizers (and short fuzzing runs), then the shipping
# Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --tests

status=0
echo "== Linux build (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --workflow --preset native || status=1

echo "== Windows build (Quillmark.dll), tests under Wine"
source scripts/wine-prefix.sh
cmake --workflow --preset windows || status=1
wineserver -k 2>/dev/null || true

if ((status == 0)); then
    echo "All tests passed."
else
    echo "Some tests failed." >&2
fi
exit $status
