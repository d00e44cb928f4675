"""A user of Kestrova on a desktop: copies started, their windows typed into, clicked and
pictured, their controls read through the accessibility bus, their settings from their store."""

import os
import re

import pyatspi

from support import wait_until

# The names a screen reader gives the controls.
EURO, NATIONAL = "Amount in euro", "Amount in national currency"
FLAG, BACKGROUND = "Flag of the chosen country", "Background"


def regedit4(values):
    """A settings key's values as the registry editor writes them, and the settings file too."""
    lines = [f'"{name}"="{text}"\n' for name, text in values.items()]
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n" + "".join(lines)


class SettingsFile:
    """Where a user keeps the settings on Linux."""

    def __init__(self, folder):
        self.path = f"{folder}/config/Quillmere/Kestrova.reg"

    def read(self):
        """The values; None when the file is missing or a line of it is not whole."""
        try:
            with open(self.path, encoding="utf-8") as file:
                lines = file.read().split("\n")
        except (OSError, UnicodeDecodeError):
            return None
        pattern = r'"([^"\\]*)"="((?:[^"\\]|\\.)*)"|\[HKEY_CURRENT_USER[^\]]*\]|'
        found = [re.fullmatch(pattern, line) for line in lines[1:-1]]
        if lines[0] != "REGEDIT4" or lines[-1] or not all(found):
            return None
        return {line[1]: line[2] for line in found if line[1]}  # none used here needs unescaping

    def seed(self, values):
        os.makedirs(os.path.dirname(self.path), mode=0o700, exist_ok=True)
        with open(self.path, "w") as file:
            file.write(regedit4(values))


class User:
    """Someone with a home and settings of their own on a desktop, and a browser that only notes
    what it was asked to open."""

    def __init__(self, desktop, folder, processes):
        self.desktop, self.folder, self.processes = desktop, folder, processes
        self.store = desktop.registry or SettingsFile(folder)
        os.makedirs(f"{folder}/run", mode=0o700)
        os.makedirs(f"{folder}/bin")
        self.opened = f"{folder}/bin/opened"
        with open(f"{folder}/bin/xdg-open", "w") as browser:
            browser.write(f'#!/bin/sh\necho "$@" >>{self.opened}\n')
        os.chmod(f"{folder}/bin/xdg-open", 0o755)
        self.env = dict(os.environ, **desktop.env, HOME=folder, XDG_RUNTIME_DIR=f"{folder}/run")
        self.env.update(
            XDG_CONFIG_HOME=f"{folder}/config", PATH=f"{folder}/bin:{os.environ['PATH']}"
        )
        self.log = f"{folder}/out.log"

    def seed(self, **values):
        self.store.seed(values)

    def saved(self):
        values = self.store.read()
        assert values is not None, "the settings are missing or damaged"
        return values

    def expect_place(self, saved, x, y):
        """That the saved values keep the frame's place, in twips, where the desktop tells it."""
        if self.desktop.tells_places:
            kept = (int(saved["Left"]) / 15, int(saved["Top"]) / 15)
            assert self.desktop.near(kept, (x, y)), f"kept {kept}, the frame is at {x}, {y}"

    def start(self, program=None, user=None, **env):
        as_user = {"user": user, "group": "nogroup", "extra_groups": []} if user else {}
        command = self.desktop.command(program)
        with open(self.log, "ab") as log:
            process = self.processes.start(
                *command, env=dict(self.env, **env), stdout=log, **as_user
            )
        return Copy(self, process)

    def ready(self, euro=EURO, **env):
        """A copy with its window up and the focus in the euro box, named `euro` to a reader."""
        copy = self.start(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **env)
        copy.window()
        if self.desktop.reads_controls:
            copy.expect(euro, "focused", True)
        else:
            wait_until("the window to be the active one", lambda: self.desktop.active(copy.win))
        return copy


class Copy:
    """One started copy of the program; `win` is its main window once found."""

    def __init__(self, user, process):
        self.user, self.desktop, self.process, self.win = user, user.desktop, process, None

    def window(self, title="Kestrova"):
        def shown():
            assert self.process.poll() is None, f"the copy ended before showing {title}"
            return self.desktop.window(self.process.pid, title)

        found = wait_until(f"the window {title}", shown)
        if title == "Kestrova":
            self.win = found
        return found

    def running(self):
        """Whether this is the copy that runs: only it catches SIGTERM, once its window is up."""
        try:
            with open(f"/proc/{self.process.pid}/status") as file:
                status = file.read()
        except OSError:
            return False
        caught = int(re.search(r"SigCgt:\s*(\w+)", status)[1], 16)
        return "Name:\tkestrova\n" in status and bool(caught >> 14 & 1)

    def ended(self):
        wait_until("the copy to end", lambda: self.process.poll() is not None)

    def quit(self, keys="alt+x"):
        self.desktop.keys(keys)
        self.ended()

    def stop(self, signal):
        self.process.send_signal(signal)
        self.ended()

    def answer(self):
        """Enter to a refused copy's box, found afresh each time, until the copy ends: a key that
        came before the box had the focus would be lost."""

        def enter():
            if self.process.poll() is None:
                self.desktop.activate(self.desktop.window(self.process.pid, "Kestrova"))
                self.desktop.keys("Return")
            return self.process.poll() is not None

        wait_until("the refused copy to end on Enter", enter)

    def keys(self, *keys):
        self.desktop.keys(*keys)

    def click(self, place, button=1, count=1, win=None):
        """At a place of the window's client area."""
        win = win or self.win
        self.desktop.click(win.x + place[0], win.y + place[1], button, count)

    def control(self, name):
        """A control of this copy by its spoken name; "rate line" is the label on the background,
        whose name is its text."""
        desktop = pyatspi.Registry.getDesktop(0)
        app = next(a for a in desktop if a and a.get_process_id() == self.process.pid)

        def wanted(node):
            if name == "rate line":
                return node.getRoleName() == "label" and node.parent.getRoleName() == "panel"
            return node.name == name and node.getRoleName() != "application"

        return pyatspi.findDescendant(app, wanted)

    def read(self, name, field):
        node = self.control(name)
        if field == "text":
            return node.queryText().getText(0, -1)
        if field == "focused":
            return node.getState().contains(pyatspi.STATE_FOCUSED)
        if field == "role":
            return node.getRoleName()
        return getattr(node, field)  # name, description

    def expect(self, name, field, wanted):
        """Where no screen reader reaches (Wine), what the window shows is checked through the
        screen and what it keeps."""
        if not self.desktop.reads_controls:
            return wanted
        return wait_until(f"the {field} of {name}", lambda: self.read(name, field), wanted)

    def expect_amounts(self, euro, national):
        self.expect(EURO, "text", euro)
        self.expect(NATIONAL, "text", national)

    def expect_rate(self, line, currency=None):
        self.expect("rate line", "name", line)
        if currency:
            self.expect("rate line", "description", currency)

    def pixel(self, place):
        x, y = self.win.x + place[0], self.win.y + place[1]
        return self.desktop.grab(x, y, 1, 1).getpixel((0, 0))

    def expect_colour(self, place, colour):
        wait_until(f"the colour at {place}", lambda: self.pixel(place), colour)

    def frame(self):
        """The window's outer place and size, as the desktop draws it."""
        self.win = self.window()
        return self.desktop.frame(self.win)

    def move(self, x, y):
        """By the desktop's hand, where it can; the program must then know where its window is."""
        if not self.desktop.tells_places:
            return
        before = self.frame()[:2]
        self.desktop.move(self.win, x, y)

        def known():
            if self.frame()[:2] == before:
                return False
            if not self.desktop.reads_controls:
                return True  # the program hears of it before any later event
            position = self.control("Kestrova").queryComponent().getPosition(0)
            return tuple(position) == self.win[1:3]

        wait_until("the program knowing where its window went", known)

    def screenshot(self, name, win=None):
        folder = os.environ.get("KESTROVA_E2E_ARTIFACTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            shot = self.desktop.grab(*self.desktop.frame(win or self.window()))
            shot.save(os.path.join(folder, f"{self.desktop.name}-{name}"))

    def popup(self, place, keys=None):
        """Opens the country pop-up by keys or the right button, checks that it starts at the
        place, and gives its height."""
        x, y = self.win.x + place[0] - 8, self.win.y + place[1] - 8
        before = self.desktop.grab(x, y, 40, 360)
        self.keys(keys) if keys else self.click(place, button=3)

        def opened():
            shot = self.desktop.grab(x, y, 40, 360)
            return shot.getpixel((14, 14)) != before.getpixel((14, 14)) and shot

        after = wait_until("the country pop-up", opened)
        for spot in ((2, 2), (14, 2), (2, 14)):
            assert after.getpixel(spot) == before.getpixel(spot), f"the pop-up is not at {place}"
        column = [after.getpixel((14, h)) != before.getpixel((14, h)) for h in range(after.height)]
        return max(h for h, changed in enumerate(column) if changed) - 7
