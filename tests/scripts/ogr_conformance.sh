#!/usr/bin/env bash
# GDAL's driver conformance program, test_ogrsf, built from the Debian source
# package of the installed GDAL (tests/tools/build_test_ogrsf.sh, kept in the
# build tree) and run read-only through the built plugin on every sample
# file and on the sample folder. Fails on any FAILURE or ERROR line, and on
# any GDAL warning that is not a problem of a sample survey file (a warning
# about the driver's own geometry building, say).
#
# The first run fetches the GDAL source through apt; on a machine without
# network access, VELDRANE_SKIP_TEST_OGRSF=1 skips the test.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ogr_env.bash"
require_tools gdal-config
if [ "${VELDRANE_SKIP_TEST_OGRSF:-}" = 1 ]; then
  echo "ogr_conformance: skipped (VELDRANE_SKIP_TEST_OGRSF=1)"
  exit 77
fi

cache="$(dirname "$BIN_DIR")/test_ogrsf"
if ! program=$(bash "$SRC/tests/tools/build_test_ogrsf.sh" "$cache"); then
  fail "test_ogrsf could not be built (VELDRANE_SKIP_TEST_OGRSF=1 skips this test where the GDAL source cannot be had)"
  finish
fi

for target in "$SAMPLES"/*.em "$SAMPLES"/*.cl "$SAMPLES"/*.830 "$SAMPLES"/*.pro "$SAMPLES"/*.83 "$SAMPLES"/*.27 \
  "$SAMPLES"/*.bl "$SAMPLES"; do
  [ -e "$target" ] || continue
  run "$program" -ro "$target"
  name=${target#"$SRC"/}
  [ "$status" -eq 0 ] || fail "$name: test_ogrsf exit status $status"
  bad=$(grep -hE '^(FAILURE|ERROR)' "$WORK/out" "$WORK/err")
  [ -z "$bad" ] || fail "$name: $(echo "$bad" | sort | uniq -c | head -n 5)"
  # Survey problems name their file: the sample itself, or the copy of it
  # that test_ogrsf reads again from /vsimem/ (without the files beside it,
  # so a baseline it names is missing there).
  strange=$(grep -hE '^Warning' "$WORK/out" "$WORK/err" | grep -vF "Warning 1: $SAMPLES/" |
    grep -vE '^Warning 1: /vsimem/[^:]+(:[0-9]+: (warning|error|fatal):|: [0-9]+ problems?) ')
  [ -z "$strange" ] || fail "$name: warnings other than survey problems: $(echo "$strange" | sort -u | head -n 5)"
  echo "$name: $(grep -c '^INFO' "$WORK/out") checks passed"
done
finish
