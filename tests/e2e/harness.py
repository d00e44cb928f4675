"""The desktops the scenarios run on, and a user there: copies of Kestrova started, their windows found,
typed into, clicked and pictured, their controls and settings file read back."""
import collections, glob, json, os, re, shutil, socket, struct, subprocess, tempfile, time  # noqa: E401

STARTED = []  # every process started, to end with the scenario
Window = collections.namedtuple("Window", "id x y w h")


class Failure(BaseException):  # not an Exception, so that poll lets it through
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def poll(what, probe, wanted=..., timeout=30, every=0.05):  # until probe() gives wanted, or anything true
    end, last = time.monotonic() + timeout, ""
    while True:
        try:
            found = probe()
            if (found == wanted) if wanted is not ... else found:
                return found
            last = f" (last seen {found!r})"
        except Exception as error:  # the tree or the window changes under us: look again
            last = f" ({error!r})"
        check(time.monotonic() < end, f"{what}: not within {timeout} s{last}")
        time.sleep(every)


def sh(*command, stdin=None):
    return subprocess.run(command, input=stdin, check=True, capture_output=True).stdout


def spawn(*command, **options):
    STARTED.append(subprocess.Popen(command, **{"stdout": subprocess.DEVNULL, "stderr": subprocess.STDOUT, **options}))
    return STARTED[-1]


def values(path):  # the settings file's values; None when it is missing or a line of it is not whole
    try:
        lines = open(path, encoding="utf-8").read().split("\n")
    except (OSError, UnicodeDecodeError):
        return None
    found = [re.fullmatch(r'"([^"\\]*)"="((?:[^"\\]|\\.)*)"|\[HKEY_CURRENT_USER[^\]]*\]|', x) for x in lines[1:-1]]
    ok = lines[0] == "REGEDIT4" and not lines[-1] and all(found)
    return {m[1]: m[2] for m in found if m[1]} if ok else None  # no text used here needs unescaping


class Picture:  # the pixels of a P6 picture, from ImageMagick or grim
    def __init__(self, ppm):
        self.ppm, header = ppm, re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.w, self.h, self.data = int(header[1]), int(header[2]), ppm[header.end():]

    def __getitem__(self, xy): return tuple(self.data[3 * (xy[1] * self.w + xy[0]):][:3])


class X11:  # Xvfb, openbox as Debian configures it (Clearlooks frames, Alt+F4), xdotool
    name, places, size, env = "x11", True, (1024, 768), {"QT_QPA_PLATFORM": "xcb"}

    def __init__(self, work):
        read, write = os.pipe()  # -noreset: a reset, when a killed copy was the last client, turns the next away
        spawn("Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-noreset", "-nolisten", "tcp",
              pass_fds=[write])
        os.close(write)
        os.environ["DISPLAY"] = ":" + os.fdopen(read).readline().strip()
        spawn("openbox", "--sm-disable", "--config-file", "/etc/xdg/openbox/rc.xml")
        poll("openbox", lambda: b"window id" in sh("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        self.keys("Shift_L")  # xdotool's first key remaps the keyboard, and openbox then grabs its keys anew

    def search(self, *args):  # finding none is no error here
        found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", *args], capture_output=True)
        return found.stdout.split()

    def window(self, pid, title):
        for found in self.search("--pid", str(pid), "--name", f"^{title}$")[:1]:
            info = sh("xwininfo", "-id", found).decode()
            return Window(found.decode(), *(int(re.search(rf"{key}:\s+(-?\d+)", info)[1])
                                            for key in ("upper-left X", "upper-left Y", "Width", "Height")))

    def showing(self, title):  # the process ids of all the windows of that title, in one look
        return {int(pid) for pid in self.search("--name", f"^{title}$", "getwindowpid", "%@")}

    def frame(self, win):
        left, right, top, bottom = map(int, sh("xprop", "-id", win.id, "_NET_FRAME_EXTENTS").split(b"=")[1].split(b","))
        return win.x - left, win.y - top, win.w + left + right, win.h + top + bottom

    def click(self, x, y, button=1, count=1):
        clicks = ["click", "--repeat", str(count), "--delay", "60", str(button)] if count else []
        sh("xdotool", "mousemove", str(x), str(y), *clicks)

    def close_box(self, win):  # at the right end of the title bar
        x, y, w, _ = self.frame(win)
        self.click(x + w - 11, y + 10)

    def keys(self, *keys): sh("xdotool", "key", "--delay", "40", *keys)
    def move(self, win, x, y): sh("xdotool", "windowmove", "--sync", win.id, str(x), str(y))
    def activate(self, win): sh("xdotool", "windowactivate", "--sync", win.id)

    def grab(self, x, y, w, h):
        return Picture(sh("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"))


class Wayland:  # sway headless without XWayland, as nobody since it refuses root; wtype, grim, sway's tree
    name, places, size, env = "wayland", False, (1024, 768), {"QT_QPA_PLATFORM": "wayland"}

    def __init__(self, work):
        os.chmod(work, 0o711)
        home = tempfile.mkdtemp(dir=work)
        shutil.chown(home, "nobody", "nogroup")
        open(f"{home}/config", "w").write("xwayland disable\noutput * mode 1024x768\ndefault_floating_border none\n"
                                          "focus_follows_mouse no\nbindsym Mod1+F4 kill\n")
        spawn("setpriv", "--reuid", "nobody", "--regid", "nogroup", "--clear-groups", "sway", "-c", f"{home}/config",
              env=dict(PATH=os.environ["PATH"], HOME=home, XDG_RUNTIME_DIR=home, WLR_BACKENDS="headless",
                       WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1"))
        os.environ["SWAYSOCK"] = poll("sway", lambda: glob.glob(f"{home}/sway-ipc.*.sock"))[0]
        os.environ["WAYLAND_DISPLAY"] = glob.glob(f"{home}/wayland-?")[0]
        self.pointer = virtual_pointer()
        spawn("wtype", "-s", "2000000")  # a keyboard that stays, as on a desk: the last one to go takes the focus
        poll("a keyboard", lambda: b'"capabilities": 3' in sh("swaymsg", "-t", "get_seats"))

    def window(self, pid, title):
        nodes = [json.loads(sh("swaymsg", "-t", "get_tree"))]
        for node in nodes:  # growing as it goes: the whole tree
            nodes += node["nodes"] + node["floating_nodes"]
            if node.get("pid") == pid and node["name"] == title and node.get("visible"):
                r, w = node["rect"], node["window_rect"]
                return Window(node["id"], r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"])

    def keys(self, *keys):  # each call is a new keyboard, whose first key Qt loses: a harmless one
        args = ["-d", "40", "-k", "Shift_L", "-s", "150"]
        for *held, key in (key.split("+") for key in keys):
            args += [a for m in held for a in ("-M", m)] + ["-k", key] + [a for m in held for a in ("-m", m)]
        sh("wtype", *args)

    def click(self, x, y, button=1, count=1):
        self.pointer(1, x, y, *self.size)  # motion_absolute
        for state in [1, 0] * count:  # the button's press and release
            self.pointer(2, {1: 0x110, 3: 0x111}[button], state)
            time.sleep(0.03)

    def frame(self, win): return win[1:]
    def close_box(self, win): sh("swaymsg", f"[con_id={win.id}] kill")  # the compositor's close
    def activate(self, win): sh("swaymsg", f"[con_id={win.id}] focus")
    def grab(self, x, y, w, h): return Picture(sh("grim", "-t", "ppm", "-g", f"{x},{y} {w}x{h}", "-"))
    def dense(self): sh("swaymsg", "output * mode 2048x1536 scale 2")  # the same size, twice the pixels


def virtual_pointer():  # spoken for on the Wayland socket: headless sway has none, and Qt needs one
    def send(target, opcode, *args):
        body = b"".join(a if isinstance(a, bytes) else struct.pack("<I", a) for a in args)
        sock.sendall(struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body)
    sock = socket.socket(socket.AF_UNIX)
    sock.connect(os.environ["WAYLAND_DISPLAY"])
    send(1, 1, 2)  # the registry, object 2, tells the globals
    send(1, 0, 3)  # object 3 says done once they are all told
    data, names, done = b"", {}, False
    while not done:
        data += sock.recv(4096)
        while len(data) >= 8 and len(data) >= data[6] | data[7] << 8:
            sender, size = struct.unpack_from("<I", data)[0], data[6] | data[7] << 8
            body, data, done = data[8:size], data[size:], done or sender == 3
            if sender == 2:  # a global: its name, then its interface
                names[body[8:7 + body[4]]] = struct.unpack_from("<I", body)[0]
    manager = b"zwlr_virtual_pointer_manager_v1\0"
    send(2, 0, names[manager[:-1]], len(manager), manager + b"\0" * (-len(manager) % 4), 1, 4)
    send(4, 0, 0, 5)  # the pointer, object 5, on the default seat
    return lambda opcode, *args: send(5, opcode, int(time.monotonic() * 1000) & 0xFFFFFFFF, *args) or send(5, 4)


BACKENDS = {"x11": X11, "wayland": Wayland}


class Case:  # a user, with fresh folders; self.p is the copy in hand, self.win its window; the methods are steps
    def __init__(self, desk, binary, folder):
        self.d, self.binary, self.folder, self.p, self.win, self.place = desk, binary, folder, None, None, None
        os.makedirs(f"{folder}/run", mode=0o700)
        self.env = dict(os.environ, **desk.env, HOME=folder, XDG_RUNTIME_DIR=f"{folder}/run",
                        XDG_CONFIG_HOME=f"{folder}/config")
        self.store, self.log = f"{folder}/config/Quillmere/Kestrova.reg", open(f"{folder}/out.log", "ab")

    def run(self, steps):  # each a method's name, alone or with its arguments, a function of the case, or a list
        for step in ((step,) if isinstance(step, str) else step for step in steps):
            self.run(step) if isinstance(step, list) else step(self) if callable(step) else getattr(
                self, step[0])(*step[1:])

    def seed(self, settings):
        os.makedirs(os.path.dirname(self.store), mode=0o700, exist_ok=True)
        open(self.store, "w").write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n" +
                                    "".join(f'"{name}"="{text}"\n' for name, text in settings.items()))

    def start(self, binary=None, user=None, **env):
        someone = {"user": user, "group": "nogroup", "extra_groups": []} if user else {}
        return spawn(binary or self.binary, env=dict(self.env, **env), stdout=self.log, **someone)

    @staticmethod
    def running(copy):  # the running copy, and only it, catches SIGTERM (bit 14) once its window is up
        try:
            status = open(f"/proc/{copy.pid}/status").read()
        except OSError:
            return False
        return "Name:\tkestrova\n" in status and int(re.search(r"SigCgt:\s*(\w+)", status)[1], 16) >> 14 & 1

    def window(self, copy=None, title="Kestrova"):
        copy = copy or self.p
        return poll(f"window {title} of copy {copy.pid}", lambda: check(copy.poll() is None, f"copy {copy.pid} ended "
                    f"({copy.returncode}) before showing {title}") or self.d.window(copy.pid, title))

    def ended(self, copy=None): poll("the end of the copy", lambda: (copy or self.p).poll() is not None)

    def ready(self, **env):  # a copy with its window up and the focus in the euro box
        self.p = self.start(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **env)
        self.win = self.window()
        self.expect("Amount in euro", "focused", True)

    def keys(self, *keys): self.d.keys(*keys)
    def quit(self, keys="alt+x"): self.d.keys(keys) or self.ended()
    def stop(self, number): self.p.send_signal(number) or self.ended()

    def answer(self, copy):  # Enter to a refused copy's box, found afresh; again, should it come before the focus
        poll(f"copy {copy.pid} ending on Enter", lambda: copy.poll() is not None or self.d.activate(
            self.d.window(copy.pid, "Kestrova")) or self.keys("Return") or copy.wait(timeout=1) is not None)

    def click(self, place, button=1, count=1, win=None):  # at a place of the window
        self.d.click((win or self.win).x + place[0], (win or self.win).y + place[1], button, count)

    def read(self, name, field, pid=None):  # of a control by its accessible name; "@label" is the rate line
        import pyatspi
        app = next(a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == (pid or self.p.pid))
        if name == "@label":  # the background's label
            app, name = pyatspi.findDescendant(app, lambda n: (n.name, n.getRoleName()) == ("Background", "panel")), ""
        node = pyatspi.findDescendant(app, lambda n: (n.name == name if name else n.getRoleName() == "label")
                                      and n.getRoleName() != "application")
        return {"text": lambda: node.queryText().getText(0, -1), "role": node.getRoleName, "node": lambda: node,
                "focused": lambda: node.getState().contains(pyatspi.STATE_FOCUSED)}.get(
                    field, lambda: getattr(node, field))()

    def expect(self, name, field, wanted, pid=None):
        poll(f"{field} of {name}", lambda: self.read(name, field, pid), wanted)

    def saved(self, wanted={}):
        got = values(self.store)
        check(got is not None, "the settings file is missing or damaged")
        for name, text in wanted.items():
            check(got.get(name) == text, f'"{name}" is {got.get(name)!r}, expected {text!r}')
        return got

    # Where a window lies is known on X11 only: the frame's corner, stored in twips.
    def note_place(self):
        self.win = self.window()
        self.place = self.d.frame(self.win)[:2]

    def move(self, x, y):  # by the desktop's hand, and Kestrova must know where the window went
        if self.d.places:
            before = self.d.frame(self.win)
            self.d.move(self.win, x, y)
            poll("Kestrova knowing where its window went", lambda: self.note_place() or self.place != before[:2] and
                 tuple(self.read("Kestrova", "node").queryComponent().getPosition(0)) == self.win[1:3])  # on screen

    def place_saved(self):
        if self.d.places:
            self.saved({"Top": str(self.place[1] * 15), "Left": str(self.place[0] * 15)})

    def restart(self):  # in the place noted last
        self.ready()
        check(not self.d.places or self.d.frame(self.win)[:2] == self.place, f"not restored at {self.place}")

    def pixel(self, place, colour):
        poll(f"the colour at {place}", lambda: self.d.grab(self.win.x + place[0], self.win.y + place[1], 1, 1)[0, 0],
             colour)

    def screenshot(self, name):
        if os.environ.get("KESTROVA_E2E_ARTIFACTS"):
            path = f"{os.environ['KESTROVA_E2E_ARTIFACTS']}/{'' if self.d.places else self.d.name + '-'}{name}"
            os.makedirs(os.path.dirname(path), exist_ok=True)
            sh("convert", "ppm:-", path, stdin=self.d.grab(*self.d.frame(self.win)).ppm)

    def popup(self, place, keys=None):  # opened by keys or the right button, it starts at place; gives its height
        x, y = self.win.x + place[0], self.win.y + place[1]
        region, before = (x - 8, y - 8, 40, 360), self.d.grab(x - 8, y - 8, 40, 360)
        self.keys(keys) if keys else self.click(place, button=3)
        after = poll("the country pop-up", lambda: (lambda shot: shot[14, 14] != before[14, 14] and shot)(
            self.d.grab(*region)))
        check(all(after[spot] == before[spot] for spot in ((2, 2), (14, 2), (2, 14))), f"the pop-up is not at {place}")
        return max(h for h in range(after.h) if after[14, h] != before[14, h]) - 7
