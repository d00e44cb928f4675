"""Working the converter: typing, the countries by mouse and keyboard, the about window and its
link, and what a close keeps of it all."""

import os

import pytest

from kestrova import BACKGROUND, EURO, FLAG, NATIONAL
from support import wait_until

# Places on the window's client area; the about window's Ok on its own.
FLAG_SPOT, FLAG_CORNER, ABOUT, EXIT = (37, 67), (21, 83), (60, 121), (142, 121)
OK, LINK = (77, 253), (40, 213)
GERMANY = "1 EUR = 1.95583 DEM"


def about_window(copy):
    """The about window, once it takes input: with the focus on its Ok."""
    about = copy.window("About")
    copy.expect("Ok", "focused", True)
    if not copy.desktop.reads_controls:
        wait_until("the about window to take input", lambda: copy.desktop.active(about))
    return about


def about_comes_and_goes(copy, open_it, close_it):
    """The about window comes with the focus on its Ok, and gives it back to the euro box."""
    open_it()
    close_it(about_window(copy))
    wait_until("the about window to go", lambda: not copy.desktop.window(copy.process.pid, "About"))
    copy.expect(EURO, "focused", True)


@pytest.mark.desktops("x11", "wayland", "wine")
def test_typing_converts_and_a_close_keeps_it(user, desktop):
    copy = user.ready()
    copy.click(FLAG_SPOT, count=2)
    copy.expect_rate(GERMANY)
    copy.keys("5", "0")
    copy.expect_amounts("50", "97.79")
    copy.move(300, 200)
    x, y, _, _ = copy.frame()
    copy.click(EXIT)
    copy.ended()
    saved = user.saved()
    assert (saved["Euro"], saved["Currency"], saved["Image"]) == ("50", "97.79", "imgGER")
    user.expect_place(saved, x, y)

    copy = user.ready()
    assert not desktop.tells_places or copy.frame()[:2] == (x, y)
    copy.expect_amounts("50", "97.79")
    copy.keys("Tab")  # its release in the national box converts back: 50 again
    copy.expect(NATIONAL, "focused", True)
    copy.keys("1", "0", "0", "0")
    copy.expect_amounts("511.29", "1000")
    copy.quit()
    saved = user.saved()
    assert (saved["Euro"], saved["Currency"]) == ("511.29", "1000")


@pytest.mark.desktops("x11", "wayland", "wine")
def test_the_about_window_and_its_link_to_the_homepage(user, desktop):
    copy = user.ready()
    about_comes_and_goes(copy, lambda: copy.click(ABOUT), lambda about: copy.click(OK, win=about))
    copy.keys("alt+a")
    about = about_window(copy)
    copy.screenshot("about.png", about)
    copy.click(LINK, win=about)

    def opened():
        with open(user.opened) as browser:
            return browser.read().split()

    assert wait_until("the browser asked to open", opened) == [os.environ["KESTROVA_HOMEPAGE"]]
    wait_until("the about window to go", lambda: not desktop.window(copy.process.pid, "About"))
    if desktop.minimises:
        wait_until("the minimised window", lambda: not desktop.window(copy.process.pid, "Kestrova"))
    assert copy.process.poll() is None


@pytest.mark.desktops("x11", "wayland", "wine")
def test_countries_from_the_flag_and_the_close_box(user, desktop):
    copy = user.ready()
    height = copy.popup(FLAG_SPOT)
    copy.click((FLAG_SPOT[0] + 30, FLAG_SPOT[1] + height * 7 // 24))  # the 4th of its 12 rows
    copy.expect_rate("1 EUR = 6.55957 FRF")
    copy.expect_amounts("1", "6.56")
    copy.click(FLAG_SPOT, count=2)
    copy.expect_rate("1 EUR = 340.750 GRD", " Greek Drachmas ")
    copy.expect(FLAG, "description", "Greece")
    copy.expect(NATIONAL, "text", "340.75")
    desktop.close_box(copy.window())
    copy.ended()
    saved = user.saved()
    greece = dict(Image="imgGRI", Description="1 EUR = 340.750 GRD", Tooltip=" Greek Drachmas ")
    assert saved | greece | dict(Currency="340.75") == saved

    copy = user.ready()
    copy.expect(FLAG, "description", "Greece")
    copy.expect_rate("1 EUR = 340.750 GRD")
    copy.expect(NATIONAL, "text", "340.75")
    copy.quit("alt+F4")
    assert user.saved()["Image"] == "imgGRI"


@pytest.mark.desktops("x11", "wine")
def test_everything_works_from_the_keyboard(user, desktop):
    desktop.click(*desktop.size, count=0)  # the pointer out of the way
    copy = user.ready()
    copy.keys("shift+Tab")
    copy.expect(FLAG, "focused", True)
    copy.popup(FLAG_CORNER, "shift+F10")  # opens under the flag; the country on show is skipped
    copy.keys("Down", "Down", "Return")
    copy.expect_rate("1 EUR = 5.94573 FIM")
    copy.expect(NATIONAL, "text", "5.95")
    copy.popup(FLAG_CORNER, "Menu")
    copy.keys("Down", "Return")
    copy.expect_rate("1 EUR = 40.3399 BEF")
    copy.keys("space")
    copy.expect_rate(GERMANY)
    copy.expect(NATIONAL, "text", "1.96")
    copy.keys("shift+Tab")
    copy.expect(BACKGROUND, "focused", True)
    copy.keys("space")
    copy.expect(BACKGROUND, "description", "5 euro banknote")
    about_comes_and_goes(copy, lambda: copy.keys("alt+a"), lambda about: copy.keys("Return"))
    copy.quit()
    saved = user.saved()
    assert (saved["Image"], saved["Background"], saved["Currency"]) == ("imgGER", "imgFive", "1.96")
