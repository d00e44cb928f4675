#!/usr/bin/env bash
# Updates scratch copies of the .ts files as a translator would: each must come out as committed
# (no text of the code missing, none gone) and finished.   LUPDATE SCRATCH TS... -- ARGUMENTS...
set -euo pipefail
lupdate=$1 scratch=$2 ts=()
for ((i = 3; i <= $#; i++)); do [ "${!i}" = -- ] && break; ts+=("${!i}"); done
rm -rf "$scratch" && mkdir -p "$scratch" && cp "${ts[@]}" "$scratch"
"$lupdate" -silent "${@:i+1}" -ts "$scratch"/*.ts
for file in "${ts[@]}"; do
  cmp "$file" "$scratch/${file##*/}" || { echo "$file is not current: build update_translations"; exit 1; }
done
! grep -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>' "${ts[@]}"
