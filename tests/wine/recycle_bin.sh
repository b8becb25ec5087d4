#!/usr/bin/env bash
# Runs the recycle bin test under Xvfb with its own Wine prefix, answering the
# shell's "Confirm file deletion" window with the key the test asks for.
# Stops every process it started, whatever happens. Its waits stretch by
# QM_TIME_SCALE (default 1).
#
#   recycle_bin.sh TEST_PROGRAM.exe
set -euo pipefail
program=$(realpath "$1")
work=$(dirname "$program")/recycle-bin
rm -rf "$work/xdg"
mkdir -p "$work/xdg"

export WINEPREFIX="$work/prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export XDG_DATA_HOME="$work/xdg"
answer="$work/answer"
scale=${QM_TIME_SCALE:-1}
settle=$(awk -v scale="$scale" 'BEGIN { print 0.3 * scale }')
: >"$answer"

pids=()
cleanup() {
    wineserver -k 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# The prefix is made without a display: Wine keeps the first process's desktop.
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
fi
DISPLAY= wineserver -w

display=""
for n in $(seq 90 120); do
    if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
        display=":$n"
        break
    fi
done
[[ -n $display ]] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq $((50 * scale))); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
done

# The answerer: when the shell's question is on screen and the test has
# written a key, focus the question, press the key once, forget the key and
# wait for the window to close.
(
    while true; do
        window=$(xdotool search --name "Confirm file deletion" 2>/dev/null | head -n 1 || true)
        key=$(cat "$answer" 2>/dev/null || true)
        if [[ -n $window && -n $key ]]; then
            xdotool windowfocus "$window" >/dev/null 2>&1 || true
            sleep "$settle"
            xdotool key "$key" >/dev/null 2>&1 || true
            : >"$answer"
            for _ in $(seq $((50 * scale))); do
                xdotool search --name "Confirm file deletion" >/dev/null 2>&1 || break
                sleep 0.1
            done
        fi
        sleep 0.2
    done
) &
pids+=($!)

mkdir -p "$XDG_DATA_HOME/Trash/files"
export QM_ANSWER_FILE=$(winepath -w "$answer" 2>/dev/null)
export QM_TRASH_DIR=$(winepath -w "$XDG_DATA_HOME/Trash/files" 2>/dev/null)
cd "$(dirname "$program")"
timeout $((120 * scale)) wine "$program"
