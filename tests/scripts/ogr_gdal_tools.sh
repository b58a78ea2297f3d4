#!/usr/bin/env bash
# The sample survey folder read by GDAL's own tools through the built plugin:
# ogrinfo, ogr2ogr and Python's osgeo.ogr.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ogr_env.bash"
require_tools ogrinfo ogr2ogr

# Coordinate lines of a survey file ("id,northing,easting,elevation,code",
# commas or blanks between the values).
coordinate_lines() { grep -cE '^[0-9]+[, ]' "$1"; }

# GDAL loads the plugin and lists it.
run ogrinfo --formats
expect_status 0 "ogrinfo --formats"
expect_text "$WORK/out" "Veldrane -vector- (ro): Halden Survey File" "plugin in the format list"

# The folder summary: every class of every survey file.
run ogrinfo -ro -al -so "$SAMPLES/"
expect_status 0 "ogrinfo -so samples"
expect_text "$WORK/out" "using driver \`Veldrane' successful" "driver of the sample folder"
for layer in "levee.em CrossSections" "levee.em CrossSectionPoints" "levee.em Benchmarks" \
  "centerline.pro Profiles" "centerline.pro ProfilePoints" "control.83 Traverses" "control.83 TraversePoints" \
  "old_route.830 CrossSections" "profile.em MiscellaneousShotPoints"; do
  expect_line "Layer name: $layer" "layer $layer"
done
sections=$(grep -c '^#X01' "$SAMPLES/levee.em")
grep -A8 -xF "Layer name: levee.em CrossSections" "$WORK/out" >"$WORK/levee_sections"
expect_text "$WORK/levee_sections" "Geometry: 3D Measured Line String" "levee cross-section geometry"
expect_text "$WORK/levee_sections" "Feature Count: $sections" "levee cross-section count"
grep -A8 -xF "Layer name: levee.em CrossSectionPoints" "$WORK/out" >"$WORK/levee_points"
expect_text "$WORK/levee_points" "Feature Count: $(coordinate_lines "$SAMPLES/levee.em")" "levee point count"
if grep -q '^ERROR' "$WORK/err"; then fail "ogrinfo errors: $(grep '^ERROR' "$WORK/err" | head -3)"; fi

# A traverse is a line measured by station, without elevations.
run ogrinfo -ro -q "$SAMPLES/control.83" "control.83 Traverses"
grep -q "LINESTRING M (" "$WORK/out" || fail "traverse line not measured by station: $(grep -m1 LINESTRING "$WORK/out" | cut -c1-60)"

# ogr2ogr into a GeoPackage, read back with the same layers and counts.
run ogr2ogr -f GPKG "$WORK/samples.gpkg" "$SAMPLES/"
expect_status 0 "ogr2ogr to GeoPackage"
ogrinfo -ro -al -so "$SAMPLES/" 2>/dev/null | grep -E '^(Layer name|Feature Count|Geometry):' >"$WORK/source_summary"
ogrinfo -ro -al -so "$WORK/samples.gpkg" 2>/dev/null | grep -E '^(Layer name|Feature Count|Geometry):' >"$WORK/copy_summary"
diff "$WORK/source_summary" "$WORK/copy_summary" >"$WORK/summary_diff" ||
  fail "GeoPackage differs from the source: $(head -c 600 "$WORK/summary_diff")"

# Python: values, shapes and counts through osgeo.ogr (filters are the
# driver tests').
if [ -z "$PYTHON" ]; then
  fail "no python3 with osgeo (python3-gdal)"
else
  "$PYTHON" - "$SAMPLES" "$WORK/samples.gpkg" >"$WORK/py_out" 2>"$WORK/py_err" <<'PY' || fail "python osgeo.ogr: $(cat "$WORK/py_out" "$WORK/py_err" | tail -n 5)"
import sys
from osgeo import ogr, gdal
gdal.UseExceptions()
samples, gpkg = sys.argv[1], sys.argv[2]
ds = gdal.OpenEx(samples, gdal.OF_VECTOR | gdal.OF_READONLY, allowed_drivers=["Veldrane"])
assert ds.GetDriver().ShortName == "Veldrane"
points = ds.GetLayerByName("levee.em CrossSectionPoints")
first = points.GetNextFeature()
assert first.GetFID() == 0
assert first.GetField("PointId") == 101, first.GetField("PointId")
assert first.GetField("Code") == "GND"
geom = first.GetGeometryRef()
assert geom.GetGeometryType() == ogr.wkbPointZM
assert abs(geom.GetX() - 3391547.990) < 1e-6 and abs(geom.GetY() - 690383.977) < 1e-6
# Every layer: the count equals the features read, FIDs 0..n-1 in order.
total = 0
for i in range(ds.GetLayerCount()):
    layer = ds.GetLayer(i)
    fids = [f.GetFID() for f in layer]
    assert fids == list(range(len(fids))), (layer.GetName(), fids[:5])
    assert layer.GetFeatureCount() == len(fids), layer.GetName()
    total += len(fids)
# The GeoPackage copy holds the same number of features.
copy = ogr.Open(gpkg)
assert sum(copy.GetLayer(i).GetFeatureCount() for i in range(copy.GetLayerCount())) == total
print("features", total)
PY
fi


# A plugin found through a relative driver path still finds the tables
# beside itself instead of falling back to the installed defaults.
(cd "$GDAL_DRIVER_PATH/.." && GDAL_DRIVER_PATH="$(basename "$GDAL_DRIVER_PATH")" \
  ogrinfo -ro -so "$SAMPLES/levee.em" "levee.em CrossSections") >"$WORK/out" 2>"$WORK/err"
if grep -q "Could not find key\|No such file" "$WORK/err"; then
  fail "relative driver path: $(head -c 300 "$WORK/err")"
fi
expect_text "$WORK/out" "Louisiana South" "relative driver path: coordinate system from the tables"

finish
