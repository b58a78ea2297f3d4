#!/usr/bin/env bash
# Reading one large EM survey through the OGR driver from GDAL's virtual file
# systems against the plain file: from /vsimem/ (copied into memory first,
# not timed), as an uncompressed (stored) member of a zip, and from
# /vsicurl/ off an HTTP server on a loopback port (the test suite's range
# server). The driver reads the whole survey when it opens it, so the open
# is the read that is timed.
#
#   bash bench/vsi_read.sh [BUILD_DIR]     (default: build, a Release tree)
#   environment: RUNS (default 5), SECTIONS (default 10000, 100 points each)
#
# Targets: /vsimem/ and the zip member within 1.3 times the plain file's
# read, /vsicurl/ within 2 times. Not a test: it prints figures and says
# whether each target was met.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/tools/ogr_bench_env.bash"
RUNS=${RUNS:-5}
SECTIONS=${SECTIONS:-10000}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veldrane-vsi-bench-XXXXXX")
exec {server}> >(exec python3 "$ROOT/tests/gdal/vsi_fixture.py" serve "$WORK" "$WORK/port")
trap 'exec {server}>&-; rm -rf "$WORK"' EXIT

echo "== tools and data in $WORK"
c++ -O2 -std=c++17 $(gdal-config --cflags) "$ROOT/bench/tools/ogr_scan.cpp" -o "$WORK/ogr_scan" $(gdal-config --libs)
python3 "$ROOT/bench/tools/make_survey_points.py" "$SECTIONS" 100 "$WORK/big.em"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_STORED).write(sys.argv[2], "big.em")' \
  "$WORK/big.zip" "$WORK/big.em"
for _ in $(seq 100); do [ -s "$WORK/port" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$WORK/port")/big.em"
echo "   big.em $(du -h "$WORK/big.em" | cut -f1), $((SECTIONS * 100)) points"

export GDAL_DRIVER_PATH="$BIN"
# open_seconds ARGS...: the open (the whole read of the survey) of one run.
open_seconds() {
  "$WORK/ogr_scan" --driver Veldrane --layer "big.em CrossSectionPoints" "$@" 2>/dev/null | sed -n 's/^open_s //p'
}
declare -A best
kinds=(plain vsimem zip curl)
echo "== opening the survey ($RUNS runs each, in turns, best kept)"
for run in $(seq "$RUNS"); do
  for kind in "${kinds[@]}"; do
    case $kind in
      plain) s=$(open_seconds "$WORK/big.em") ;;
      vsimem) s=$(open_seconds --vsimem "$WORK/big.em") ;;
      zip) s=$(open_seconds "/vsizip/$WORK/big.zip/big.em") ;;
      curl) s=$(open_seconds "/vsicurl/$url") ;;
    esac
    [ -n "$s" ] || { echo "vsi_read: the $kind read failed" >&2; exit 1; }
    if [ -z "${best[$kind]:-}" ] || awk -v a="$s" -v b="${best[$kind]}" 'BEGIN {exit !(a < b)}'; then best[$kind]=$s; fi
  done
done
printf "   %-8s %8s %10s %8s %s\n" source "open s" "/ plain" target ""
for kind in "${kinds[@]}"; do
  target=1.3
  [ "$kind" = curl ] && target=2
  awk -v k="$kind" -v s="${best[$kind]}" -v p="${best[plain]}" -v t="$target" 'BEGIN {
    r = s / p
    printf "   %-8s %8.3f %10.2f %8s %s\n", k, s, r, (k == "plain" ? "" : "<= " t), (k == "plain" ? "" : (r <= t ? "met" : "MISSED")) }'
done
