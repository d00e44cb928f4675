#!/usr/bin/env python3
"""Writes roundtrip_corpus.txt: values and the amount text each must be written as.

The texts come from Python's exact decimal arithmetic, not from the program, so the
corpus is an outside opinion. Each line: the value (shortest text that reads back to
the double), the expected amount text, and "=" when that text reads back to the very
same double or "~" when fifteen digits cannot hold it.
"""
import random
from decimal import Context, Decimal, ROUND_HALF_EVEN
from pathlib import Path


def amount_text(value: float) -> str:
    if value == 0:
        return "0"
    rounded = Context(prec=15, rounding=ROUND_HALF_EVEN).plus(Decimal(value))
    sign, digits, exponent = rounded.as_tuple()
    digits = list(digits)
    while len(digits) > 1 and digits[-1] == 0:
        digits.pop()
        exponent += 1
    power = exponent + len(digits) - 1  # of the first digit
    text = "-" if sign else ""
    ds = "".join(map(str, digits))
    if power >= 15:
        text += ds[0] + ("." + ds[1:] if len(ds) > 1 else "") + "E+%02d" % power
    elif power >= 0:
        whole, fraction = ds[: power + 1].ljust(power + 1, "0"), ds[power + 1 :]
        text += whole + ("." + fraction if fraction else "")
    else:
        text += "0." + "0" * (-power - 1) + ds
    return text


def values():
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
    # What the rounding gives: whole hundredths of every size, as a double divides them.
    for digits in range(1, 18):
        for _ in range(12):
            chosen.append(rng.randrange(10 ** (digits - 1), 10 ** digits) / 100)
    # Values of fifteen digits or fewer at every scale, and a few with more.
    for _ in range(120):
        mantissa = rng.randrange(1, 10 ** rng.randint(1, 15))
        chosen.append(float(Decimal(mantissa).scaleb(rng.randint(-20, 280))))
    for _ in range(40):
        chosen.append(rng.uniform(-1, 1) * 10 ** rng.randint(0, 300))
    return chosen


def main():
    lines = [
        "# value  expected-text  (= reads back to the same double, ~ fifteen digits cannot)",
        "# Written by make_roundtrip_corpus.py; edit that, not this.",
    ]
    for value in values():
        text = amount_text(value)
        same = "=" if float(text) == value else "~"
        lines.append(f"{value!r} {text} {same}")
    Path(__file__).with_name("roundtrip_corpus.txt").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
