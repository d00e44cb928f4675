"""Kestrova abused: killed during its close, killed and restarted, started in a crowd, fed hostile
settings files. Each prints its figures and leaves them in $KESTROVA_FIGURES/NAME.txt. The counts
come from the environment; the defaults are CI's, and a release check runs more."""
import collections, concurrent.futures, glob, os, random, shutil, time  # noqa: E401
from signal import SIGTERM

from harness import Case, check, poll, values

GOOD = dict(Top="600", Left="600", Euro="1", Currency="40.34", Image="imgBEL", Description="1 EUR = 40.3399 BEF",
            Tooltip=" Belgian Francs ", Background="imgDefault")


def report(name, line):
    print(f"{name}: {line}")
    if os.environ.get("KESTROVA_FIGURES"):
        with open(f"{os.environ['KESTROVA_FIGURES']}/{name}.txt", "w") as figures:
            figures.write(f"{name}: {line}\n")


def since(begin):
    return round((time.monotonic() - begin) * 1000)


def close_kill_loop(c):
    """Each round asks for a close and kills the copy 0-20 ms later. The close moves the window
    from its stored place above the screen to the centre, so the new values differ from the old
    in Top and Left, and the round's number in Euro and Currency tells rounds apart. After every
    kill the file must read whole and hold one set or the other."""
    rounds, begin = int(os.environ.get("KESTROVA_CLOSE_KILLS", 200)), time.monotonic()
    stored = lambda n: dict(GOOD, Top="-120", Left="-300", Euro=str(n), Currency=f"c{n}")  # noqa: E731
    c.seed(stored(0))
    c.p = c.start()
    poll("the first copy running", lambda: c.running(c.p))
    c.stop(SIGTERM)
    new = {name: c.saved()[name] for name in ("Top", "Left")}
    check(c.saved() == dict(stored(0), **new) and all(map(str.isdigit, new.values())), f"a close wrote {c.saved()}")

    def lane(number):  # two users take turns with the two cores
        user, tally = Case(c.d, c.binary, f"{c.folder}/lane{number}"), collections.Counter()
        for n in range(number, rounds + 1, 2):
            user.seed(stored(n))
            copy = user.start()
            poll(f"round {n}: the copy running", lambda: user.running(copy), timeout=10)
            copy.terminate()
            time.sleep(random.randint(0, 20) / 1000)
            copy.kill()
            copy.wait()
            got = values(user.store)
            tally["old" if got == stored(n) else "new" if got == dict(stored(n), **new) else "damaged"] += 1
            # A kill between making the temporary and renaming it leaves it until the next save
            # clears it: never more than one at a time.
            left = len(glob.glob(os.path.dirname(user.store) + "/.Kestrova.reg.*.tmp"))
            tally["most"] = max(tally["most"], left)
        return tally
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        tallies = list(pool.map(lane, (1, 2)))
    old, new, damaged = (sum(tally[kind] for tally in tallies) for kind in ("old", "new", "damaged"))
    most = max(tally["most"] for tally in tallies)
    report("close_kill_loop", f"{rounds} rounds: {old} old, {new} new, {damaged} damaged; at most {most} temporary "
           f"left at a time; {since(begin) // 1000} s")
    check(old + new == rounds and most <= 1 and old and new, "a damaged file, two temporaries at once, or kills "
          "on one side of the write only")


def kill_restart_loop(c):
    """A copy killed outright leaves nothing that holds the next one back: each new copy is the
    running one, its window up. How long that takes is a figure, not a bound."""
    rounds, took, previous = int(os.environ.get("KESTROVA_RESTARTS", 50)), [], None
    for n in range(rounds):
        begin, copy = time.monotonic(), c.start()
        if previous:
            previous.wait()
        poll(f"round {n}: the new copy running", lambda: c.running(copy), timeout=10)
        c.window(copy)
        took.append(since(begin))
        copy.kill()
        previous = copy
    report("kill_restart_loop", f"{rounds} kills and restarts: {sum(t <= 1000 for t in took)} running within 1 s, "
           f"slowest {max(took)} ms, mean {sum(took) // rounds} ms")


def simultaneous_starts(c):
    """A crowd of copies at once: one runs, every other one says so in its box and ends on Enter."""
    crowd, begin = int(os.environ.get("KESTROVA_CROWD", 20)), time.monotonic()
    copies = [c.start() for _ in range(crowd)]

    def settled():
        running, showing = [copy for copy in copies if c.running(copy)], c.d.showing("Kestrova")
        boxes = [copy for copy in copies if copy not in running and copy.pid in showing]
        return len(running) + len(boxes) == crowd and (running, boxes)
    running, boxes = poll("each copy running or showing its box", settled, timeout=60, every=0.5)
    settled_in = since(begin)
    check(len(running) == 1, f"{len(running)} running copies")
    for copy in boxes:  # Enter again, should the box have been given it before its focus
        box = c.window(copy)
        poll(f"copy {copy.pid} ending on Enter", lambda: copy.poll() is not None or c.d.activate(box) or
             c.keys("Return") or copy.wait(timeout=1) is not None)
    c.p = running[0]
    check(c.p.poll() is None, "the running copy ended with the others")
    c.stop(SIGTERM)
    check(values(c.store) is not None, "the running copy's close left a damaged file")
    report("simultaneous_starts", f"{crowd} simultaneous starts: 1 running copy, {len(boxes)} boxes saying it runs "
           f"already, each ended on Enter; settled in {settled_in} ms")


def hostile_files(c):
    """Whatever lies where the settings should be, the program starts, converts, and does not
    overwrite what it could not read."""
    took, deep = [], "[HKEY_CURRENT_USER" + "\\d" * 100000 + ']\n"X"="1"\n'

    def usable(name, prepare, **someone):  # prepare(user), then start, type 5, see the national box change, Alt+X
        u = Case(c.d, c.binary, f"{c.folder}/{name}")
        u.seed(GOOD)
        kept, begin = prepare(u), time.monotonic()
        u.p = u.start(**someone)
        poll(f"{name}: a running copy", lambda: u.running(u.p), timeout=20)
        u.win = u.window()
        took.append(f"{name} {since(begin)} ms")
        box = lambda: u.d.grab(u.win.x + 66, u.win.y + 59, 110, 16).data  # noqa: E731
        before = box()
        u.d.activate(u.win)
        u.keys("5")
        poll(f"{name}: typing 5 changing the national box", lambda: box() != before)
        u.quit()
        return u, kept, (values(u.store) or {}).get("Euro")

    def write(u, data):
        with open(u.store, "wb") as store:
            store.write(data)
        return data

    def huge(u):  # read no further than a settings file can reach, and kept aside as it is
        os.truncate(u.store, 100 << 20)
        return os.stat(u.store).st_ino
    u, kept, euro = usable("huge_100MB", huge)
    check((os.stat(u.store + ".bad").st_ino, euro) == (kept, "5"), "huge: not kept aside, or nothing new saved")
    for name, prepare in (("binary", lambda u: write(u, os.urandom(65536))),
                          ("deep_keys", lambda u: write(u, open(u.store, "rb").read() + deep.encode()))):
        u, kept, euro = usable(name, prepare)
        check(open(u.store + ".bad", "rb").read() == kept and euro == "5" and os.path.getsize(u.store) < 10000,
              f"{name}: not kept byte for byte, nothing new saved, or a grown file")

    def link(u):  # followed, and a link still afterwards
        os.makedirs(f"{u.folder}/dotfiles")
        os.rename(u.store, f"{u.folder}/dotfiles/kestrova.reg")
        os.symlink("../../dotfiles/kestrova.reg", u.store)
    u, _, euro = usable("symlink", link)
    check(os.path.islink(u.store) and euro == "5" and not os.path.exists(u.store + ".bad"), "link: replaced, or unsaved")

    def locked(u):  # a folder the user cannot write; as root writes anywhere, the copy runs as nobody
        os.chmod(c.folder, 0o755)
        shutil.copy(c.binary, f"{c.folder}/kestrova")
        for folder, _, files in os.walk(u.folder):
            for name in files + ["."]:
                shutil.chown(os.path.join(folder, name), "nobody")
        os.chmod(os.path.dirname(u.store), 0o500)
        return open(u.store, "rb").read()
    u, kept, _ = usable("read_only_folder", locked, binary=f"{c.folder}/kestrova", user="nobody")
    check(open(u.store, "rb").read() == kept and os.listdir(os.path.dirname(u.store)) == ["Kestrova.reg"] and
          b"could not be saved" in open(f"{u.folder}/out.log", "rb").read(), "read-only: changed, or the failure unsaid")
    report("hostile_files", f"every hostile file started a usable window and kept what it could not read "
           f"({', '.join(took)})")
