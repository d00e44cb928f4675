#!/usr/bin/env bash
# One end-to-end scenario of the real binary: e2e.sh SCENARIO PATH-TO-KESTROVA
set -euo pipefail

scenario="$1"
binary="$2"

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=xcb
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
store="$XDG_CONFIG_HOME/Quillmere/Kestrova.reg"

fail() { echo "FAIL [$scenario]: $*" >&2; exit 1; }

# Starts a copy; its PID lands in $started.
start() {
  "$binary" >"$work/out.$#.log" 2>&1 &
  started=$!
  pids+=("$started")
}

# The id of the one visible main window of the copy with PID $1.
main_window() {
  local pid="$1" i id
  for i in $(seq 1 100); do
    for id in $(xdotool search --all --onlyvisible --pid "$pid" --name '^Kestrova$' 2>/dev/null); do
      echo "$id"
      return 0
    done
    kill -0 "$pid" 2>/dev/null || fail "copy $pid ended before showing its window"
    sleep 0.1
  done
  fail "no window from copy $pid"
}

wait_exit() {
  local pid="$1" i
  for i in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  fail "copy $pid did not end"
}

value() {  # value NAME -> the stored text, unescaped enough for our plain values
  sed -n "s/^\"$1\"=\"\(.*\)\"\r\{0,1\}$/\1/p" "$store"
}

expect_value() {
  local got
  got="$(value "$1")"
  [ "$got" = "$2" ] || fail "\"$1\" is '$got', expected '$2'"
}

# The colour of one pixel of window $1 at ($2,$3) as "r,g,b".
pixel() {
  import -window "$1" "$work/shot.png"
  convert "$work/shot.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

type_keys() {  # type_keys WINDOW KEYS...
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.3  # let the toolkit take the focus in before the keys arrive
  shift
  xdotool key --delay 30 "$@"
  sleep 0.3
}

case "$scenario" in
  first_run_saves_and_restores)
    start; pid=$started; win=$(main_window "$pid")
    [ -d "$XDG_CONFIG_HOME/Quillmere" ] || fail "settings folder not created at start"
    if [ -f "$store" ] && grep -q '"Euro"' "$store"; then fail "values written before the close"; fi
    # First run: the euro box wears its designed light blue.
    [ "$(pixel "$win" 100 30)" = "192,192,255" ] || fail "euro box is $(pixel "$win" 100 30) on a first run"
    type_keys "$win" alt+x
    wait_exit "$pid"
    expect_value Euro "1"
    expect_value Currency "40.34"
    expect_value Image "imgBEL"
    expect_value Description "1 EUR = 40.3399 BEF"
    expect_value Tooltip " Belgian Francs "
    expect_value Background "imgDefault"
    [[ "$(value Top)" =~ ^[0-9]+$ ]] || fail "Top is '$(value Top)'"
    [[ "$(value Left)" =~ ^[0-9]+$ ]] || fail "Left is '$(value Left)'"
    [ "$(stat -c %a "$store")" = 600 ] || fail "store mode $(stat -c %a "$store")"
    [ "$(stat -c %a "$(dirname "$store")")" = 700 ] || fail "folder mode"
    head -1 "$store" | grep -q '^REGEDIT4' || fail "not a REGEDIT4 file"

    # Second start: the saved imgDefault is applied, so both boxes turn cyan.
    start; pid=$started; win=$(main_window "$pid")
    [ "$(pixel "$win" 100 30)" = "0,255,255" ] || fail "restored euro box is $(pixel "$win" 100 30)"
    type_keys "$win" alt+x
    wait_exit "$pid"
    expect_value Tooltip " Belgian Francs "
    ;;

  stored_position_is_centred)
    mkdir -p "$(dirname "$store")"; chmod 700 "$(dirname "$store")"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n"Top"="-120"\n"Left"="300"\n"Euro"="5"\n' >"$store"
    start; pid=$started; win=$(main_window "$pid")
    eval "$(xdotool getwindowgeometry --shell "$win")"
    read -r sw sh < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
    [ "$X" = $(( (sw - WIDTH) / 2 )) ] || fail "left $X, screen $sw, width $WIDTH"
    [ "$Y" = $(( (sh - HEIGHT) / 2 )) ] || fail "top $Y, screen $sh, height $HEIGHT"
    type_keys "$win" alt+x
    wait_exit "$pid"
    expect_value Top "$(( Y * 15 ))"
    expect_value Euro "5"
    ;;

  second_copy_is_refused)
    start; first=$started; main_window "$first" >/dev/null
    before="$(sha256sum "$store" 2>/dev/null || true)"
    start; second=$started
    box=""
    for i in $(seq 1 100); do
      box=$(xdotool search --all --onlyvisible --pid "$second" --name '^Kestrova$' 2>/dev/null | head -1) || true
      [ -n "$box" ] && break
      sleep 0.1
    done
    [ -n "$box" ] || fail "the second copy showed no message"
    import -window "$box" "$work/box.png"
    type_keys "$box" Return
    wait_exit "$second"
    kill -0 "$first" 2>/dev/null || fail "the first copy ended too"
    [ "$(sha256sum "$store" 2>/dev/null || true)" = "$before" ] || fail "the second copy touched the store"
    win=$(main_window "$first")
    type_keys "$win" alt+x
    wait_exit "$first"
    expect_value Euro "1"
    ;;

  signals_save_like_a_close)
    for signal in TERM INT HUP; do
      start; pid=$started; win=$(main_window "$pid")
      type_keys "$win" 5
      kill -s "$signal" "$pid"
      wait_exit "$pid"
      expect_value Euro "5"
      expect_value Currency "201.7"
      rm -f "$store"
    done
    ;;

  killed_run_keeps_the_store)
    start; pid=$started; win=$(main_window "$pid")
    type_keys "$win" alt+x
    wait_exit "$pid"
    saved="$(sha256sum "$store")"
    start; pid=$started; win=$(main_window "$pid")
    type_keys "$win" 7
    kill -9 "$pid"
    wait_exit "$pid"
    [ "$(sha256sum "$store")" = "$saved" ] || fail "a killed run changed the store"
    if ls "$(dirname "$store")" | grep -v '^Kestrova\.reg$'; then fail "left-over files beside the store"; fi
    # The dead copy's lock does not hold the next one back.
    start; pid=$started; win=$(main_window "$pid")
    type_keys "$win" 8 alt+x
    wait_exit "$pid"
    expect_value Euro "8"
    ;;

  *) fail "unknown scenario" ;;
esac
echo "PASS [$scenario]"
