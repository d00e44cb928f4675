"""The window as a person meets it: its first run and what it keeps, where it opens, its
backgrounds, and its pictures on a dense screen."""

import os

import pytest
from PIL import Image

from kestrova import BACKGROUND, EURO, SettingsFile
from support import wait_until

# Places on the window's client area, whose background picture lies at (6, 6).
EURO_BOX, NATIONAL_BOX, EURO_FLAG, BACKGROUND_SPOT = (100, 30), (100, 60), (21, 21), (191, 146)
LIGHT_BLUE, CYAN, PINK = (192, 192, 255), (0, 255, 255), (255, 192, 192)
ASSETS = os.path.join(os.path.dirname(__file__), "..", "..", "assets", "pictures")


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
        if frame_at or not desktop.tells_places:
            assert (user.saved()["Top"], user.saved()["Left"]) == (top, left)
        else:
            user.expect_place(x, y)
        assert user.saved()["Euro"] == "5"


@pytest.mark.desktops("x11")
def test_backgrounds_cycle_and_a_sigterm_keeps_the_one_on_show(user, desktop):
    copy = user.ready()
    seen = [copy.read(BACKGROUND, "description")]

    def next_one():
        now = copy.read(BACKGROUND, "description")
        return now != seen[-1] and now

    for turn in range(10):  # round the eight and on
        copy.click(BACKGROUND_SPOT, count=2)
        seen.append(wait_until("the next background", next_one))
        if turn == 1:
            copy.expect_colour(EURO_BOX, PINK)
            copy.expect_colour(NATIONAL_BOX, PINK)
            copy.screenshot("banknote.png")
    assert len(set(seen[:8])) == 8 and seen[8:] == seen[:3], seen
    assert seen[:3] == ["Default texture", "5 euro banknote", "10 euro banknote"]

    x, y, _, _ = copy.frame()
    copy.stop(15)
    saved = user.saved()
    assert (saved["Background"], saved["Image"], saved["Euro"]) == ("imgTen", "imgBEL", "1")
    user.expect_place(x, y)

    copy = user.ready()
    assert copy.frame()[:2] == (x, y)
    copy.expect(BACKGROUND, "description", "10 euro banknote")
    copy.expect_colour(EURO_BOX, PINK)
    copy.expect_colour(NATIONAL_BOX, PINK)
    copy.quit()


@pytest.mark.desktops("wayland")
def test_a_dense_screen_shows_the_sharp_pictures(user, desktop):
    """At scale 2 the European flag is its @2x picture, not the 1x one blown up."""
    desktop.double_density()
    copy = user.ready()
    sharp = Image.open(f"{ASSETS}/imgEuro@2x.ico").convert("RGBA")
    box = sharp.getchannel("A").getbbox()  # the flag's field, without what is transparent
    blown = Image.open(f"{ASSETS}/imgEuro.ico").convert("RGBA").resize(sharp.size, Image.NEAREST)
    left, top, right, bottom = box
    x, y = copy.win.x + EURO_FLAG[0] + left // 2, copy.win.y + EURO_FLAG[1] + top // 2
    shown = desktop.grab(x, y, (right - left) // 2, (bottom - top) // 2).convert("RGB")
    assert shown.size == (right - left, bottom - top)

    def off(picture):
        pairs = zip(shown.tobytes(), picture.crop(box).convert("RGB").tobytes())
        return sum(abs(a - b) for a, b in pairs) / (shown.width * shown.height * 3)

    assert off(sharp) < 1 < off(blown) / 3, (off(sharp), off(blown))
    copy.quit()
