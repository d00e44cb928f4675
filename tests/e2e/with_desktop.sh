#!/usr/bin/env bash
# Runs a command on the virtual X server that xvfb-run gives it, as on a desktop: a window
# manager (openbox: frames, activation, focus, minimising) and a session bus, on which the
# accessibility bus starts when asked for.  with_desktop.sh COMMAND...
set -euo pipefail

config="$(mktemp -d)"
openbox_pid=""
cleanup() {
  if [ -n "$openbox_pid" ]; then kill "$openbox_pid" 2>/dev/null || true; wait "$openbox_pid" 2>/dev/null || true; fi
  rm -rf "$config"
}
trap cleanup EXIT

# The packaged theme and layout, its default mouse bindings, Alt+F4 to close, focus by click.
cat >"$config/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme>
  <desktops><number>1</number></desktops>
  <keyboard><keybind key="A-F4"><action name="Close"/></keybind></keyboard>
  <menu><file>/dev/null</file></menu>
</openbox_config>
XML

openbox --sm-disable --config-file "$config/rc.xml" >"$config/openbox.log" 2>&1 &
openbox_pid=$!

# The manager is up once the root window names its check window.
for _ in $(seq 1 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then break; fi
  kill -0 "$openbox_pid" 2>/dev/null || { cat "$config/openbox.log" >&2; echo "openbox ended" >&2; exit 1; }
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || { echo "openbox did not start" >&2; exit 1; }

# Not exec: the trap must still end openbox.
status=0
dbus-run-session -- "$@" || status=$?
exit "$status"
