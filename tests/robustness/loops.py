"""Kestrova abused: killed during its close, killed and restarted, started in a crowd, fed
hostile settings files. Each prints its figures and leaves them in $KESTROVA_FIGURES/NAME.txt.
The counts come from the environment; the defaults are CI's, a release check runs more."""
import collections
import glob
import os
import random
import shutil
import signal
import threading
import time

from harness import Case, Failure, poll, values

GERMAN = dict(Top="-120", Left="-300", Image="imgGER", Description="1 EUR = 1.95583 DEM",
              Tooltip=" German Marks ", Background="imgFive")
GOOD = dict(Top="600", Left="600", Euro="1", Currency="40.34", Image="imgBEL",
            Description="1 EUR = 40.3399 BEF", Tooltip=" Belgian Francs ", Background="imgDefault")


def count(name, ci):
    return int(os.environ.get(name, ci))


def report(name, line):
    print(f"{name}: {line}")
    if os.environ.get("KESTROVA_FIGURES"):
        with open(f"{os.environ['KESTROVA_FIGURES']}/{name}.txt", "w") as figures:
            figures.write(f"{name}: {line}\n")


def since(begin):
    return round((time.monotonic() - begin) * 1000)


def close_kill_loop(c):
    """Each round starts from stored values, asks for a close and kills the copy 0-20 ms later.
    The close moves the window from its off-screen stored place to the centre, so the new set
    differs from the old in Top and Left; the round's number in Euro and Currency tells rounds
    apart. After every kill the file must read whole and hold one set or the other."""
    rounds = count("KESTROVA_CLOSE_KILLS", 200)
    stored = lambda n: dict(GERMAN, Euro=str(n), Currency=f"c{n}")  # noqa: E731
    c.seed(**stored(0))
    c.p = c.start()
    poll("the first copy running", lambda: c.running(c.p))
    c.stop(signal.SIGTERM)
    place = {name: c.saved()[name] for name in ("Top", "Left")}
    if not all(v.isdigit() for v in place.values()) or c.saved() != dict(stored(0), **place):
        raise Failure(f"a plain close wrote {c.saved()}")
    tallies = []

    def lane(number, numbers):  # two users take turns with the two cores
        user, tally = Case(c.d, c.binary, f"{c.folder}/lane{number}"), collections.Counter()
        tallies.append(tally)
        for n in numbers:
            user.seed(**stored(n))
            copy = user.start()
            try:
                poll(f"round {n}: the copy running", lambda: user.running(copy), timeout=10)
            except Failure as failure:
                print(failure)
                tally["unstarted"] += 1
            copy.terminate()
            delay = random.randint(0, 20)
            if delay:  # none at all for 0: the close writes within about a millisecond
                time.sleep(delay / 1000)
            copy.kill()
            copy.wait()
            got = values(user.store)
            kind = "old" if got == stored(n) else "new" if got == dict(stored(n), **place) else "damaged"
            tally[kind] += 1
            if kind == "damaged":
                print(f"round {n}: the file reads {got}")
            # A kill between making the temporary and renaming it leaves it behind until the
            # next save clears it away: never more than one at a time.
            left = len(glob.glob(os.path.dirname(user.store) + "/.Kestrova.reg.*.tmp"))
            tally["temporaries"] = max(tally["temporaries"], left)
    begin = time.monotonic()
    lanes = [threading.Thread(target=lane, args=(k, range(k, rounds + 1, 2))) for k in (1, 2)]
    for thread in lanes:
        thread.start()
    for thread in lanes:
        thread.join()
    total = sum(tallies, collections.Counter())
    most = max(tally["temporaries"] for tally in tallies)
    report("close_kill_loop", f"{rounds} rounds: {total['old']} old, {total['new']} new, "
           f"{total['damaged']} damaged; at most {most} temporary left at a time; "
           f"{since(begin) // 1000} s")
    if total["old"] + total["new"] + total["damaged"] != rounds or total["unstarted"]:
        raise Failure("not every round was counted, or a copy never became ready")
    if total["damaged"] or most > 1 or not (total["old"] and total["new"]):
        raise Failure("a damaged file, two temporaries at once, or kills on one side of the write")


def kill_restart_loop(c):
    """A copy killed outright leaves nothing that holds the next one back: each new copy is the
    running one, its window on screen. The time it takes is a figure, not a bound."""
    rounds, took, previous = count("KESTROVA_RESTARTS", 50), [], None
    for n in range(rounds):
        begin = time.monotonic()
        copy = c.start()
        if previous:
            previous.wait()
        poll(f"round {n}: the new copy running", lambda: c.running(copy), timeout=10)
        c.window(copy)
        took.append(since(begin))
        copy.kill()
        previous = copy
    report("kill_restart_loop", f"{rounds} kills and restarts: {sum(t <= 1000 for t in took)} "
           f"running within 1 s, slowest {max(took)} ms, mean {sum(took) // rounds} ms")


def simultaneous_starts(c):
    """A crowd of copies at once: one runs, every other one says so in its box and ends on
    Enter."""
    crowd, begin = count("KESTROVA_CROWD", 20), time.monotonic()
    copies = [c.start() for _ in range(crowd)]

    def settled():
        running, showing = [copy for copy in copies if c.running(copy)], c.d.showing("Kestrova")
        boxes = [copy for copy in copies if copy not in running and copy.pid in showing]
        return len(running) + len(boxes) == crowd and (running, boxes)
    running, boxes = poll("each copy running or showing its box", settled, timeout=60, every=0.5)
    settled_in = since(begin)
    if len(running) != 1:
        raise Failure(f"{len(running)} running copies")
    for copy in boxes:
        box = c.window(copy)

        def answered():
            if copy.poll() is None:
                c.d.activate(box)
                c.d.keys("Return")
                copy.wait(timeout=1)
            return True
        poll(f"copy {copy.pid} ending on Enter", answered)
    c.p = running[0]
    if c.p.poll() is not None:
        raise Failure("the running copy ended with the others")
    c.stop(signal.SIGTERM)
    if values(c.store) is None:
        raise Failure("the running copy's close left a damaged file")
    report("simultaneous_starts", f"{crowd} simultaneous starts: 1 running copy, {len(boxes)} "
           f"boxes saying it runs already, each ended on Enter; settled in {settled_in} ms")


def hostile_files(c):
    """Whatever lies where the settings should be, the program starts, converts, and does not
    overwrite what it could not read."""
    took = []

    def user(name):
        u = Case(c.d, c.binary, f"{c.folder}/{name}")
        os.makedirs(os.path.dirname(u.store), mode=0o700)
        return u

    def usable(u, name, **someone):  # starts, types 5, sees the national box change, Alt+X
        begin, u.p = time.monotonic(), u.start(**someone)
        poll(f"{name}: a running copy", lambda: u.running(u.p), timeout=20)
        u.win = u.window(u.p)
        took.append(f"{name} {since(begin)} ms")
        box = lambda: u.d.grab(u.win.x + 66, u.win.y + 59, 110, 16).data  # noqa: E731
        before = box()
        poll(f"{name}: the window focused", lambda: u.d.focused(u.win))
        u.d.keys("5")
        poll(f"{name}: typing 5 changing the national box", lambda: box() != before)
        u.quit()
    saved_euro = lambda path: (values(path) or {}).get("Euro")  # noqa: E731

    huge = user("huge")  # read no further than a settings file can reach, and kept aside
    with open(huge.store, "wb") as store:
        store.truncate(100 << 20)
    inode = os.stat(huge.store).st_ino
    usable(huge, "huge_100MB")
    kept = os.stat(huge.store + ".bad")
    if (kept.st_ino, kept.st_size) != (inode, 100 << 20) or saved_euro(huge.store) != "5":
        raise Failure("huge: the big file was not kept as it was, or nothing new was saved")

    for name in ("binary", "deep_keys"):
        u = user(name)
        if name == "binary":
            open(u.store, "wb").write(os.urandom(65536))
        else:  # good values, then a key 100 000 levels deep
            u.seed(**GOOD)
            open(u.store, "a").write("[HKEY_CURRENT_USER" + "\\d" * 100000 + ']\n"X"="1"\n')
        data = open(u.store, "rb").read()
        usable(u, name)
        if open(u.store + ".bad", "rb").read() != data or saved_euro(u.store) != "5":
            raise Failure(f"{name}: the file was not kept byte for byte, or nothing new was saved")
        if os.path.getsize(u.store) > 10000:
            raise Failure(f"{name}: the saved file grew to {os.path.getsize(u.store)} bytes")

    linked = user("link")  # followed, and still a link afterwards
    os.makedirs(f"{c.folder}/link/dotfiles")
    linked.seed(**GOOD)
    os.rename(linked.store, f"{c.folder}/link/dotfiles/kestrova.reg")
    os.symlink("../../dotfiles/kestrova.reg", linked.store)
    usable(linked, "symlink")
    if not os.path.islink(linked.store) or os.path.exists(linked.store + ".bad") or \
            saved_euro(f"{c.folder}/link/dotfiles/kestrova.reg") != "5":
        raise Failure("link: replaced, taken for damaged, or the file behind it not saved")

    # A folder the user cannot write: the old file stays and the failure is told. Root writes
    # anywhere, so the copy runs as nobody.
    locked = user("readonly")
    locked.seed(**GOOD)
    before = open(locked.store, "rb").read()
    os.chmod(c.folder, 0o755)
    shutil.copy(c.binary, f"{c.folder}/kestrova")
    for folder, _, files in os.walk(f"{c.folder}/readonly"):
        for path in [folder] + [os.path.join(folder, f) for f in files]:
            shutil.chown(path, "nobody")
    os.chmod(os.path.dirname(locked.store), 0o500)
    usable(locked, "read_only_folder", binary=f"{c.folder}/kestrova", user="nobody")
    if open(locked.store, "rb").read() != before or os.listdir(os.path.dirname(locked.store)) != \
            ["Kestrova.reg"] or b"could not be saved" not in open(f"{c.folder}/readonly/out.log", "rb").read():
        raise Failure("read-only: the old file changed, files appeared, or the failure went unsaid")
    report("hostile_files", "every hostile file started a usable window and kept what it could "
           f"not read ({', '.join(took)})")
