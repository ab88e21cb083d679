#!/usr/bin/env bash
# The NSIS installer under Wine, run silently: it installs the program, the clips, a Start-menu
# entry and an uninstaller, and with /SIMULATED registers the simulated card, but never over a
# card driver's registration; the uninstaller removes all of it except the user's satellite list
# and leaves a driver's registration alone.
#   installer_check.sh SETUP_EXE
# Uses the caller's WINEPREFIX (and puts the class id's entry back as it found it), or a fresh
# one.
set -euo pipefail
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$(dirname "$0")/wine_session.sh"
key='HKLM\Software\Classes\CLSID\{E82536A0-94DA-11D2-A463-00A0C95D308D}'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vintorel'
folder='C:\VintorelCheck'
dir=$(winepath -u "$folder")
server() { wine reg query "$key\\InprocServer32" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
shortcut() { find "$WINEPREFIX/drive_c/users" -name Vintorel.lnk | grep -q .; }
remove_all() { wine reg delete "$key" /f >/dev/null 2>&1 || true; rm -rf "$dir"; }
wine_keep_keys "$key"
remove_all
install() { wine "$setup" /S /SIMULATED "/D=$folder" || fail "the installer failed"; }
uninstall() { wine "$folder\\Uninstall.exe" /S "_?=$folder" || fail "the uninstaller failed"; }

# On a machine without the card.
install
for f in vintorel.exe OptimFROG.dll vintorel_tuner_sim.dll readme.txt Uninstall.exe; do
    [ -f "$dir/$f" ] || fail "$f not installed"
done
[ "$(ls "$dir/Data")" = "$(ls "$repo/Data")" ] || fail "the clips are not all installed"
shortcut || fail "no Start-menu entry"
wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "not in the list of installed programs"
[ "$(server)" = "$folder\\vintorel_tuner_sim.dll" ] || fail "the simulated card is not registered"
echo "ok: installs, with the simulated card"

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
wine reg add "$key\\InprocServer32" /ve /d 'C:\drivers\card.ax' /f >/dev/null
install
[ "$(server)" = 'C:\drivers\card.ax' ] || fail "the installer replaced the driver's registration"
uninstall
[ "$(server)" = 'C:\drivers\card.ax' ] || fail "the uninstaller removed the driver's registration"
echo "ok: leaves a card driver's registration alone"
