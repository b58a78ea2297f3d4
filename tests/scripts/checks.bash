# Sourced by the scripted tests: the source tree and its samples, a scratch
# folder removed on exit, and the checks every script makes. Not a test of
# its own (not named *.sh).

SRC="${VELDRANE_SOURCE_DIR:?VELDRANE_SOURCE_DIR must name the source tree}"
SAMPLES="$SRC/samples"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# run COMMAND ARGS...: keeps stdout, stderr and the exit status.
run() {
  "$@" >"$WORK/out" 2>"$WORK/err"
  status=$?
}
expect_status() {
  [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1 (stderr: $(head -c 400 "$WORK/err"))"
}
expect_line() {  # the exact line must be in stdout
  grep -qxF -- "$1" "$WORK/out" || fail "$2: missing line: $1"
}
expect_text() {  # FILE TEXT WHAT
  grep -qF -- "$2" "$1" || fail "$3: missing text: $2"
}
# The verdict, named after the script; exits 1 on any failure.
finish() {
  local name
  name=$(basename "$0" .sh)
  if [ "$failures" -gt 0 ]; then
    echo "$name: $failures failure(s)" >&2
    exit 1
  fi
  echo "$name: all passed"
}
