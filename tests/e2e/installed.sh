#!/usr/bin/env bash
# End to end, as a Windows user gets the program: the installer (run silently under Wine, with
# the simulated card) puts it in a folder of its own; the installed program, started there,
# opens its window, measures with the card (the first default satellite, FIND>: the card's log
# shows it tuned and polled) and ends with exit code 0 on Escape; the uninstaller removes it.
#   installed.sh SETUP_EXE [OPTION...]     (OPTIONs for the installer: /64 for the 64-bit program)
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
options=("$@")
command -v wine >/dev/null || { echo "SKIP: Wine is not installed"; exit 77; }
dir="${WINEPREFIX:?}/drive_c/VintorelInstalled"
VINTOREL_BIN="$dir/vintorel.exe"
source "$(dirname "$0")/lib.sh"
rm -rf "$dir"
wine "$setup" /S /SIMULATED "${options[@]}" '/D=C:\VintorelInstalled' || fail "the installer failed"
[ -f "$VINTOREL_BIN" ] || fail "no vintorel.exe in $dir"
trap 'wine "C:\\VintorelInstalled\\Uninstall.exe" /S "_?=C:\\VintorelInstalled" || true; rm -rf "$dir"; e2e_cleanup' EXIT
e2e_start_x
e2e_default_list "$dir"
log="$E2E_TMP/card.log"
VINTOREL_SIM_LOG=$(e2e_path "$log")
export VINTOREL_SIM_LOG
e2e_start_measuring "$dir" "$log"
id=$E2E_WINDOW
sleep 2
polls=$(e2e_log "$log" | grep -c '^applyTuning' || true)
[ "$polls" -ge 2 ] || fail "the card was polled $polls times in 2 s"
e2e_keys "$id" Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
e2e_box_text_was "" || fail "a message box was shown"
echo "ok: installed, started from its folder, measured, ended with 0"
echo "1 passed, 0 failed"
