#!/usr/bin/env bash
# Runs one command inside a throwaway x86-64 virtual machine, for machines
# whose kernel runs no 32-bit x86 program (32-bit Wine cannot start there).
#
#   scripts/in-vm.sh CMD [ARG...]
#
# QEMU emulates the machine in software, so no /dev/kvm is needed. The guest
# kernel is the one Debian's linux-image-amd64 depends on, unpacked from its
# package into build/vm (not installed, no boot loader); its small initramfs
# is busybox-static and the kernel's own 9p, virtio and overlay modules. The
# guest's root file system is this machine's own /, shared read-only over 9p
# under a writable overlay in memory: nothing is installed in the guest, no
# disk image is built or downloaded, and writes outside this checkout vanish
# with the guest. This checkout is shared writable at its own path, so what
# the command builds or writes below it stays.
#
# The command runs in the current folder with this shell's exported
# environment, plus QM_IN_VM=1 and QM_TIME_SCALE (default 10: the guest runs
# a program about five to ten times slower, and tests stretch their waits by
# this factor). Its standard output and error come back on this script's
# standard output as it runs, and its exit status becomes this script's.
# The guest's own console log is kept in build/vm/console.log.
#
# QM_VM_MEMORY (default 12G) and QM_VM_CPUS (default: this machine's cores)
# size the guest.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vm=$repo/build/vm

# ---- inside the guest: PID 1 after the initramfs has switched root --------

if [[ ${1:-} == --guest ]]; then
    run=$2
    # PID 1 must never just end: whatever happens, the machine powers off.
    trap 'sync; busybox poweroff -f' EXIT
    set +e
    mkdir -p /dev/pts /dev/shm
    mount -t devpts -o gid=5,mode=620 devpts /dev/pts
    mount -t tmpfs -o mode=1777 shm /dev/shm
    ln -sf /proc/self/fd /dev/fd 2>/dev/null || true
    hostname quillmark-vm 2>/dev/null || true
    # shellcheck disable=SC1091
    source "$run/env"
    export QM_IN_VM=1
    mapfile -d '' command <"$run/command"
    cd "$(cat "$run/cwd")"
    # The output goes out through a virtio console, passed on byte for byte,
    # and reaches the command through a pipe, as it would on the host when
    # captured: programs that draw on a terminal (Wine's console) stay plain.
    stty -F /dev/hvc0 raw -echo
    "${command[@]}" </dev/null 2>&1 | cat >/dev/hvc0
    echo "${PIPESTATUS[0]}" >"$run/status"
    exit
fi

if (($# == 0)); then
    echo "usage: scripts/in-vm.sh CMD [ARG...]" >&2
    exit 2
fi

for tool in qemu-system-x86_64 busybox; do
    if ! command -v "$tool" >/dev/null; then
        echo "in-vm: $tool is missing; scripts/setup.sh installs it" >&2
        exit 125
    fi
done

# ---- the guest kernel, unpacked from Debian's package --------------------

kernel_package() {
    apt-cache depends linux-image-amd64 2>/dev/null |
        sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*\)$/\1/p' | head -n 1
}

package=$(kernel_package)
if [[ -z $package ]]; then
    apt-get update -qq
    package=$(kernel_package)
fi
[[ -n $package ]] || { echo "in-vm: cannot tell which kernel linux-image-amd64 names" >&2; exit 125; }
kernel_dir=$vm/$package
mkdir -p "$vm"
if [[ ! -d $kernel_dir/boot ]]; then
    download=$(mktemp -d)
    (cd "$download" && apt-get download -qq "$package" 2>/dev/null) ||
        { apt-get update -qq && (cd "$download" && apt-get download -qq "$package"); }
    rm -rf "$kernel_dir.partial"
    dpkg-deb -x "$download"/*.deb "$kernel_dir.partial"
    rm -rf "$download"
    mv "$kernel_dir.partial" "$kernel_dir"
fi
kernel=$(echo "$kernel_dir"/boot/vmlinuz-*)
modules=$(echo "$kernel_dir"/lib/modules/*)

# ---- this run: its folder, the initramfs, the command and environment ----

run=$(mktemp -d "$vm/run.XXXXXX")
trap 'rm -rf "$run"' EXIT

initramfs=$run/initramfs
mkdir -p "$initramfs"/{bin,dev,proc,sys,lower,rw,newroot,modules}
cp "$(command -v busybox)" "$initramfs/bin/busybox"
# The modules that reach the shares and the overlay; which of them a kernel
# version has, and in which order they depend on each other, differs, so
# the guest inserts them in passes until no more go in.
wanted=(virtio virtio_ring virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci
        virtio_console 9pnet 9pnet_virtio netfs fscache 9p overlay)
for name in "${wanted[@]}"; do
    find "$modules/kernel" -name "$name.ko*" -exec cp {} "$initramfs/modules/" \;
done
printf '%s\n' "$repo" >"$initramfs/repo"
printf '%s\n' "$run" >"$initramfs/run"

cat >"$initramfs/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for pass in 1 2 3 4 5 6; do
    for module in /modules/*; do
        [ -e "$module" ] || continue
        insmod "$module" 2>/dev/null && rm "$module"
    done
done
repo=$(cat /repo)
run=$(cat /run)
fail() { echo "in-vm guest: $*"; ls /modules; poweroff -f; }
mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=512000 hostroot /lower ||
    fail "cannot mount the host's root"
mount -t tmpfs -o mode=755 rw /rw
mkdir -p /rw/upper /rw/work
mount -t overlay -o lowerdir=/lower,upperdir=/rw/upper,workdir=/rw/work overlay /newroot ||
    fail "cannot mount the overlay"
mount -t 9p -o trans=virtio,version=9p2000.L,cache=loose,msize=512000 checkout "/newroot$repo" ||
    fail "cannot mount the checkout"
mount --move /proc /newroot/proc
mount --move /sys /newroot/sys
mount --move /dev /newroot/dev
exec switch_root /newroot /bin/bash "$repo/scripts/in-vm.sh" --guest "$run"
INIT
chmod +x "$initramfs/init"
(cd "$initramfs" && find . | busybox cpio -o -H newc 2>/dev/null | gzip -1 >"$run/initrd.gz")

printf '%s\0' "$@" >"$run/command"
pwd >"$run/cwd"
# The exported environment, less what belongs to this shell or this machine.
export -p | grep -v -E '^declare -x (BASHOPTS|BASH_[A-Z_]*|SHELLOPTS|SHLVL|PWD|OLDPWD|_|HOSTNAME|INVOCATION_ID|JOURNAL_STREAM|SSH_[A-Z_]*|TERM)(=|$)' >"$run/env"
echo "export QM_TIME_SCALE=${QM_TIME_SCALE:-10}" >>"$run/env"
echo 'export TERM=dumb' >>"$run/env"

# ---- the guest -------------------------------------------------------------

qemu-system-x86_64 \
    -accel tcg,thread=multi -cpu qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt \
    -smp "${QM_VM_CPUS:-$(nproc)}" -m "${QM_VM_MEMORY:-12G}" \
    -display none -no-reboot -monitor none \
    -kernel "$kernel" -initrd "$run/initrd.gz" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init" \
    -serial "file:$run/console.log" \
    -device virtio-serial-pci \
    -chardev stdio,id=output,signal=off -device virtconsole,chardev=output \
    -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=$repo,mount_tag=checkout,security_model=none,multidevs=remap" \
    </dev/null || true
cp "$run/console.log" "$vm/console.log" 2>/dev/null || true

if [[ ! -f $run/status ]]; then
    echo "in-vm: the virtual machine ended before the command did; its console:" >&2
    tail -n 40 "$vm/console.log" >&2
    exit 125
fi
exit "$(cat "$run/status")"
