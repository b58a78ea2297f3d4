#!/usr/bin/env bash
# The test job (also what CI runs): packages (setup.sh --tests: the test
# tools too), then a separate build with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/, then every
# test through ctest. Benchmarks are left out of this build; they are run on
# their own from a Release build.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh --tests --packages-only

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=0:detect_stack_use_after_return=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

mkdir -p build-asan
echo "== configure build-asan"
# -O1 -g1: sanitizer reports with function names and lines, at a fraction of
# the compile time of a full optimised build with complete debug information.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DVELDRANE_SANITIZE=ON -DVELDRANE_BUILD_BENCH=OFF -DVELDRANE_BUILD_TESTS=ON >build-asan/configure.log 2>&1 || {
  cat build-asan/configure.log >&2
  exit 1
}

echo "== build build-asan"
if ! cmake --build build-asan -j"$jobs" >build-asan/build.log 2>&1; then
  grep -E -B2 -A8 'error:|undefined reference|\*\*\* \[' build-asan/build.log | tail -n 120 >&2 || tail -n 120 build-asan/build.log >&2
  echo "test.sh: build failed (full log in build-asan/build.log)" >&2
  exit 1
fi

echo "== ctest"
status=0
ctest --test-dir build-asan --output-on-failure -j"$jobs" 2>&1 | tee build-asan/ctest.log || status=$?
if ! grep -qE '^[0-9]+% tests passed' build-asan/ctest.log; then
  echo "test.sh: ctest printed no summary line" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
