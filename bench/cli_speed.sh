#!/usr/bin/env bash
# Speed and memory of `veldrane check` and `veldrane dump`:
#   1. dump of one cross section of 1,000,000 points (a 16 MB survey): peak
#      memory against `check` of the same file, and JSON bytes written per
#      second (pretty and --compact);
#   2. check of a folder of 200 surveys, one thread (-j 1) against the default
#      (every core), median of RUNS runs;
#   3. check and dump of a 5 KB survey: median wall time of 50 runs (mostly
#      process start: GDAL's libraries are not loaded for these commands).
#
#   bash bench/cli_speed.sh [BUILD_DIR]     (default: build, a Release tree)
#   environment: RUNS (default 5)
#
# Targets: dump's peak RSS at most 1.5 times check's, at least 200 MB/s of
# JSON; -j default at least 1.7 times as fast as -j 1 on two cores; a 5 KB
# file checked or dumped in under 20 ms. Not a test: it prints figures and
# says whether each target was met. A build without `check -j` (before it
# existed) skips part 2. The machine is shared: run it when the load is low.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" 2>/dev/null && pwd) || { echo "cli_speed: no build folder ${1:-$ROOT/build}" >&2; exit 2; }
BIN="$BUILD/bin/veldrane"
[ -x "$BIN" ] || { echo "cli_speed: build veldrane in $BUILD first" >&2; exit 2; }
RUNS=${RUNS:-5}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veldrane-cli-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export VELDRANE_SETTINGS="$WORK/no-settings.ini"
verdict=0
meets() { awk "BEGIN { exit !($1) }" || verdict=1; }

# median NUMBERS...
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# measured COMMAND...: "WALL_SECONDS PEAK_KB CPU_SECONDS" of one run, output
# to $WORK/out. The CPU time (user + system) shows what a busy machine hides.
measured() {
  /usr/bin/time -f '%e %M %U %S' -o "$WORK/time" "$@" >"$WORK/out" 2>/dev/null || true
  awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$WORK/time"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 "$ROOT/bench/tools/make_survey_points.py" 1 1000000 "$WORK/big.em"
echo "1. one section of 1,000,000 points ($(($(stat -c %s "$WORK/big.em") / 1000000)) MB)"
read -r check_s check_kb check_cpu < <(measured "$BIN" check "$WORK/big.em")
printf '   %-16s %7.2f s (%5.2f s CPU) %6d MB peak\n' check "$check_s" "$check_cpu" $((check_kb / 1024))
for form in pretty compact; do
  flag=(); [ "$form" = compact ] && flag=(--compact)
  read -r dump_s dump_kb dump_cpu < <(measured "$BIN" dump "$WORK/big.em" "${flag[@]}")
  bytes=$(stat -c %s "$WORK/out")
  read -r rate cpu_rate ratio < <(awk -v b="$bytes" -v s="$dump_s" -v u="$dump_cpu" -v d="$dump_kb" -v c="$check_kb" \
    'BEGIN { printf "%.0f %.0f %.2f\n", b / 1e6 / (s > 0 ? s : 0.01), b / 1e6 / (u > 0 ? u : 0.01), d / c }')
  printf '   %-16s %7.2f s (%5.2f s CPU) %6d MB peak (%.2f x check) %5d MB JSON, %4d MB/s (%d per CPU s)\n' \
    "dump $form" "$dump_s" "$dump_cpu" $((dump_kb / 1024)) "$ratio" $((bytes / 1000000)) "$rate" "$cpu_rate"
  # The rate target is for the default (pretty) form; --compact writes half
  # the bytes for the same walk of the model.
  if [ "$form" = pretty ]; then meets "$ratio <= 1.5 && $rate >= 200"; else meets "$ratio <= 1.5"; fi
done

if "$BIN" check --help | grep -q -- --jobs; then
  mkdir -p "$WORK/folder"
  python3 "$ROOT/bench/tools/make_survey_points.py" 20 500 "$WORK/one.em"
  for i in $(seq -w 1 200); do cp "$WORK/one.em" "$WORK/folder/s$i.em"; done
  echo "2. check of 200 surveys of 10,000 points, median of $RUNS runs"
  declare -A took
  for jobs in 1 default; do
    flag=(); [ "$jobs" = default ] || flag=(-j "$jobs")
    times=()
    for _ in $(seq "$RUNS"); do times+=("$(measured "$BIN" check "${flag[@]}" "$WORK/folder" | cut -d' ' -f1)"); done
    took[$jobs]=$(median "${times[@]}")
    printf '   -j %-8s %7.2f s   (runs: %s)\n' "$jobs" "${took[$jobs]}" "${times[*]}"
  done
  speedup=$(awk -v a="${took[1]}" -v b="${took[default]}" 'BEGIN { printf "%.2f", a / b }')
  echo "   speedup: $speedup on $(nproc) cores"
  meets "$speedup >= 1.7"
fi

cp "$ROOT/samples/channel_hydro.em" "$ROOT/samples/CODES.DAT" "$WORK/"
echo "3. a $(stat -c %s "$WORK/channel_hydro.em")-byte survey, median of 50 runs"
for command in check dump; do
  times=()
  for _ in $(seq 50); do
    start=$(date +%s%N)
    "$BIN" "$command" "$WORK/channel_hydro.em" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  ms=$(awk -v us="$(median "${times[@]}")" 'BEGIN { printf "%.1f", us / 1000 }')
  # The CPU time of 50 more runs (children's user + system, from `times`).
  times >"$WORK/cpu0"
  for _ in $(seq 50); do "$BIN" "$command" "$WORK/channel_hydro.em" >/dev/null 2>&1 || true; done
  times >"$WORK/cpu1"
  cpu=$(cat "$WORK/cpu0" "$WORK/cpu1" | awk 'NR % 2 == 0 { gsub(/[ms]/, " "); t = $1 * 60 + $2 + $3 * 60 + $4; c[NR] = t }
    END { printf "%.1f", (c[4] - c[2]) * 1000 / 50 }')
  printf '   %-8s %6s ms (%s ms CPU)\n' "$command" "$ms" "$cpu"
  meets "$ms < 20"
done

echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "$verdict" -eq 0 ]; then echo "targets met"; else echo "targets NOT met"; fi
