#!/usr/bin/env bash
# Regenerates the coordinate system table config/COORDSYS.csv and the
# projection files coordsys/<CSID>.prj from the PROJ database.
#
# Each CSID is an EPSG code. Its projection file is the Esri WKT that PROJ
# writes for the code; its bounding box is the code's area of use (a
# longitude/latitude rectangle) projected into the system's own coordinates:
# the rectangle's edges are sampled densely, each sample is projected from
# the system's own geographic CRS (so no datum shift is involved), and the
# extremes are rounded outwards to whole units.
#
# Needs projinfo and cs2cs (Debian package proj-bin). Run from anywhere:
#   scripts/make_coordsys.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
table="$root/config/COORDSYS.csv"
prjdir="$root/coordsys"

for tool in projinfo cs2cs awk; do
  command -v "$tool" >/dev/null || { echo "make_coordsys: $tool is missing (apt-get install proj-bin)" >&2; exit 1; }
done

# Datum/epoch spellings that name each realisation, as the value domains
# translate them (HORIZONTAL_DATUM and HORIZONTAL_EPOCH in DOMAINS.csv).
declare -A keys=(
  [NAD83]="NAD83/ NAD83/1986"
  [HARN]="NAD83/HARN NAD83(HARN)/ NAD83(HARN)/HARN"
  [NSRS2007]="NAD83/2007 NAD83(2007)/ NAD83(2007)/2007"
  [NAD83_2011]="NAD83/2011 NAD83(2011)/ NAD83(2011)/2011"
  [NAD27]="NAD27/"
  [WGS84]="WGS84/"
)

# realisation  zone  units  EPSG code
systems="
NAD83      1701   FEET   3451
NAD83      1701   METERS 26981
NAD83      1702   FEET   3452
NAD83      1702   METERS 26982
NAD83      1703   FEET   3453
NAD83      1703   METERS 32199
NAD83      UTM15N METERS 26915
NAD83      UTM16N METERS 26916
HARN       1701   FEET   3456
HARN       1701   METERS 2800
HARN       1702   FEET   3457
HARN       1702   METERS 2801
HARN       UTM15N METERS 3745
HARN       UTM16N METERS 3746
NSRS2007   1701   FEET   3551
NSRS2007   1701   METERS 3550
NSRS2007   1702   FEET   3553
NSRS2007   1702   METERS 3552
NSRS2007   UTM15N METERS 3722
NSRS2007   UTM16N METERS 3723
NAD83_2011 1701   FEET   6477
NAD83_2011 1701   METERS 6476
NAD83_2011 1702   FEET   6479
NAD83_2011 1702   METERS 6478
NAD83_2011 UTM15N METERS 6344
NAD83_2011 UTM16N METERS 6345
NAD27      1701   FEET   26781
NAD27      1702   FEET   26782
NAD27      1703   FEET   32099
NAD27      UTM15N METERS 26715
NAD27      UTM16N METERS 26716
WGS84      UTM15N METERS 32615
WGS84      UTM16N METERS 32616
"

# Prints "minx miny maxx maxy" for an EPSG code.
bounding_box() {
  local code=$1 wkt geog area
  wkt=$(projinfo -o WKT2_2019 -q "EPSG:$code")
  # The first identifier in the WKT is that of the base geographic CRS.
  geog=$(grep -m1 -o 'ID\["EPSG",[0-9]*\]' <<<"$wkt" | grep -o '[0-9]*\]' | tr -d ']')
  # BBOX[south,west,north,east] of the area of use.
  area=$(grep -o 'BBOX\[[^]]*\]' <<<"$wkt" | tail -1 | tr -d 'BOX[]' | tr ',' ' ')
  [[ -n "$geog" && -n "$area" ]] || { echo "make_coordsys: no area of use for EPSG:$code" >&2; exit 1; }
  awk -v a="$area" 'BEGIN {
      split(a, b, " "); s = b[1]; w = b[2]; n = b[3]; e = b[4]; steps = 60
      for (i = 0; i <= steps; i++) {
        lat = s + (n - s) * i / steps; lon = w + (e - w) * i / steps
        print lat, w; print lat, e; print s, lon; print n, lon
      }
    }' |
    cs2cs -f %.6f "EPSG:$geog" "EPSG:$code" |
    awk 'function floor(v) { return v == int(v) ? v : (v < 0 ? int(v) - 1 : int(v)) }
         function ceil(v) { return v == int(v) ? v : (v < 0 ? int(v) : int(v) + 1) }
         $1 != "*" && $2 != "*" {
           if (!seen || $1 < minx) minx = $1; if (!seen || $1 > maxx) maxx = $1
           if (!seen || $2 < miny) miny = $2; if (!seen || $2 > maxy) maxy = $2
           seen = 1
         }
         END { if (!seen) exit 1; printf "%d %d %d %d\n", floor(minx), floor(miny), ceil(maxx), ceil(maxy) }'
}

mkdir -p "$prjdir"
tmp=$(mktemp "$table.XXXXXX")
trap 'rm -f "$tmp"' EXIT
echo "PROJECTION,HORIZONTAL_DATUM,HORIZONTAL_EPOCH,UNITS,MINX,MINY,MAXX,MAXY,CSID" >"$tmp"

while read -r realisation zone units code; do
  [[ -n "${realisation:-}" ]] || continue
  projinfo -o WKT1_ESRI --single-line -q "EPSG:$code" >"$prjdir/$code.prj.tmp"
  mv "$prjdir/$code.prj.tmp" "$prjdir/$code.prj"
  read -r minx miny maxx maxy < <(bounding_box "$code")
  for pair in ${keys[$realisation]}; do
    datum=${pair%%/*}
    epoch=${pair#*/}
    echo "$zone,$datum,$epoch,$units,$minx,$miny,$maxx,$maxy,$code" >>"$tmp"
  done
done <<<"$systems"

mv "$tmp" "$table"
trap - EXIT
echo "make_coordsys: wrote $(($(wc -l <"$table") - 1)) rows to $table and $(ls "$prjdir"/*.prj | wc -l) projection files"
