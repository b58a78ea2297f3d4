#!/usr/bin/env bash
# End-to-end tests of `veldrane dump`: the samples as JSON, and a clear
# refusal of what is not one survey file. (Valid UTF-8 JSON from damaged or
# Windows-1252 input is the fuzz replay's and the JSON view's unit tests'.)
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
BIN="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"

# check_json WHAT PYTHON: strict UTF-8 + JSON parse of stdout, then the
# assertions of PYTHON with the document in `d`.
check_json() {
  python3 - "$WORK/out" "$2" <<'PY' || fail "$1"
import json, sys
raw = open(sys.argv[1], "rb").read()
try:
    d = json.loads(raw.decode("utf-8"))  # strict: invalid UTF-8 raises
except Exception as e:
    print(f"  not valid UTF-8 JSON: {e}", file=sys.stderr)
    sys.exit(1)
try:
    exec(sys.argv[2])
except AssertionError as e:
    print(f"  assertion failed: {e}", file=sys.stderr)
    sys.exit(1)
PY
}

SURVEY_KEYS='["JobNumber","Title","Comments","OriginalFileName","Contractor","HorizontalDatum","VerticalDatum","Epoch","Location","SurveyOrder","CrossSections","ProfileCenterlines","SurveyDate","SurveyStartDate","SurveyEndDate","MiscShotPoints","Areas","Units","Projection","VerticalControls","Gages","FieldBook","PageNumber","CrewMembers","Equipment","Weather","Baseline","BaselineFileName","CombinedScaleFactor","version","HorizontalEpoch","HorizontalAccuracyClass","VerticalAccuracy","ParishName","ContractNumber","HorizontalAccuracy","VerticalAccuracyClass","QuadName"]'

# The levee survey: every member in slot order, seven sections crossing the baseline.
run "$BIN" dump "$SAMPLES/levee.em"
expect_status 0 "dump levee.em"
python3 -m json.tool "$WORK/out" >/dev/null 2>&1 || fail "dump levee.em: json.tool rejects the output"
check_json "dump levee.em content" "
assert list(d) == ['file', 'kind', 'survey', 'errors'], list(d)
assert d['kind'] == 'survey'
s = d['survey']
assert list(s) == $SURVEY_KEYS, list(s)
assert s['version'] == 'EM09' and s['Projection'] == 'LA SOUTH' and s['HorizontalDatum'] == 'NAD83'
assert s['SurveyStartDate'] == '2011-03-14T00:00:00' and s['SurveyEndDate'] == '2011-03-15T00:00:00'
assert s['HorizontalAccuracy'] == 0.05 and s['VerticalAccuracy'] == 0.0001
assert s['Title'] == 'AMITE RIVER AND TRIBUTARIES LEFT BANK LEVEE ENLARGEMENT, REACH 2 PRE-CONSTRUCTION CROSS SECTIONS', s['Title']
xs = s['CrossSections']
assert [x['RangeName'] for x in xs] == ['R-%d' % k for k in range(5, 40, 5)], [x['RangeName'] for x in xs]
assert xs[0]['Station'] == 500 and xs[0]['AltName'] == 'XS 5 LEVEE' and xs[0]['Benchmark'] == 'BM AMITE 3'
assert xs[5]['Benchmark'] == 'TBM 12' and xs[5]['WaterSurfaceTime'] == '2011-03-15T14:10:00'
for x in xs:
    assert len(x['Points']) == 15, x['AltName']
    assert x['BaselineIntersectX'] != 0.0001 and x['BaselineIntersectY'] != 0.0001, x['AltName']
    stations = [p['Station'] for p in x['Points']]
    assert stations == sorted(stations), x['AltName']
    crest = [p for p in x['Points'] if p['Code'] == 'CL'][0]
    # The crown centerline lies on the baseline: its offset from it is a foot or two at most.
    assert abs(crest['BaselineOffset']) < 3, (x['AltName'], crest['BaselineOffset'])
    assert crest['VerticalAdjustment'] == 0.04 and crest['CodeDescription'] == 'Levee crown centerline'
assert s['Baseline'] is not None and len(s['Baseline']['TraversePoints']) == 9
assert s['Baseline']['TraversePoints'][4]['AltName'] == 'PI-1'
assert [b['Name'] for b in s['VerticalControls']] == ['BM AMITE 3', 'TBM 12']
assert d['errors'] == [], d['errors']
"

# Windows-1252 text in a sample comes out as UTF-8; gages, crew, weather.
run "$BIN" dump "$SAMPLES/channel_hydro.em"
expect_status 0 "dump channel_hydro.em"
check_json "dump channel_hydro.em content" "
s = d['survey']
w = s['Weather']
assert [x['Temperature'] for x in w] == ['68\u00b0F', '72\u00b0F'], w
assert w[0]['TimeStamp'] == '2011-03-16T00:00:00' and w[1]['TimeStamp'] == '2011-03-17T00:00:00'
g = s['Gages']
assert [x['MeasurementDate'] for x in g] == ['2011-03-16T09:30:00', '2011-03-16T13:30:00', '2011-03-17T08:45:00'], g
assert g[0]['Name'] == 'AMITE PV' and g[0]['Code'] == 'STAFF' and g[0]['Benchmark'] == 'AMITE TIDAL 2'
xs = s['CrossSections']
assert len(xs) == 5 and xs[2]['Gage'] == 'AMITE PV' and xs[2]['WaterSurfaceElevation'] == 2.47
assert [c['Assignment'] for c in s['CrewMembers']] == ['Party Chief', 'Instrument Man', 'Rodman', 'Other']
assert [e['Instrument'] for e in s['Equipment']] == ['ECHO SOUNDER', 'RTK GPS RECEIVER', 'SURVEY VESSEL']
assert s['VerticalControls'][0]['NationalTidalDatumEpoch'] == '1983-2001'
"

# Traverse files dump as traverses.
run "$BIN" dump "$SAMPLES/control.83"
expect_status 0 "dump control.83"
check_json "dump control.83 content" "
assert list(d) == ['file', 'kind', 'traverse', 'errors'] and d['kind'] == 'traverse'
t = d['traverse']
assert t['HorizontalDatum'] == 'NAD83' and t['Projection'] == '1702' and t['Units'] == 'Feet'
assert t['TraverseDate'] == '2011-03-10T00:00:00'
pts = t['TraversePoints']
assert len(pts) == 12 and pts[0]['TraversePointId'] == 1 and pts[11]['TraversePointId'] == 12
assert pts[0]['AltName'] == 'CP-1 5/8 IN IRON ROD W/ CAP'
assert pts[1]['StationName'] == '3+58.38' and pts[1]['Station'] == 358.38
assert 30.39 < pts[0]['Latitude'] < 30.41 and 90.97 < pts[0]['Longitude'] < 91.0
assert d['errors'] == [], d['errors']
"

# The fixed-column and PRO samples.
run "$BIN" dump "$SAMPLES/old_route.830"
expect_status 0 "dump old_route.830"
check_json "dump old_route.830 content" "
s = d['survey']
assert s['HorizontalDatum'] == 'NAD83' and s['Units'] == 'FEET' and s['Projection'] == '1702'
xs = s['CrossSections']
assert len(xs) == 6 and [len(x['Points']) for x in xs] == [13, 13, 13, 12, 13, 13], [len(x['Points']) for x in xs]
assert xs[0]['Station'] == 250 and xs[0]['AltName'] == 'XS 2+50'
assert abs(xs[0]['GeodeticAzimuth'] - 345.175) < 0.001, xs[0]['GeodeticAzimuth']
assert xs[0]['Points'][0]['Id'] == 0 and xs[1]['Points'][0]['Id'] == 13
"
run "$BIN" dump "$SAMPLES/centerline.pro"
expect_status 0 "dump centerline.pro"
check_json "dump centerline.pro content" "
p = d['survey']['ProfileCenterlines']
assert len(p) == 1 and len(p[0]['Points']) == 21 and p[0]['Points'][20]['Station'] == 4000
"

# Refusals: exit 2, nothing on stdout, a message naming the path.
run "$BIN" dump "$WORK/missing.em"
expect_status 2 "dump of a missing file"
[ -s "$WORK/out" ] && fail "dump of a missing file printed to stdout"
grep -qF "$WORK/missing.em" "$WORK/err" || fail "dump of a missing file: message does not name it"
run "$BIN" dump "$SAMPLES"
expect_status 2 "dump of a folder"
echo "x" >"$WORK/notes.txt"
run "$BIN" dump "$WORK/notes.txt"
expect_status 2 "dump of an unknown file type"
run "$BIN" dump
expect_status 2 "dump without a file"
run "$BIN" dump "$SAMPLES/levee.em" "$SAMPLES/profile.em"
expect_status 2 "dump of two files"

finish
