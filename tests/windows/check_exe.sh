#!/usr/bin/env bash
# Checks the cross-compiled Windows program: a GUI executable that needs nothing but Windows'
# own DLLs and the clip decoder, carries the five resources, and imports the decoder's seven
# entry points by name.
#   check_exe.sh build/windows/bin/vintorel.exe
set -euo pipefail
exe=$1
objdump=x86_64-w64-mingw32-objdump
headers=$($objdump -p "$exe")
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -q "Subsystem.*(Windows GUI)" <<<"$headers" || fail "not a Windows GUI program"

allowed="KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll ole32.dll DSOUND.dll OptimFROG.dll msvcrt.dll"
for dll in $(awk '/DLL Name:/ {print $3}' <<<"$headers"); do
    [[ " $allowed " == *" $dll "* ]] || fail "imports $dll, which a Windows machine does not have"
done

for f in createInstance open getInfo readHead read close destroyInstance; do
    grep -qE "[0-9]+ +OptimFROG_$f\$" <<<"$headers" || fail "OptimFROG_$f not imported"
done

# The resource section holds every bitmap and the icon: at least their bytes.
size=$($objdump -h "$exe" | awk '$2 == ".rsrc" {print $3}')
size=$((16#${size:-0}))
files=$(cd "$(dirname "$0")/../../resources" && cat ./*.bmp ./*.ico | wc -c)
[ -n "$size" ] && [ "$size" -ge "$files" ] || fail "resources missing (.rsrc is $size bytes, the files $files)"
echo "ok: $exe"
