#!/usr/bin/env bash
# The tool on what a folder of survey files may also hold: FIFOs, files it
# may not read, symbolic link loops, over-long and odd names. Every command
# runs under `timeout`: a command that waits on a FIFO fails here instead of
# hanging the suite.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
VELDRANE="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"
unset GDAL_DRIVER_PATH
limited() { run timeout 60 "$VELDRANE" "$@"; }

# A FIFO named like a survey file, alone and among readable files.
D="$WORK/fifo"
mkdir -p "$D" && cp "$SAMPLES/levee.em" "$SAMPLES/levee.bl" "$D/" && mkfifo "$D/pipe.em"
for command in check dump metadata info; do
  limited "$command" "$D/pipe.em"
  expect_status 2 "$command of a FIFO"
  expect_text "$WORK/err" "$D/pipe.em: not a regular file" "$command names the FIFO"
done
limited check "$D"
expect_status 2 "check of a folder with a FIFO"
expect_line "2 files checked: 0 errors, 0 warnings, 1 path could not be read" "the folder's other files are checked"
for command in info "export -q -o $WORK/fifo.gpkg"; do
  limited $command "$D"
  expect_status 1 "$command of a folder with a FIFO"
  expect_text "$WORK/err" "left out $D/pipe.em: not a regular file" "$command names what it left out"
done
[ -s "$WORK/fifo.gpkg" ] || fail "the folder's other files were not exported"

# Links in a loop and names longer than the system allows: the real reason.
ln -s loop.em "$WORK/loop.em"
long="$WORK/$(printf 'x%.0s' {1..300}).em"
for path in "$WORK/loop.em:Too many levels of symbolic links" "$long:File name too long"; do
  limited check "${path%%:*}"
  expect_text "$WORK/err" "${path#*:}" "reason for ${path#*:}"
done

# A file the user may not read (tried as nobody: root reads everything).
as_user() { if [ "$(id -u)" -ne 0 ]; then "$@"; else setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; fi; }
P="$WORK/public"
mkdir -p "$P/set" "$P/out" && chmod 755 "$WORK" "$P" "$P/set" && chmod 777 "$P/out"
cp "$SAMPLES/levee.em" "$SAMPLES/levee.bl" "$P/set/" && cp "$SAMPLES/levee.em" "$P/set/locked.em" && chmod 000 "$P/set/locked.em"
if ! as_user test -x "$VELDRANE" || as_user test -r "$P/set/locked.em"; then
  echo "cli_odd_files: skipped the unreadable-file cases: cannot run the tool as a user who may not read a file"
else
  run as_user timeout 60 "$VELDRANE" export -q "$P/set/locked.em" -o "$P/out/one.gpkg"
  expect_status 2 "export of an unreadable file"
  expect_text "$WORK/err" "locked.em: Permission denied" "export says why"
  [ ! -e "$P/out/one.gpkg" ] || fail "an unreadable file was exported as an empty GeoPackage"
  for command in info "export -q -o $P/out/set.gpkg"; do
    run as_user timeout 60 "$VELDRANE" $command "$P/set"
    expect_status 1 "$command of a folder with an unreadable file"
    expect_text "$WORK/err" "left out $P/set/locked.em: Permission denied" "$command names the unreadable file"
  done
  [ -s "$P/out/set.gpkg" ] || fail "the readable files of the folder were not exported"
fi

# Odd names: one line per record, names as they are on disk; valid UTF-8
# layer names in a GeoPackage.
N="$WORK/names"
mkdir -p "$N" && cp "$SAMPLES/field_mistakes.em" "$N/new"$'\n'"line.em" && cp "$SAMPLES/levee.em" "$N/caf"$'\xe9'".em"
limited check "$N"
expect_status 1 "check of odd names"
if grep -vqE '(^.+:[0-9]+: (warning|error|fatal): |^2 files checked: )' "$WORK/out"; then
  fail "a record took more than one line: $(grep -vE '^.+:[0-9]+: ' "$WORK/out" | head -n 2)"
fi
expect_text "$WORK/out" "$N/new\\nline.em:3: error: Invalid File Format Version" "newline escaped"
limited info "$N"
expect_line 'caf\xE9.em' "Latin-1 byte shown as it is on disk"
limited export -q "$N" -o "$WORK/names.gpkg"
expect_status 0 "export of odd names"
python3 - "$WORK/names.gpkg" <<'PY' || fail "GeoPackage table names are not the UTF-8 names"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.text_factory = bytes
names = {row[0] for row in db.execute("SELECT table_name FROM gpkg_contents")}
names = {n.decode("utf-8") for n in names}
assert "café.em CrossSections" in names and "new\nline.em CrossSections" in names, names
PY

finish
