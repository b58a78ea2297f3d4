#!/usr/bin/env bash
# `veldrane check -j N` prints exactly what a one-thread run prints (stdout,
# stderr, exit status), text and --json, over the samples and a folder of
# generated, broken and unreadable files.
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
BIN="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the veldrane binary}/veldrane"

mixed="$WORK/mixed"
mkdir -p "$mixed/folder.em"
for n in $(seq 1 40); do  # surveys of varied size, some with errors
  i=$(printf %02d "$n")
  { printf '#H00 EM09\r\n#H05 JOB-%s\r\n#X01 0 0 100 0 %s+00 XS %s\r\n' "$i" "$i" "$i"
    for p in $(seq 1 $((n * 37 % 300))); do printf '%s,%s,%s,1.5,GND\r\n' "$p" "$p" "$i"; done
    [ $((n % 3)) = 0 ] && printf 'x,y,z\r\n'; } >"$mixed/s$i.em"
done
cp "$SAMPLES"/*.em "$SAMPLES"/*.83 "$SAMPLES"/*.bl "$SAMPLES/CODES.DAT" "$mixed/"
python3 -c "import random, sys; r = random.Random(7); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(3000)))" >"$mixed/garbage.em"
: >"$mixed/empty.em"
mkfifo "$mixed/pipe.em"
ln -s "$WORK/nowhere.em" "$mixed/dangling.em"

# Each case: the arguments after `check`, one run with -j 1 against -j 4 and the default.
cases=(
  "$SAMPLES"
  "$mixed"
  "--json $mixed"
  "$mixed/s07.em $WORK/missing.em $SAMPLES $mixed/pipe.em $SAMPLES/levee.em"
  "--json $SAMPLES/field_mistakes.em $WORK/missing.em"
)
for args in "${cases[@]}"; do
  # shellcheck disable=SC2086  # the case's words are separate arguments
  "$BIN" check -j 1 $args >"$WORK/one.out" 2>"$WORK/one.err"
  one=$?
  for jobs in "-j 4" ""; do
    # shellcheck disable=SC2086
    "$BIN" check $jobs $args >"$WORK/many.out" 2>"$WORK/many.err"
    many=$?
    [ "$one" = "$many" ] || fail "check ${jobs:-(default)} $args: exit status $many, -j 1 gave $one"
    cmp -s "$WORK/one.out" "$WORK/many.out" || fail "check ${jobs:-(default)} $args: stdout differs from -j 1"
    cmp -s "$WORK/one.err" "$WORK/many.err" || fail "check ${jobs:-(default)} $args: stderr differs from -j 1"
  done
done
grep -q "files checked" "$WORK/one.out" && fail "the last case is --json, yet printed a summary"
run "$BIN" check -j 1 "$mixed"
expect_line "49 files checked: 22 errors, 1 warning, 2 paths could not be read" "summary of the mixed folder"
run "$BIN" check -j 0 "$SAMPLES"
expect_status 2 "check -j 0"

finish
