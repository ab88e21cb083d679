#!/usr/bin/env bash
# The long run: the real program measuring with the simulated dish for MINUTES, sampled at
# intervals, failing on growth beyond the bounds below.
#   scripts/soak.sh [--wine] [--program FILE] [--interval SECONDS] [--out FILE] MINUTES
# Natively the Linux program (default build/default/bin/vintorel); with --wine the Windows one
# (default build/windows/bin/vintorel.exe, guiobjects.exe beside it) under Wine, in a copy of
# its build's test prefix (so that other Wine checks may run meanwhile). Both on a private X server, the sound mixed into a null output. The dish sweeps
# past the satellite every 90 s (locked, then lost, then found again); every 3rd sample the
# feedback switches between the tone and the spoken digits, every 5th the compact view is
# shown for a few seconds and left again, every 7th the language switches.
# Each sample: the program's resident memory, threads, open descriptors and CPU share since the
# last sample, and the objects it holds (e2e_objects in tests/e2e/lib.sh: the platform layer's
# counts natively; under Wine guiobjects.exe's and Wine's GDI handle trace), and under Wine
# wineserver's memory.
# Bounds, from the first sample (taken after one interval of measuring) to the end:
#   object counts            never above the first sample's
#   threads, descriptors     at most 2 above the first sample (the sound output's mixer
#                            thread and its descriptors come and go with the sound)
#   private memory           the last three samples' mean at most 4 MiB (Wine: 8 MiB) above
#                            (the anonymous part of the resident memory: the rest is library
#                            code and data paged in as other paths run, which comes and goes)
#   CPU share                the last third's mean at most 1.5 times the first third's + 0.5 %
#                            (natively the whole process, the layer's sound threads included;
#                            under Wine the program's own thread: Wine's sound threads on ALSA's
#                            null device, which keeps no time, use a share that wanders by
#                            itself; both are in the table as cpu and main_cpu)
# Prints a table (also written to --out, default build/soak-linux.txt or build/soak-wine.txt)
# and ends with the program closed by Escape, which must give exit code 0.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine=0 interval=60 out="" program=""
while [ $# -gt 1 ]; do
    case $1 in
    --wine) wine=1; shift ;;
    --interval) interval=$2; shift 2 ;;
    --program) program=$(realpath "$2"); shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) break ;;
    esac
done
[ $# = 1 ] && [[ $1 =~ ^[0-9]+$ ]] && [ "$1" -gt 0 ] || {
    echo "usage: scripts/soak.sh [--wine] [--program FILE] [--interval SECONDS] [--out FILE] MINUTES" >&2
    exit 2
}
minutes=$1
samples=$(((minutes * 60 + interval - 1) / interval))
if [ "$wine" = 1 ]; then
    VINTOREL_BIN=${program:-$root/build/windows/bin/vintorel.exe}
    out=${out:-$root/build/soak-wine.txt}
else
    VINTOREL_BIN=${program:-$root/build/default/bin/vintorel}
    out=${out:-$root/build/soak-linux.txt}
fi
[ -f "$VINTOREL_BIN" ] || { echo "soak: no $VINTOREL_BIN (build it first: scripts/test.sh builds both)" >&2; exit 1; }
if [ "$wine" = 1 ]; then
    # A prefix of its own, copied from the test prefix (made by tests/wine/prefix.sh).
    bin=$(dirname "$VINTOREL_BIN")
    prefix=$(dirname "$bin")/wine-prefix
    [ -f "$prefix/system.reg" ] || bash "$root/tests/wine/prefix.sh" "$prefix" "$bin" >/dev/null
    soak_prefix=$(mktemp -d)
    cp -a "$prefix/." "$soak_prefix/"
    export WINEPREFIX=$soak_prefix
fi
source "$root/tests/e2e/lib.sh"
[ "$wine" = 1 ] && trap 'e2e_cleanup; rm -rf "$soak_prefix"' EXIT
e2e_start_x
export VINTOREL_TUNER=sim VINTOREL_SIM_SWEEP=90
e2e_null_sound
e2e_count_objects
work="$E2E_TMP/work"
e2e_default_list "$work"
cp "$root"/Data/*.vcl "$work/Data/"
log="$E2E_TMP/card.log"
VINTOREL_SIM_LOG=$(e2e_path "$log")
export VINTOREL_SIM_LOG
e2e_start_measuring "$work" "$log"
id=$E2E_WINDOW
pid=$APP_PID
if [ "$wine" = 1 ]; then
    # The loader execs the program in the same process; wineserver serves the prefix.
    server=$(pgrep -n -x wineserver || pgrep -n wineserver || true)
fi

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
main_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/task/$pid/stat"; }
share() { # CPU share in % of $1 ticks over the time from $2 to $3
    awk -v c="$1" -v a="$2" -v b="$3" -v h="$ticks" 'BEGIN { printf "%.2f", 100 * c / h / (b - a) }'
}
status_field() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$2/status"; }

# Actions between samples, as a person leaves the program measuring and touches it now and then.
act() {
    local k=$1
    if [ $((k % 3)) = 0 ]; then e2e_click "$id" 30 9; fi       # tone <-> spoken digits
    if [ $((k % 7)) = 0 ]; then e2e_click "$id" 12 9; fi       # English <-> Russian
    if [ $((k % 5)) = 0 ]; then                                # the compact view and back
        e2e_double_click "$id" 200 30
        sleep 3
        e2e_double_click "$id" 200 30
    fi
}

table="$E2E_TMP/table.txt"
echo "soak: $minutes min, a sample every $interval s ($([ "$wine" = 1 ] && echo "Windows program under Wine" || echo "Linux program"))"
last_cpu=$(cpu_ticks) last_main=$(main_ticks) last_t=$(date +%s.%N)
for k in $(seq "$samples"); do
    started=$(date +%s)
    act "$k"
    sleep $((interval - ($(date +%s) - started) > 0 ? interval - ($(date +%s) - started) : 0))
    kill -0 "$pid" 2>/dev/null || fail "the program ended during the run (sample $k)"
    now_cpu=$(cpu_ticks) now_main=$(main_ticks) now_t=$(date +%s.%N)
    cpu=$(share $((now_cpu - last_cpu)) "$last_t" "$now_t")
    main_cpu=$(share $((now_main - last_main)) "$last_t" "$now_t")
    last_cpu=$now_cpu last_main=$now_main last_t=$now_t
    row="min=$(awk -v s=$((k * interval)) 'BEGIN { printf "%.1f", s / 60 }') rss_kb=$(status_field VmRSS "$pid")"
    row+=" anon_kb=$(status_field RssAnon "$pid")"
    row+=" threads=$(status_field Threads "$pid") fds=$(find "/proc/$pid/fd" -mindepth 1 | wc -l) cpu=$cpu main_cpu=$main_cpu"
    [ "$wine" = 1 ] && [ -n "$server" ] && row+=" server_anon_kb=$(status_field RssAnon "$server")"
    row+=" $(e2e_objects)"
    echo "$row" | tee -a "$table"
done
polls=$(e2e_log "$log" | grep -c '^getQuality' || true)

verdict=$(python3 - "$table" "$wine" <<'PY'
import sys
rows = [dict(f.split("=", 1) for f in line.split()) for line in open(sys.argv[1])]
wine = sys.argv[2] == "1"
num = lambda v: None if v == "-" else float(v)
first, problems = rows[0], []
keys = list(first)
print("  ".join(f"{k:>12}" for k in keys))
for r in rows:
    print("  ".join(f"{r[k]:>12}" for k in keys))
counts = [k for k in keys if k not in ("min", "rss_kb", "anon_kb", "cpu", "main_cpu", "threads", "fds", "server_anon_kb")]
for k in counts:
    if first[k] == "-":
        continue
    worst = max(num(r[k]) for r in rows)
    if worst > num(first[k]):
        problems.append(f"{k} grew from {first[k]} to {worst:g}")
for k in ("threads", "fds"):
    worst = max(num(r[k]) for r in rows)
    if worst > num(first[k]) + 2:
        problems.append(f"{k} grew from {first[k]} to {worst:g}")
for k, bound in (("anon_kb", 8192 if wine else 4096), ("server_anon_kb", 4096)):
    if k in first and len(rows) >= 2:
        tail = [num(r[k]) for r in rows[-3:]]
        growth = sum(tail) / len(tail) - num(first[k])
        print(f"{k}: {growth:+.0f} kB from the first sample (bound {bound})")
        if growth > bound:
            problems.append(f"{k} grew by {growth:.0f} kB")
third = max(1, len(rows) // 3)
bounded = "main_cpu" if wine else "cpu"
shares = {k: (sum(num(r[k]) for r in rows[:third]) / third, sum(num(r[k]) for r in rows[-third:]) / third)
          for k in ("cpu", "main_cpu")}
for k, (early, late) in shares.items():
    print(f"{k}: {early:.2f} % in the first third, {late:.2f} % in the last" + (" (bounded)" if k == bounded else ""))
early, late = shares[bounded]
if late > 1.5 * early + 0.5:
    problems.append(f"CPU share rose from {early:.2f} % to {late:.2f} %")
print("FAIL: " + "; ".join(problems) if problems else "PASS")
PY
)
{
    echo "soak: $minutes min, $samples samples, $polls polls of the card"
    echo "$verdict"
} | tee "$out"
e2e_keys "$id" Escape
e2e_wait_exit 30
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC after the run"
[ "${verdict##*$'\n'}" = PASS ] || fail "growth beyond the bounds (table in $out)"
echo "ok: no growth beyond the bounds, exit code 0"
