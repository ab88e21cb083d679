#!/usr/bin/env bash
# Builds Vintorel and starts it in its working folder (run/ beside this repository's sources,
# or VINTOREL_WORKDIR), which holds Data/ with the clips and the satellite list. With a DVB
# card at /dev/dvb/adapter0/frontend0 the card is used, otherwise the simulated card;
# VINTOREL_TUNER set by the caller wins (sim, dvb, dvb:ADAPTER[.FRONTEND]).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake --preset default -S "$root" >/dev/null
cmake --build "$root/build/default" --target vintorel_all_runtime

workdir=${VINTOREL_WORKDIR:-$root/run}
mkdir -p "$workdir/Data"
# The clips are refreshed from the build; the satellite list is the user's and never touched.
find "$root/Data" -maxdepth 1 -name '*.vcl' -exec cp -f {} "$workdir/Data/" \; 2>/dev/null || true

if [ -z "${VINTOREL_TUNER:-}" ]; then
    if [ -e /dev/dvb/adapter0/frontend0 ]; then
        export VINTOREL_TUNER=dvb
        echo "Vintorel: using the DVB card at /dev/dvb/adapter0/frontend0"
    else
        export VINTOREL_TUNER=sim
        echo "Vintorel: no DVB card found, using the simulated card"
    fi
else
    echo "Vintorel: VINTOREL_TUNER=$VINTOREL_TUNER"
fi
cd "$workdir"
exec "$root/build/default/bin/vintorel"
