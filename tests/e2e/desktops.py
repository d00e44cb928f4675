"""The desktops the scenarios run on: each starts its display server in a fresh folder, and finds,
types into, clicks and pictures windows there. Coordinates are the screen's."""

import glob
import io
import json
import os
import re
import shutil
import socket
import struct
import subprocess
import tempfile
import time
from collections import namedtuple

from PIL import Image, ImageGrab

from kestrova import regedit4
from support import wait_until

Window = namedtuple("Window", "id x y w h")


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


class Desktop:
    """What the desktops share, unless they say otherwise: the program runs as it is built,
    keeps its settings in a file, is read through the accessibility bus."""

    size = (1024, 768)
    reads_controls = True
    registry = None
    frame_slack = 0

    def __init__(self, program):
        self.program = program

    def command(self, program=None):
        return [program or self.program]

    def near(self, place, other):
        """Whether two places of a frame agree, as far as the desktop draws frames where the
        program thinks they are."""
        return max(abs(a - b) for a, b in zip(place, other)) <= self.frame_slack


class X11(Desktop):
    """Xvfb with openbox as Debian configures it (Clearlooks frames, Alt+F4), worked by xdotool."""

    name = "x11"
    tells_places = True  # a program knows where its window is, and can put it there
    minimises = True

    def __init__(self, processes, folder, program):
        super().__init__(program)
        self.env = {"QT_QPA_PLATFORM": "xcb"}
        read, write = os.pipe()
        # -noreset: a reset, when a killed copy was the last client, would turn the next away.
        server = ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-noreset"]
        processes.start(*server, "-nolisten", "tcp", pass_fds=[write])
        os.close(write)
        with os.fdopen(read) as display:
            os.environ["DISPLAY"] = ":" + display.readline().strip()
        processes.start("openbox", "--sm-disable", "--config-file", self._openbox(folder))
        wait_until(
            "openbox", lambda: b"window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")
        )
        # xdotool's first key remaps the keyboard, and openbox then grabs its keys anew: a key
        # that came at that moment could be lost.
        self.keys("Shift_L")

    def _openbox(self, folder):
        return "/etc/xdg/openbox/rc.xml"

    def _search(self, *args):
        found = subprocess.run(
            ["xdotool", "search", "--all", "--onlyvisible", *args], capture_output=True
        )
        return found.stdout.split()

    def window(self, pid, title):
        for found in self._search("--pid", str(pid), "--name", f"^{title}$")[:1]:
            info = run("xwininfo", "-id", found).decode()
            keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
            numbers = (int(re.search(rf"{key}:\s+(-?\d+)", info)[1]) for key in keys)
            return Window(found.decode(), *numbers)

    def showing(self, title):  # the process ids of all windows of that title, in one look
        return {int(pid) for pid in self._search("--name", f"^{title}$", "getwindowpid", "%@")}

    def frame(self, win):
        extents = run("xprop", "-id", win.id, "_NET_FRAME_EXTENTS").split(b"=")[1]
        left, right, top, bottom = map(int, extents.split(b","))
        return win.x - left, win.y - top, win.w + left + right, win.h + top + bottom

    def click(self, x, y, button=1, count=1):
        clicks = ["click", "--repeat", str(count), "--delay", "60", str(button)] if count else []
        run("xdotool", "mousemove", str(x), str(y), *clicks)

    def close_box(self, win):
        x, y, w, _ = self.frame(win)
        self.click(x + w - 11, y + 10)  # at the right end of the title bar

    def keys(self, *keys):
        run("xdotool", "key", "--delay", "40", *keys)

    def move(self, win, x, y):
        run("xdotool", "windowmove", "--sync", win.id, str(x), str(y))

    def activate(self, win):
        run("xdotool", "windowactivate", "--sync", win.id)

    def active(self, win):
        return run("xdotool", "getactivewindow").strip() == win.id.encode()

    def grab(self, x, y, w, h):
        return ImageGrab.grab((x, y, x + w, y + h), xdisplay=os.environ["DISPLAY"]).convert("RGB")


class Wine(X11):
    """Kestrova for Windows on the X11 desktop, installed silently by its installer into a fresh
    Wine prefix; its settings in that prefix's registry. No accessibility bus reaches into Wine
    here: what the window shows is read off the screen, and what it keeps off the registry."""

    name = "wine"
    reads_controls = False
    frame_slack = 2  # Wine's idea of a frame is a little off the one openbox draws
    WINE, KEY = "/usr/lib/wine/wine64", r"HKEY_CURRENT_USER\Software\Quillmere\Kestrova"
    FONTS = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes"

    def __init__(self, processes, folder, installer):
        super().__init__(processes, folder, None)
        prefix, temporary = f"{folder}/wine", f"{folder}/tmp"  # the server's socket goes there
        os.mkdir(prefix)
        os.mkdir(temporary)
        self.env.update(WINEPREFIX=prefix, TMPDIR=temporary, WINEDEBUG="-all")
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml="  # no .NET or web engine to install
        # The server holds every Windows process of the prefix: they end with it.
        processes.start("/usr/lib/wine/wineserver", "--foreground", "--persistent", env=self._env())
        wait_until("the Wine server", lambda: glob.glob(f"{temporary}/wine-*/server-*/socket"))
        self.wine("wineboot", "--init")
        # Windows has a sans-serif dialog font; of what Debian offers Wine, DejaVu Sans draws
        # small sizes and bold whole, as Wine's own Tahoma does not.
        for font in ("MS Shell Dlg", "MS Shell Dlg 2"):
            self.wine("reg", "add", self.FONTS, "/v", font, "/d", "DejaVu Sans", "/f")
        self.wine(installer, "/S")
        self.program = r"C:\Program Files\Kestrova\kestrova.exe"
        self.drive = f"{prefix}/drive_c"
        self.registry = self

    def _openbox(self, folder):
        # Windows closes on Alt+F4 itself. Taken by openbox, the key left Wine a lone Alt, whose
        # release can put the window in its menu mode before the close gets through.
        with open(super()._openbox(folder)) as rc, open(f"{folder}/openbox.xml", "w") as own:
            own.write(rc.read().replace('<keybind key="A-F4">', '<keybind key="A-F24">'))
        return own.name

    def _env(self):
        return dict(os.environ, **self.env)

    def wine(self, *command, check=True, answer=None):
        # Tried again when it fails for no reason it gives (`answer` is one), as a Wine command
        # now and then does just after the prefix's last program ended. Into a file, not a pipe:
        # services a command starts keep a pipe open after it ends.
        for _ in range(3):
            with tempfile.TemporaryFile("w+") as said:
                line = [self.WINE, *command]
                done = subprocess.run(line, env=self._env(), stdout=said, stderr=said)
                said.seek(0)
                done.stdout = said.read()
            if done.returncode == 0 or (answer and answer in done.stdout):
                break
        assert done.returncode == 0 or not check, f"{command}: {done.returncode} {done.stdout}"
        return done

    def command(self, program=None):
        return [self.WINE, program or self.program]

    # A tool window's frame and small caption Wine draws itself, inside the X window, with these
    # left, top, right and bottom widths by its default metrics; openbox draws the others.
    OWN_FRAME = (4, 20, 4, 4)

    def _own_frame(self, win):
        return b"= 0, 0, 0, 0" in run("xprop", "-id", win.id, "_NET_FRAME_EXTENTS")

    def window(self, pid, title):
        win = super().window(pid, title)
        if win and self._own_frame(win):
            left, top, right, bottom = self.OWN_FRAME
            x, y, w, h = win.x + left, win.y + top, win.w - left - right, win.h - top - bottom
            win = Window(win.id, x, y, w, h)
        return win

    def frame(self, win):
        if not self._own_frame(win):
            return super().frame(win)
        left, top, right, bottom = self.OWN_FRAME
        return win.x - left, win.y - top, win.w + left + right, win.h + top + bottom

    def log_out(self):
        """Windows ends a session by asking each window whether it may, then telling it that it
        does; Wine's wineboot does both."""
        self.wine("wineboot", "--end-session")

    def read(self):
        """The settings key's values; None when there is no key."""
        missing = "Unable to find the specified registry key"
        found = self.wine("reg", "query", self.KEY, check=False, answer=missing)
        if found.returncode:
            assert missing in found.stdout, found.stdout
            return None
        pattern = r"    (\S+)    REG_SZ    (.*)"
        lines = (re.fullmatch(pattern, line) for line in found.stdout.splitlines())
        return {line[1]: line[2] for line in lines if line}

    def seed(self, values):
        with tempfile.NamedTemporaryFile("w", suffix=".reg", dir=self.drive) as file:
            file.write(regedit4(values))
            file.flush()
            self.wine("regedit", "/S", "C:\\" + os.path.basename(file.name))


class Wayland(Desktop):
    """sway's headless backend without XWayland, run as nobody since it refuses root; typed with
    wtype, pictured with grim, clicked through a virtual pointer of our own."""

    name = "wayland"
    tells_places = minimises = False

    def __init__(self, processes, folder, program):
        super().__init__(program)
        self.env = {"QT_QPA_PLATFORM": "wayland"}
        os.chmod(folder, 0o711)
        home = os.path.join(folder, "sway")
        os.mkdir(home)
        shutil.chown(home, "nobody", "nogroup")
        with open(f"{home}/config", "w") as config:
            config.write(
                "xwayland disable\noutput * mode 1024x768\ndefault_floating_border none\n"
                "focus_follows_mouse no\nbindsym Mod1+F4 kill\n"
            )
        nobody = ["setpriv", "--reuid", "nobody", "--regid", "nogroup", "--clear-groups"]
        env = dict(PATH=os.environ["PATH"], HOME=home, XDG_RUNTIME_DIR=home)
        env.update(WLR_BACKENDS="headless", WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1")
        processes.start(*nobody, "sway", "-c", f"{home}/config", env=env)
        os.environ["SWAYSOCK"] = wait_until("sway", lambda: glob.glob(f"{home}/sway-ipc.*.sock"))[0]
        os.environ["WAYLAND_DISPLAY"] = glob.glob(f"{home}/wayland-?")[0]
        self.pointer = VirtualPointer(os.environ["WAYLAND_DISPLAY"], self.size)
        # A keyboard that stays, as on a desk: when the last one goes, the focus goes with it.
        processes.start("wtype", "-s", "2000000")
        wait_until("a keyboard", lambda: b'"capabilities": 3' in run("swaymsg", "-t", "get_seats"))

    def window(self, pid, title):
        nodes = [json.loads(run("swaymsg", "-t", "get_tree"))]
        for node in nodes:  # the list grows as the tree is walked
            nodes += node["nodes"] + node["floating_nodes"]
            if node.get("pid") == pid and node["name"] == title and node.get("visible"):
                outer, inner = node["rect"], node["window_rect"]
                x, y = outer["x"] + inner["x"], outer["y"] + inner["y"]
                return Window(node["id"], x, y, inner["width"], inner["height"])

    def frame(self, win):
        return win[1:]

    def keys(self, *keys):
        # Each wtype is a new keyboard, whose first key Qt loses: a harmless one goes first.
        args = ["-d", "40", "-k", "Shift_L", "-s", "150"]
        for key in keys:
            *held, last = key.split("+")
            args += [a for m in held for a in ("-M", m)] + ["-k", last]
            args += [a for m in held for a in ("-m", m)]
        run("wtype", *args)

    def click(self, x, y, button=1, count=1):
        self.pointer.move_to(x, y)
        for _ in range(count):
            self.pointer.button(button, pressed=True)
            self.pointer.button(button, pressed=False)

    def close_box(self, win):
        run("swaymsg", f"[con_id={win.id}] kill")  # the compositor's own close

    def activate(self, win):
        run("swaymsg", f"[con_id={win.id}] focus")

    def grab(self, x, y, w, h):
        return Image.open(io.BytesIO(run("grim", "-t", "ppm", "-g", f"{x},{y} {w}x{h}", "-")))


class VirtualPointer:
    """A pointer on the Wayland socket, spoken to in the protocol's own wire format: headless sway
    has none, Qt needs one, and no Debian package offers one to a script."""

    MANAGER = b"zwlr_virtual_pointer_manager_v1"
    BUTTONS = {1: 0x110, 3: 0x111}  # the kernel's codes of the left and right buttons

    def __init__(self, display, size):
        self.size = size
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.connect(display)
        self._send(1, 1, 2)  # wl_display.get_registry: object 2 announces the globals
        self._send(1, 0, 3)  # wl_display.sync: object 3 says when all are announced
        manager_name = self._global_named(self.MANAGER)
        interface = self.MANAGER + b"\0" * (4 - len(self.MANAGER) % 4)
        self._send(2, 0, manager_name, len(self.MANAGER) + 1, interface, 1, 4)  # bind as object 4
        self._send(4, 0, 0, 5)  # create_virtual_pointer on the default seat: object 5

    def _send(self, target, opcode, *args):
        body = b"".join(a if isinstance(a, bytes) else struct.pack("<I", a) for a in args)
        self.socket.sendall(struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body)

    def _global_named(self, interface):
        data, names = b"", {}
        while True:
            data += self.socket.recv(4096)
            while len(data) >= 8 and len(data) >= struct.unpack_from("<HH", data, 4)[1]:
                sender, _, size = struct.unpack_from("<IHH", data)
                body, data = data[8:size], data[size:]
                if sender == 3:  # the sync is done: every global has been announced
                    return names[interface]
                if sender == 2:  # wl_registry.global: name, interface, version
                    length = struct.unpack_from("<I", body, 4)[0]
                    names[body[8 : 8 + length - 1]] = struct.unpack_from("<I", body)[0]

    def _event(self, opcode, *args):
        self._send(5, opcode, int(time.monotonic() * 1000) & 0xFFFFFFFF, *args)
        self._send(5, 4)  # frame
        time.sleep(0.03)

    def move_to(self, x, y):
        self._event(1, x, y, *self.size)  # motion_absolute

    def button(self, button, pressed):
        self._event(2, self.BUTTONS[button], int(pressed))


DESKTOPS = {"x11": X11, "wayland": Wayland, "wine": Wine}
