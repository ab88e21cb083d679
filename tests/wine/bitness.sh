# Sourced by the checks that run under Wine, for the bitness they check. VINTOREL_WINE32=1 (the
# 32-bit build's checks): skipped (77) where Wine cannot run 32-bit programs; wine_regsvr32 is
# then the 32-bit regsvr32 and wine_reg_view (for `wine reg`) the 32-bit registry view, where
# that regsvr32 writes. Otherwise `wine` is Wine's 64-bit loader itself (wine64.sh).
# wine_loader names the loader that starts the program.
wine_regsvr32=regsvr32
wine_reg_view=()
wine_loader=wine
if [ "${VINTOREL_WINE32:-0}" = 1 ]; then
    source "$(dirname "${BASH_SOURCE[0]}")/wine32.sh"
    if reason=$(wine32_missing); then
        echo "SKIP: $reason"
        exit 77
    fi
    wine_regsvr32='C:\windows\syswow64\regsvr32.exe'
    wine_reg_view=(/reg:32)
else
    source "$(dirname "${BASH_SOURCE[0]}")/wine64.sh"
    wine_loader=$wine64_loader
fi
