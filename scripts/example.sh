#!/usr/bin/env bash
# Builds Quillmark.dll and runs it in the host simulator, under Wine, on the
# bundled example session; prints the transcript. Where this machine's kernel
# runs no 32-bit program, Wine runs inside a virtual machine (scripts/wine.sh).
#
#   scripts/example.sh [SCRIPT]     default: examples/session.qms
set -euo pipefail
cd "$(dirname "$0")/.."
script=$(realpath "${1:-examples/session.qms}")

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Quillmark quillmark-simulator qm_notepad_recorder >/dev/null
echo "Built $(pwd)/build/windows/Quillmark.dll"
# No display: the transcript runs unattended, so the shell's Recycle Bin
# question is not put up in a window (Wine then keeps the file).
exec scripts/wine.sh bash -c 'cd build/windows && DISPLAY= wine quillmark-simulator.exe "$(winepath -w "$1" 2>/dev/null)"' _ "$script"
