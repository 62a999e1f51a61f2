#!/usr/bin/env bash
# Fails on an include between source folders that ARCHITECTURE.md does not allow, and on an
# allowed list that has a cycle. The list is the "includes" block of ARCHITECTURE.md.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed=$(awk '/^```includes$/ {on = 1; next} /^```$/ {on = 0} on' ARCHITECTURE.md)
[ -n "$allowed" ] || { echo "ARCHITECTURE.md has no includes block" >&2; exit 1; }

# Every include of a src/ file naming a folder, as "file folder".
edge_files=$(grep -rHoE '^#include "(core|app)/[a-z_]+/' src/core src/app --include='*.cpp' --include='*.h' |
  sed -E 's#^(src/(core|app)/[a-z_]+/[^:]*):\#include "((core|app)/[a-z_]+)/#\1 \3#')

status=0
while read -r file target; do
  from=$(echo "$file" | sed -E 's#^src/((core|app)/[a-z_]+)/.*#\1#')
  [ "$from" = "$target" ] && continue
  # src/app/main.cpp sits in no folder and may include anything.
  [[ "$from" == src/* ]] && continue
  [[ "$from" == app/* && "$target" == core/* ]] && continue
  line=$(echo "$allowed" | awk -v f="$from:" '$1 == f')
  if [ -z "$line" ]; then
    echo "$file: folder $from is not in ARCHITECTURE.md" >&2
    status=1
  elif ! echo "$line" | tr ' ' '\n' | grep -qx "$target"; then
    echo "$file: $from may not include $target (ARCHITECTURE.md)" >&2
    status=1
  fi
done <<< "$edge_files"

# The allowed list itself must have no cycle: tsort reports one.
pairs=$(echo "$allowed" | awk '{from = $1; sub(/:$/, "", from); print from, from; for (i = 2; i <= NF; i++) print $i, from}')
if ! loop=$(echo "$pairs" | tsort 2>&1 > /dev/null); then
  echo "ARCHITECTURE.md's includes have a cycle: $loop" >&2
  status=1
fi
[ $status -eq 0 ] && echo "Includes follow ARCHITECTURE.md"
exit $status
