#!/usr/bin/env bash
# Builds every benchmark in bench/ (Release, in its own build folder) and runs
# them, then prints one table: benchmark, file size, MB/s, peak RSS,
# peak/file ratio and whether the target is met.
#
# Targets (override through the environment):
#   readers   MB/s >= VELDRANE_TARGET_MBPS (default 150) and peak RSS <=
#             VELDRANE_TARGET_PEAK_RATIO (default 3) times the file size;
#   geometry  each n / 4n pair takes at most VELDRANE_TARGET_SCALING (default
#             6) times as long at 4n (near-linear; quadratic work shows 16x).
#
# Usage: bench/run_all.sh [build-dir]   (default: <repo>/build-bench)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(dirname "$here")"
build="${1:-$repo/build-bench}"
jobs="${VELDRANE_BENCH_JOBS:-2}"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELDRANE_BUILD_TESTS=OFF -DVELDRANE_BUILD_GDAL=OFF \
  -DVELDRANE_BUILD_UI=OFF -DVELDRANE_BUILD_BENCH=ON -DVELDRANE_BUILD_FUZZ=OFF >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
names=()
for src in "$here"/*_bench.cpp; do names+=("$(basename "$src" .cpp)"); done
cmake --build "$build" -j"$jobs" --target "${names[@]}" >"$build.build.log" 2>&1 || { tail -40 "$build.build.log"; exit 1; }

out="$build/bench-results"
mkdir -p "$out"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for name in "${names[@]}"; do
  echo "running $name ..." >&2
  "$build/bin/$name" --benchmark_format=json --benchmark_out="$out/$name.json" --benchmark_out_format=json \
    >/dev/null 2>"$out/$name.stderr" || { echo "$name failed:" >&2; cat "$out/$name.stderr" >&2; exit 1; }
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$out" "${VELDRANE_TARGET_MBPS:-150}" "${VELDRANE_TARGET_PEAK_RATIO:-3}" "${VELDRANE_TARGET_SCALING:-6}" \
  "${names[@]}" <<'PY'
import json, sys, re
out, mbps_target, ratio_target, scaling_target = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
rows = []
failed = 0
for name in sys.argv[5:]:
    data = json.load(open(f"{out}/{name}.json"))
    runs = [b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"]
    by_family = {}
    for b in runs:
        file_mb = b.get("file_MB")
        if file_mb:
            mbps = b.get("bytes_per_second", 0) / (1 << 20)
            peak = b.get("peak_rss_MB", float("nan"))
            ratio = peak / file_mb
            ok = mbps >= mbps_target and ratio <= ratio_target
            rows.append((b["name"], f"{file_mb:.1f} MB", f"{mbps:.1f}", f"{peak:.0f} MB", f"{ratio:.2f}",
                         "yes" if ok else "no"))
            failed += not ok
        else:
            family, _, arg = b["name"].partition("/")
            by_family.setdefault(family, []).append((b["name"], b["real_time"], b["time_unit"]))
    for family, cases in by_family.items():
        for i, (case, t, unit) in enumerate(cases):
            verdict, note = "-", ""
            args = [case.partition("/")[2], cases[i - 1][0].partition("/")[2]] if i % 2 == 1 else []
            # Only an (n, 4n) pair says anything about scaling.
            if args and args[0].isdigit() and args[1].isdigit() and int(args[0]) == 4 * int(args[1]):
                ratio = t / cases[i - 1][1]
                ok = ratio <= scaling_target
                verdict = "yes" if ok else "no"
                note = f" (x{ratio:.1f} for 4n)"
                failed += not ok
            rows.append((case, "-", f"{t:.1f} {unit}{note}", "-", "-", verdict))
head = ("benchmark", "file size", "MB/s", "peak RSS", "peak/file", "target met")
widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(len(head))]
line = lambda r: "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
print(line(head))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
print(f"targets: readers >= {mbps_target:g} MB/s and peak RSS <= {ratio_target:g} x file; "
      f"geometry 4n/n time <= {scaling_target:g}. Geometry rows give the time per run in the MB/s column.")
sys.exit(0)
PY
