"""Kestrova for Windows as its installer puts it in place and its uninstaller takes it away."""

import glob
import os

import pytest

from support import wait_until

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrova"


@pytest.mark.desktops("wine")
def test_the_uninstaller_removes_every_file_and_leaves_the_settings(user, desktop):
    folder = f"{desktop.drive}/Program Files/Kestrova"
    walked = os.walk(folder)
    installed = {
        os.path.relpath(f"{place}/{name}", folder) for place, _, ns in walked for name in ns
    }
    beside = {"Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll", "platforms/qwindows.dll"}
    beside |= {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}
    assert {"kestrova.exe", "Uninstall.exe"} | beside <= installed, installed
    entries = glob.glob(f"{desktop.drive}/**/Start Menu/**/Kestrova*.lnk", recursive=True)
    assert entries, "no Start-menu entry"
    assert "UninstallString" in desktop.wine("reg", "query", UNINSTALL).stdout

    user.ready().quit()
    desktop.wine(r"C:\Program Files\Kestrova\Uninstall.exe", "/S")
    # It goes on from a copy of itself and returns at once.
    left = [folder, *entries]
    wait_until("the program's files and entries to go", lambda: not any(map(os.path.exists, left)))
    missing = "Unable to find the specified registry key"
    assert missing in desktop.wine("reg", "query", UNINSTALL, check=False, answer=missing).stdout
    assert user.saved()["Euro"] == "1", "the settings went with the program"
