#!/usr/bin/env bash
# The main job: set the machine up, build, then read the sample survey folder
# with the veldrane tool -- the error report of every file, and the whole
# content of one survey as JSON.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh

VELDRANE=build/bin/veldrane
mkdir -p out

echo "== veldrane check samples"
# Exit status 1 only says that some sample holds errors: field_mistakes.em
# is there to show what the report of a sloppy field file looks like.
status=0
"$VELDRANE" check samples || status=$?
if [ "$status" -gt 1 ]; then
  echo "main.sh: veldrane check could not read the samples (exit $status)" >&2
  exit "$status"
fi

echo
echo "== veldrane dump samples/borrow_pit.em"
"$VELDRANE" dump samples/borrow_pit.em

"$VELDRANE" dump samples/levee.em > out/levee.json
echo
echo "== veldrane dump samples/levee.em > out/levee.json ($(wc -c < out/levee.json) bytes)"

echo
echo "== veldrane export samples -o out/samples.gpkg"
# The sample folder as one GeoPackage, through the OGR driver.
"$VELDRANE" export --overwrite samples -o out/samples.gpkg
