#!/usr/bin/env bash
# Runs a command against the Linux kernel's own DVB core, with the kernel's virtual DVB-S/S2
# card (vidtv) as the driver: a small VM (qemu, software emulation) boots Debian's kernel with
# an initramfs of busybox, the modules it needs and vidtv built from Debian's kernel sources
# for that kernel. The VM sees the host's whole file system read-only, so the command runs from
# the build tree as it is (wherever it is, /tmp included); it runs as root in the VM with the
# card at /dev/dvb/adapter0. /tmp and /run are the host's, writable in the VM: what the command
# writes there stays in the VM's memory.
#   run.sh CACHE COMMAND [ARG...]
#   run.sh CACHE --prepare        only makes the kernel and initramfs
# CACHE keeps the kernel and initramfs between runs (made again when the installed kernel
# headers or the VM's init change). Exits with the command's code; 77 (skip) when qemu,
# busybox-static, kmod, make, xz-utils or the kernel headers are not installed or Debian's
# kernel packages cannot be downloaded.
set -euo pipefail
export PATH=$PATH:/usr/sbin:/sbin
here=$(cd "$(dirname "$0")" && pwd)
cache=$1
shift
skip() { echo "SKIP: $*"; exit 77; }
command -v qemu-system-x86_64 >/dev/null || skip "qemu-system-x86 is not installed"
dpkg-query -W -f='${Status}' busybox-static 2>/dev/null | grep -q 'ok installed' ||
    skip "busybox-static is not installed"
for tool in depmod:kmod make:make xz:xz-utils; do
    command -v "${tool%%:*}" >/dev/null || skip "${tool#*:} is not installed"
done
abi=$(dpkg-query -W -f='${Depends}' linux-headers-amd64 2>/dev/null |
    sed -n 's/^linux-headers-\([^ ,]*\).*/\1/p') || true
[ -n "$abi" ] && [ -d "/usr/src/linux-headers-$abi" ] || skip "linux-headers-amd64 is not installed"
version=$(dpkg-query -W -f='${Version}' "linux-headers-$abi")
series=$(echo "$abi" | cut -d. -f1,2)
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
kernel=$cache/vmlinuz initrd=$cache/initrd.gz stamp=$cache/made-for
made_for="$abi $version $(sha1sum <"$here/init" | cut -c1-12)"

if [ "$(cat "$stamp" 2>/dev/null)" != "$made_for" ]; then
    echo "making the VM for kernel $abi ($version) in $cache"
    rm -rf "$cache/work" "$kernel" "$initrd" "$stamp"
    # Made in a folder of its own under /tmp: the kernel's build (make M=...) and modprobe's
    # output take no spaces in paths, and the cache may be anywhere.
    work=$(mktemp -d /tmp/vintorel-vm.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/debs" "$work/tree" "$work/root/modules" "$work/root/bin"
    (cd "$work/debs" && apt-get download -q "linux-image-$abi=$version" \
        "linux-source-$series=$version" 2>&1 | grep -v '^W: Download is performed unsandboxed') ||
        skip "cannot download Debian's linux-image-$abi and linux-source-$series $version"
    dpkg-deb --fsys-tarfile "$work"/debs/linux-image-*.deb | tar -x -C "$work/tree" ./boot ./lib
    cp "$work/tree/boot/vmlinuz-$abi" "$kernel"
    # The modules for virtio, 9p and the DVB core, each after those it needs.
    depmod -b "$work/tree" "$abi"
    for m in virtio_pci 9pnet_virtio 9p overlay dvb-core; do
        modprobe -d "$work/tree" -S "$abi" --show-depends "$m"
    done | awk '$1 == "insmod" && !seen[$2]++ { print $2 }' | while read -r ko; do
        cp "$ko" "$work/root/modules/"
        basename "$ko"
    done >"$work/root/modules/order"
    # vidtv (not built by Debian) from Debian's sources for this kernel.
    dpkg-deb --fsys-tarfile "$work"/debs/linux-source-*.deb |
        tar -xO "./usr/src/linux-source-$series.tar.xz" |
        tar -xJ -C "$work" "linux-source-$series/drivers/media/test-drivers/vidtv"
    vidtv=$work/linux-source-$series/drivers/media/test-drivers/vidtv
    sed 's/obj-$(CONFIG_DVB_VIDTV)/obj-m/' "$vidtv/Makefile" >"$vidtv/Kbuild"
    rm "$vidtv/Makefile"
    make -s -C "/usr/src/linux-headers-$abi" M="$vidtv" modules >"$work/vidtv-build.log" 2>&1 ||
        { cat "$work/vidtv-build.log"; echo "FAIL: vidtv did not build"; exit 1; }
    for m in tuner demod bridge; do
        cp "$vidtv/dvb-vidtv-$m.ko" "$work/root/modules/"
        echo "dvb-vidtv-$m.ko" >>"$work/root/modules/order"
    done
    cp /bin/busybox "$work/root/bin/"
    install -m 755 "$here/init" "$work/root/init"
    mkdir "$work/root/"{dev,proc,sys,host,ovl}
    (cd "$work/root" && find . | busybox cpio -o -H newc 2>/dev/null) | gzip -1 >"$initrd"
    rm -rf "$work"
    echo "$made_for" >"$stamp"
fi

[ "${1:-}" = --prepare ] && exit 0

job=$cache/job.$$.sh
# The job's path goes to the VM in double quotes on the kernel's command line.
case $job in
*'"'* | *$'\n'*) echo "FAIL: the VM cannot take a job path with '\"' or a line break: $job"; exit 1 ;;
esac
trap 'rm -f "$job"' EXIT
{
    printf 'export HOME=/tmp PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin\n'
    printf 'cd %q || exit 1\n' "$PWD"
    printf 'exec'
    printf ' %q' "$@"
    printf '\n'
} >"$job"
# Software emulation: nested KVM is not dependable on build machines, and the VM boots in a
# few seconds without it.
console=$(timeout 240 qemu-system-x86_64 -accel tcg -m 1024 -smp 2 -nodefaults -display none \
    -serial stdio -no-reboot -kernel "$kernel" -initrd "$initrd" \
    -append "console=ttyS0 quiet panic=-1 vintorel.job=\"$job\"" \
    -virtfs local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap \
    2>&1) || true
printf '%s\n' "$console" | grep -v '^vintorel-vm: exit'
rc=$(printf '%s\n' "$console" | sed -n 's/^vintorel-vm: exit \([0-9]*\).*/\1/p' | tail -1)
[ -n "$rc" ] || { echo "FAIL: the VM ended without the command's exit code"; exit 1; }
exit "$rc"
