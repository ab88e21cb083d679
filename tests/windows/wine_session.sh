# Shared by the Windows checks that run under Wine; source it after `set -euo pipefail`.
# Uses the caller's WINEPREFIX, or makes a fresh one that is deleted at the end. A check names
# the registry keys it changes with wine_keep_keys; they are put back as they were at the end,
# after the check's own remove_all (which it must define) has cleared what it wrote.
# The bitness checked (VINTOREL_WINE32) decides the regsvr32 and the registry view
# (tests/wine/bitness.sh).
source "$(dirname "${BASH_SOURCE[0]}")/../wine/bitness.sh"
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
    # A command that stopped the check under set -e is named, even when it printed nothing.
    local rc=$? stopped_at=$BASH_COMMAND
    if [ "$rc" != 0 ] && [[ $stopped_at != exit* ]]; then
        echo "FAIL: $(basename "$0") stopped at: $stopped_at (exit $rc)" >&2
    fi
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
