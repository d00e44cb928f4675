#!/usr/bin/python3
"""Kestrova end to end: the real binary on a real desktop, worked with keys and the pointer as a
person would, read back through the accessibility bus, the settings file and the screen.

    driver.py list                       the scenarios: "label backend name" a line
    driver.py BACKEND SCENARIO KESTROVA  runs one on x11 or wayland, under a session bus

Screenshots go to $KESTROVA_E2E_ARTIFACTS, the robustness figures to $KESTROVA_FIGURES."""
import os
import re
import shutil
import signal
import sys
import tempfile

sys.path += [os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "robustness")]
from harness import BACKENDS, Case, Failure, Picture, poll, sh, values  # noqa: E402
import loops  # noqa: E402
import session  # noqa: E402

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
# Places on the window's client area; the panel's picture box lies at (6,6).
FLAG, BACKGROUND, ABOUT, EXIT, ABOUT_OK = (37, 67), (191, 146), (60, 121), (142, 121), (77, 253)
EURO_BOX, NATIONAL_BOX, EURO_FLAG, FLAG_CORNER = (100, 30), (100, 60), (21, 21), (21, 83)
EURO, NATIONAL, FLAG_NAME = "Amount in euro", "Amount in national currency", "Flag of the chosen country"
PINK, CYAN = (255, 192, 192), (0, 255, 255)


def amounts(c, euro, national):
    c.expect(EURO, "text", euro)
    c.expect(NATIONAL, "text", national)


def first_run_saves_and_restores(c):
    c.ready()
    if not os.path.isdir(os.path.dirname(c.store)):
        raise Failure("the settings folder was not made at start")
    if "Euro" in (values(c.store) or {}):
        raise Failure("values written before the close")
    c.pixel(*EURO_BOX, "the euro box on a first run", (192, 192, 255))
    c.screenshot("first-run.png")
    c.quit()
    got = c.saved(Euro="1", Currency="40.34", Image="imgBEL", Description="1 EUR = 40.3399 BEF",
                  Tooltip=" Belgian Francs ", Background="imgDefault")
    if c.d.places and not (got.get("Top", "").isdigit() and got.get("Left", "").isdigit()):
        raise Failure(f"the place saved is {got.get('Top')}, {got.get('Left')}")
    modes = oct(os.stat(c.store).st_mode & 0o777), oct(os.stat(os.path.dirname(c.store)).st_mode & 0o777)
    if modes != ("0o600", "0o700"):
        raise Failure(f"the file and its folder have modes {modes}")
    c.ready()  # the saved imgDefault is applied this time: both boxes turn cyan
    c.pixel(*EURO_BOX, "the restored euro box", CYAN)
    c.quit()
    c.saved(Tooltip=" Belgian Francs ")


def stored_position_is_centred(c):
    c.seed(Top="-120", Left="300", Euro="5")
    c.ready()
    c.note_place()
    # Centred by the size known while loading, before the window manager framed it.
    centre = ((c.d.size[0] - c.win.w) // 2, (c.d.size[1] - c.win.h) // 2)
    if c.place != centre:
        raise Failure(f"placed at {c.place}, the centre is {centre}")
    c.quit()
    c.place_saved()
    c.saved(Euro="5")


def stored_place_is_kept(c):
    # Where the platform tells the place, the window goes there and the close writes it back;
    # where it cannot (Wayland), the close leaves the stored place as it was.
    c.seed(Top="1815", Left="2400", Euro="5")
    c.ready()
    if c.d.places:
        c.note_place()
        if c.place != (160, 121):
            raise Failure(f"placed at {c.place}, stored at 160,121")
    c.quit()
    c.saved(Top="1815", Left="2400", Euro="5")


def second_copy_is_refused(c):
    first = c.ready()
    before = values(c.store)
    second = c.start(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    box = c.window(second)
    c.expect("Kestrova is already running.", "role", "label", pid=second.pid)
    c.d.activate(box)
    c.d.keys("Return")
    c.ended(second)
    if first.poll() is not None or values(c.store) != before:
        raise Failure("the second copy ended the first or touched the store")
    c.d.activate(c.window(first))
    c.expect(EURO, "focused", True)
    c.quit()
    c.saved(Euro="1")


def signals_save_like_a_close(c):
    for signal_number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        c.ready()
        c.d.keys("5")
        c.expect(NATIONAL, "text", "201.7")
        c.stop(signal_number)
        c.saved(Euro="5", Currency="201.7")
        os.remove(c.store)


def killed_run_keeps_the_store(c):
    c.ready()
    c.quit()
    saved = open(c.store, "rb").read()
    c.ready()
    c.d.keys("7")
    c.expect(NATIONAL, "text", "282.38")
    c.stop(signal.SIGKILL)
    if open(c.store, "rb").read() != saved or os.listdir(os.path.dirname(c.store)) != ["Kestrova.reg"]:
        raise Failure("a killed run changed the store or left files beside it")
    c.ready()  # the dead copy's lock does not hold the next one back
    c.d.keys("8")
    c.expect(EURO, "text", "8")
    c.quit()
    c.saved(Euro="8")


def typing_converts_and_exit_saves(c):
    c.ready()
    c.click(*FLAG, count=2)  # Belgium's successor: Germany
    c.expect("@label", "name", "1 EUR = 1.95583 DEM")
    c.d.keys("5", "0")  # the euro text is selected on start, and the national one after Tab
    amounts(c, "50", "97.79")
    c.d.keys("Tab")
    c.expect(NATIONAL, "focused", True)
    c.d.keys("1", "0", "0", "0")
    amounts(c, "511.29", "1000")
    if c.d.places:
        c.move(300, 200)
    c.click(*EXIT)
    c.ended()
    c.saved(Euro="511.29", Currency="1000", Image="imgGER")
    c.place_saved()
    c.restart_in_place()
    amounts(c, "511.29", "1000")
    c.quit()


def countries_from_the_flag_and_the_close_box(c):
    c.ready()
    # The right button's pop-up opens at the pointer; a click on its fourth row of twelve.
    x, y = c.win.x + FLAG[0], c.win.y + FLAG[1]
    height = c.popup(x, y, lambda: c.click(*FLAG, button=3))
    c.d.click(x + 30, y + height * 7 // 24)
    c.expect("@label", "name", "1 EUR = 6.55957 FRF")
    amounts(c, "1", "6.56")
    c.click(*FLAG, count=2)  # the next country of the table
    c.expect("@label", "name", "1 EUR = 340.750 GRD")
    c.expect(FLAG_NAME, "description", "Greece")
    c.expect(NATIONAL, "text", "340.75")
    c.note_place()
    c.d.close_box(c.win)
    c.ended()
    c.saved(Image="imgGRI", Description="1 EUR = 340.750 GRD", Tooltip=" Greek Drachmas ",
            Currency="340.75")
    c.place_saved()
    c.restart_in_place()
    c.expect(FLAG_NAME, "description", "Greece")
    c.expect("@label", "name", "1 EUR = 340.750 GRD")
    c.expect(NATIONAL, "text", "340.75")
    c.quit("alt+F4")  # the desktop's own close
    c.saved(Image="imgGRI")


def background_cycle_and_sigterm(c):
    c.ready()
    seen = ["Default texture"]
    for turn in range(10):
        c.click(*BACKGROUND, count=2)
        now = lambda: c.read(c.control("Background"), "description")  # noqa: E731
        seen.append(poll("the next background", lambda: now() != seen[-1] and now()))
        if turn == 1:
            c.pixel(*EURO_BOX, "the euro box on the 10 euro note", PINK)
            c.pixel(*NATIONAL_BOX, "the national box on the 10 euro note", PINK)
            c.screenshot("banknote.png")
    if len(set(seen[:8])) != 8 or seen[8:] != seen[:3] or seen[2] != "10 euro banknote":
        raise Failure(f"the backgrounds came as {seen}")
    c.expect(EURO, "text", "1")
    c.note_place()
    c.stop(signal.SIGTERM)
    c.saved(Background="imgTen", Image="imgBEL")
    c.place_saved()
    c.restart_in_place()
    c.expect("Background", "description", "10 euro banknote")
    c.pixel(*EURO_BOX, "the restored euro box", PINK)
    c.pixel(*NATIONAL_BOX, "the restored national box", PINK)
    c.quit()


def about_and_its_ok(c):
    c.ready()
    c.about(lambda: c.click(*ABOUT), lambda about: c.click(*ABOUT_OK, win=about))
    c.d.keys("3")
    c.expect(NATIONAL, "text", "121.02")
    c.quit()
    c.saved(Euro="3")


def keyboard_only(c):
    c.d.click(*c.d.size, count=0)  # the pointer out of the way, and not used again
    c.ready()
    c.d.keys("shift+Tab")  # the flag is one Shift+Tab from the euro box
    c.expect(FLAG_NAME, "focused", True)
    corner = c.win.x + FLAG_CORNER[0], c.win.y + FLAG_CORNER[1]
    c.popup(*corner, lambda: c.d.keys("shift+F10"))  # under the flag, not at the pointer
    c.d.keys("Down", "Down", "Return")  # Belgium on show is skipped: Germany, then Finland
    c.expect("@label", "name", "1 EUR = 5.94573 FIM")
    c.expect(NATIONAL, "text", "5.95")
    c.popup(*corner, lambda: c.d.keys("Menu"))
    c.d.keys("Down", "Return")
    c.expect("@label", "name", "1 EUR = 40.3399 BEF")
    c.d.keys("space")
    c.expect("@label", "name", "1 EUR = 1.95583 DEM")
    c.expect(NATIONAL, "text", "1.96")
    c.d.keys("shift+Tab")  # the background comes just before the flag
    c.expect("Background", "focused", True)
    c.d.keys("space")
    c.expect("Background", "description", "5 euro banknote")
    c.about(lambda: c.d.keys("alt+a"), lambda about: c.d.keys("Return"))
    c.quit()
    c.saved(Image="imgGER", Background="imgFive", Currency="1.96")


def screen_reader_reads_the_amounts(c):
    """What a screen reader user meets on a first run: every control named, both amounts
    read, a typed amount converted, the flag worked by its action, Exit pressed."""
    c.ready()
    roles = {EURO: "text", NATIONAL: "text", "Euro": "filler", FLAG_NAME: "push button",
             "Background": "panel", "About": "push button", "Exit": "push button",
             "Kestrova": "filler"}
    for name, role in roles.items():
        c.expect(name, "role", role)
    c.expect(FLAG_NAME, "description", "Belgium")
    c.expect("Background", "description", "Default texture")
    c.expect("@label", "name", "1 EUR = 40.3399 BEF")
    c.expect("@label", "description", " Belgian Francs ")
    amounts(c, "1", "40.34")
    c.d.keys("1", "2")
    amounts(c, "12", "484.08")

    def act(name, action):
        actions = c.control(name).queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names or (name == FLAG_NAME and "ShowMenu" not in names):
            raise Failure(f"{name} offers {names}")
        actions.doAction(names.index(action))
    act(FLAG_NAME, "Press")
    c.expect(FLAG_NAME, "description", "Germany")
    c.expect(NATIONAL, "text", "23.47")
    c.expect("@label", "name", "1 EUR = 1.95583 DEM")
    act("Exit", "Press")
    c.ended()
    c.saved(Euro="12", Currency="23.47", Image="imgGER")


def logout_saves_like_a_close(c):
    manager = session.SessionManager()
    c.ready(**manager.env())
    poll("the copy joining the session", lambda: "registered" in manager.said)
    c.d.keys("4")
    c.expect(NATIONAL, "text", "161.36")
    c.move(250, 150)
    manager.logout()
    poll("the copy saying it saved itself", lambda: "done 1" in manager.said)
    # On disk by the time it says so: a session may end its clients any moment after.
    c.saved(Euro="4", Currency="161.36", Image="imgBEL")
    c.place_saved()
    manager.die()
    c.ended()
    if c.p.returncode != 0:
        raise Failure(f"the copy ended with {c.p.returncode} at the logout; the manager saw {manager.said}")
    c.restart_in_place()
    c.expect(EURO, "text", "4")
    c.quit()


def dense_screen_shows_sharp_pictures(c):
    """At scale 2 the European flag is its @2x picture, not the 1x one blown up."""
    c.d.dense()
    c.ready()
    icon = f"{ASSETS}/pictures/imgEuro"
    box = sh("convert", f"{icon}@2x.ico[0]", "-format", "%@", "info:").decode()  # its opaque part
    w, h, x, y = map(int, re.split(r"[x+]", box))
    shown = c.d.grab(c.win.x + EURO_FLAG[0] + x // 2, c.win.y + EURO_FLAG[1] + y // 2, w // 2, h // 2)
    sharp, blown = (Picture(sh("convert", f"{icon}{name}.ico[0]", *scale, "-crop", box, "+repage",
                               "-depth", "8", "ppm:-")) for name, scale in (("@2x", []), ("", ["-sample", "200%"])))
    print(f"{shown.w}x{shown.h} px; off the @2x picture by {shown.distance(sharp):.1f}, "
          f"off the 1x one blown up by {shown.distance(blown):.1f}")
    if not shown.distance(sharp) < 1 < shown.distance(blown) / 3:
        raise Failure("the window does not show the @2x picture")
    c.quit()


BOTH, X11, WAYLAND = ("x11", "wayland"), ("x11",), ("wayland",)
TABLE = {  # name: (what it runs, label, backends)
    "first_run_saves_and_restores": (first_run_saves_and_restores, "e2e", BOTH),
    "stored_position_is_centred": (stored_position_is_centred, "e2e", X11),
    "stored_place_is_kept": (stored_place_is_kept, "e2e", BOTH),
    "second_copy_is_refused": (second_copy_is_refused, "e2e", BOTH),
    "signals_save_like_a_close": (signals_save_like_a_close, "e2e", BOTH),
    "killed_run_keeps_the_store": (killed_run_keeps_the_store, "e2e", X11),
    "typing_converts_and_exit_saves": (typing_converts_and_exit_saves, "e2e", BOTH),
    "countries_from_the_flag_and_the_close_box": (countries_from_the_flag_and_the_close_box, "e2e", BOTH),
    "background_cycle_and_sigterm": (background_cycle_and_sigterm, "e2e", X11),
    "about_and_its_ok": (about_and_its_ok, "e2e", BOTH),
    "keyboard_only": (keyboard_only, "e2e", X11),
    "screen_reader_reads_the_amounts": (screen_reader_reads_the_amounts, "e2e", BOTH),
    "logout_saves_like_a_close": (logout_saves_like_a_close, "e2e", X11),
    "dense_screen_shows_sharp_pictures": (dense_screen_shows_sharp_pictures, "e2e", WAYLAND),
    "close_kill_loop": (loops.close_kill_loop, "robustness", X11),
    "kill_restart_loop": (loops.kill_restart_loop, "robustness", X11),
    "simultaneous_starts": (loops.simultaneous_starts, "robustness", X11),
    "hostile_files": (loops.hostile_files, "robustness", X11),
}


def main(argv):
    if argv[1:] == ["list"]:
        for name, (_, label, backends) in TABLE.items():
            print("\n".join(f"{label} {backend} {name}" for backend in backends))
        return 0
    backend, name, binary = argv[1:]
    work = tempfile.mkdtemp(prefix="kestrova-e2e.")
    desk = None
    try:
        desk = BACKENDS[backend](work)
        TABLE[name][0](Case(desk, binary, work))
        print(f"PASS [{backend} {name}]")
        return 0
    except Failure as failure:
        print(f"FAIL [{backend} {name}]: {failure}", file=sys.stderr)
        sys.stderr.write(open(f"{work}/out.log", errors="replace").read()[-3000:])
        return 1
    finally:
        for process in Case.started + (desk.procs if desk else []):
            process.kill()
            process.wait()
        shutil.rmtree(getattr(desk, "home", work), ignore_errors=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
