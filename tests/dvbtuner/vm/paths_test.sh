#!/usr/bin/env bash
# The test VM (run.sh) from a folder under /tmp whose name holds a space and a non-ASCII letter,
# as a quick clone's might: the job written there reaches the VM, which reads the host's files
# under /tmp and writes to /tmp without changing the host's. Uses the VM that CACHE holds.
#   paths_test.sh CACHE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$1/made-for" ] || { echo "SKIP: no test VM in $1"; exit 77; }
dir=$(mktemp -d "/tmp/vintorel vm Prüfung.XXXXXX")
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/cache"
cp "$1/vmlinuz" "$1/initrd.gz" "$1/made-for" "$dir/cache/"
echo "from the host" >"$dir/host file"
cd "$dir"
rc=0
out=$(bash "$here/run.sh" "$dir/cache" bash -c \
    'cat "host file" && echo "from the VM" >"host file" && cat "host file"') || rc=$?
out=${out//$'\r'/} # the VM's console ends lines with CR LF
printf '%s\n' "$out"
[ "$rc" = 0 ] || { echo "FAIL: exit code $rc"; exit 1; }
printf '%s\n' "$out" | grep -qx "from the host" || { echo "FAIL: the host's file was not read"; exit 1; }
printf '%s\n' "$out" | grep -qx "from the VM" || { echo "FAIL: /tmp not writable in the VM"; exit 1; }
[ "$(cat "$dir/host file")" = "from the host" ] || { echo "FAIL: the VM changed the host's /tmp"; exit 1; }
echo "1 passed, 0 failed"
