"""Every way a copy ends: what each keeps in the settings file."""

import os
from signal import SIGHUP, SIGINT, SIGKILL, SIGTERM

import pytest

from kestrova import NATIONAL


@pytest.mark.desktops("x11", "wayland")
def test_signals_save_like_a_close_but_a_kill_leaves_the_file_alone(user):
    rounds = [(SIGTERM, "5", "201.7"), (SIGINT, "6", "242.04"), (SIGHUP, "7", "282.38")]
    for signal, typed, national in rounds + [(SIGKILL, "8", "322.72")]:
        path = user.store.path
        kept = open(path, "rb").read() if os.path.exists(path) else None
        copy = user.ready()
        copy.keys(typed)
        copy.expect(NATIONAL, "text", national)
        copy.stop(signal)
        if signal == SIGKILL:
            assert open(path, "rb").read() == kept, "a killed copy changed the file"
            assert os.listdir(os.path.dirname(path)) == ["Kestrova.reg"]
        else:
            saved = user.saved()
            assert (saved["Euro"], saved["Currency"]) == (typed, national), signal


@pytest.mark.desktops("wine")
def test_a_logout_saves_like_a_close(user, desktop):
    """The end of a session reaches the window as each platform sends it; the program's answer
    is the same on all: it closes, which saves."""
    copy = user.ready()
    copy.keys("4")
    copy.move(250, 150)
    x, y, _, _ = copy.frame()
    desktop.log_out()
    copy.ended()
    assert copy.process.returncode == 0
    saved = user.saved()
    assert (saved["Euro"], saved["Currency"], saved["Image"]) == ("4", "161.36", "imgBEL")
    user.expect_place(saved, x, y)
