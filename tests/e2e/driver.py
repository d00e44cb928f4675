#!/usr/bin/python3
"""Kestrova on a real desktop, worked as a person would, read back through the accessibility bus, its file and
the screen. `driver.py list` gives the scenarios; `driver.py BACKEND SCENARIO KESTROVA` runs one on a session bus."""
import os, re, shutil, sys, tempfile  # noqa: E401
from signal import SIGHUP, SIGINT, SIGKILL, SIGTERM

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.append(os.path.join(HERE, "..", "robustness"))
from harness import BACKENDS, STARTED, Case, Failure, Picture, check, poll, sh, values  # noqa: E402
import loops, session  # noqa: E401, E402

# Places on the window's client area, whose picture box lies at (6,6).
FLAG, BACKGROUND, ABOUT, EXIT, ABOUT_OK = (37, 67), (191, 146), (60, 121), (142, 121), (77, 253)
EURO_BOX, NATIONAL_BOX, EURO_FLAG, FLAG_CORNER = (100, 30), (100, 60), (21, 21), (21, 83)
EURO, NATIONAL, FLAG_NAME = "Amount in euro", "Amount in national currency", "Flag of the chosen country"
PINK, CYAN, DEM, BOTH = (255, 192, 192), (0, 255, 255), "1 EUR = 1.95583 DEM", ("x11", "wayland")


def text(control, value): return ("expect", control, "text", value)
def amounts(euro, national): return [text(EURO, euro), text(NATIONAL, national)]
def rate(line): return ("expect", "@label", "name", line)
def told(control, description): return ("expect", control, "description", description)
def focus(control): return ("expect", control, "focused", True)
def about(opening, closing):  # comes with the focus on its Ok, goes, and gives the focus back
    return [opening, focus("Ok"), lambda c: closing(c, c.window(title="About")),
            lambda c: poll("the about window to go", lambda: c.d.window(c.p.pid, "About"), None), focus(EURO)]


def second_copy(c):  # refused with its box, which ends on Enter; the first copy goes on, nothing written
    first, second = c.p, c.start(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    c.window(second)
    c.expect("Kestrova is already running.", "role", "label", pid=second.pid)
    c.answer(second)
    c.d.activate(c.window(first))
    check(first.poll() is None and "Euro" not in (values(c.store) or {}), "the first copy ended, or it wrote")


def first_saved(c):
    got = c.saved(dict(Euro="1", Currency="40.34", Image="imgBEL", Description="1 EUR = 40.3399 BEF",
                       Tooltip=" Belgian Francs ", Background="imgDefault"))
    modes = [os.stat(path).st_mode & 0o777 for path in (c.store, os.path.dirname(c.store))]
    check(modes == [0o600, 0o700] and (not c.d.places or got["Top"].isdigit() and got["Left"].isdigit()),
          f"the file and its folder have modes {modes}; the place saved is {got.get('Top')}, {got.get('Left')}")


CENTRED = [("seed", dict(Top="-120", Left="300", Euro="5")), "ready", "note_place", "quit", "place_saved",
           lambda c: check(c.place == ((c.d.size[0] - c.win.w) // 2, (c.d.size[1] - c.win.h) // 2), "not centred")]


def signal_steps(number, typed, national):
    return ["ready", ("keys", typed), text(NATIONAL, national), ("stop", number),
            *([] if number == SIGKILL else [("saved", dict(Euro=typed, Currency=national))])]


def background_cycle(c):  # ten double-clicks: round the eight backgrounds and on
    seen, now = ["Default texture"], lambda: c.read("Background", "description")
    for turn in range(10):
        c.click(BACKGROUND, count=2)
        seen.append(poll("the next background", lambda: now() != seen[-1] and now()))
        if turn == 1:
            c.run([("pixel", EURO_BOX, PINK), ("pixel", NATIONAL_BOX, PINK), ("screenshot", "banknote.png")])
    check(len(set(seen[:8])) == 8 and seen[8:] == seen[:3] and seen[2] == "10 euro banknote", f"backgrounds: {seen}")


def screen_reader(c):  # every control named, the amounts read, the flag and Exit worked by their actions
    for name, role in ((EURO, "text"), (NATIONAL, "text"), ("Euro", "filler"), (FLAG_NAME, "push button"),
                       ("Background", "panel"), ("About", "push button"), ("Exit", "push button"),
                       ("Kestrova", "filler")):
        c.expect(name, "role", role)
    c.run([told(FLAG_NAME, "Belgium"), told("Background", "Default texture"), rate("1 EUR = 40.3399 BEF"),
           told("@label", " Belgian Francs "), amounts("1", "40.34"), ("keys", "1", "2"), amounts("12", "484.08")])
    for name, then in ((FLAG_NAME, [told(FLAG_NAME, "Germany"), text(NATIONAL, "23.47"), rate(DEM)]),
                       ("Exit", ["ended"])):
        actions = c.read(name, "node").queryAction()
        offered = [actions.getName(i) for i in range(actions.nActions)]
        check("Press" in offered and (name != FLAG_NAME or "ShowMenu" in offered), f"{name} offers {offered}")
        actions.doAction(offered.index("Press"))
        c.run(then)


def logout(c):  # saved by the time the copy says so, before die: a session may end it any time after
    manager = session.SessionManager()
    c.ready(**manager.env)
    poll("the copy joining the session", lambda: "registered" in manager.said)
    c.run([("keys", "4"), text(NATIONAL, "161.36"), ("move", 250, 150), lambda c: manager.logout()])
    poll("the copy saying it saved itself", lambda: "done 1" in manager.said)
    c.run([("saved", dict(Euro="4", Currency="161.36", Image="imgBEL")), "place_saved", lambda c: manager.die(),
           "ended"])
    check(c.p.returncode == 0, f"the copy ended with {c.p.returncode}; the manager saw {manager.said}")


def dense_screen(c):  # at scale 2 the European flag is its @2x picture, not the 1x one blown up
    icon, off = f"{HERE}/../../assets/pictures/imgEuro", lambda a, b: sum(abs(p - q) for p, q in zip(a, b)) / len(a)
    box = sh("convert", f"{icon}@2x.ico[0]", "-format", "%@", "info:").decode()  # its opaque part
    w, h, x, y = map(int, re.split(r"[x+]", box))
    shown = c.d.grab(c.win.x + EURO_FLAG[0] + x // 2, c.win.y + EURO_FLAG[1] + y // 2, w // 2, h // 2)
    sharp, blown = (Picture(sh("convert", f"{icon}{name}.ico[0]", *scale, "-crop", box, "+repage", "-depth", "8",
                               "ppm:-")).data for name, scale in (("@2x", []), ("", ["-sample", "200%"])))
    check((shown.w, shown.h) == (w, h) and off(shown.data, sharp) < 1 < off(shown.data, blown) / 3, f"{shown.w}x"
          f"{shown.h} px, off the @2x picture by {off(shown.data, sharp):.1f}, the 1x one blown up by "
          f"{off(shown.data, blown):.1f}")


TABLE = {  # name: label, backends, steps (a Case method, alone or with its arguments, or a function of the Case)
    "first_run_saves_and_restores": ("e2e", BOTH, [
        "ready", lambda c: check(os.path.isdir(os.path.dirname(c.store)), "no settings folder made at start"),
        ("pixel", EURO_BOX, (192, 192, 255)), ("screenshot", "first-run.png"), second_copy, focus(EURO), "quit",
        first_saved, "ready", ("pixel", EURO_BOX, CYAN), "quit", ("saved", {"Tooltip": " Belgian Francs "})]),
    # Where the platform cannot tell the program its place (Wayland), the close leaves it as stored.
    "stored_place": ("e2e", BOTH, [
        lambda c: c.d.places and c.run(CENTRED), ("seed", dict(Top="1815", Left="2400", Euro="5")), "ready",
        "note_place", lambda c: check(not c.d.places or c.place == (160, 121), f"placed at {c.place}, not 160,121"),
        "quit", ("saved", dict(Top="1815", Left="2400", Euro="5"))]),
    "signals_save_like_a_close": ("e2e", BOTH, [  # SIGKILL leaves the file as the last close wrote it, alone
        signal_steps(SIGTERM, "5", "201.7"), signal_steps(SIGINT, "6", "242.04"), signal_steps(SIGHUP, "7", "282.38"),
        lambda c: setattr(c, "kept", open(c.store, "rb").read()), signal_steps(SIGKILL, "8", "322.72"), lambda c: check(
            open(c.store, "rb").read() == c.kept and os.listdir(os.path.dirname(c.store)) == ["Kestrova.reg"],
            "a killed copy changed the store or left files beside it"), "ready", text(EURO, "7"), "quit"]),
    "typing_converts_and_exit_saves": ("e2e", BOTH, [
        "ready", about(("click", ABOUT), lambda c, about: c.click(ABOUT_OK, win=about)),
        ("click", FLAG, 1, 2), rate(DEM), ("keys", "5", "0"), amounts("50", "97.79"), ("keys", "Tab"),
        focus(NATIONAL), ("keys", "1", "0", "0", "0"), amounts("511.29", "1000"), ("move", 300, 200),
        ("click", EXIT), "ended", ("saved", dict(Euro="511.29", Currency="1000", Image="imgGER")), "place_saved",
        "restart", amounts("511.29", "1000"), "quit"]),
    "countries_from_the_flag_and_the_close_box": ("e2e", BOTH, [  # the pop-up at the pointer; its 4th row of 12
        "ready", lambda c: c.click((FLAG[0] + 30, FLAG[1] + c.popup(FLAG) * 7 // 24)), rate("1 EUR = 6.55957 FRF"),
        amounts("1", "6.56"), ("click", FLAG, 1, 2), rate("1 EUR = 340.750 GRD"), told(FLAG_NAME, "Greece"),
        text(NATIONAL, "340.75"), "note_place", lambda c: c.d.close_box(c.win), "ended",
        ("saved", dict(Image="imgGRI", Description="1 EUR = 340.750 GRD", Tooltip=" Greek Drachmas ",
                       Currency="340.75")), "place_saved", "restart", told(FLAG_NAME, "Greece"),
        rate("1 EUR = 340.750 GRD"), text(NATIONAL, "340.75"), ("quit", "alt+F4"), ("saved", {"Image": "imgGRI"})]),
    "background_cycle_and_sigterm": ("e2e", ("x11",), [
        "ready", background_cycle, text(EURO, "1"), "note_place", ("stop", SIGTERM),
        ("saved", dict(Background="imgTen", Image="imgBEL")), "place_saved", "restart",
        told("Background", "10 euro banknote"), ("pixel", EURO_BOX, PINK), ("pixel", NATIONAL_BOX, PINK), "quit"]),
    "keyboard_only": ("e2e", ("x11",), [  # the pointer out of the way; the pop-up under the flag; Belgium skipped
        lambda c: c.d.click(*c.d.size, count=0), "ready", ("keys", "shift+Tab"), focus(FLAG_NAME),
        ("popup", FLAG_CORNER, "shift+F10"), ("keys", "Down", "Down", "Return"), rate("1 EUR = 5.94573 FIM"),
        text(NATIONAL, "5.95"), ("popup", FLAG_CORNER, "Menu"), ("keys", "Down", "Return"),
        rate("1 EUR = 40.3399 BEF"), ("keys", "space"), rate(DEM), text(NATIONAL, "1.96"), ("keys", "shift+Tab"),
        focus("Background"), ("keys", "space"), told("Background", "5 euro banknote"),
        about(("keys", "alt+a"), lambda c, about: c.keys("Return")), "quit",
        ("saved", dict(Image="imgGER", Background="imgFive", Currency="1.96"))]),
    "screen_reader_reads_the_amounts": ("e2e", BOTH, [
        "ready", screen_reader, ("saved", dict(Euro="12", Currency="23.47", Image="imgGER"))]),
    "logout_saves_like_a_close": ("e2e", ("x11",), [logout, "restart", text(EURO, "4"), "quit"]),
    "dense_screen_shows_sharp_pictures": ("e2e", ("wayland",), [lambda c: c.d.dense(), "ready", dense_screen, "quit"]),
    "close_kill_loop": ("robustness", ("x11",), [loops.close_kill_loop]),
    "simultaneous_starts": ("robustness", ("x11",), [loops.simultaneous_starts]),
    "hostile_files": ("robustness", ("x11",), [loops.hostile_files]),
}


def main(backend, name=None, binary=None):
    if backend == "list":
        return print("\n".join(f"{label} {b} {name}" for name, (label, backends, _) in TABLE.items() for b in backends))
    work = tempfile.mkdtemp(prefix="kestrova-e2e.")
    try:
        Case(BACKENDS[backend](work), binary, work).run(TABLE[name][2])
        print(f"PASS [{backend} {name}]")
    except Failure as failure:
        print(f"FAIL [{backend} {name}]: {failure}\n" + open(f"{work}/out.log", errors="replace").read()[-3000:])
        return 1
    finally:
        [(process.kill(), process.wait()) for process in STARTED]
        shutil.rmtree(work)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
