#!/usr/bin/env bash
# Each binary's RPATH/RUNPATH may name its own folder ($ORIGIN) and absolute folders only: an
# empty entry or a relative one makes the loader search the current folder, where whoever
# chose the working folder could put a library of the same name.
# Usage: search_paths_check.sh BINARY...
set -u
status=0
for binary in "$@"; do
    [ -n "$binary" ] || continue
    paths=$(readelf -d "$binary" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
    while IFS= read -r entry; do
        case $entry in
        '$ORIGIN' | '$ORIGIN/'* | /*) ;;
        *)
            echo "$binary: library search path entry '$entry' in '$paths' is relative or empty"
            status=1
            ;;
        esac
    done < <(printf '%s' "$paths" | tr ':' '\n'; [ "${paths: -1}" = ":" ] && echo)
done
exit $status
