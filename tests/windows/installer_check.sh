#!/usr/bin/env bash
# The NSIS installer under Wine, run silently: it installs one of its two programs, the clips, a
# Start-menu entry and an uninstaller, and with /SIMULATED registers the simulated card, but
# never over a card driver's registration; the uninstaller removes all of it except the user's
# satellite list and leaves a driver's registration alone. Which program: the 32-bit one by
# default, the 64-bit one with /64 or when the card's filter is registered for 64-bit programs
# only. The 32-bit program's card registration (through the 32-bit regsvr32, into the 32-bit
# registry view) is checked only where Wine runs 32-bit programs.
#   installer_check.sh SETUP_EXE
# Uses the caller's WINEPREFIX (and puts the class id's entries back as it found them), or a
# fresh one.
set -euo pipefail
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$(dirname "$0")/wine_session.sh"
source "$(dirname "$0")/../wine/wine32.sh"
clsid='{E82536A0-94DA-11D2-A463-00A0C95D308D}'
key="HKLM\\Software\\Classes\\CLSID\\$clsid"
key32="HKLM\\Software\\Wow6432Node\\Classes\\CLSID\\$clsid" # what 32-bit programs read
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vintorel'
folder='C:\VintorelCheck'
dir=$(winepath -u "$folder")
server() { wine reg query "$1\\InprocServer32" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
# A card driver's registration, the check's own setup (reg.exe prints its errors on standard
# output). Once in a CI run reg.exe failed here without a word; a second try says whether that
# was Wine starting up or the registry refusing.
driver() {
    local out try
    for try in 1 2; do
        out=$(wine reg add "$1\\InprocServer32" /ve /d 'C:\drivers\card.ax' /f 2>&1) && return
        echo "reg add failed, try $try: ${out:-no output}" >&2
    done
    fail "could not register the card driver"
}
shortcut() { find "$WINEPREFIX/drive_c/users" -name Vintorel.lnk | grep -q .; }
bits() { x86_64-w64-mingw32-objdump -f "$dir/vintorel.exe" | sed -n 's/.*file format pei-//p'; }
remove_all() {
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    wine reg delete "$key32" /f >/dev/null 2>&1 || true
    rm -rf "$dir"
}
wine_keep_keys "$key" "$key32"
remove_all
install() { wine "$setup" /S /SIMULATED "$@" "/D=$folder" || fail "the installer failed"; }
uninstall() { wine "$folder\\Uninstall.exe" /S "_?=$folder" || fail "the uninstaller failed"; }

# On a machine without the card, the 64-bit program.
install /64
for f in vintorel.exe OptimFROG.dll vintorel_tuner_sim.dll readme.txt Uninstall.exe; do
    [ -f "$dir/$f" ] || fail "$f not installed"
done
[ "$(bits)" = x86-64 ] || fail "/64 installed a $(bits) program"
[ "$(ls "$dir/Data")" = "$(ls "$repo/Data")" ] || fail "the clips are not all installed"
shortcut || fail "no Start-menu entry"
wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "not in the list of installed programs"
[ "$(server "$key")" = "$folder\\vintorel_tuner_sim.dll" ] || fail "the simulated card is not registered"
[ -z "$(server "$key32")" ] || fail "the 64-bit program's card is registered for 32-bit programs"
echo "ok: installs the 64-bit program, with the simulated card"

echo '[Mine]=12515h22000;' >"$dir/Data/satellite.ini"
uninstall
[ "$(cd "$dir" && find . -type f | sort | tr '\n' ' ')" = "./Data/satellite.ini ./Uninstall.exe " ] ||
    fail "left behind: $(cd "$dir" && find . -type f | tr '\n' ' ')"
shortcut && fail "the Start-menu entry is left"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "still in the list of installed programs"
wine reg query "$key" >/dev/null 2>&1 && fail "the simulated card is still registered"
echo "ok: uninstalls, keeping the satellite list"

# On a machine with the card's driver.
remove_all
driver "$key"
install /64
[ "$(server "$key")" = 'C:\drivers\card.ax' ] || fail "the installer replaced the driver's registration"
uninstall
[ "$(server "$key")" = 'C:\drivers\card.ax' ] || fail "the uninstaller removed the driver's registration"
echo "ok: leaves a card driver's registration alone"

# Which program it installs unless told: the 32-bit one, but the 64-bit one when only a
# 64-bit filter is registered.
# pick SETUP BITS WHAT: with the drivers SETUP (none, 64, both) registered, it installs BITS.
pick() {
    remove_all
    case $1 in 64) driver "$key" ;; both) driver "$key"; driver "$key32" ;; esac
    install
    [ "$(bits)" = "$2" ] || fail "$3: installed a $(bits) program, expected $2"
    echo "ok: $3: installs the $2 program"
}
pick 64 x86-64 "a filter for 64-bit programs only"
uninstall
pick both i386 "filters of both kinds"
uninstall
pick none i386 "no filter"
if reason=$(wine32_missing); then
    uninstall
    echo "not checked: the 32-bit program's card registration, as $reason"
else
    [ "$(server "$key32")" = "$folder\\vintorel_tuner_sim.dll" ] ||
        fail "the 32-bit program's card is not registered for 32-bit programs"
    [ -z "$(server "$key")" ] || fail "the 32-bit program's card is registered for 64-bit programs"
    uninstall
    [ -z "$(server "$key32")" ] || fail "the 32-bit program's card is still registered"
    echo "ok: the 32-bit program's card registered by the 32-bit regsvr32, and unregistered"
fi
