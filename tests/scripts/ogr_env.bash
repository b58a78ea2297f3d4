# Sourced by the ogr_*.sh tests: points the real GDAL tools (ogrinfo,
# ogr2ogr, python3 osgeo.ogr) at the built "Veldrane" plugin, and gives the
# tests their small helpers. Not a test of its own (not named *.sh).

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
BIN_DIR="${VELDRANE_BIN:?VELDRANE_BIN must name the folder of the built binaries and plugin}"
PLUGIN="$BIN_DIR/ogr_Veldrane.so"

# An absolute folder: the plugin finds its configuration tables beside itself.
export GDAL_DRIVER_PATH
GDAL_DRIVER_PATH=$(cd "$BIN_DIR" && pwd)
# The plugin is the only Veldrane driver the tools know; no other plugin
# folder is searched.
unset OGR_SKIP GDAL_SKIP

# A plugin built with the sanitizers needs their runtimes loaded before
# anything else in tools that were not built with them.
if [ -f "$PLUGIN" ]; then
  preload=$(ldd "$PLUGIN" 2>/dev/null | awk '/lib(asan|ubsan)\.so/ {print $3}' | tr '\n' ' ')
  if [ -n "$preload" ]; then
    export LD_PRELOAD="$preload${LD_PRELOAD:+ $LD_PRELOAD}"
    # The tools and the Python interpreter keep memory until exit.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:verify_asan_link_order=0"
  fi
fi

# The first python3 that has GDAL's bindings.
PYTHON=""
for candidate in /usr/bin/python3 python3; do
  if "$candidate" -c 'from osgeo import ogr' >/dev/null 2>&1; then
    PYTHON=$candidate
    break
  fi
done

require_tools() {
  [ -f "$PLUGIN" ] || { fail "no plugin at $PLUGIN"; finish; }
  [ -d "$SAMPLES" ] || { fail "no sample folder at $SAMPLES"; finish; }
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { fail "$tool is not installed (gdal-bin)"; finish; }
  done
}
