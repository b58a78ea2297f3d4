#!/usr/bin/env bash
# How `veldrane info` grows with the number of survey files in a folder,
# against GDAL's `ogrinfo -ro -so` on the same folder (through the plugin).
#
#   bash bench/info_scaling.sh [BUILD_DIR]     (default: build, a Release tree)
#   environment: COUNTS (default "625 1250 2500 5000"), RUNS (default 3)
#
# Every file is the same small survey (2 cross sections of 5 points: 3 layers).
# Targets: on the largest folder `info` takes at most 1.5 times as long as
# ogrinfo; and it grows linearly: doubling the files at most 2.5 times the
# time. Not a test: it prints figures and says whether each target was met.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" 2>/dev/null && pwd) || { echo "info_scaling: no build folder ${1:-$ROOT/build}" >&2; exit 2; }
BIN="$BUILD/bin"
[ -x "$BIN/veldrane" ] && [ -f "$BIN/ogr_Veldrane.so" ] || { echo "info_scaling: build veldrane and ogr_Veldrane in $BUILD first" >&2; exit 2; }
COUNTS=${COUNTS:-625 1250 2500 5000}
RUNS=${RUNS:-3}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veldrane-info-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export GDAL_DRIVER_PATH="$BIN" VELDRANE_SETTINGS="$WORK/no-settings.ini"

python3 "$ROOT/bench/tools/make_survey_points.py" 2 5 "$WORK/one.em"

# best_of COMMAND...: the shortest wall time of RUNS runs, in seconds.
best_of() {
  local best="" t
  for _ in $(seq "$RUNS"); do
    t=$( { TIMEFORMAT=%R; time "$@" >/dev/null 2>&1; } 2>&1 )
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%8s %10s %12s %10s %14s\n' files "info s" "ogrinfo s" ratio "info ms/file"
previous=""
verdict=0
for n in $COUNTS; do
  folder="$WORK/f$n"
  mkdir -p "$folder"
  for i in $(seq -w 1 "$n"); do cp "$WORK/one.em" "$folder/s$i.em"; done
  info=$(best_of "$BIN/veldrane" info "$folder")
  ogr=$(best_of ogrinfo -ro -so "$folder")
  read -r ratio perfile < <(awk -v a="$info" -v b="$ogr" -v n="$n" 'BEGIN { printf "%.2f %.2f\n", a / b, 1000 * a / n }')
  printf '%8d %10s %12s %10s %14s\n' "$n" "$info" "$ogr" "$ratio" "$perfile"
  if [ -n "$previous" ]; then
    growth=$(awk -v a="$info" -v b="$previous" 'BEGIN { printf "%.2f", a / b }')
    echo "         growth over the previous folder: $growth"
  fi
  previous=$info
  last_ratio=$ratio
  rm -rf "$folder"
  [ -z "${growth:-}" ] || awk -v g="$growth" 'BEGIN { exit !(g <= 2.5) }' || verdict=1
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v r="$last_ratio" 'BEGIN { exit !(r <= 1.5) }' || verdict=1
if [ "$verdict" -eq 0 ]; then echo "targets met"; else echo "targets NOT met"; fi
