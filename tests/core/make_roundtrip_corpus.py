#!/usr/bin/env python3
"""Writes roundtrip_corpus.txt from exact decimal arithmetic, not from the program: each value, the
amount text it must be written as, and "=" if that text reads back to the same double, else "~"."""
import random
from decimal import Context, Decimal, ROUND_HALF_EVEN
from pathlib import Path


def amount_text(value):
    if value == 0:
        return "0"
    sign, digits, exponent = Context(15, rounding=ROUND_HALF_EVEN).plus(Decimal(value)).as_tuple()
    ds, power = "".join(map(str, digits)).rstrip("0"), exponent + len(digits) - 1
    text = "-" if sign else ""
    if power >= 15:
        return text + ds[0] + ("." + ds[1:] if len(ds) > 1 else "") + "E+%02d" % power
    if power < 0:
        return text + "0." + "0" * (-power - 1) + ds
    whole, fraction = ds[: power + 1].ljust(power + 1, "0"), ds[power + 1 :]
    return text + whole + ("." + fraction if fraction else "")


chosen = [
    0.0, 0.01, 0.1, 0.39, 0.5, 0.99, 1.0, 1.27, 1.96, 2.0, 40.34, 170.38, 195.58,
    340.75, 511.12, 3407.5, 6559.57, 193627000000000.0, 23904567686084.58,
    999999999999999.0, 999999999999999.4, 999999999999999.5, 999999999999999.9,
    1e15, 1000000000000005.0, 1000000000000015.0, 1.93627e15, 1234567890123456.0,
    9007199254740992.0, 9007199254740993.0 + 1, 1e16, 1e21, 1e22, 1e23, 2.5e99,
    1e100, 1.7976931348623157e306, 5e-324, 2.2250738585072014e-308, 0.001, 1.5e-7,
    0.1 + 0.2, 123456789.12345678, 90071992547409.91, 90071992547409.92,
    12345678901234.56, 99999999999999.99, 100000000000000.0,
]
chosen += [-v for v in chosen if v]
rng = random.Random(1999)
# Whole hundredths of every size as the rounding gives them, then any scale, then beyond 15 digits.
chosen += [rng.randrange(10 ** (d - 1), 10 ** d) / 100 for d in range(1, 18) for _ in range(12)]
chosen += [float(Decimal(rng.randrange(1, 10 ** rng.randint(1, 15))).scaleb(rng.randint(-20, 280)))
           for _ in range(120)]
chosen += [rng.uniform(-1, 1) * 10 ** rng.randint(0, 300) for _ in range(40)]
lines = ["# value  expected-text  (= reads back to the same double, ~ fifteen digits cannot)",
         "# Written by make_roundtrip_corpus.py; edit that, not this."]
lines += [f"{v!r} {amount_text(v)} {'=' if float(amount_text(v)) == v else '~'}" for v in chosen]
Path(__file__).with_name("roundtrip_corpus.txt").write_text("\n".join(lines) + "\n")
