#!/usr/bin/env bash
# Builds Quillmark.dll and runs it in the host simulator, under Wine, on the
# bundled example session; prints the transcript.
#
#   scripts/example.sh [SCRIPT]     default: examples/session.qms
set -euo pipefail
cd "$(dirname "$0")/.."
script=$(realpath "${1:-examples/session.qms}")

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Quillmark quillmark-simulator qm_notepad_recorder >/dev/null
echo "Built $(pwd)/build/windows/Quillmark.dll"
source scripts/wine-prefix.sh
cd build/windows
# No display: the transcript runs unattended, so the shell's Recycle Bin
# question is not put up in a window (Wine then keeps the file).
DISPLAY= wine quillmark-simulator.exe "$(winepath -w "$script" 2>/dev/null)"
