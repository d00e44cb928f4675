"""The desktop's language: the window speaks it, and keeps its settings as in any other."""

import pytest

from kestrova import BACKGROUND, EURO, FLAG, NATIONAL

FLAG_SPOT = (37, 67)  # on the window's client area
GERMAN = ("Betrag in Euro", "Betrag in Landeswährung", "Flagge des gewählten Landes")
WORDS = {  # what a reader hears, in each language tried
    "en": (EURO, NATIONAL, FLAG, BACKGROUND, "Germany", " German Marks "),
    "de": (*GERMAN, "Hintergrund", "Deutschland", " D-Mark "),
}


@pytest.mark.desktops("x11", "wayland")
def test_a_german_desktop_reads_german_and_keeps_the_settings_english_does(users, desktop):
    kept = {}
    for language, (euro, national, flag, background, germany, marks) in WORDS.items():
        user = users(language)
        copy = user.ready(euro, LANGUAGE=language)
        height = copy.popup(FLAG_SPOT)
        # Its 2nd of 12 rows; a pop-up is no part of the tree a reader walks, the flag it leaves
        # behind is: its description is the entry's caption.
        copy.click((FLAG_SPOT[0] + 30, FLAG_SPOT[1] + height * 3 // 24))
        copy.expect(flag, "description", germany)
        copy.expect_rate("1 EUR = 1.95583 DEM", marks)
        copy.expect(background, "role", "panel")
        copy.keys("5")
        copy.expect(national, "text", "9.78")
        desktop.close_box(copy.window())
        copy.ended()
        with open(user.store.path, "rb") as file:
            kept[language] = file.read()
    assert kept["de"] == kept["en"]
