#!/usr/bin/env bash
# Makes the private Wine prefix the Windows checks run in, once, and registers the simulated
# card in it (again every time, so a fresh build's DLL is the one registered).
#   prefix.sh PREFIX WINDOWS_BIN_DIR [32]
# 32: WINDOWS_BIN_DIR holds the 32-bit build, registered with the 32-bit regsvr32 (syswow64)
# into the 32-bit registry view; skipped (77) where Wine cannot run 32-bit programs. Either
# prefix is made again when it was made before 32-bit Wine was installed.
# The prefix is made with no Mono or Gecko (nothing here needs .NET or HTML) and with Wine's X11
# driver taking the focus from X focus events: the test display has no window manager to send
# WM_TAKE_FOCUS, so without it no Wine window would ever be activated by xdotool. Exit 77 (skip)
# when Wine is not installed.
set -euo pipefail
prefix=$1
bin=$2
bits=${3:-64}
command -v wine >/dev/null && command -v wineserver >/dev/null || {
    echo "SKIP: Wine is not installed"
    exit 77
}
regsvr32=regsvr32
if [ "$bits" = 32 ]; then
    source "$(dirname "$0")/wine32.sh"
    if reason=$(wine32_missing); then
        echo "SKIP: $reason"
        exit 77
    fi
    regsvr32='C:\windows\syswow64\regsvr32.exe'
else
    source "$(dirname "$0")/wine32.sh"
    source "$(dirname "$0")/wine64.sh"
fi
# A prefix made before 32-bit Wine was installed has no 32-bit system (the installer's checks of
# the 32-bit program need it in the 64-bit prefix too).
if ! wine32_missing >/dev/null && [ ! -f "$prefix/drive_c/windows/syswow64/regsvr32.exe" ]; then
    rm -f "$prefix/.vintorel-ready"
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY
ready="$prefix/.vintorel-ready"
if [ ! -f "$ready" ]; then
    echo "making the Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    [ -f "$prefix/system.reg" ] || { echo "FAIL: wineboot made no prefix" >&2; exit 1; }
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null
    wineserver -w
    touch "$ready"
fi
sim="$bin/vintorel_tuner_sim.dll"
[ -f "$sim" ] || { echo "FAIL: $sim not built (cmake --build of the windows preset)" >&2; exit 1; }
wine "$regsvr32" /s "$(winepath -w "$sim")" || { echo "FAIL: regsvr32 $sim" >&2; exit 1; }
wineserver -w
echo "ok: Wine prefix $prefix, simulated card registered from $sim"
