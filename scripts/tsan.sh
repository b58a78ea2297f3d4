#!/usr/bin/env bash
# A ThreadSanitizer build of the data source and driver tests (and the core
# tests, which hold the read-ahead queue and the EM reader's threads) in
# build-tsan/, then runs them; any data race fails the run. Not part of CI:
# run it before changing anything that threads share.
#
#   bash scripts/tsan.sh                 both test programs
#   bash scripts/tsan.sh --gtest_filter=OgrDriver*   arguments go to both
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
flags="-fsanitize=thread -fno-omit-frame-pointer"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread -DCMAKE_MODULE_LINKER_FLAGS=-fsanitize=thread \
  -DVELDRANE_BUILD_BENCH=OFF -DVELDRANE_BUILD_UI=OFF "${launcher[@]}" >/dev/null
cmake --build build-tsan -j2 --target veldrane_gdal_tests veldrane_core_tests

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tools/tsan.supp ${TSAN_OPTIONS:-}"
export VELDRANE_SETTINGS="$PWD/build-tsan/tests/no-settings.ini"
status=0
for tests in veldrane_gdal_tests veldrane_core_tests; do
  echo "== $tests under ThreadSanitizer"
  build-tsan/bin/$tests --gtest_brief=1 "$@" || status=1
done
exit "$status"
