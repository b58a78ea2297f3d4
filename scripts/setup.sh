#!/usr/bin/env bash
# Prepares a Debian machine for Veldrane: installs the packages the build
# needs (only those missing), then configures and builds a Release tree in
# build/ (without the test suite). With --tests it also installs what only
# the tests use. Safe to run again; prints nothing unless something fails.
#
#   bash scripts/setup.sh                  packages + Release build in build/
#   bash scripts/setup.sh --tests          also the test packages (scripts/test.sh uses it)
#   bash scripts/setup.sh --packages-only  packages only
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

# The build: compilers, GDAL/PROJ, the parsers, Qt for the desktop catalog.
PACKAGES=(
  build-essential cmake pkg-config
  libcli11-dev nlohmann-json3-dev libpugixml-dev
  libgdal-dev libproj-dev
  qt6-base-dev
)
# Only the tests and their tools: unit tests and benchmarks, GDAL's command
# line and Python tools, QGIS as a client, a PostgreSQL/PostGIS server,
# clang's fuzzing runtime, XML checks, a virtual display, the GDAL source
# package's unpacking (test_ogrsf) and the projection tools of
# scripts/make_coordsys.sh.
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  gdal-bin python3-gdal proj-bin
  python3-qgis qgis-providers
  postgresql postgresql-15-postgis-3
  clang libclang-rt-14-dev
  libxml2-utils xvfb xauth xz-utils
)

packages_only=0
for arg in "$@"; do
  case "$arg" in
    --packages-only) packages_only=1 ;;
    --tests) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

run_quietly() {
  # Runs a command with its output kept in a log that is shown only on failure.
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    echo "setup.sh: failed: $*" >&2
    tail -n 60 "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

install_missing_packages() {
  local missing=() pkg
  for pkg in "${PACKAGES[@]}"; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { echo "setup.sh: run as root or install sudo (missing: ${missing[*]})" >&2; return 1; }
    sudo=(sudo)
  fi
  echo "setup.sh: installing ${missing[*]}"
  run_quietly "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  run_quietly "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

build_release() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  run_quietly cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVELDRANE_BUILD_TESTS=OFF
  run_quietly cmake --build build -j"$jobs"
}

install_missing_packages
[ "$packages_only" -eq 1 ] || build_release
