#!/usr/bin/env bash
# One end-to-end scenario of the real binary, driven with the keyboard and the mouse as a user
# would, on the desktop that with_desktop.sh gives it: e2e.sh SCENARIO PATH-TO-KESTROVA
# Screenshots go to $KESTROVA_E2E_ARTIFACTS when it is set.
set -euo pipefail

scenario="$1"
binary="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
artifacts="${KESTROVA_E2E_ARTIFACTS:-}"

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=xcb
# Every control can then be read back through the accessibility bus.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
store="$XDG_CONFIG_HOME/Quillmere/Kestrova.reg"

fail() { echo "FAIL [$scenario]: $*" >&2; exit 1; }

atspi() { /usr/bin/python3 "$here/atspi.py" "$@" || fail "accessibility: atspi.py $*"; }

# Starts a copy; its PID lands in $started.
start() {
  "$binary" >>"$work/out.log" 2>&1 &
  started=$!
  pids+=("$started")
}

# The id of the one visible main window of the copy with PID $1.
main_window() {
  local pid="$1" i id
  for i in $(seq 1 150); do
    for id in $(xdotool search --all --onlyvisible --pid "$pid" --name '^Kestrova$' 2>/dev/null); do
      echo "$id"
      return 0
    done
    kill -0 "$pid" 2>/dev/null || fail "copy $pid ended before showing its window"
    sleep 0.1
  done
  fail "no window from copy $pid"
}

# Starts a copy and waits until it has its window up and the focus in the euro box; sets $pid
# and $win.
start_ready() {
  start; pid=$started; win=$(main_window "$pid")
  atspi wait "$pid" "Amount in euro" focused yes
}

wait_exit() {
  local pid="$1" i
  for i in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  fail "copy $pid did not end"
}

# Keys go where the focus is, through the X server, like typing.
keys() { xdotool key --delay 40 "$@"; }

# The client area's top left corner on the screen: $OX $OY.
origin() {
  OX=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
  OY=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
}

# The window with its frame: $FX $FY $FW $FH.
frame() {
  local left right top bottom
  origin "$1"
  IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= *//')
  FX=$(( OX - left )); FY=$(( OY - top ))
  FW=$(( $(xwininfo -id "$1" | sed -n 's/.*Width: *//p') + left + right ))
  FH=$(( $(xwininfo -id "$1" | sed -n 's/.*Height: *//p') + top + bottom ))
}

# The pointer to ($1,$2) on the screen. Waiting for a move that does not happen would hang.
pointer_to() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ "$X,$Y" = "$1,$2" ] || xdotool mousemove --sync "$1" "$2"
}

# click WINDOW X Y ARGS...: the pointer to (X,Y) of the client area, then `xdotool click ARGS`.
click() {
  local win="$1" x="$2" y="$3"; shift 3
  origin "$win"
  pointer_to $(( OX + x )) $(( OY + y ))
  xdotool click "$@"
}

# The country pop-up, a window of its own straight on the root: $PX $PY $PW $PH once it shows.
popup() {
  local i id info
  for i in $(seq 1 150); do
    for id in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Kestrova": ("kestrova" .*/\1/p'); do
      info="$(xwininfo -id "$id")"
      grep -q 'Map State: IsViewable' <<<"$info" || continue
      PX=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
      PY=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
      PW=$(sed -n 's/.*Width: *//p' <<<"$info")
      PH=$(sed -n 's/.*Height: *//p' <<<"$info")
      [ "$PH" -gt 100 ] && return 0
    done
    sleep 0.1
  done
  fail "no country pop-up"
}

# The country pop-up lies under the flag, wherever the pointer is.
expect_popup_at_flag() {
  origin "$1"
  local x=$(( OX + 6 + 15 )) y=$(( OY + 6 + 45 + 32 ))
  (( PX >= x - 2 && PX <= x + 2 && PY >= y - 2 && PY <= y + 2 )) ||
    fail "pop-up at $PX,$PY, the flag's lower left corner at $x,$y"
}

# Places on the client area: the panel's picture box lies at (6,6).
flag_at=(37 67)          # the flag's middle
background_at=(191 146)  # a spot of the background under no control
about_at=(60 121)        # the About button's middle

value() {  # value NAME -> the stored text, unescaped enough for our plain values
  sed -n "s/^\"$1\"=\"\(.*\)\"\r\{0,1\}$/\1/p" "$store"
}

expect_value() {
  local got
  got="$(value "$1")"
  [ "$got" = "$2" ] || fail "\"$1\" is '$got', expected '$2'"
}

# The window position is kept in twips, the frame's top left corner.
expect_position_saved() {
  expect_value Top "$(( $1 * 15 ))"
  expect_value Left "$(( $2 * 15 ))"
}

# The colour of one pixel of window $1 at ($2,$3) as "r,g,b".
pixel() {
  import -window "$1" "$work/shot.png"
  convert "$work/shot.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# expect_pixel WINDOW X Y R,G,B WHAT, once the window has painted it.
expect_pixel() {
  local got i
  for i in $(seq 1 50); do
    got="$(pixel "$1" "$2" "$3")"
    [ "$got" = "$4" ] && return 0
    sleep 0.1
  done
  fail "$5 is $got, expected $4"
}

# The window with its frame as a test artefact.
screenshot() {
  [ -n "$artifacts" ] || return 0
  mkdir -p "$artifacts"
  import -frame -window "$1" "$artifacts/$2"
}

# The id of a visible window of copy $1 named $2, once it shows.
window_named() {
  local i id
  for i in $(seq 1 150); do
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window '$2' from copy $1"
}

window_gone() {
  local i
  for i in $(seq 1 150); do
    xdotool search --all --onlyvisible --pid "$1" --name "$2" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window '$2' of copy $1 stayed"
}

rate_line() { atspi wait "$1" @label name "$2"; }
euro_text() { atspi wait "$1" "Amount in euro" text "$2"; }
national_text() { atspi wait "$1" "Amount in national currency" text "$2"; }

case "$scenario" in
  first_run_saves_and_restores)
    start_ready
    [ -d "$XDG_CONFIG_HOME/Quillmere" ] || fail "settings folder not created at start"
    if [ -f "$store" ] && grep -q '"Euro"' "$store"; then fail "values written before the close"; fi
    # First run: the euro box wears its designed light blue.
    expect_pixel "$win" 100 30 "192,192,255" "euro box on a first run"
    screenshot "$win" first-run.png
    keys alt+x
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
    start_ready
    expect_pixel "$win" 100 30 "0,255,255" "restored euro box"
    keys alt+x
    wait_exit "$pid"
    expect_value Tooltip " Belgian Francs "
    ;;

  stored_position_is_centred)
    mkdir -p "$(dirname "$store")"; chmod 700 "$(dirname "$store")"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n"Top"="-120"\n"Left"="300"\n"Euro"="5"\n' >"$store"
    start_ready
    frame "$win"
    read -r sw sh < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
    # Centred by the size known while loading, before the window manager framed it.
    [ "$FX" = $(( (sw - 204) / 2 )) ] || fail "left $FX, screen $sw"
    [ "$FY" = $(( (sh - 162) / 2 )) ] || fail "top $FY, screen $sh"
    keys alt+x
    wait_exit "$pid"
    expect_position_saved "$FY" "$FX"
    expect_value Euro "5"
    ;;

  second_copy_is_refused)
    start_ready; first=$pid
    before="$(sha256sum "$store" 2>/dev/null || true)"
    start; second=$started
    box=$(window_named "$second" '^Kestrova$')
    import -window "$box" "$work/box.png"
    xdotool windowactivate --sync "$box"
    keys Return
    wait_exit "$second"
    kill -0 "$first" 2>/dev/null || fail "the first copy ended too"
    [ "$(sha256sum "$store" 2>/dev/null || true)" = "$before" ] || fail "the second copy touched the store"
    win=$(main_window "$first")
    xdotool windowactivate --sync "$win"
    atspi wait "$first" "Amount in euro" focused yes
    keys alt+x
    wait_exit "$first"
    expect_value Euro "1"
    ;;

  signals_save_like_a_close)
    for signal in TERM INT HUP; do
      start_ready
      keys 5
      national_text "$pid" "201.7"
      kill -s "$signal" "$pid"
      wait_exit "$pid"
      expect_value Euro "5"
      expect_value Currency "201.7"
      rm -f "$store"
    done
    ;;

  killed_run_keeps_the_store)
    start_ready
    keys alt+x
    wait_exit "$pid"
    saved="$(sha256sum "$store")"
    start_ready
    keys 7
    national_text "$pid" "282.38"
    kill -9 "$pid"
    wait_exit "$pid"
    [ "$(sha256sum "$store")" = "$saved" ] || fail "a killed run changed the store"
    if ls "$(dirname "$store")" | grep -v '^Kestrova\.reg$'; then fail "left-over files beside the store"; fi
    # The dead copy's lock does not hold the next one back.
    start_ready
    keys 8
    euro_text "$pid" "8"
    keys alt+x
    wait_exit "$pid"
    expect_value Euro "8"
    ;;

  typing_converts_and_exit_saves)
    start_ready
    # The euro text is selected on start: typing replaces it.
    keys 2 5
    euro_text "$pid" "25"
    national_text "$pid" "1008.5"
    # Tab selects the national text, so typing replaces that too and converts back.
    keys Tab
    atspi wait "$pid" "Amount in national currency" focused yes
    keys 1 0 0 0
    national_text "$pid" "1000"
    euro_text "$pid" "24.79"
    xdotool windowmove --sync "$win" 300 200
    frame "$win"; x=$FX; y=$FY
    click "$win" 142 121 1  # the Exit button
    wait_exit "$pid"
    expect_value Euro "24.79"
    expect_value Currency "1000"
    expect_position_saved "$y" "$x"

    start_ready
    frame "$win"
    [ "$FX,$FY" = "$x,$y" ] || fail "restored at $FX,$FY, closed at $x,$y"
    euro_text "$pid" "24.79"
    national_text "$pid" "1000"
    keys alt+x
    wait_exit "$pid"
    ;;

  countries_from_the_flag_and_the_close_box)
    start_ready
    # The pop-up of the right button, with the country on show disabled; a click chooses.
    # (Screen readers meet the pop-up's entries through events, not in the tree: the entry is
    # found by its place, the fourth of twelve equal rows.)
    click "$win" "${flag_at[@]}" 3
    popup
    pointer_to $(( PX + PW / 2 )) $(( PY + PH * 7 / 24 ))
    xdotool click 1
    rate_line "$pid" "1 EUR = 6.55957 FRF"
    national_text "$pid" "6.56"
    euro_text "$pid" "1"
    # A double-click steps to the next country of the table.
    click "$win" "${flag_at[@]}" --repeat 2 --delay 60 1
    rate_line "$pid" "1 EUR = 340.750 GRD"
    atspi wait "$pid" "Flag of the chosen country" description Greece
    national_text "$pid" "340.75"
    # The frame's close box, at the right end of the title bar.
    frame "$win"; x=$FX; y=$FY
    xdotool mousemove --sync $(( FX + FW - 11 )) $(( FY + 10 )) click 1
    wait_exit "$pid"
    expect_value Image "imgGRI"
    expect_value Description "1 EUR = 340.750 GRD"
    expect_value Tooltip " Greek Drachmas "
    expect_value Currency "340.75"
    expect_position_saved "$y" "$x"

    start_ready
    frame "$win"
    [ "$FX,$FY" = "$x,$y" ] || fail "restored at $FX,$FY, closed at $x,$y"
    atspi wait "$pid" "Flag of the chosen country" description Greece
    rate_line "$pid" "1 EUR = 340.750 GRD"
    national_text "$pid" "340.75"
    keys alt+F4  # the window manager's close
    wait_exit "$pid"
    expect_value Image "imgGRI"
    ;;

  background_cycle_and_sigterm)
    start_ready
    spoken=("5 euro banknote" "10 euro banknote" "20 euro banknote" "50 euro banknote"
            "100 euro banknote" "200 euro banknote" "500 euro banknote" "Default texture"
            "5 euro banknote" "10 euro banknote")
    for i in "${!spoken[@]}"; do
      click "$win" "${background_at[@]}" --repeat 2 --delay 60 1
      atspi wait "$pid" Background description "${spoken[$i]}"
      if [ "$i" = 1 ]; then
        expect_pixel "$win" 100 30 "255,192,192" "euro box on the 10 euro note"
        expect_pixel "$win" 100 60 "255,192,192" "national box on the 10 euro note"
        screenshot "$win" banknote.png
      fi
    done
    euro_text "$pid" "1"
    frame "$win"; x=$FX; y=$FY
    kill -s TERM "$pid"
    wait_exit "$pid"
    expect_value Background "imgTen"
    expect_value Image "imgBEL"
    expect_position_saved "$y" "$x"

    start_ready
    frame "$win"
    [ "$FX,$FY" = "$x,$y" ] || fail "restored at $FX,$FY, closed at $x,$y"
    atspi wait "$pid" Background description "10 euro banknote"
    expect_pixel "$win" 100 30 "255,192,192" "restored euro box"
    expect_pixel "$win" 100 60 "255,192,192" "restored national box"
    keys alt+x
    wait_exit "$pid"
    ;;

  about_and_its_ok)
    start_ready
    click "$win" "${about_at[@]}" 1
    about=$(window_named "$pid" '^About$')
    atspi wait "$pid" Ok focused yes
    click "$about" 77 253 1  # its Ok button
    window_gone "$pid" '^About$'
    # Back in the main window, the focus is in the euro box with its text selected.
    atspi wait "$pid" "Amount in euro" focused yes
    keys 3
    national_text "$pid" "121.02"
    keys alt+x
    wait_exit "$pid"
    expect_value Euro "3"
    ;;

  keyboard_only)
    pointer_to 1000 740  # the pointer far away, and not used again
    start_ready
    # The flag is one Shift+Tab from the euro box; Shift+F10 opens its pop-up there.
    keys shift+Tab
    atspi wait "$pid" "Flag of the chosen country" focused yes
    keys shift+F10
    popup
    expect_popup_at_flag "$win"
    keys Down Down Return  # Belgium on show is skipped: Germany, then Finland
    rate_line "$pid" "1 EUR = 5.94573 FIM"
    national_text "$pid" "5.95"
    keys Menu
    popup
    expect_popup_at_flag "$win"
    keys Down Return
    rate_line "$pid" "1 EUR = 40.3399 BEF"
    keys space
    rate_line "$pid" "1 EUR = 1.95583 DEM"
    national_text "$pid" "1.96"
    # The background comes just before the flag.
    keys shift+Tab
    atspi wait "$pid" Background focused yes
    keys space
    atspi wait "$pid" Background description "5 euro banknote"
    keys alt+a
    window_named "$pid" '^About$' >/dev/null
    atspi wait "$pid" Ok focused yes
    keys Return
    window_gone "$pid" '^About$'
    atspi wait "$pid" "Amount in euro" focused yes
    keys alt+x
    wait_exit "$pid"
    expect_value Image "imgGER"
    expect_value Background "imgFive"
    expect_value Currency "1.96"
    ;;

  screen_reader_reads_the_amounts)
    start_ready
    atspi screen-reader "$pid"
    atspi action "$pid" Exit Press
    wait_exit "$pid"
    expect_value Euro "12"
    expect_value Currency "23.47"
    expect_value Image "imgGER"
    ;;

  *) fail "unknown scenario" ;;
esac
echo "PASS [$scenario]"
