"""The desktops the end-to-end and robustness scenarios run on, and fixtures that own and end
everything a scenario starts. One file on one desktop, on a session bus of its own:
    dbus-run-session -- python3 -m pytest tests/e2e/test_window.py --desktop x11 --kestrova BINARY
"""

import os
import shutil
import tempfile

import pytest

from desktops import DESKTOPS
from kestrova import User
from support import Processes


def pytest_addoption(parser):
    parser.addoption("--desktop", action="append", choices=sorted(DESKTOPS), help="(all)")
    parser.addoption("--kestrova", help="the program to run; on wine, its installer")


def pytest_generate_tests(metafunc):
    if "desktop" in metafunc.fixturenames:
        chosen = metafunc.config.getoption("desktop") or list(DESKTOPS)
        marked = metafunc.definition.get_closest_marker("desktops").args
        metafunc.parametrize("desktop", [d for d in marked if d in chosen], indirect=True)


@pytest.fixture
def folder():
    # Not pytest's own temporary folder: copies and desktops run as nobody must reach this one.
    path = tempfile.mkdtemp(prefix="kestrova-e2e.")
    os.chmod(path, 0o711)
    yield path
    shutil.rmtree(path)


@pytest.fixture
def desktop(request, folder):
    processes = Processes()
    try:
        yield DESKTOPS[request.param](processes, folder, request.config.getoption("kestrova"))
    finally:
        processes.end()


@pytest.fixture
def users(desktop, folder):
    """Makes users, each with a home of their own; ends every copy they started."""
    processes, made = Processes(), []

    def user(name="user"):
        made.append(User(desktop, f"{folder}/{name}", processes))
        return made[-1]

    yield user
    processes.end()
    for log in [someone.log for someone in made if os.path.exists(someone.log)]:
        print(f"--- {log}\n" + open(log, errors="replace").read()[-3000:])  # shown with a failure


@pytest.fixture
def user(users):
    return users()
