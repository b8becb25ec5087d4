#!/usr/bin/env bash
# The way into the virtual machine, forced: the machine boots, a 32-bit
# Windows program (the prefix's cmd.exe) runs under Wine inside it, and its
# output and exit status come back out. Skipped (77) when already inside.
set -uo pipefail
if [[ -n ${QM_IN_VM:-} ]]; then
    echo "already inside the virtual machine"
    exit 77
fi
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
word="round-trip-$$"

output=$(QM_FORCE_VM=1 "$scripts/wine.sh" wine cmd.exe /c "echo probe $word %PROCESSOR_ARCHITECTURE%& exit 37" 2>&1)
status=$?
output=${output//$'\r'/} # the program's own lines end in CR LF
printf '%s\n' "$output"

failed=0
for line in "windows: running in a QEMU virtual machine (QM_FORCE_VM=1)" "probe $word x86"; do
    if ! grep -qxF -- "$line" <<<"$output"; then
        echo "FAILED: no line \"$line\""
        failed=1
    fi
done
if ((status != 37)); then
    echo "FAILED: exit status $status, the program's was 37"
    failed=1
fi
exit $failed
