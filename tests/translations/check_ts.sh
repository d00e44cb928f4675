#!/usr/bin/env bash
# Updates scratch copies of the .ts files as a translator would: each must come out as committed
# (no text of the code missing, none gone) and finished.   LUPDATE SCRATCH TS_DIR LUPDATE_ARGS...
set -euo pipefail
lupdate=$1 scratch=$2 committed=$3
rm -rf "$scratch" && mkdir -p "$scratch" && cp "$committed"/*.ts "$scratch"
"$lupdate" -silent "${@:4}" -ts "$scratch"/*.ts
for file in "$committed"/*.ts; do
  cmp "$file" "$scratch/${file##*/}" || { echo "$file is not current: build update_translations"; exit 1; }
done
! grep -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>' "$committed"/*.ts
