"""The window as a person meets it: its first run, what it keeps, and where it opens."""

import os

import pytest

from kestrova import EURO, SettingsFile

EURO_BOX = (100, 30)  # on the window's client area, whose background picture lies at (6, 6)
LIGHT_BLUE, CYAN = (192, 192, 255), (0, 255, 255)


@pytest.mark.desktops("x11", "wayland", "wine")
def test_first_run_saves_and_a_second_copy_is_refused(user, desktop):
    copy = user.ready()
    in_a_file = isinstance(user.store, SettingsFile)
    assert not in_a_file or os.path.isdir(os.path.dirname(user.store.path)), "no folder made"
    copy.expect_colour(EURO_BOX, LIGHT_BLUE)
    copy.screenshot("first-run.png")

    second = user.start(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    second.window()
    second.expect("Kestrova is already running.", "role", "label")
    second.answer()
    assert copy.process.poll() is None, "the first copy ended with the second"
    assert "Euro" not in (user.store.read() or {}), "the refused copy wrote settings"

    desktop.activate(copy.window())
    copy.expect(EURO, "focused", True)
    copy.quit()  # Alt+X: its release in the euro box converts, so the comma goes
    saved = user.saved()
    first = dict(Euro="1", Currency="40.34", Image="imgBEL", Description="1 EUR = 40.3399 BEF")
    first |= dict(Tooltip=" Belgian Francs ", Background="imgDefault")
    places = {"Top", "Left"} if desktop.tells_places else set()
    assert set(saved) == set(first) | places and saved | first == saved, saved
    assert all(saved[name].isdigit() for name in places), saved
    if in_a_file:
        assert os.stat(user.store.path).st_mode & 0o777 == 0o600
        assert os.stat(os.path.dirname(user.store.path)).st_mode & 0o777 == 0o700

    copy = user.ready()  # the stored default background now colours both boxes
    copy.expect_colour(EURO_BOX, CYAN)
    copy.quit()
    assert user.saved()["Tooltip"] == " Belgian Francs ", "a restore lost the leading blank"


@pytest.mark.desktops("x11", "wayland", "wine")
def test_the_window_opens_where_it_was_or_centred(user, desktop):
    """Where the platform cannot tell a program its window's place (Wayland), a close leaves the
    stored place as it was."""
    for top, left, frame_at in (("-120", "300", None), ("1815", "2400", (160, 121))):
        user.seed(Top=top, Left=left, Euro="5")
        copy = user.ready()
        x, y, _, _ = copy.frame()
        width, height = desktop.size
        wanted = frame_at or ((width - copy.win.w) // 2, (height - copy.win.h) // 2)
        assert not desktop.tells_places or desktop.near((x, y), wanted), (x, y, wanted)
        copy.quit()
        saved = user.saved()
        if frame_at or not desktop.tells_places:
            assert (saved["Top"], saved["Left"]) == (top, left)
        else:
            user.expect_place(saved, x, y)
        assert saved["Euro"] == "5"
