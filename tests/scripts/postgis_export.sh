#!/usr/bin/env bash
# The sample folder published into a PostgreSQL + PostGIS server of the
# test's own (a temporary cluster on a free loopback port): `veldrane export
# -f PostgreSQL` with and without --overwrite, and GDAL's own ogr2ogr.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ogr_env.bash"
require_tools ogrinfo ogr2ogr psql

PG_BIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$PG_BIN" ] || [ ! -x "$PG_BIN/initdb" ]; then
  echo "postgis_export: skipped: no PostgreSQL server binaries (postgresql)"
  exit 77
fi
# The server refuses to run as root: it runs as the packages' postgres user.
as_server_user=()
[ "$(id -u)" -ne 0 ] || as_server_user=(runuser -u postgres --)
# The sanitizer runtimes the plugin needs are not for the server.
server() { env -u LD_PRELOAD "${as_server_user[@]}" "$@"; }

CLUSTER=$(mktemp -d)
[ "$(id -u)" -ne 0 ] || chown postgres: "$CLUSTER"
trap 'server "$PG_BIN/pg_ctl" -D "$CLUSTER/data" -m immediate stop >/dev/null 2>&1; rm -rf "$WORK" "$CLUSTER"' EXIT
PORT=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server "$PG_BIN/initdb" -D "$CLUSTER/data" -A trust -U postgres >"$CLUSTER/initdb.log" 2>&1 &&
  server "$PG_BIN/pg_ctl" -D "$CLUSTER/data" -l "$CLUSTER/server.log" -w -o \
    "-p $PORT -k $CLUSTER -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null 2>&1 || {
  fail "PostgreSQL did not start: $(tail -n 5 "$CLUSTER/initdb.log" "$CLUSTER/server.log" 2>/dev/null)"
  finish
}
CONNECTION="host=127.0.0.1 port=$PORT user=postgres"
sql() { env -u LD_PRELOAD psql "$CONNECTION dbname=${DB:-postgres}" -XAtq -v ON_ERROR_STOP=1 -c "$1" 2>&1; }
sql "CREATE EXTENSION postgis" >/dev/null || { fail "no PostGIS extension (postgresql-15-postgis-3)"; finish; }
sql "CREATE DATABASE viaogr" >/dev/null && DB=viaogr sql "CREATE EXTENSION postgis" >/dev/null

# What the samples give: "table|rows|srid" per layer (PostgreSQL's table
# names are the layer names in lower case).
ogrinfo -ro -al -so "$SAMPLES/" 2>/dev/null | awk '
  /^Layer name: / { if (name != "") print name "|" count "|" srid; name = tolower(substr($0, 13)); srid = 0 }
  /^Feature Count: / { count = $3 }
  /^    ID\["EPSG",/ { split($0, parts, /[,\]]/); srid = parts[2] }
  END { print name "|" count "|" srid }' | sort >"$WORK/expected"
TABLES="SELECT f_table_name || '|' || (xpath('/row/c/text()', query_to_xml(format('SELECT count(*) AS c FROM %I',
  f_table_name), false, true, '')))[1]::text || '|' || Find_SRID('public', f_table_name::text, f_geometry_column::text)
  FROM geometry_columns ORDER BY 1"
tables_match() {  # WHAT [DB]
  DB=${2:-postgres} sql "$TABLES" | sort >"$WORK/tables"
  diff "$WORK/expected" "$WORK/tables" >"$WORK/tables_diff" || fail "$1: tables differ: $(head -c 600 "$WORK/tables_diff")"
}
[ "$(wc -l <"$WORK/expected")" -ge 20 ] || fail "ogrinfo listed too few sample layers: $(wc -l <"$WORK/expected")"

check_value() {  # WHAT SQL EXPECTED
  local got
  got=$(sql "$2")
  [ "$got" = "$3" ] || fail "$1: got '$got', expected '$3'"
}
export_samples() { run "$BIN_DIR/veldrane" export -q "$SAMPLES" -f PostgreSQL -o "PG:dbname=postgres $CONNECTION password=hidden" "$@"; }
# A failure at the last table (its name taken by a type) leaves no table behind.
sql 'CREATE TYPE "profile.em benchmarks" AS (id integer)' >/dev/null
export_samples
expect_status 2 "export failing part way"
check_value "tables left by the failed export" "SELECT count(*) FROM geometry_columns" "0"
sql 'DROP TYPE "profile.em benchmarks"' >/dev/null

export_samples
expect_status 0 "first export"
expect_text "$WORK/out" "to PG:dbname=postgres $CONNECTION password=*** (PostgreSQL)" "summary without the password"
tables_match "first export"

# Geometry types and values as the driver gives them; a benchmark stays 2D.
check_value "levee cross sections" \
  "SELECT DISTINCT GeometryType(shape) || ' ' || ST_CoordDim(shape) || ' ' || ST_SRID(shape) FROM \"levee.em crosssections\"" \
  "LINESTRING 4 6479"
check_value "traverse" "SELECT DISTINCT GeometryType(shape) || ' ' || ST_CoordDim(shape) FROM \"control.83 traverses\"" \
  "LINESTRINGM 3"
check_value "benchmark BM AMITE 3" \
  "SELECT documentedelevation || ' ' || ST_CoordDim(shape) FROM \"levee.em benchmarks\" WHERE name = 'BM AMITE 3'" "25.51 2"
check_value "first levee point" \
  "SELECT pointid || ' ' || code || ' ' || ST_X(shape) FROM \"levee.em crosssectionpoints\" ORDER BY ogc_fid LIMIT 1" \
  "101 GND 3391547.99"

# Again without --overwrite: refused before anything is written.
sql 'DELETE FROM "levee.em benchmarks"; CREATE TABLE other_work (id integer)' >/dev/null
export_samples
expect_status 2 "export over existing tables"
expect_text "$WORK/err" "use --overwrite to replace them" "refusal names the way out"
check_value "nothing written by the refused export" 'SELECT count(*) FROM "levee.em benchmarks"' "0"

# With --overwrite: the export's tables are replaced, other tables stay.
export_samples --overwrite
expect_status 0 "export with --overwrite"
sql 'DROP TABLE other_work' >/dev/null || fail "--overwrite removed a table that is not the export's"
tables_match "export with --overwrite"

# GDAL's own tool; the option keeps the dots of layer names in table names.
run ogr2ogr -f PostgreSQL "PG:dbname=viaogr $CONNECTION" "$SAMPLES/" -lco EXTRACT_SCHEMA_FROM_LAYER_NAME=NO
expect_status 0 "ogr2ogr -f PostgreSQL"
tables_match "ogr2ogr -f PostgreSQL" viaogr

echo "postgis_export: $(wc -l <"$WORK/expected") tables, $(awk -F'|' '{ n += $2 } END { print n }' "$WORK/expected") rows"
finish
