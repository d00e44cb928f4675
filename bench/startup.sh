#!/usr/bin/env bash
# Start-up time of the real binary: from exec until its window is mapped, then until the process
# has ended after a close. Runs under its own virtual X server.
#   bench/startup.sh [path-to-kestrova] [runs]
set -euo pipefail

binary="${1:-$(cd "$(dirname "$0")/.." && pwd)/build/default/app/kestrova}"
runs="${2:-20}"

if [ -z "${KESTROVA_STARTUP_INNER:-}" ]; then
  KESTROVA_STARTUP_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$binary" "$runs"
  exit $?
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

shown=()
for run in $(seq 1 "$runs"); do
  start=$(now_ms)
  "$binary" &
  pid=$!
  until xdotool search --all --onlyvisible --pid "$pid" --name '^Kestrova$' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "kestrova ended before showing its window" >&2; exit 1; }
    sleep 0.005
  done
  shown+=($(( $(now_ms) - start )))
  kill -TERM "$pid"
  wait "$pid" || true
done

sorted=($(printf '%s\n' "${shown[@]}" | sort -n))
echo "window shown after (ms), $runs runs: min ${sorted[0]}, median ${sorted[$(( runs / 2 ))]}, max ${sorted[$(( runs - 1 ))]}"
