#!/usr/bin/env bash
# Checks the cross-compiled Windows program and the DLLs beside it: a GUI executable that needs
# nothing but Windows' own DLLs and the clip decoder, carries the five resources, and imports the
# decoder's seven entry points by name; OptimFROG.dll exports exactly those seven, the simulated
# card's vintorel_tuner_sim.dll the in-process server's entry points, and neither needs a DLL
# that Windows does not have (no MinGW runtime DLLs).
#   check_exe.sh build/windows/bin/vintorel.exe
set -euo pipefail
exe=$1
bin=$(dirname "$exe")
objdump=x86_64-w64-mingw32-objdump
fail() { echo "FAIL: $*" >&2; exit 1; }

system="KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll ole32.dll DSOUND.dll ADVAPI32.dll SHELL32.dll msvcrt.dll"
# imports FILE ALLOWED...: every DLL that FILE imports is among ALLOWED.
imports() {
    local file=$1 dll
    shift
    for dll in $($objdump -p "$file" | awk '/DLL Name:/ {print $3}'); do
        [[ " $* " == *" $dll "* ]] || fail "$(basename "$file") imports $dll, which a Windows machine does not have"
    done
}
# exports FILE NAME...: FILE exports exactly these names.
exports() {
    local file=$1 want have
    shift
    want=$(printf '%s\n' "$@" | sort)
    have=$($objdump -p "$file" | awk '/\[Ordinal\/Name Pointer\] Table/ {t=1; next} t && /^[ \t]*\[ *[0-9]+\]/ {print $NF} t && /^$/ {t=0}' | sort)
    [ "$want" = "$have" ] || fail "$(basename "$file") exports [$(echo $have)], expected [$(echo $want)]"
}

headers=$($objdump -p "$exe")
grep -q "Subsystem.*(Windows GUI)" <<<"$headers" || fail "not a Windows GUI program"
imports "$exe" $system OptimFROG.dll
for f in createInstance open getInfo readHead read close destroyInstance; do
    grep -qE "[0-9]+ +OptimFROG_$f\$" <<<"$headers" || fail "OptimFROG_$f not imported"
done

# The resource section holds every bitmap and the icon: at least their bytes.
size=$($objdump -h "$exe" | awk '$2 == ".rsrc" {print $3}')
size=$((16#${size:-0}))
files=$(cd "$(dirname "$0")/../../resources" && cat ./*.bmp ./*.ico | wc -c)
[ -n "$size" ] && [ "$size" -ge "$files" ] || fail "resources missing (.rsrc is $size bytes, the files $files)"

decoder=$bin/OptimFROG.dll
[ -f "$decoder" ] || fail "$decoder missing"
imports "$decoder" $system
exports "$decoder" OptimFROG_createInstance OptimFROG_open OptimFROG_getInfo OptimFROG_readHead \
    OptimFROG_read OptimFROG_close OptimFROG_destroyInstance

sim=$bin/vintorel_tuner_sim.dll
[ -f "$sim" ] || fail "$sim missing"
imports "$sim" $system
exports "$sim" DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer DllInstall
echo "ok: $exe, $(basename "$decoder"), $(basename "$sim")"
