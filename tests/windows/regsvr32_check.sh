#!/usr/bin/env bash
# The simulated card's self-registration through Wine's regsvr32: it registers on a clean
# machine, refuses to replace another server's registration of the class id (per machine or
# per user) unless forced, and unregistering removes only what it wrote and puts back what it
# was forced over.
#   regsvr32_check.sh BIN_DIR      (BIN_DIR holds vintorel_tuner_sim.dll)
# The 32-bit build's DLL (VINTOREL_WINE32=1) with the 32-bit regsvr32, in the 32-bit registry
# view. Uses the caller's WINEPREFIX (and puts the class id's entries back as it found them), or a
# fresh one.
set -euo pipefail
bin=$(cd "$1" && pwd)
source "$(dirname "$0")/wine_session.sh"
clsid='{E82536A0-94DA-11D2-A463-00A0C95D308D}'
key() { echo "$1\\Software\\Classes\\CLSID\\$clsid"; }
ours=$(winepath -w "$bin/vintorel_tuner_sim.dll")
other='C:\drivers\card.ax'

# value HIVE NAME: a value of the class id's InprocServer32 key in HIVE ("none" when absent).
# Read from an export of the key (UTF-16): reg query prints in the OEM code page, where a
# folder name with other letters would not compare with winepath's.
value() {
    local file=$wine_saved/value.export v= pattern='@'
    [ "$2" = default ] || pattern="\"$2\""
    rm -f "$file"
    if wine reg export "$(key "$1")\\InprocServer32" "$file" /y "${wine_reg_view[@]}" >/dev/null 2>&1; then
        v=$(iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed -n "s/^$pattern=\"\(.*\)\"\$/\1/p" |
            sed 's/\\\\/\\/g')
    fi
    echo "${v:-none}"
}
name() { case $1 in "$ours") echo ours ;; "$other") echo other ;; *) echo "$1" ;; esac; }
install_other() { # a card driver's registration, with a value of its own beside it
    wine reg add "$(key "$1")\\InprocServer32" /ve /d "$other" /f "${wine_reg_view[@]}" >/dev/null
    wine reg add "$(key "$1")\\InprocServer32" /v ThreadingModel /d Apartment /f "${wine_reg_view[@]}" >/dev/null
    wine reg add "$(key "$1")" /v Merit /t REG_DWORD /d 5 /f "${wine_reg_view[@]}" >/dev/null
}
remove_all() {
    wine reg delete "$(key HKLM)" /f "${wine_reg_view[@]}" >/dev/null 2>&1 || true
    wine reg delete "$(key HKCU)" /f "${wine_reg_view[@]}" >/dev/null 2>&1 || true
}
wine_keep_keys "$(key HKLM)" "$(key HKCU)"
remove_all

# step WHAT SETUP ARGS RC HKLM HKCU [THREADING_MODEL_OF_THE_WRITTEN_HIVE]
#   SETUP: none, clean, other-HKLM or other-HKCU; HKLM/HKCU: whose server each hive names after.
step() {
    local what=$1 setup=$2 args=$3 rc_want=$4 lm_want=$5 cu_want=$6 rc=0 lm cu
    case $setup in
    clean) remove_all ;;
    other-*) remove_all; install_other "${setup#other-}" ;;
    esac
    # shellcheck disable=SC2086
    wine "$wine_regsvr32" /s $args "$bin/vintorel_tuner_sim.dll" 2>/dev/null || rc=$?
    lm=$(name "$(value HKLM default)")
    cu=$(name "$(value HKCU default)")
    [ "$rc" = "$rc_want" ] && [ "$lm" = "$lm_want" ] && [ "$cu" = "$cu_want" ] ||
        fail "$what: regsvr32 $args gave $rc, HKLM=$lm, HKCU=$cu; expected $rc_want, HKLM=$lm_want, HKCU=$cu_want"
    echo "ok: $what"
}

step "registers per machine on a clean machine" clean  ""            0 ours  none
step "registers again over itself"              none   ""            0 ours  none
[ "$(value HKLM ThreadingModel)" = Both ] || fail "ThreadingModel is not Both"
step "unregisters"                              none   "/u"          0 none  none
wine reg query "$(key HKLM)" "${wine_reg_view[@]}" >/dev/null 2>&1 && fail "the class id's key is left behind"
step "refuses over a card driver"               other-HKLM ""        5 other none
step "forced over it"                           none   "/n /i:force" 0 ours  none
step "unregistering puts the driver back"       none   "/u"          0 other none
[ "$(value HKLM ThreadingModel)" = Apartment ] || fail "the driver's ThreadingModel is not back"
[ "$(value HKLM VintorelSavedServer)" = none ] || fail "the saved registration is left behind"
wine reg query "$(key HKLM)" /v Merit "${wine_reg_view[@]}" >/dev/null 2>&1 || fail "the driver's own value is gone"
step "unregistering again leaves the driver"    none   "/u"          0 other none
step "refuses over a per-user registration"     other-HKCU ""        5 none  other
step "forced over it, in the user's hive"       none   "/n /i:force" 0 none  ours
step "unregistering puts the user's back"       none   "/u"          0 none  other
step "an unknown option is refused"             clean  "/n /i:what"  5 none  none
