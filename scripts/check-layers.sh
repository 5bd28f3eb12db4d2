#!/usr/bin/env bash
# Fails when a file under src/<folder>/ includes a header of a folder its library does not link.
# Usage: check-layers.sh SRC_DIR LAYER_MAP (the map is written at configure time, one line
# "folder allowed..." for each folder library).
set -euo pipefail
src=${1:?source directory}
map=${2:?layer map}
status=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  line=$(grep -E "^$folder( |$)" "$map" || true)
  if [ -z "$line" ]; then
    echo "layers: src/$folder has no library of its own (tsn_folder_library)"
    status=1
    continue
  fi
  read -r -a allowed <<<"$line"
  # Every quoted include that names a folder, or climbs out of this one.
  while IFS=: read -r file number text; do
    [[ $text =~ \"([^\"]*)\" ]]
    target=${BASH_REMATCH[1]}
    included=${target%%/*}
    ok=0
    if [[ $target != */* ]]; then
      ok=1
    elif [[ $included != ".." ]]; then
      for name in "${allowed[@]}"; do
        [ "$name" = "$included" ] && ok=1
      done
    fi
    if [ $ok = 0 ]; then
      echo "layers: ${file#"$src"/}:$number includes \"$target\", which tsn_$folder does not link"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir" || true)
done
[ $status = 0 ] && echo "layers: every include of src/ stays within its library's links"
exit $status
