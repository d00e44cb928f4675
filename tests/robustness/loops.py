"""Kestrova killed in its close and started again, started in a crowd, fed hostile settings files; each prints
its figures into $KESTROVA_FIGURES/NAME.txt too. Counts come from the environment: the defaults are CI's."""
import collections, concurrent.futures, glob, os, random, shutil, time  # noqa: E401
from signal import SIGTERM
from harness import Case, check, poll, values

GOOD = dict(Top="600", Left="600", Euro="1", Currency="40.34", Image="imgBEL", Description="1 EUR = 40.3399 BEF",
            Tooltip=" Belgian Francs ", Background="imgDefault")


def report(name, begin, line):
    print(line := f"{name}: {line}; {round(time.monotonic() - begin)} s")
    os.environ.get("KESTROVA_FIGURES") and open(f"{os.environ['KESTROVA_FIGURES']}/{name}.txt", "w").write(line + "\n")


def close_kill_loop(c):
    """Each round's copy must run, whatever the last was killed in; it is asked to close and killed 0-20 ms
    later. The close moves the window from above the screen to the centre, so the new values differ from the
    old in Top and Left, and Euro and Currency tell rounds apart. The file must then read whole and hold one
    set or the other, with at most the one temporary of a kill in mid-save beside it."""
    rounds, begin = int(os.environ.get("KESTROVA_CLOSE_KILLS", 200)), time.monotonic()
    stored = lambda n: dict(GOOD, Top="-120", Left="-300", Euro=str(n), Currency=f"c{n}")  # noqa: E731
    c.seed(stored(0))
    c.p = c.start()
    poll("the first copy running", lambda: c.running(c.p))
    c.stop(SIGTERM)
    centre = {name: c.saved()[name] for name in ("Top", "Left")}
    check(c.saved() == dict(stored(0), **centre) and all(map(str.isdigit, centre.values())), f"a close: {c.saved()}")

    def lane(number):  # two users take turns with the two cores
        user, tally, took = Case(c.d, c.binary, f"{c.folder}/lane{number}"), collections.Counter(), []
        for n in range(number, rounds + 1, 2):
            user.seed(stored(n))
            started, copy = time.monotonic(), user.start()
            poll(f"round {n}: the copy running", lambda: user.running(copy), timeout=10)
            took.append(round((time.monotonic() - started) * 1000))
            copy.terminate()
            time.sleep(random.randint(0, 20) / 1000)
            copy.kill()
            copy.wait()
            got = values(user.store)
            tally["old" if got == stored(n) else "new" if got == dict(stored(n), **centre) else "damaged"] += 1
            tally["most"] = max(tally["most"], len(glob.glob(os.path.dirname(user.store) + "/.Kestrova.reg.*.tmp")))
        return tally, took
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        (first, took), (second, more) = pool.map(lane, (1, 2))
    tally, took, most = first + second, sorted(took + more), max(first["most"], second["most"])
    report("close_kill_loop", begin, f"{rounds} rounds: {tally['old']} old, {tally['new']} new, {tally['damaged']} "
           f"damaged; at most {most} temporary left at a time; running within 1 s of the start in "
           f"{sum(t <= 1000 for t in took)}, slowest {took[-1]} ms, median {took[len(took) // 2]} ms")
    check(tally["old"] + tally["new"] == rounds and most <= 1 and tally["old"] and tally["new"], "a damaged file, two "
          "temporaries at once, or kills on one side of the write only")


def simultaneous_starts(c):  # a crowd at once: one runs, each other one says so in its box and ends on Enter
    crowd, begin = int(os.environ.get("KESTROVA_CROWD", 20)), time.monotonic()
    copies = [c.start() for _ in range(crowd)]
    poll("each copy's window or box", lambda: c.d.showing("Kestrova") >= {copy.pid for copy in copies}, timeout=60,
         every=0.5)
    settled_in, running = round((time.monotonic() - begin) * 1000), [copy for copy in copies if c.running(copy)]
    check(len(running) == 1, f"{len(running)} running copies")
    for copy in set(copies) - set(running):
        c.answer(copy)
    c.p = running[0]
    check(c.p.poll() is None, "the running copy ended with the others")
    c.stop(SIGTERM)
    check(values(c.store) is not None, "the running copy's close left a damaged file")
    report("simultaneous_starts", begin, f"{crowd} simultaneous starts: 1 running copy, {crowd - 1} boxes saying it "
           f"runs already, each ended on Enter; settled in {settled_in} ms")


def hostile_files(c):  # whatever lies there, the program starts, converts, and overwrites nothing it could not read
    took, begin, deep = [], time.monotonic(), ("[HKEY_CURRENT_USER" + "\\d" * 100000 + ']\n"X"="1"\n').encode()

    def link(u):  # followed, and a link still afterwards
        os.makedirs(f"{u.folder}/dotfiles")
        os.rename(u.store, f"{u.folder}/dotfiles/kestrova.reg")
        os.symlink("../../dotfiles/kestrova.reg", u.store)

    def locked(u):  # a folder the user cannot write; as root writes anywhere, the copy runs as nobody
        os.chmod(c.folder, 0o755)
        shutil.copy(c.binary, f"{c.folder}/kestrova")
        for folder, _, files in os.walk(u.folder):
            [shutil.chown(os.path.join(folder, name), "nobody") for name in files + ["."]]
        os.chmod(os.path.dirname(u.store), 0o500)
        return {"binary": f"{c.folder}/kestrova", "user": "nobody"}
    def aside(u, kept): return open(u.store + ".bad", "rb").read() == kept and os.path.getsize(u.store) < 9999
    for name, prepare, holds in (  # what lies there, and what must hold after a close besides the new values
            ("huge_100MB", lambda u: os.truncate(u.store, 100 << 20), aside),
            ("binary", lambda u: open(u.store, "wb").write(os.urandom(65536)) and {}, aside),
            ("deep_keys", lambda u: open(u.store, "ab").write(deep) and {}, aside),
            ("symlink", link, lambda u, kept: os.path.islink(u.store) and not os.path.exists(u.store + ".bad")),
            ("read_only_folder", locked, lambda u, kept: open(u.store, "rb").read() == kept and b"could not be saved"
             in open(u.log.name, "rb").read() and os.listdir(os.path.dirname(u.store)) == ["Kestrova.reg"])):
        u = Case(c.d, c.binary, f"{c.folder}/{name}")
        u.seed(GOOD)
        someone, kept, started = prepare(u) or {}, open(u.store, "rb").read(), time.time()
        u.p = u.start(**someone)  # then types 5, sees the national box change, and closes with Alt+X
        poll(f"{name}: a running copy", lambda: u.running(u.p), timeout=20)
        u.win = u.window()
        took.append(f"{name} {round((time.time() - started) * 1000)} ms")
        box = lambda: u.d.grab(u.win.x + 66, u.win.y + 59, 110, 16).data  # noqa: E731
        before = box()
        u.d.activate(u.win)
        u.keys("5")
        poll(f"{name}: typing 5 changing the national box", lambda: box() != before)
        u.quit()
        check(holds(u, kept) and (values(u.store) or {}).get("Euro") == ("1" if someone else "5"), f"{name}: kept "
              f"nothing aside, replaced what it could not read, or saved the wrong values")
    report("hostile_files", begin, f"every hostile file started a usable window and kept what it could not read "
           f"({', '.join(took)})")
