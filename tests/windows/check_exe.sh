#!/usr/bin/env bash
# Checks the cross-compiled Windows program and the DLLs beside it: a GUI executable that needs
# nothing but Windows' own DLLs and the clip decoder, carries the five resources, and imports the
# decoder's seven entry points by name; OptimFROG.dll exports exactly those seven, the simulated
# card's vintorel_tuner_sim.dll the in-process server's entry points, and neither needs a DLL
# that Windows does not have (no MinGW runtime DLLs). All three are of the build's bitness (BITS,
# 32 or 64: a filter loads only into a program of its own) and declare Windows Vista (6.0), the
# first with everything they import, as the oldest they run on. The program's manifest asks for
# no DPI awareness and no Common Controls 6, and its version resource names the version.
#   check_exe.sh build/windows/bin/vintorel.exe 64 0.1.0
#   check_exe.sh build/windows32/bin/vintorel.exe 32 0.1.0
set -euo pipefail
exe=$1
bits=$2
version=$3
bin=$(dirname "$exe")
fail() { echo "FAIL: $*" >&2; exit 1; }
# The 64-bit binutils read both kinds of file.
objdump=x86_64-w64-mingw32-objdump windres=x86_64-w64-mingw32-windres
case $bits in
64) format=pei-x86-64 ;;
32) format=pei-i386 ;;
*) fail "bitness '$bits' is neither 32 nor 64" ;;
esac

# Compared without regard to case, as Windows finds DLLs (the i686 import libraries spell
# COMCTL32.DLL and dsound.dll).
system="kernel32.dll user32.dll gdi32.dll comctl32.dll ole32.dll dsound.dll advapi32.dll shell32.dll msvcrt.dll"
# imports FILE ALLOWED...: every DLL that FILE imports is among ALLOWED.
imports() {
    local file=$1 dll allowed
    shift
    allowed=" ${*,,} "
    for dll in $($objdump -p "$file" | awk '/DLL Name:/ {print $3}'); do
        [[ "$allowed" == *" ${dll,,} "* ]] || fail "$(basename "$file") imports $dll, which a Windows machine does not have"
    done
}
# header FILE: FILE is of the build's bitness and needs Windows 6.0.
header() {
    local h
    h=$($objdump -p "$1")
    grep -q "file format $format\$" <<<"$h" || fail "$(basename "$1") is not $format: $(grep -o 'file format .*' <<<"$h")"
    for field in MajorOSystemVersion MinorOSystemVersion MajorSubsystemVersion MinorSubsystemVersion; do
        want=0
        [[ $field == Major* ]] && want=6
        [ "$(awk -v f="$field" '$1 == f {print $2}' <<<"$h")" = "$want" ] ||
            fail "$(basename "$1"): $field is not $want (Windows Vista is the oldest with what it imports)"
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
header "$exe"
imports "$exe" $system OptimFROG.dll
for f in createInstance open getInfo readHead read close destroyInstance; do
    grep -qE "[0-9]+ +OptimFROG_$f\$" <<<"$headers" || fail "OptimFROG_$f not imported"
done

# The resource section holds every bitmap and the icon: at least their bytes.
size=$($objdump -h "$exe" | awk '$2 == ".rsrc" {print $3}')
size=$((16#${size:-0}))
files=$(cd "$(dirname "$0")/../../resources" && cat ./*.bmp ./*.ico | wc -c)
[ -n "$size" ] && [ "$size" -ge "$files" ] || fail "resources missing (.rsrc is $size bytes, the files $files)"

# The manifest (resource 1 of type 24) and the version resource, as windres reads them back.
rc=$($windres -O rc -i "$exe")
# The manifest's text without its comments, one line.
manifest=$(awk '/^1 24 / {m=1; next} m && /^END/ {m=0} m' <<<"$rc" |
    sed 's/^ *"//; s/\\n"$//; s/""/"/g' | tr '\n' ' ' | sed 's/<!--[^>]*-->//g')
grep -q 'requestedExecutionLevel level=.asInvoker' <<<"$manifest" || fail "no manifest with asInvoker"
grep -qi 'dpiAware' <<<"$manifest" && fail "the manifest declares DPI awareness"
grep -qi 'Microsoft.Windows.Common-Controls' <<<"$manifest" && fail "the manifest asks for Common Controls 6"
grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$rc" || fail "no version resource for $version"

decoder=$bin/OptimFROG.dll
[ -f "$decoder" ] || fail "$decoder missing"
header "$decoder"
imports "$decoder" $system
exports "$decoder" OptimFROG_createInstance OptimFROG_open OptimFROG_getInfo OptimFROG_readHead \
    OptimFROG_read OptimFROG_close OptimFROG_destroyInstance

sim=$bin/vintorel_tuner_sim.dll
[ -f "$sim" ] || fail "$sim missing"
header "$sim"
imports "$sim" $system
exports "$sim" DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer DllInstall
echo "ok: $exe, $(basename "$decoder"), $(basename "$sim")"
