# Shared by the Windows checks that run under Wine; source it after `set -euo pipefail`.
# Uses the caller's WINEPREFIX, or makes a fresh one that is deleted at the end. A check names
# the registry keys it changes with wine_keep_keys; they are put back as they were at the end,
# after the check's own remove_all (which it must define) has cleared what it wrote.
# VINTOREL_WINE32=1 (the 32-bit build's checks): skipped (77) where Wine cannot run 32-bit
# programs; wine_regsvr32 is then the 32-bit regsvr32 and wine_reg_view (for `wine reg`) the
# 32-bit registry view, where that regsvr32 writes.
wine_regsvr32=regsvr32
wine_reg_view=()
if [ "${VINTOREL_WINE32:-0}" = 1 ]; then
    source "$(dirname "${BASH_SOURCE[0]}")/../wine/wine32.sh"
    if reason=$(wine32_missing); then
        echo "SKIP: $reason"
        exit 77
    fi
    wine_regsvr32='C:\windows\syswow64\regsvr32.exe'
    wine_reg_view=(/reg:32)
else
    source "$(dirname "${BASH_SOURCE[0]}")/../wine/wine64.sh"
fi
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
fail() { echo "FAIL: $*" >&2; exit 1; }
wine_own_prefix=
if [ -z "${WINEPREFIX:-}" ]; then
    wine_own_prefix=$(mktemp -d)
    export WINEPREFIX=$wine_own_prefix
    wineboot -i >/dev/null 2>&1
    wineserver -w # until the new prefix is settled
fi
wine_saved=$(mktemp -d)

# wine_keep_keys KEY...: export each key now, to be imported again at the end.
wine_keep_keys() {
    local i=0 k
    for k in "$@"; do
        wine reg export "$k" "$wine_saved/$i.reg" /y "${wine_reg_view[@]}" >/dev/null 2>&1 || true
        i=$((i + 1))
    done
}

wine_finish() {
    if declare -F remove_all >/dev/null; then remove_all; fi
    local f
    for f in "$wine_saved"/*.reg; do
        [ -f "$f" ] && wine reg import "$f" "${wine_reg_view[@]}" >/dev/null 2>&1
    done
    rm -rf "$wine_saved"
    if [ -n "$wine_own_prefix" ]; then
        wineserver -k 2>/dev/null || true
        rm -rf "$wine_own_prefix"
    fi
}
trap wine_finish EXIT
