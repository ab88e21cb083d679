#!/usr/bin/env bash
# The Debian package as a user gets it: a clean Debian 12 root (debootstrap, minbase), the
# package's dependencies installed there by apt from its Depends line, the package installed
# with dpkg; /usr/bin/vintorel started there as a user under Xvfb, with the simulated card (the
# root has no DVB card): the window, FIND> on the first default satellite, the card measuring,
# Escape. Then dpkg -r: of the package nothing stays but the user's own working folder and log.
#   deb_install_test.sh DEB CACHE
# CACHE keeps the root made by debootstrap (as a tar file, made again after a week) and the
# packages apt downloaded, so that only the first run downloads. Needs root (chroot); skips
# (77) without root or debootstrap.
set -euo pipefail
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cache=$2
skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root (chroot)"
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
[ -f "$deb" ] || { echo "FAIL: no package $deb" >&2; exit 1; }
mkdir -p "$cache/archives"
cache=$(cd "$cache" && pwd)
base=$cache/bookworm-minbase.tar
mirror=http://deb.debian.org/debian

VINTOREL_BIN=$cache/in-root.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"
root=$E2E_TMP/root
# The root's own mounts go before its files; a root still mounted is left alone.
cleanup_root() {
    [ -d "$root" ] || return 0
    umount "$root/proc" 2>/dev/null || true
    if findmnt -rn -o TARGET | grep -qF "$root"; then
        echo "cannot unmount in $root: left there" >&2
        E2E_TMP=/nonexistent
    fi
}
trap 'cleanup_root; e2e_cleanup' EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"; }

if [ -z "$(find "$base" -mtime -7 2>/dev/null)" ]; then
    echo "making a Debian 12 root in $base"
    rm -rf "$root"
    debootstrap --variant=minbase --cache-dir="$cache/archives" bookworm "$root" "$mirror" \
        >"$E2E_TMP/debootstrap.log" 2>&1 || { tail -20 "$E2E_TMP/debootstrap.log"; skip "debootstrap cannot make a root (no network?)"; }
    printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s-security bookworm-security main\n' \
        "$mirror" "$mirror" "${mirror%/debian}/debian" >"$root/etc/apt/sources.list"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    in_root apt-get update -qq || fail "apt-get update in the new root"
    rm -f "$root"/var/cache/apt/archives/*.deb
    tar -C "$root" -cf "$base.new" . && mv "$base.new" "$base"
    rm -rf "$root"
fi
mkdir "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
# apt's downloads from before, as hard links (the cache and the root share a file system).
cp -l "$cache"/archives/*.deb "$root/var/cache/apt/archives/" 2>/dev/null ||
    cp "$cache"/archives/*.deb "$root/var/cache/apt/archives/" 2>/dev/null || true

# What the root holds before the package, then the package's dependencies as apt finds them.
listing() {
    (cd "$root" && find . -xdev \( -path ./proc -o -path ./tmp -o -path ./home -o -path ./var/cache \
        -o -path ./var/log -o -path ./var/lib/dpkg -o -path ./var/lib/apt -o -path ./root \) -prune \
        -o -print | sort)
}
depends=$(dpkg-deb -f "$deb" Depends)
in_root apt-get satisfy -y -qq --no-install-recommends "$depends" >"$E2E_TMP/apt.log" 2>&1 ||
    { cat "$E2E_TMP/apt.log"; fail "apt cannot install the package's dependencies: $depends"; }
cp -l -n "$root"/var/cache/apt/archives/*.deb "$cache/archives/" 2>/dev/null || true
in_root useradd -m -u 4242 -U user
listing >"$E2E_TMP/before"
cp "$deb" "$root/tmp/vintorel.deb"
in_root dpkg -i /tmp/vintorel.deb >"$E2E_TMP/dpkg.log" 2>&1 || { cat "$E2E_TMP/dpkg.log"; fail "dpkg -i"; }
echo "ok: installed with its dependencies: $depends"

# The user starts the launcher as from the desktop menu (the entry's Exec line).
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/vintorel.desktop")
home=$root/home/user
homelist() { (cd "$home" && find . -mindepth 1 | sort); }
homelist >"$E2E_TMP/home-before"
e2e_start_x
cat >"$VINTOREL_BIN" <<SCRIPT
#!/bin/sh
exec chroot --userspec=4242:4242 --groups=4242 "$root" env -i HOME=/home/user USER=user \\
    LOGNAME=user PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY=$DISPLAY ALSOFT_DRIVERS=null \\
    VINTOREL_SIM_LOG=/tmp/card.log $exec_line
SCRIPT
chmod +x "$VINTOREL_BIN"
work=$home/.local/share/vintorel
e2e_default_list "$work"
chown -R 4242:4242 "$home/.local"
chmod 1777 "$root/tmp"
e2e_start_app "$E2E_TMP"
id=$(e2e_wait_window '^V i n t o r e l$' 60)
sleep 0.5
e2e_search_first_satellite "$id" "$root/tmp/card.log"
sleep 2
polls=$(e2e_log "$root/tmp/card.log" | grep -c '^applyTuning' || true)
[ "$polls" -ge 2 ] || fail "the card was polled $polls times in 2 s"
import -window "$id" "$E2E_TMP/measuring.png"
echo "ok: measuring with the simulated card ($polls polls in 2 s)"
e2e_keys "$id" Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
[ "$(ls "$work/Data"/*.vcl | wc -l)" = 21 ] || fail "the clips are not in the working folder"
grep -q "using the simulated card" "$home/.local/state/vintorel/vintorel.log" ||
    fail "the log does not say which card: $(cat "$home/.local/state/vintorel/vintorel.log")"
echo "ok: Escape, exit 0; working folder and log made"

in_root dpkg -r vintorel >>"$E2E_TMP/dpkg.log" 2>&1 || { cat "$E2E_TMP/dpkg.log"; fail "dpkg -r"; }
listing >"$E2E_TMP/after"
left=$(diff "$E2E_TMP/before" "$E2E_TMP/after" || true)
[ -z "$left" ] || fail "after dpkg -r the root differs from before the package: $left"
in_root dpkg-query -W vintorel >/dev/null 2>&1 && fail "dpkg still knows the package"
# The user's: the working folder (list and clips) and the log, nothing else.
theirs=$(comm -13 "$E2E_TMP/home-before" <(homelist) | grep -v -E '^\./\.local(/share|/state)?$' |
    grep -v -E '^\./\.local/share/vintorel(/Data(/[0-9a-z]+\.vcl|/satellite\.ini)?)?$' |
    grep -v -E '^\./\.local/state/vintorel(/vintorel\.log)?$' || true)
[ -z "$theirs" ] || fail "the program left other than its working folder and log: $theirs"
echo "ok: dpkg -r: nothing of the package left; the user's working folder and log stay"
echo "1 passed, 0 failed"
