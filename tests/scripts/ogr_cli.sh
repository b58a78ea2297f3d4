#!/usr/bin/env bash
# End-to-end tests of `veldrane info` and `veldrane export` on the sample
# folder; the exported files are read back with GDAL's ogrinfo.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ogr_env.bash"
require_tools ogrinfo
VELDRANE="$BIN_DIR/veldrane"
# The tool registers its own copy of the driver; no plugin is needed.
unset GDAL_DRIVER_PATH

sections=$(grep -c '^#X01' "$SAMPLES/levee.em")
points=$(grep -cE '^[0-9]+[, ]' "$SAMPLES/levee.em")

# info: every survey file with its classes, counts and coordinate system.
run "$VELDRANE" info "$SAMPLES"
expect_status 0 "info samples"
grep -qE '^.*: 9 survey files, [0-9]+ feature classes$' "$WORK/out" || fail "info headline: $(head -n 1 "$WORK/out")"
expect_line "levee.em" "levee.em heading"
grep -qE "^  levee.em CrossSections +3D Measured Line String +$sections features$" "$WORK/out" ||
  fail "levee cross sections line: $(grep 'levee.em CrossSections' "$WORK/out")"
grep -qE "^  levee.em CrossSectionPoints +3D Measured Point +$points features$" "$WORK/out" ||
  fail "levee points line: $(grep 'levee.em CrossSectionPoints' "$WORK/out")"
grep -qE "^  control.83 TraversePoints +Point +[0-9]+ features$" "$WORK/out" ||
  fail "traverse points line: $(grep 'TraversePoints' "$WORK/out")"
grep -A3 -xF "levee.em" "$WORK/out" >"$WORK/levee_block"
expect_text "$WORK/levee_block" "  coordinate system: " "levee coordinate system"
grep -q "Louisiana South.*(EPSG:[0-9]*)" "$WORK/levee_block" || fail "levee coordinate system name: $(cat "$WORK/levee_block")"
expect_text "$WORK/levee_block" "  problems: no problems" "levee has no problems"
grep -A3 -xF "field_mistakes.em" "$WORK/out" >"$WORK/mistakes_block"
distinct=$("$VELDRANE" check "$SAMPLES/field_mistakes.em" | grep ': \(error\|fatal\): ' | sort -u | wc -l)
expect_text "$WORK/mistakes_block" "  problems: $distinct errors, 1 warning" "field mistakes problem counts"
grep -qE "^problems: [0-9]+ errors?, [0-9]+ warnings? in [0-9]+ files? \(.*field_mistakes.em.*\); 'veldrane check .*' lists them$" \
  "$WORK/out" || fail "info problem summary: $(tail -n 1 "$WORK/out")"
if grep -q 'field_mistakes.em:44' "$WORK/err"; then fail "info repeated the records as messages"; fi

# info of one file, and of paths that are not survey data.
run "$VELDRANE" info "$SAMPLES/levee.em"
expect_status 0 "info of one file"
grep -qE '^.*levee.em: 1 survey file, 3 feature classes$' "$WORK/out" || fail "one-file headline: $(head -n 1 "$WORK/out")"
run "$VELDRANE" info "$WORK/nothing here"
expect_status 2 "info of a missing path"
expect_text "$WORK/err" "nothing here: No such file or directory" "missing path message"
run "$VELDRANE" info "$SAMPLES/CODES.DAT"
expect_status 2 "info of a file that is not a survey"
expect_text "$WORK/err" "not a survey file or a folder of survey files" "not a survey message"

# export: a GeoPackage with every class, a progress bar, the summary.
run "$VELDRANE" export "$SAMPLES" -o "$WORK/out dir/samples.gpkg"
expect_status 0 "export samples"
expect_text "$WORK/err" "0...10...20...30...40...50...60...70...80...90...100 - done." "progress bar on stderr"
grep -qE "^exported [0-9]+ layers, [0-9]+ features from 9 survey files to .*samples.gpkg \(GPKG\)$" "$WORK/out" ||
  fail "export summary: $(head -n 1 "$WORK/out")"
grep -q '^problems: ' "$WORK/out" || fail "export problem summary missing"
layers=$(sed -nE 's/^exported ([0-9]+) layers.*/\1/p' "$WORK/out")
run ogrinfo -ro -so "$WORK/out dir/samples.gpkg"
expect_status 0 "ogrinfo of the export"
[ "$(grep -cE '^[0-9]+: ' "$WORK/out")" -eq "$layers" ] || fail "export holds $(grep -cE '^[0-9]+: ' "$WORK/out") layers, not $layers"
expect_text "$WORK/out" "levee.em CrossSections (3D Measured Line String)" "exported cross sections"
run ogrinfo -ro -so "$WORK/out dir/samples.gpkg" "levee.em CrossSectionPoints"
expect_text "$WORK/out" "Feature Count: $points" "exported point count"
[ -z "$(ls -A "$WORK/out dir" | grep -v '^samples.gpkg$')" ] || fail "export left files behind: $(ls -A "$WORK/out dir")"

# An existing output is kept unless --overwrite is given.
before=$(md5sum <"$WORK/out dir/samples.gpkg")
run "$VELDRANE" export "$SAMPLES" -o "$WORK/out dir/samples.gpkg"
expect_status 2 "export onto an existing file"
expect_text "$WORK/err" "--overwrite" "overwrite hint"
[ "$(md5sum <"$WORK/out dir/samples.gpkg")" = "$before" ] || fail "refused export changed the file"
run "$VELDRANE" export -q --overwrite --with-errors "$SAMPLES" -o "$WORK/out dir/samples.gpkg"
expect_status 0 "export with --overwrite"
if grep -q 'done\.' "$WORK/err"; then fail "-q still drew a progress bar"; fi
run ogrinfo -ro -so "$WORK/out dir/samples.gpkg" Errors
expect_status 0 "exported Errors table"

# A format GDAL does not know.
run "$VELDRANE" export "$SAMPLES/levee.em" -o "$WORK/x.abc" -f NoSuchFormat
expect_status 2 "unknown format"
expect_text "$WORK/err" "unknown output format" "unknown format message"
[ ! -e "$WORK/x.abc" ] || fail "a failed export left its output"

finish
