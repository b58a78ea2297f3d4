#!/usr/bin/env bash
# Prepares a Debian machine for Veldrane: installs the packages the build and
# the tests need (only those missing), then configures and builds a Release
# tree in build/. Safe to run again; prints nothing unless something fails.
#
#   bash scripts/setup.sh                  packages + Release build in build/
#   bash scripts/setup.sh --packages-only  packages only
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

PACKAGES=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  libgdal-dev gdal-bin python3-gdal libproj-dev proj-bin libpugixml-dev
  qt6-base-dev libxml2-utils xvfb xauth
  clang libclang-rt-14-dev
)

packages_only=0
for arg in "$@"; do
  case "$arg" in
    --packages-only) packages_only=1 ;;
    -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
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
  run_quietly cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
  run_quietly cmake --build build -j"$jobs"
}

install_missing_packages
[ "$packages_only" -eq 1 ] || build_release
