#!/usr/bin/env bash
# Sourced by the other scripts: a private 32-bit Wine prefix inside build/,
# created on first use, so nothing of the user's own Wine is touched.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$repo/build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    mkdir -p "$repo/build"
    # No display while the prefix is made: Wine keeps the first process's
    # desktop for the whole prefix.
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
