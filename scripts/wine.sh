#!/usr/bin/env bash
# Runs a command where 32-bit Wine can start, with the project's private Wine
# prefix (scripts/wine-prefix.sh): on this machine when its kernel runs 32-bit
# x86 programs, otherwise inside a throwaway virtual machine
# (scripts/in-vm.sh). Prints one line saying which, then the command's output;
# exits with the command's status. Ends the prefix's Wine processes after it.
#
#   scripts/wine.sh CMD [ARG...]
#   scripts/wine.sh --where        prints "here" or "vm" and runs nothing
#
# QM_FORCE_VM=1 takes the virtual machine on any machine.
set -euo pipefail
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The one probe: can this kernel start a 32-bit x86 program? The 32-bit
# dynamic loader comes with wine32:i386; where the kernel cannot run it,
# starting it fails with "Exec format error".
where() {
    if [[ -n ${QM_IN_VM:-} ]]; then
        echo here
    elif [[ ${QM_FORCE_VM:-} == 1 ]] || ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        echo vm
    else
        echo here
    fi
}

if [[ ${1:-} == --where ]]; then
    where
    exit 0
fi
if (($# == 0)); then
    echo "usage: scripts/wine.sh CMD [ARG...] | --where" >&2
    exit 2
fi

if [[ -z ${QM_IN_VM:-} ]]; then
    if [[ $(where) == vm ]]; then
        if [[ ${QM_FORCE_VM:-} == 1 ]]; then
            echo "windows: running in a QEMU virtual machine (QM_FORCE_VM=1)"
        else
            echo "windows: running in a QEMU virtual machine: this kernel runs no 32-bit x86 program"
        fi
        exec "$scripts/in-vm.sh" "$scripts/wine.sh" "$@"
    fi
    echo "windows: running under Wine on this machine"
fi

# shellcheck source=scripts/wine-prefix.sh
source "$scripts/wine-prefix.sh"
status=0
"$@" || status=$?
# Ends this prefix's processes; the server saves its registry as it goes,
# which must be over before a virtual machine powers off.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit $status
