#!/usr/bin/env bash
# `veldrane check` and `veldrane dump` run without loading GDAL; every other
# command line goes to `veldrane-gdal`, so --help still lists every command.
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
BIN="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"
[ -x "$BIN-gdal" ] || { echo "built without GDAL: no veldrane-gdal to hand over to"; exit 77; }

# The dynamic loader names every library it loads (on stderr).
loaded() { LD_DEBUG=files "$BIN" "$@" 2>&1 >/dev/null | grep -o 'file=[^ ]*libgdal[^ ]*' | head -1; }

for args in "check $SAMPLES/levee.em" "check -j 2 $SAMPLES" "dump $SAMPLES/control.83" "dump --compact $SAMPLES/levee.em"; do
  # shellcheck disable=SC2086  # separate arguments
  gdal=$(loaded $args)
  [ -z "$gdal" ] || fail "veldrane $args loaded GDAL ($gdal)"
done
# The same probe sees GDAL where it is used.
[ -n "$(loaded info "$SAMPLES/levee.em")" ] || fail "veldrane info: GDAL not seen loading; the probe is blind"

run "$BIN" info "$SAMPLES/levee.em"
expect_status 0 "info through veldrane-gdal"
run "$BIN" --help
expect_status 0 "--help"
for command in check dump metadata info export; do
  grep -qE "^  $command " "$WORK/out" || fail "--help does not list $command"
done
run "$BIN"
expect_status 2 "no command"

finish
