#!/usr/bin/env bash
# Builds GDAL's driver conformance program test_ogrsf (apps/test_ogrsf.cpp)
# from the Debian source package of the GDAL that is installed, against its
# libgdal-dev, and prints the path of the program. The result is kept in
# CACHE_DIR (test_ogrsf-<version>) and built again only for another version.
#
#   bash tests/tools/build_test_ogrsf.sh CACHE_DIR
#
# The source comes through apt ("apt-get source --download-only"). A machine
# whose apt has no deb-src entries (the default Debian image) gets them from
# a private apt configuration in CACHE_DIR that mirrors the system's "deb"
# entries as "deb-src": nothing of the system's apt setup changes. Needs
# network access the first time, tar, xz and a C++ compiler.
set -euo pipefail

cache=${1:?usage: build_test_ogrsf.sh CACHE_DIR}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

version=$(dpkg-query -W -f='${source:Version}' libgdal-dev 2>/dev/null) || {
  echo "build_test_ogrsf.sh: libgdal-dev is not installed" >&2
  exit 1
}
program="$cache/test_ogrsf-$version"
if [ -x "$program" ]; then
  echo "$program"
  exit 0
fi

log="$cache/build.log"
: >"$log"
fail() {
  echo "build_test_ogrsf.sh: $* (log: $log)" >&2
  tail -n 20 "$log" >&2
  exit 1
}

# apt with private lists and a sources list that has deb-src entries.
private_apt() {
  local etc="$cache/apt/etc" state="$cache/apt/lists"
  mkdir -p "$etc/sources.list.d" "$state/partial" "$cache/apt/archives/partial"
  rm -f "$etc/sources.list.d/"*
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    sed -E 's/^Types:.*$/Types: deb-src/' "$file" >"$etc/sources.list.d/$(basename "$file")"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -nE 's/^deb (.*)$/deb-src \1/p' "$file" >"$etc/sources.list.d/$(basename "$file" .list)-src.list"
  done
  # The system's update hooks (PackageKit, AppStream refreshes) have nothing
  # to do with a private source index, and one of them can hang for minutes.
  printf '#clear APT::Update::Pre-Invoke;\n#clear APT::Update::Post-Invoke;\n#clear APT::Update::Post-Invoke-Success;\n' \
    >"$cache/apt/no-hooks.conf"
  apt-get -c "$cache/apt/no-hooks.conf" -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$etc/sources.list.d" \
    -o Dir::State::Lists="$state" -o Dir::Cache="$cache/apt" -o Debug::NoLocking=1 "$@"
}

download() {
  local source="$cache/source"
  rm -rf "$source" && mkdir -p "$source"
  # The system's own deb-src entries first; then the private ones.
  if (cd "$source" && apt-get source --download-only "gdal=$version") >>"$log" 2>&1; then return 0; fi
  private_apt update >>"$log" 2>&1 || fail "apt-get update of the source index failed"
  (cd "$source" && private_apt source --download-only "gdal=$version") >>"$log" 2>&1 ||
    fail "apt-get source gdal=$version failed"
}

extract() {
  local source="$cache/source" tree="$cache/source/tree"
  local wanted=(apps/test_ogrsf.cpp apps/commonutils.cpp apps/commonutils.h)
  mkdir -p "$tree"
  local orig
  orig=$(ls "$source"/gdal_*.orig.tar.* | head -n 1)
  tar -xf "$orig" -C "$tree" --strip-components=1 --wildcards "${wanted[@]/#/*/}" >>"$log" 2>&1 ||
    fail "the source package holds no ${wanted[*]}"
  # Debian's own changes to those files, when it has any.
  local debian
  debian=$(ls "$source"/gdal_*.debian.tar.* 2>/dev/null | head -n 1 || true)
  [ -n "$debian" ] || return 0
  tar -xf "$debian" -C "$source" >>"$log" 2>&1
  local patch
  while read -r patch; do
    [ -n "$patch" ] && [ "${patch#\#}" = "$patch" ] || continue
    if grep -qE '^\+\+\+ b/apps/(test_ogrsf|commonutils)\.' "$source/debian/patches/$patch"; then
      patch -d "$tree" -p1 <"$source/debian/patches/$patch" >>"$log" 2>&1 || fail "Debian patch $patch does not apply"
    fi
  done <"$source/debian/patches/series"
}

compile() {
  local tree="$cache/source/tree"
  # shellcheck disable=SC2046
  ${CXX:-c++} -O1 -std=c++17 -w -I"$tree/apps" $(gdal-config --cflags) \
    "$tree/apps/test_ogrsf.cpp" "$tree/apps/commonutils.cpp" -o "$program.tmp" $(gdal-config --libs) >>"$log" 2>&1 ||
    fail "test_ogrsf does not compile"
  mv "$program.tmp" "$program"
}

download
extract
compile
# Only the program is kept: the sources and apt's lists come again for
# another GDAL version.
rm -rf "$cache/source" "$cache/apt"
echo "$program"
