#!/usr/bin/env bash
# An export stopped by Ctrl-C leaves nothing behind, and the next export to
# the same folder removes what a killed one left (never what a running one
# is writing).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
VELDRANE="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"
unset GDAL_DRIVER_PATH

mkdir -p "$WORK/big" "$WORK/out"
python3 "$SRC/bench/tools/make_survey_points.py" 3000 100 "$WORK/big/big.em"
sh -c 'exit 0' &
dead=$!
wait "$dead"
mkdir -p "$WORK/out/.veldrane-export-$dead-aaaaaa" "$WORK/out/.veldrane-export-$$-bbbbbb"
touch "$WORK/out/.veldrane-export-$dead-aaaaaa/big.gpkg"

# Job control, so the export gets Ctrl-C as a foreground command would.
set -m
"$VELDRANE" export -q "$WORK/big" -o "$WORK/out/big.gpkg" 2>"$WORK/err" &
pid=$!
until compgen -G "$WORK/out/.veldrane-export-$pid-*" >/dev/null || ! kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
kill -INT "$pid"
wait "$pid"
status=$?
set +m
expect_status 130 "export stopped by SIGINT"
left=$(ls -A "$WORK/out")
[ "$left" = ".veldrane-export-$$-bbbbbb" ] || fail "after the interrupted export the folder holds: $left"

finish
