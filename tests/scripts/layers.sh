#!/usr/bin/env bash
# Includes only point down the layers: model <- config <- geometry, host <-
# readers <- plugin <- gdal <- cli, ui. A folder may include its own headers
# and those of the layers below; geometry and host do not include each other,
# nor do cli and ui. Fails naming every include that points up or sideways.
set -uo pipefail
cd "${VELDRANE_SOURCE_DIR:-$(dirname "${BASH_SOURCE[0]}")/../..}" || exit 1

declare -A rank=([model]=0 [config]=1 [geometry]=2 [host]=2 [readers]=3 [plugin]=4 [gdal]=5 [cli]=6 [ui]=6)
bad=0
for folder in "${!rank[@]}"; do
  while IFS=: read -r file line target; do
    to=${target%%/*}
    [ -n "${rank[$to]+x}" ] || continue
    if [ "$to" != "$folder" ] && [ "${rank[$to]}" -ge "${rank[$folder]}" ]; then
      echo "FAIL: $file:$line includes $target (layer $to is not below $folder)" >&2
      bad=1
    fi
  done < <(grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/[^"]+"' "$folder" |
           sed -E 's/^([^:]+):([0-9]+):.*"([^"]+)".*/\1:\2:\3/')
done
[ "$bad" -eq 0 ] && echo "layers: every include points down"
exit "$bad"
