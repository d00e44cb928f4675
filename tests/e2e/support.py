"""Processes that end with the fixture that started them, and waiting for a desktop that
answers in its own time."""

import subprocess
import time

import pytest

NOTHING = object()


class Processes:
    def __init__(self):
        self.started = []

    def start(self, *command, **options):
        options = {"stdout": subprocess.DEVNULL, "stderr": subprocess.STDOUT, **options}
        self.started.append(subprocess.Popen(command, **options))
        return self.started[-1]

    def end(self):
        for process in reversed(self.started):
            process.kill()
            process.wait()


def wait_until(what, probe, equals=NOTHING, timeout=30):
    """probe()'s first answer equal to `equals`, or its first true one. probe may raise while
    windows and trees change under it, but a failed assertion in it ends the wait at once."""
    end, seen = time.monotonic() + timeout, None
    while True:
        try:
            found = probe()
            if found == equals if equals is not NOTHING else found:
                return found
            seen = f"last seen {found!r}"
        except AssertionError:
            raise
        except Exception as error:
            seen = f"last error {error!r}"
        if time.monotonic() > end:
            pytest.fail(f"{what}: not within {timeout} s ({seen})")
        time.sleep(0.05)
