#!/usr/bin/env bash
# run.sh BUILD-DIR SECONDS [SEED]: each libFuzzer target of a `fuzz` build for SECONDS on a
# scratch copy of its committed corpus. A crash prints the input in base64: commit it under
# corpus/<target>/ and the replay test keeps it. Without SEED libFuzzer picks one; a fixed one
# makes a run that gates a change repeat itself.
set -euo pipefail
build=$1 seconds=$2 seed=${3:-0}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for target in amount_fuzz settings_file_fuzz; do
  cp -r "$here/corpus/$target" "$scratch/$target"
  log=$scratch/$target.log
  if "$build/tests/fuzz/$target" -seed="$seed" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/$target-" \
    "$scratch/$target" >"$log" 2>&1; then
    echo "$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") runs in ${seconds} s," \
      "$(grep -o 'cov: [0-9]*' "$log" | tail -1), no crash"
  else
    status=1
    echo "$target: FAILED"; tail -40 "$log"
    for artifact in "$scratch/$target"-*; do [ -e "$artifact" ] && base64 "$artifact"; done
  fi
done
exit "$status"
