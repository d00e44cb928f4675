#!/usr/bin/python3
"""Reads and works Kestrova's window through the accessibility bus, as a screen reader does.

    atspi.py wait PID CONTROL FIELD EXPECTED  waits until FIELD of CONTROL is EXPECTED
    atspi.py get PID CONTROL FIELD            prints FIELD of CONTROL
    atspi.py focused PID                      prints the name of the control with the focus
    atspi.py action PID CONTROL ACTION        runs one of the control's actions
    atspi.py screen-reader PID                the screen reader's walk (see below)

CONTROL is an accessible name, or "@ROLE" for the first control of that role on the
background (the rate line is "@label"). FIELD is text, name, description, role, or
focused (yes or no).
"""
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = float(os.environ.get("KESTROVA_E2E_TIMEOUT", "15"))


class Failure(Exception):
    pass


def poll(what, probe, timeout=TIMEOUT):
    """probe() until it returns something other than None; the last error explains a timeout."""
    end = time.monotonic() + timeout
    last = None
    while True:
        try:
            found = probe()
            if found is not None:
                return found
        except Exception as error:  # the tree changes under us while the window builds
            last = error
        if time.monotonic() > end:
            raise Failure("%s: not found in %.0f s%s" % (what, timeout, " (%s)" % last if last else ""))
        time.sleep(0.1)


def application(pid):
    def probe():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        return None
    return poll("application of process %d" % pid, probe)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def background(app):
    for node in walk(app):
        if node.name == "Background" and node.getRoleName() != "application":
            return node
    return None


def find(app, control):
    if control.startswith("@"):
        area = background(app)
        if area is None:
            return None
        return next((n for n in walk(area) if n.getRoleName() == control[1:]), None)
    return next((n for n in walk(app) if n.name == control), None)


def field(node, which):
    if which == "text":
        text = node.queryText()
        return text.getText(0, text.characterCount)
    if which == "name":
        return node.name
    if which == "description":
        return node.description
    if which == "role":
        return node.getRoleName()
    if which == "focused":
        return "yes" if node.getState().contains(pyatspi.STATE_FOCUSED) else "no"
    raise Failure("unknown field " + which)


def read(pid, control, which):
    app = application(pid)
    node = poll(control, lambda: find(app, control))
    return field(node, which)


def wait(pid, control, which, expected):
    app = application(pid)
    seen = []

    def probe():
        node = find(app, control)
        if node is None:
            return None
        value = field(node, which)
        seen.append(value)
        return value if value == expected else None

    try:
        poll("%s of %s = %r" % (which, control, expected), probe)
    except Failure as failure:
        raise Failure("%s; last seen %r" % (failure, seen[-1] if seen else None))


def focused(pid):
    app = application(pid)

    def probe():
        for node in walk(app):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return node
        return None
    return poll("a focused control", probe).name


def action(pid, control, name):
    app = application(pid)
    node = poll(control, lambda: find(app, control))
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == name:
            actions.doAction(i)
            return
    raise Failure("%s has no action %r" % (control, name))


def expect(what, got, wanted):
    if got != wanted:
        raise Failure("%s is %r, expected %r" % (what, got, wanted))


def screen_reader(pid):
    """What a screen reader user meets on a first run: every control named, both amounts read,
    a typed amount converted, the flag worked by its action."""
    app = application(pid)
    expect("application name", app.name, "Kestrova")
    window = poll("the main window", lambda: next((n for n in app if n.name == "Kestrova"), None))
    expect("window role", window.getRoleName(), "filler")

    wanted = {
        "Amount in euro": "text",
        "Amount in national currency": "text",
        "Euro": "filler",
        "Flag of the chosen country": "push button",
        "Background": "panel",
        "About": "push button",
        "Exit": "push button",
    }
    nodes = poll("all named controls", lambda: (
        lambda found: found if len(found) == len(wanted) else None)(
        {n.name: n for n in walk(window) if n.name in wanted}))
    for name, role in wanted.items():
        expect("role of " + name, nodes[name].getRoleName(), role)
    expect("flag description", nodes["Flag of the chosen country"].description, "Belgium")
    expect("background description", nodes["Background"].description, "Default texture")
    rate = find(app, "@label")
    expect("rate line", rate.name, "1 EUR = 40.3399 BEF")
    expect("rate line description", rate.description, " Belgian Francs ")

    euro, national = nodes["Amount in euro"], nodes["Amount in national currency"]
    expect("euro box", field(euro, "text"), "1")
    expect("national box", field(national, "text"), "40.34")
    poll("focus in the euro box", lambda: euro.getState().contains(pyatspi.STATE_FOCUSED) or None)

    # The euro text is selected on start, so typing replaces it.
    subprocess.run(["xdotool", "type", "--delay", "40", "12"], check=True)
    poll("12 euro in the euro box", lambda: field(euro, "text") == "12" or None)
    poll("484.08 in the national box", lambda: field(national, "text") == "484.08" or None)

    flag = nodes["Flag of the chosen country"]
    actions = flag.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if "Press" not in names or "ShowMenu" not in names:
        raise Failure("flag actions are %r" % names)
    actions.doAction(names.index("Press"))
    poll("Germany on the flag", lambda: flag.description == "Germany" or None)
    poll("23.47 in the national box", lambda: field(national, "text") == "23.47" or None)
    expect("rate line", find(app, "@label").name, "1 EUR = 1.95583 DEM")


def main(argv):
    command, pid = argv[1], int(argv[2])
    if command == "wait":
        wait(pid, argv[3], argv[4], argv[5])
    elif command == "get":
        print(read(pid, argv[3], argv[4]))
    elif command == "focused":
        print(focused(pid))
    elif command == "action":
        action(pid, argv[3], argv[4])
    elif command == "screen-reader":
        screen_reader(pid)
    else:
        raise Failure("unknown command " + command)


if __name__ == "__main__":
    try:
        main(sys.argv)
    except Failure as failure:
        print("atspi: %s" % failure, file=sys.stderr)
        sys.exit(1)
