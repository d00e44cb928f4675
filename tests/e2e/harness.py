"""The desktops the scenarios run on, and what a scenario does there: start copies of Kestrova,
find their windows, type, click, look at the screen, read the controls through the
accessibility bus and the settings file from the disk."""
import glob
import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import time

TIMEOUT = 15


class Failure(Exception):
    pass


def poll(what, probe, timeout=TIMEOUT, every=0.05):
    """probe() until it gives something true; any other error it raises explains a time-out."""
    end, last = time.monotonic() + timeout, None
    while True:
        try:
            found = probe()
            if found:
                return found
        except Failure:
            raise
        except Exception as error:  # the tree or the window changes under us: try again
            last = error
        if time.monotonic() > end:
            raise Failure(f"{what}: not within {timeout:.0f} s" + (f" ({last})" if last else ""))
        time.sleep(every)


def until(what, read, wanted):
    """Polls read() until it gives wanted."""
    def probe():
        got = read()
        if got != wanted:
            raise ValueError(f"last seen {got!r}")
        return True
    poll(f"{what} = {wanted!r}", probe)


def sh(*command, stdin=None):
    return subprocess.run(command, input=stdin, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout


def spawn(*command, **options):
    return subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **options)


VALUE = re.compile(r'"([^"\\]*)"="((?:[^"\\]|\\.)*)"|\[HKEY_CURRENT_USER[^\]]*\]|')


def values(path):
    """The settings file's values, or None when it is missing or any line of it is not whole."""
    try:
        lines = open(path, encoding="utf-8").read().split("\n")
    except (OSError, UnicodeDecodeError):
        return None
    if lines[0] != "REGEDIT4" or lines[-1] != "":
        return None
    found = {}
    for line in lines[1:-1]:
        match = VALUE.fullmatch(line)
        if not match:
            return None
        if match[1] is not None:
            found[match[1]] = match[2]  # none of the texts used here needs unescaping
    return found


class Picture:
    """Pixels of a PPM (P6) picture."""

    def __init__(self, ppm):
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.w, self.h, self.data = int(header[1]), int(header[2]), ppm[header.end():]

    def __getitem__(self, xy):
        at = 3 * (xy[1] * self.w + xy[0])
        return tuple(self.data[at:at + 3])

    def distance(self, other):
        """Mean difference per colour byte from a picture of the same size."""
        if (self.w, self.h) != (other.w, other.h):
            return 255
        return sum(abs(a - b) for a, b in zip(self.data, other.data)) / len(self.data)


class Window:
    def __init__(self, ident, x, y, w, h):
        self.id, self.x, self.y, self.w, self.h = ident, x, y, w, h


class X11:
    """Xvfb with openbox (frames, activation, Alt+F4), typed and clicked with xdotool."""
    name, places, size = "x11", True, (1024, 768)
    RC = ('<openbox_config xmlns="http://openbox.org/3.4/rc"><focus><focusNew>yes</focusNew>'
          '<followMouse>no</followMouse></focus><placement><policy>Smart</policy></placement>'
          '<theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme><desktops>'
          '<number>1</number></desktops><keyboard><keybind key="A-F4"><action name="Close"/>'
          '</keybind></keyboard><menu><file>/dev/null</file></menu></openbox_config>')

    def __init__(self, work):
        # -noreset: a killed copy is often the server's only client, and a reset server would
        # turn the next one away.
        read, write = os.pipe()
        self.procs = [spawn("Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                            "-noreset", "-nolisten", "tcp", pass_fds=[write])]
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            number += os.read(read, 16) or b"\n"
        os.environ["DISPLAY"] = ":" + number.decode().strip()
        with open(f"{work}/rc.xml", "w") as rc:
            rc.write(self.RC)
        self.procs.append(spawn("openbox", "--sm-disable", "--config-file", f"{work}/rc.xml"))
        poll("openbox", lambda: b"window id" in sh("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        self.env = {"QT_QPA_PLATFORM": "xcb"}

    def window(self, pid, title):
        found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid),
                                "--name", f"^{title}$"], stdout=subprocess.PIPE).stdout.split()
        if not found:
            return None
        info = sh("xwininfo", "-id", found[0]).decode()
        x, y, w, h = (int(re.search(rf"{key}:\s+(-?\d+)", info)[1])
                      for key in ("upper-left X", "upper-left Y", "Width", "Height"))
        return Window(found[0].decode(), x, y, w, h)

    def showing(self, title):
        """The process ids of every visible window of that title, in one look."""
        return {int(pid) for pid in subprocess.run(
            ["xdotool", "search", "--all", "--onlyvisible", "--name", f"^{title}$", "getwindowpid",
             "%@"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.split()}

    def frame(self, win):
        extents = sh("xprop", "-id", win.id, "_NET_FRAME_EXTENTS").decode().split("=")[1]
        left, right, top, bottom = map(int, extents.split(","))
        return win.x - left, win.y - top, win.w + left + right, win.h + top + bottom

    def keys(self, *keys):
        sh("xdotool", "key", "--delay", "40", *keys)

    def click(self, x, y, button=1, count=1):
        clicks = ["click", "--repeat", str(count), "--delay", "60", str(button)] if count else []
        sh("xdotool", "mousemove", str(x), str(y), *clicks)

    def close_box(self, win):
        x, y, w, _ = self.frame(win)
        self.click(x + w - 11, y + 10)

    def move(self, win, x, y):
        sh("xdotool", "windowmove", "--sync", win.id, str(x), str(y))

    def activate(self, win):
        sh("xdotool", "windowactivate", "--sync", win.id)

    def focused(self, win):
        return sh("xdotool", "getwindowfocus").decode().strip() == win.id

    def grab(self, x, y, w, h):
        return Picture(sh("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8",
                          "ppm:-"))


class VirtualPointer:
    """A pointer of our own through the compositor's virtual-pointer protocol, spoken on the
    Wayland socket: headless sway has no pointer, and clients get no pointer events without."""

    def __init__(self, path):
        def connect():
            sock = socket.socket(socket.AF_UNIX)
            sock.connect(path)
            return sock
        self.sock = poll("the compositor's socket", connect)
        self.send(1, 1, 2)  # wl_display.get_registry: object 2
        self.send(1, 0, 3)  # wl_display.sync: object 3 is done once every global is told
        names, data, done = {}, b"", False
        while not done:
            data += self.sock.recv(4096)
            while len(data) >= 8 and len(data) >= data[6] | data[7] << 8:
                sender, code = struct.unpack_from("<II", data)
                body, data = data[8:code >> 16], data[code >> 16:]
                if sender == 2:  # wl_registry.global: name, interface, version
                    names[body[8:8 + body[4] - 1].decode()] = struct.unpack_from("<I", body)[0]
                done = done or sender == 3
        interface = b"zwlr_virtual_pointer_manager_v1\0"
        self.send(2, 0, names[interface[:-1].decode()], len(interface),
                  interface + b"\0" * (-len(interface) % 4), 1, 4)  # bind: object 4
        self.send(4, 0, 0, 5)  # create_virtual_pointer on the default seat: object 5

    def send(self, target, opcode, *args):
        body = b"".join(a if isinstance(a, bytes) else struct.pack("<I", a) for a in args)
        self.sock.sendall(struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body)

    def event(self, opcode, *args):
        self.send(5, opcode, int(time.monotonic() * 1000) & 0xFFFFFFFF, *args)
        self.send(5, 4)  # frame

    def click(self, x, y, button, count):
        self.event(1, x, y, *Wayland.size)  # motion_absolute
        for _ in range(count):
            for state in (1, 0):
                self.event(2, {1: 0x110, 3: 0x111}[button], state)
            time.sleep(0.06)


class Wayland:
    """sway on its headless backend without XWayland, run as nobody since it refuses root;
    typed with wtype, pictured with grim, windows found in its tree."""
    name, places, size = "wayland", False, (1024, 768)

    def __init__(self, work):
        home = tempfile.mkdtemp(prefix="sway.")
        shutil.chown(home, "nobody", "nogroup")
        with open(f"{home}/config", "w") as config:
            config.write("xwayland disable\noutput * mode 1024x768\nfocus_follows_mouse no\n"
                         "bindsym Mod1+F4 kill\ndefault_floating_border none\n")
        env = {"PATH": os.environ["PATH"], "HOME": home, "XDG_RUNTIME_DIR": home,
               "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1"}
        self.procs = [spawn("setpriv", "--reuid", "nobody", "--regid", "nogroup", "--clear-groups",
                            "sway", "-c", f"{home}/config", env=env)]
        self.home = home
        os.environ["SWAYSOCK"] = poll("sway", lambda: glob.glob(f"{home}/sway-ipc.*.sock"))[0]
        poll("sway's output", lambda: json.loads(sh("swaymsg", "-t", "get_outputs")))
        os.environ["WAYLAND_DISPLAY"] = glob.glob(f"{home}/wayland-?")[0]
        self.pointer = VirtualPointer(os.environ["WAYLAND_DISPLAY"])
        # A keyboard that stays, as a desk has: each wtype call adds one of its own for a while,
        # and the last one leaving would take the windows' focus with it.
        self.procs.append(spawn("wtype", "-s", "2000000"))
        poll("a keyboard", lambda: b'"capabilities": 3' in sh("swaymsg", "-t", "get_seats"))
        self.env = {"QT_QPA_PLATFORM": "wayland"}

    def window(self, pid, title):
        nodes = [json.loads(sh("swaymsg", "-t", "get_tree"))]
        while nodes:
            node = nodes.pop()
            nodes += node["nodes"] + node["floating_nodes"]
            if node.get("pid") == pid and node["name"] == title and node.get("visible"):
                outer, inner = node["rect"], node["window_rect"]
                return Window(node["id"], outer["x"] + inner["x"], outer["y"] + inner["y"],
                              inner["width"], inner["height"])
        return None

    def frame(self, win):
        return win.x, win.y, win.w, win.h

    def keys(self, *keys):
        # Each call is a new keyboard, and Qt loses its first key: a harmless one leads.
        args = ["-d", "40", "-k", "Shift_L", "-s", "150"]
        for key in keys:
            *modifiers, name = key.split("+")
            args += [a for m in modifiers for a in ("-M", m)] + ["-k", name]
            args += [a for m in modifiers for a in ("-m", m)]
        sh("wtype", *args)

    def click(self, x, y, button=1, count=1):
        self.pointer.click(x, y, button, count)

    def close_box(self, win):
        sh("swaymsg", f"[con_id={win.id}] kill")

    def activate(self, win):
        sh("swaymsg", f"[con_id={win.id}] focus")

    def grab(self, x, y, w, h):
        return Picture(sh("grim", "-t", "ppm", "-g", f"{x},{y} {w}x{h}", "-"))

    def dense(self):
        sh("swaymsg", "output * mode 2048x1536 scale 2")  # the same logical size, twice the pixels


BACKENDS = {"x11": X11, "wayland": Wayland}


def nodes(node):
    for child in node:
        if child is not None:
            yield child
            yield from nodes(child)


class Case:
    """One user on a desktop, with fresh home, settings and lock folders, and the copies of
    Kestrova started for them; self.p and self.win are the copy in hand and its window."""
    started = []

    def __init__(self, desk, binary, folder):
        self.d, self.binary, self.folder, self.p, self.win = desk, binary, folder, None, None
        self.env = dict(os.environ, **desk.env, HOME=f"{folder}/home", XDG_RUNTIME_DIR=f"{folder}/run",
                        XDG_CONFIG_HOME=f"{folder}/config")
        for sub in ("home", "run"):
            os.makedirs(f"{folder}/{sub}", mode=0o700)
        self.store = f"{folder}/config/Quillmere/Kestrova.reg"
        self.log = open(f"{folder}/out.log", "ab")

    def seed(self, **settings):
        os.makedirs(os.path.dirname(self.store), mode=0o700, exist_ok=True)
        with open(self.store, "w") as store:
            store.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n" +
                        "".join(f'"{name}"="{text}"\n' for name, text in settings.items()))

    def start(self, binary=None, user=None, **env):
        someone = {"user": user, "group": "nogroup", "extra_groups": []} if user else {}
        copy = subprocess.Popen([binary or self.binary], env=dict(self.env, **env), stdout=self.log,
                                stderr=subprocess.STDOUT, **someone)
        Case.started.append(copy)
        return copy

    @staticmethod
    def running(copy):
        """The copy is the running one: it catches SIGTERM only once its window is up."""
        try:
            if open(f"/proc/{copy.pid}/comm").read() != "kestrova\n":
                return False
            mask = re.search(r"SigCgt:\s*(\w+)", open(f"/proc/{copy.pid}/status").read())[1]
            return int(mask, 16) >> (signal.SIGTERM - 1) & 1 == 1
        except OSError:
            return False

    def window(self, copy, title="Kestrova"):
        def shown():
            if copy.poll() is not None:
                raise Failure(f"copy {copy.pid} ended ({copy.returncode}) before showing {title}")
            return self.d.window(copy.pid, title)
        return poll(f"window {title} of copy {copy.pid}", shown)

    def ended(self, copy=None):
        copy = copy or self.p
        poll(f"the end of copy {copy.pid}", lambda: copy.poll() is not None)

    def ready(self, **env):
        """A copy with its window up and the focus in the euro box."""
        self.p = self.start(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **env)
        self.win = self.window(self.p)
        self.expect("Amount in euro", "focused", True)
        return self.p

    def quit(self, keys="alt+x"):
        self.d.keys(keys)
        self.ended()

    def stop(self, signal_number):
        self.p.send_signal(signal_number)
        self.ended()

    def click(self, x, y, win=None, button=1, count=1):
        win = win or self.win
        self.d.click(win.x + x, win.y + y, button, count)

    def control(self, name, pid=None):
        """A control by its accessible name; "@label" is the rate line, the background's label."""
        import pyatspi
        apps = pyatspi.Registry.getDesktop(0)
        app = next(a for a in apps if a is not None and a.get_process_id() == (pid or self.p.pid))
        if name == "@label":
            app = next(n for n in nodes(app) if n.name == "Background" and n.getRoleName() == "panel")
            return next(n for n in nodes(app) if n.getRoleName() == "label")
        return next(n for n in nodes(app) if n.name == name)

    @staticmethod
    def read(node, field):
        import pyatspi
        if field == "text":
            return node.queryText().getText(0, -1)
        if field == "focused":
            return node.getState().contains(pyatspi.STATE_FOCUSED)
        return node.getRoleName() if field == "role" else getattr(node, field)

    def expect(self, name, field, wanted, pid=None):
        until(f"{field} of {name}", lambda: self.read(self.control(name, pid), field), wanted)

    def saved(self, **wanted):
        got = values(self.store)
        if got is None:
            raise Failure("the settings file is missing or damaged")
        for name, text in wanted.items():
            if got.get(name) != text:
                raise Failure(f'"{name}" is {got.get(name)!r}, expected {text!r}')
        return got

    # Where a window lies is known on X11 only: the frame's corner, stored in twips.
    def note_place(self):
        self.win = self.window(self.p)
        self.place = self.d.frame(self.win)[:2]

    def move(self, x, y):
        """Moves the window by the desktop's hand, and waits until Kestrova knows where it is."""
        import pyatspi
        before = self.d.frame(self.win)
        self.d.move(self.win, x, y)

        def known():
            self.win = self.window(self.p)
            seen = self.control("Kestrova").queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
            return self.d.frame(self.win) != before and tuple(seen) == (self.win.x, self.win.y)
        poll("Kestrova knowing where its window went", known)
        self.place = self.d.frame(self.win)[:2]

    def place_saved(self):
        if self.d.places:
            self.saved(Top=str(self.place[1] * 15), Left=str(self.place[0] * 15))

    def restart_in_place(self):
        self.ready()
        if self.d.places and self.d.frame(self.win)[:2] != self.place:
            raise Failure(f"restored at {self.d.frame(self.win)[:2]}, closed at {self.place}")

    def pixel(self, x, y, what, colour):
        until(what, lambda: self.d.grab(self.win.x + x, self.win.y + y, 1, 1)[0, 0], colour)

    def screenshot(self, name):
        folder = os.environ.get("KESTROVA_E2E_ARTIFACTS")
        if folder:
            shot = self.d.grab(*self.d.frame(self.win))
            ppm = b"P6 %d %d 255\n" % (shot.w, shot.h) + shot.data
            os.makedirs(folder, exist_ok=True)
            prefix = "" if self.d.name == "x11" else self.d.name + "-"
            sh("convert", "ppm:-", f"{folder}/{prefix}{name}", stdin=ppm)

    def popup(self, x, y, open_menu):
        """open_menu() must show the country pop-up with its top left corner at (x, y) of the
        screen, the place told by what lies under it then and not before; gives its height."""
        region = (x - 8, y - 8, 40, 360)
        before = self.d.grab(*region)
        open_menu()

        def shown():
            shot = self.d.grab(*region)
            return shot if shot[14, 14] != before[14, 14] else None
        after = poll("the country pop-up", shown)
        if any(after[spot] != before[spot] for spot in ((2, 2), (14, 2), (2, 14))):
            raise Failure(f"the pop-up reaches above or left of {x},{y}")
        return max(h for h in range(after.h) if after[14, h] != before[14, h]) - 7

    def about(self, open_about, close_about):
        """The about window comes with the focus on its Ok, goes, and the focus is back."""
        open_about()
        about = self.window(self.p, "About")
        self.expect("Ok", "focused", True)
        close_about(about)
        poll("the about window to go", lambda: self.d.window(self.p.pid, "About") is None)
        self.expect("Amount in euro", "focused", True)
