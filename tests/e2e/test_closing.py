"""Every way a copy ends: what each keeps in the settings file."""

import os
from signal import SIGHUP, SIGINT, SIGKILL, SIGTERM

import pytest

from kestrova import EURO, NATIONAL
from session import SessionManager
from support import wait_until


@pytest.mark.desktops("x11", "wayland")
def test_signals_save_like_a_close_but_a_kill_leaves_the_file_alone(user):
    rounds = [(SIGTERM, "5", "201.7"), (SIGINT, "6", "242.04"), (SIGHUP, "7", "282.38")]
    for signal, typed, national in rounds + [(SIGKILL, "8", "322.72")]:
        kept = open(user.store, "rb").read() if os.path.exists(user.store) else None
        copy = user.ready()
        copy.keys(typed)
        copy.expect(NATIONAL, "text", national)
        copy.stop(signal)
        if signal == SIGKILL:
            assert open(user.store, "rb").read() == kept, "a killed copy changed the file"
            assert os.listdir(os.path.dirname(user.store)) == ["Kestrova.reg"]
        else:
            saved = user.saved()
            assert (saved["Euro"], saved["Currency"]) == (typed, national), signal
    copy = user.ready()
    copy.expect(EURO, "text", "7")
    copy.quit()


@pytest.mark.desktops("x11")
def test_a_logout_saves_like_a_close(user):
    """Saved by the time the copy says so, before the session ends it."""
    manager = SessionManager()
    copy = user.ready(**manager.env)
    wait_until("the copy joining the session", lambda: "registered" in manager.said)
    copy.keys("4")
    copy.expect(NATIONAL, "text", "161.36")
    copy.move(250, 150)
    x, y, _, _ = copy.frame()
    manager.logout()
    wait_until("the copy saying it saved itself", lambda: "done 1" in manager.said)
    saved = user.saved()
    assert (saved["Euro"], saved["Currency"], saved["Image"]) == ("4", "161.36", "imgBEL")
    assert (saved["Top"], saved["Left"]) == (str(y * 15), str(x * 15))
    manager.die()
    copy.ended()
    assert copy.process.returncode == 0, manager.said

    copy = user.ready()
    copy.expect(EURO, "text", "4")
    copy.quit()
