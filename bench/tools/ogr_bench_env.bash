# Sourced by the OGR benchmarks (bench/*.sh BUILD_DIR): sets ROOT, BUILD (the
# build folder given as the first argument, default build/, a Release tree)
# and BIN, and builds the plugin there when it is missing.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" 2>/dev/null && pwd) ||
  { echo "$(basename "$0" .sh): no build folder ${1:-$ROOT/build}" >&2; exit 2; }
BIN="$BUILD/bin"
if [ ! -f "$BIN/ogr_Veldrane.so" ]; then
  echo "== building the plugin in $BUILD"
  cmake --build "$BUILD" --target ogr_Veldrane -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
fi
