#!/usr/bin/env bash
# Installs what building and testing Quillmark needs on Debian 12, skipping
# whatever is already there. Run as root (it calls apt-get).
#
#   scripts/setup.sh           the Windows build and the host simulator, and
#                              the virtual machine that runs Wine where the
#                              kernel runs no 32-bit program (QEMU, busybox)
#   scripts/setup.sh --tests   also the Linux build, sanitizers, fuzzing and
#                              the recycle bin test's display
set -euo pipefail

packages=(cmake ninja-build googletest
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 zip unzip
          qemu-system-x86 busybox-static)
if [[ ${1:-} == --tests ]]; then
    packages+=(clang libclang-rt-14-dev clang-format clang-tidy xvfb xdotool libbenchmark-dev)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

if ((EUID != 0)); then
    echo "setup: missing packages: ${missing[*]}" >&2
    echo "setup: run this as root to install them" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
