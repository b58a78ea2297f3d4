#!/usr/bin/env bash
# End-to-end tests of `veldrane check` on the sample folder and on bad input.
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
BIN="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"

# A clean survey: nothing to report, exit 0.
run "$BIN" check "$SAMPLES/levee.em"
expect_status 0 "clean levee survey"
expect_line "1 file checked: 0 errors, 0 warnings" "clean levee survey summary"
[ "$(wc -l <"$WORK/out")" -eq 1 ] || fail "clean levee survey printed more than its summary: $(cat "$WORK/out")"

# The field file with typical mistakes: every mistake named at its line, exit 1.
F="$SAMPLES/field_mistakes.em"
run "$BIN" check "$F"
expect_status 1 "field mistakes"
expect_line "$F:3: error: Invalid File Format Version : EM08" "invalid version"
expect_line "$F:5: error: Invalid #H02 Record: Invalid Date Value : 3/32/2011" "bad date"
expect_line "$F:21: warning: Duplicate #V02 record ignored for BM AMITE 3" "duplicate benchmark record"
expect_line "$F:26: error: No previously defined #G02 record for gage record" "gage record without #G02"
expect_line "$F:32: error: Range Name (#X02) specified out of order. #X02 records must be recorded after #X01 records." "misplaced #X02"
expect_line "$F:33: error: Invalid #X01 data record. #X01 records must contain a StartX, StartY, StopX, StopY, Station, and Name separated by spaces." "short #X01"
expect_line "$F:44: error: Non-Numeric Elevation Value in Coordinate:3006,691795.905,3394444.682,1O.62,TOE" "non-numeric elevation"
expect_line "$F:49: error: Prior Cross-section must have at least two points." "one-point cross section"
grep -qE '^1 file checked: [0-9]+ errors, 1 warning$' "$WORK/out" || fail "field mistakes summary: $(tail -n 1 "$WORK/out")"
# Records come in queue order: line numbers never go back before the end steps.
python3 - "$WORK/out" <<'PY' || fail "field mistakes records out of file order"
import re, sys
lines = [int(m.group(1)) for m in (re.search(r'\.em:(\d+): ', l) for l in open(sys.argv[1])) if m]
sys.exit(0 if lines == sorted(lines) and len(lines) >= 8 else 1)
PY

# A folder: its survey files only, sorted by name, not recursive.
mkdir -p "$WORK/folder/sub"
cp "$SAMPLES/levee.em" "$WORK/folder/b.em"
cp "$SAMPLES/field_mistakes.em" "$WORK/folder/a.EM"
cp "$SAMPLES/levee.bl" "$WORK/folder/levee.bl"
cp "$SAMPLES/levee.em" "$WORK/folder/sub/c.em"
echo "not a survey" >"$WORK/folder/notes.txt"
run "$BIN" check "$WORK/folder"
expect_status 1 "folder"
expect_line "3 files checked: 8 errors, 1 warning" "folder summary"
first=$(grep -m1 -oE '^[^:]+' "$WORK/out")
[ "$first" = "$WORK/folder/a.EM" ] || fail "folder files not read in name order (first record from $first)"
grep -qF "sub/c.em" "$WORK/out" "$WORK/err" && fail "folder was read recursively"
grep -qF "notes.txt" "$WORK/out" "$WORK/err" && fail "folder listing took a file that is not a survey"

# The whole sample folder reads: nothing unreadable, errors only from the field file.
run "$BIN" check "$SAMPLES"
expect_status 1 "sample folder"
[ -s "$WORK/err" ] && fail "sample folder: unexpected messages: $(head -c 500 "$WORK/err")"
others=$(grep -E ': (error|fatal): ' "$WORK/out" | grep -vF "field_mistakes.em:" | head -n 5)
[ -z "$others" ] || fail "sample folder: errors outside field_mistakes.em: $others"
grep -qE '^9 files checked: ' "$WORK/out" || fail "sample folder summary: $(tail -n 1 "$WORK/out")"

# --json: one valid JSON array of records with the four keys, same counts.
run "$BIN" check --json "$F"
expect_status 1 "json"
python3 -m json.tool "$WORK/out" >/dev/null 2>&1 || fail "--json output is not valid JSON"
python3 - "$WORK/out" <<'PY' || fail "--json records malformed"
import json, sys
records = json.load(open(sys.argv[1], encoding="utf-8"))
assert isinstance(records, list) and len(records) >= 8, records
for r in records:
    assert list(r) == ["Filename", "LineNumber", "Description", "severity"], r
    assert isinstance(r["LineNumber"], int) and isinstance(r["severity"], int)
assert {"LineNumber": 3, "Description": "Invalid File Format Version : EM08", "severity": 1}.items() <= records[0].items()
assert sum(r["severity"] == 0 for r in records) == 1
PY

# A missing file: exit 2 with a message naming it; the other paths are still checked.
run "$BIN" check "$WORK/missing.em" "$SAMPLES/levee.em"
expect_status 2 "missing file"
expect_text "$WORK/err" "$WORK/missing.em" "missing file message"
expect_line "1 file checked: 0 errors, 0 warnings, 1 path could not be read" "missing file summary"

# A file of an unknown type named explicitly: the factory's message, exit 2.
run "$BIN" check "$WORK/folder/notes.txt"
expect_status 2 "unknown extension"
expect_text "$WORK/err" "unrecognized survey/traverse extension" "unknown extension message"

# Wrong command lines: exit 2 with a message.
run "$BIN" check
expect_status 2 "check without a path"
[ -s "$WORK/err" ] || fail "check without a path printed no message"
run "$BIN" check --no-such-option "$SAMPLES/levee.em"
expect_status 2 "unknown option"
run "$BIN" no-such-command
expect_status 2 "unknown subcommand"
run "$BIN"
expect_status 2 "no subcommand"

# Help is useful and exits 0.
run "$BIN" --help
expect_status 0 "--help"
expect_text "$WORK/out" "check" "--help lists check"
expect_text "$WORK/out" "dump" "--help lists dump"
run "$BIN" check --help
expect_status 0 "check --help"
expect_text "$WORK/out" "--json" "check --help names --json"

finish
