#!/usr/bin/env bash
# Checks the built Quillmark.dll from the outside with objdump -p: exactly the
# seven entry points are exported, the six host functions are imported from
# furn2.dll, and nothing else is imported but Windows' own DLLs (so it loads on
# a Windows with no MinGW runtime).
set -euo pipefail
export LC_ALL=C
dll=${1:?usage: check_dll.sh Quillmark.dll}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
dump=$("$objdump" -p "$dll")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

grep -q "file format pei-i386" <<<"$("$objdump" -f "$dll")" || fail "not a 32-bit PE file"

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[[:space:]]*\[/{print $NF;next} on{exit}' <<<"$dump" | sort | tr '\n' ' ')
expected_exports="on_client on_command on_inet on_module on_onet on_wndproc on_world "
[[ "$exports" == "$expected_exports" ]] || fail "exports are '$exports', expected '$expected_exports'"

dlls=$(grep -E '^[[:space:]]*DLL Name:' <<<"$dump" | awk '{print tolower($3)}' | sort | tr '\n' ' ')
for name in $dlls; do
    case "$name" in
        kernel32.dll|user32.dll|shell32.dll|msvcrt.dll|furn2.dll) ;;
        *) fail "imports from $name" ;;
    esac
done
grep -qi 'DLL Name: furn2.dll' <<<"$dump" || fail "no import from furn2.dll"

host=$(awk '/DLL Name: furn2.dll/{on=1;next} on&&/DLL Name:/{exit} on&&/^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+f2_/{print $3}' <<<"$dump" | sort | tr '\n' ' ')
expected_host="f2_errlog f2_moddocroot f2_modenable f2_myplayerinfo f2_netout f2_speak "
[[ "$host" == "$expected_host" ]] || fail "host imports are '$host', expected '$expected_host'"

if ((failures > 0)); then
    echo "$dump" | sed -n '/Import Tables/,/^$/p;/Export Table/,/^$/p'
    exit 1
fi
echo "Quillmark.dll: 7 exports, host imports $host, system DLLs: $dlls"
