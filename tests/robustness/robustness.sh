#!/usr/bin/env bash
# robustness.sh SCENARIO PATH-TO-KESTROVA PATH-TO-SETTINGS-DUMP SUMMARY-FILE
# Runs under xvfb-run. Prints its figures and leaves them in SUMMARY-FILE.
set -euo pipefail

scenario=$1
binary=$2
dump=$3
summary=$4

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  chmod -R u+rwX "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=xcb

# A fresh user: home, settings and lock folders under $1.
new_user() {
  export HOME=$1/home XDG_CONFIG_HOME=$1/config XDG_RUNTIME_DIR=$1/runtime
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillmere"
  chmod 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillmere"
  store=$XDG_CONFIG_HOME/Quillmere/Kestrova.reg
}

# The loops hide the shell's notes on the copies they kill; failures still reach stderr.
exec 3>&2
fail() { echo "FAIL [$scenario]: $*" >&3; exit 1; }
report() { echo "$scenario: $*" | tee "$summary"; }

now_us() { echo "${EPOCHREALTIME/./}"; }

# Whether the copy with PID $1 has its quit handler for SIGTERM, which it installs only as the
# running copy, after its window is shown. Read from /proc: no process is started for it. Until
# the exec the process is a copy of this shell, which catches SIGTERM for its EXIT trap.
catches_term() {
  local line mask name=""
  read -r name 2>/dev/null <"/proc/$1/comm" || true
  [ "$name" = kestrova ] || return 1
  while read -r line; do
    if [[ $line == SigCgt:* ]]; then
      mask=${line##*[[:space:]]}
      (( 0x$mask & 0x4000 ))
      return
    fi
  done 2>/dev/null <"/proc/$1/status"
  return 1
}

alive() { kill -0 "$1" 2>/dev/null && [[ $(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) != Z ]]; }

# Waits until copy $1 catches SIGTERM; false if it ends first or takes over $2 seconds.
wait_running() {
  local pid=$1 deadline=$(( $(now_us) + ${2:-10} * 1000000 ))
  until catches_term "$pid"; do
    kill -0 "$pid" 2>/dev/null || return 1
    (( $(now_us) < deadline )) || return 1
    sleep 0.005
  done
}

# The visible window titled Kestrova of copy $1, waiting up to $2 seconds.
window_of() {
  local pid=$1 deadline=$(( $(now_us) + ${2:-10} * 1000000 )) id
  while true; do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Kestrova$' 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    (( $(now_us) < deadline )) || return 1
    sleep 0.01
  done
}

# What a copy that did not come up was doing, for the failure message.
describe() {
  local pid=$1
  echo "copy $pid: state $(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null || echo gone)," \
    "waiting in $(cat "/proc/$pid/wchan" 2>/dev/null || echo -)," \
    "windows: $(xdotool search --all --pid "$pid" 2>/dev/null | tr '\n' ' ')"
  [ -r "/proc/$pid/stack" ] && head -5 "/proc/$pid/stack"
  [ -n "${2:-}" ] && tail -12 "$2"
  return 0
}

wait_exit() {
  local pid=$1 i
  for i in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return; }
    sleep 0.05
  done
  fail "copy $pid did not end"
}

case "$scenario" in
  close_kill_loop)
    # Each round starts from the old values, asks for a close and kills the copy 0-20 ms later.
    # The close moves the window from its off-screen stored place to the centre, so the new set
    # differs from the old in Top and Left; the round number in Euro and Currency tells rounds
    # apart. After every kill the file must read cleanly and hold one set or the other, whole.
    # Two users take turns with the two cores: a start mostly waits on the X server.
    rounds=${KESTROVA_ROUNDS:-1000}
    seed() {  # seed STORE ROUND
      printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n"Top"="-120"\n"Left"="-300"\n"Euro"="%s"\n"Currency"="c%s"\n"Image"="imgGER"\n"Description"="1 EUR = 1.95583 DEM"\n"Tooltip"=" German Marks "\n"Background"="imgFive"\n' \
        "$2" "$2" >"$1"
    }
    expected() {  # expected ROUND TOP LEFT
      printf 'Top=%s\nLeft=%s\nEuro=%s\nCurrency=c%s\nImage=imgGER\nDescription=1 EUR = 1.95583 DEM\nTooltip= German Marks \nBackground=imgFive' \
        "$2" "$3" "$1" "$1"
    }
    # One close left alone gives the new place.
    new_user "$work/first"
    seed "$store" 0
    "$binary" >/dev/null 2>&1 & pid=$!; pids+=("$pid")
    wait_running "$pid" || fail "the first copy did not start"
    kill -TERM "$pid"; wait_exit "$pid"
    got=$("$dump" "$store") || fail "a plain close left a damaged file"
    top=$(sed -n 's/^Top=//p' <<<"$got"); left=$(sed -n 's/^Left=//p' <<<"$got")
    [[ $top =~ ^[0-9]+$ && $left =~ ^[0-9]+$ ]] || fail "a close wrote the place $top, $left"
    [ "$got" = "$(expected 0 "$top" "$left")" ] || fail "a plain close wrote: $got"

    lane() {  # lane NUMBER FIRST-ROUND LAST-ROUND; counts go to $work/lane.NUMBER
      local old=0 new=0 damaged=0 temporaries=0 unstarted=0 round pid got leftover present delay
      new_user "$work/lane$1"
      for round in $(seq "$2" "$3"); do
        seed "$store" "$round"
        "$binary" >"$work/lane$1.log" 2>&1 & pid=$!
        if ! wait_running "$pid"; then
          unstarted=$((unstarted + 1))
          echo "round $round: not ready after 10 s; $(describe "$pid" "$work/lane$1.log")" >&3
        fi
        kill -TERM "$pid" 2>/dev/null || true
        # 0 to 20 ms; no sleep at all for 0, since starting one takes about a millisecond.
        delay=$((RANDOM % 21))
        (( delay == 0 )) || sleep "0.0$(printf %02d "$delay")"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        if got=$("$dump" "$store"); then
          if [ "$got" = "$(expected "$round" -120 -300)" ]; then
            old=$((old + 1))
          elif [ "$got" = "$(expected "$round" "$top" "$left")" ]; then
            new=$((new + 1))
          else
            damaged=$((damaged + 1)); echo "round $round: mixed values: $got" >&3
          fi
        else
          damaged=$((damaged + 1)); echo "round $round: the file does not read: $got" >&3
        fi
        # A kill between creating the temporary and renaming it leaves the temporary behind,
        # until the next save clears it away: never more than one at a time.
        present=0
        for leftover in "$XDG_CONFIG_HOME"/Quillmere/.Kestrova.reg.*.tmp; do
          [ -e "$leftover" ] && present=$((present + 1))
        done
        (( present > temporaries )) && temporaries=$present
      done
      echo "$old $new $damaged $temporaries $unstarted" >"$work/lane.$1"
    } 2>/dev/null
    started_at=$(now_us)
    half=$((rounds / 2))
    lane 1 1 "$half" & first_lane=$!
    lane 2 $((half + 1)) "$rounds" & second_lane=$!
    wait "$first_lane"; wait "$second_lane"
    read -r old new damaged temporaries unstarted < <(awk '
      {for (i = 1; i <= 5; i++) sum[i] += $i; if ($4 > most) most = $4}
      END {print sum[1], sum[2], sum[3], most + 0, sum[5]}' "$work"/lane.*)
    seconds=$(( ($(now_us) - started_at) / 1000000 ))
    report "$rounds rounds: $old old, $new new, $damaged damaged; at most $temporaries temporary left at a time; ${seconds} s"
    [ $((old + new + damaged)) -eq "$rounds" ] || fail "only $((old + new + damaged)) rounds were counted"
    [ "$damaged" -eq 0 ] || fail "$damaged rounds left a damaged file"
    [ "$unstarted" -eq 0 ] || fail "$unstarted copies never became ready"
    [ "$temporaries" -le 1 ] || fail "killed saves left $temporaries temporaries at once"
    [ "$old" -gt 0 ] && [ "$new" -gt 0 ] || fail "the kills did not fall on both sides of the write"
    ;;

  kill_restart_loop)
    # A copy killed outright leaves nothing that holds the next one back: each new copy is the
    # running one, its window on screen, within a second of being started.
    rounds=${KESTROVA_ROUNDS:-200}
    new_user "$work"
    slowest=0 total=0 slow=0 previous=""
    for round in $(seq 1 "$rounds"); do
      begin=$(now_us)
      "$binary" >"$work/copy.log" 2>&1 & pid=$!; pids+=("$pid")
      [ -n "$previous" ] && { wait "$previous" 2>/dev/null || true; }
      wait_running "$pid" 5 || fail "round $round: the new copy is not the running one; $(describe "$pid" "$work/copy.log")"
      window_of "$pid" 5 >/dev/null || fail "round $round: no window; $(describe "$pid" "$work/copy.log")"
      took=$(( ($(now_us) - begin) / 1000 ))
      total=$((total + took))
      (( took > slowest )) && slowest=$took
      (( took > 1000 )) && slow=$((slow + 1))
      kill -9 "$pid"
      previous=$pid
    done 2>/dev/null
    wait "$previous" 2>/dev/null || true
    report "$rounds kills and restarts: $((rounds - slow)) running within 1 s, slowest ${slowest} ms, mean $((total / rounds)) ms"
    [ "$slow" -eq 0 ] || fail "$slow copies took over a second"
    ;;

  simultaneous_starts)
    # Twenty copies at once: one runs, every other one says so in its box and ends on Enter.
    copies=20
    new_user "$work"
    begin=$(now_us)
    for i in $(seq 1 "$copies"); do
      "$binary" >"$work/out.$i" 2>&1 &
      pids+=($!)
    done
    running=() refused=()
    for attempt in $(seq 1 120); do
      running=() refused=()
      for pid in "${pids[@]}"; do
        if catches_term "$pid"; then
          running+=("$pid")
        elif alive "$pid" && window_of "$pid" 0 >/dev/null; then
          refused+=("$pid")
        fi
      done
      (( ${#running[@]} + ${#refused[@]} == copies )) && break
      sleep 0.5
    done
    settled=$(( ($(now_us) - begin) / 1000 ))
    [ "${#running[@]}" -eq 1 ] || fail "${#running[@]} running copies"
    [ "${#refused[@]}" -eq $((copies - 1)) ] || fail "${#refused[@]} copies showed a box"
    ended=0
    for pid in "${refused[@]}"; do
      box=$(window_of "$pid" 5) || fail "box of $pid gone"
      xdotool windowfocus --sync "$box" 2>/dev/null || true
      sleep 0.3  # let the toolkit take the focus in before the key arrives
      xdotool key Return
      wait_exit "$pid" && ended=$((ended + 1))
    done
    alive "${running[0]}" || fail "the running copy ended with the others"
    kill -TERM "${running[0]}"; wait_exit "${running[0]}"
    "$dump" "$store" >/dev/null || fail "the running copy's close left a damaged file"
    report "$copies simultaneous starts: ${#running[@]} running copy, ${#refused[@]} boxes saying it runs already, $ended ended on Enter; settled in ${settled} ms"
    ;;

  hostile_files)
    # Whatever lies where the settings should be, the program starts, converts, and does not
    # overwrite what it could not read.
    good='REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n"Top"="600"\n"Left"="600"\n"Euro"="1"\n"Currency"="40.34"\n"Image"="imgBEL"\n"Description"="1 EUR = 40.3399 BEF"\n"Tooltip"=" Belgian Francs "\n"Background"="imgDefault"\n'
    # The national box, inside its border.
    box_crop=110x16+66+59
    box_signature() {
      import -window "$1" "$work/shot.png"
      convert "$work/shot.png" -crop "$box_crop" +repage -format '%#' info:
    }
    # run_case NAME [USER]: starts a copy (as USER when given), types 5 into the euro box,
    # checks that the national box changed, and closes with Alt+X.
    results=()
    run_case() {
      local name=$1 user=${2:-} pid win before after begin took
      begin=$(now_us)
      if [ -n "$user" ]; then
        setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
          "$work/kestrova" >"$work/$name.log" 2>&1 &
      else
        "$binary" >"$work/$name.log" 2>&1 &
      fi
      pid=$!; pids+=("$pid")
      wait_running "$pid" 20 || { cat "$work/$name.log" >&2; fail "$name: no running copy"; }
      win=$(window_of "$pid" 10) || fail "$name: no window"
      took=$(( ($(now_us) - begin) / 1000 ))
      before=$(box_signature "$win")
      xdotool windowfocus --sync "$win" 2>/dev/null || true
      sleep 0.3
      xdotool key --delay 30 5
      sleep 0.3
      after=$(box_signature "$win")
      [ "$before" != "$after" ] || fail "$name: typing 5 did not change the national box"
      xdotool key --delay 30 alt+x
      wait_exit "$pid"
      results+=("$name ${took} ms")
    }
    saved_euro() { "$dump" "$1" | sed -n 's/^Euro=//p'; }

    # 1. A 100 MB file: read no further than a settings file can reach, kept aside untouched.
    new_user "$work/huge"
    truncate -s 100M "$store"
    inode=$(stat -c %i "$store")
    run_case huge_100MB
    [ "$(stat -c '%i %s' "$store.bad")" = "$inode 104857600" ] || fail "huge: the big file was not kept as it was"
    [ "$(saved_euro "$store")" = 5 ] || fail "huge: the new settings were not saved"

    # 2. Binary bytes.
    new_user "$work/binary"
    head -c 65536 /dev/urandom >"$work/binary.bytes"
    cp "$work/binary.bytes" "$store"
    run_case binary
    cmp -s "$store.bad" "$work/binary.bytes" || fail "binary: the file was not kept byte for byte"
    [ "$(saved_euro "$store")" = 5 ] || fail "binary: the new settings were not saved"

    # 3. Good values, then a key 100 000 levels deep.
    new_user "$work/deep"
    { printf "$good"; printf '[HKEY_CURRENT_USER'; printf '\\d%.0s' $(seq 1 100000); printf ']\n"X"="1"\n'; } >"$store"
    cp "$store" "$work/deep.bytes"
    run_case deep_keys
    cmp -s "$store.bad" "$work/deep.bytes" || fail "deep: the file was not kept byte for byte"
    [ "$(saved_euro "$store")" = 5 ] || fail "deep: the new settings were not saved"
    [ "$(stat -c %s "$store")" -lt 10000 ] || fail "deep: the saved file grew to $(stat -c %s "$store") bytes"

    # 4. A link where the file should be: followed, and still a link afterwards.
    new_user "$work/link"
    mkdir -p "$work/link/dotfiles"
    printf "$good" >"$work/link/dotfiles/kestrova.reg"
    ln -s ../../dotfiles/kestrova.reg "$store"
    run_case symlink
    [ -L "$store" ] || fail "link: the link was replaced"
    [ "$(saved_euro "$work/link/dotfiles/kestrova.reg")" = 5 ] || fail "link: the file behind the link was not saved"
    [ ! -e "$store.bad" ] || fail "link: a good file was taken for a damaged one"

    # 5. A folder the user cannot write: the old file stays as it was and the failure is told.
    # Root writes anywhere, so as root the program runs as nobody.
    new_user "$work/readonly"
    printf "$good" >"$store"
    cp "$store" "$work/readonly.bytes"
    user=""
    if [ "$(id -u)" -eq 0 ]; then
      user=nobody
      cp "$binary" "$work/kestrova"
      cp "$XAUTHORITY" "$work/Xauthority"; export XAUTHORITY=$work/Xauthority
      chmod 755 "$work" "$work/readonly"; chmod 644 "$work/Xauthority"
      chown -R nobody "$work/readonly"
    fi
    chmod 500 "$XDG_CONFIG_HOME/Quillmere"
    run_case read_only_folder "$user"
    cmp -s "$store" "$work/readonly.bytes" || fail "read-only: the old file changed"
    [ "$(ls -A "$XDG_CONFIG_HOME/Quillmere")" = Kestrova.reg ] || fail "read-only: files appeared beside the store"
    grep -q 'could not be saved' "$work/read_only_folder.log" || fail "read-only: the failed save went unsaid"

    report "every hostile file started a usable window and kept what it could not read (${results[*]})"
    ;;

  *) fail "unknown scenario" ;;
esac
echo "PASS [$scenario]"
