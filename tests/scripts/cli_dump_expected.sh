#!/usr/bin/env bash
# `veldrane dump` must print exactly the committed JSON, pretty and --compact:
# number formatting, escaping, NaN/inf as null and key order included.
# After a deliberate change of the output, regenerate the files with
#   VELDRANE_BIN=$PWD/build-dev/bin VELDRANE_SOURCE_DIR=$PWD bash tests/scripts/cli_dump_expected.sh --update
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
BIN="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"
EXPECTED="$SRC/tests/data/expected"

# folder file: dumped from inside the folder, so "file" holds the bare name.
for input in samples/levee.em samples/control.83 samples/channel_hydro.em tests/data/dump_odd.em; do
  name=$(basename "$input")
  for form in pretty compact; do
    flag=(); [ "$form" = compact ] && flag=(--compact)
    (cd "$SRC/$(dirname "$input")" && "$BIN" dump "$name" "${flag[@]}" >"$WORK/out" 2>"$WORK/err")
    status=$?
    expect_status 0 "dump $name ($form)"
    file="$EXPECTED/$name.$form.json"
    if [ "${1:-}" = --update ]; then cp "$WORK/out" "$file"; continue; fi
    cmp -s "$WORK/out" "$file" || fail "dump $name ($form) differs from $file: $(diff "$WORK/out" "$file" | head -5)"
  done
done

finish
