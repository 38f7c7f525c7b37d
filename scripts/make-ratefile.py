#!/usr/bin/env python3
"""Writes the sample rate file data/Ratefile.prn.

One record for every county of location/states.cpp and every distinct
commodity code of commodities/catalogue.cpp, read from those tables so the
sample always matches the program. The rates are made up for trying the
program: they are nobody's real premium rates. The output is the same on
every run (the rates come from a hash of the keys, not from a clock).

    scripts/make-ratefile.py [OUTPUT]     default: data/Ratefile.prn

Record layout, 60 characters and CR LF per line (positions from 1):
  1-2 state code, 4-5 state letters, 8-10 county code, 13-16 commodity
  code, 19 livestock flag, 25 insurable-crop flag, 35-39 rate at 0.80
  coverage, 46-50 rate at 0.75, 56-60 rate at 0.65.

The last line is no record: it begins with #KBT2-SAMPLE-RATES, which the
program's reader skips and takes as the sign that the rates are made up, so
that nothing priced from this table, wherever it is copied, passes for a
quote. Being last, it moves no record's line number.
"""

import hashlib
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

STATE_LETTERS = {"Michigan": "MI", "Maine": "ME", "Massachusetts": "MA", "New Hamp.": "NH", "Florida": "FL"}

# Livestock and livestock products.
LIVESTOCK = set(range(800, 811)) | set(range(820, 824)) | set(range(840, 847))

# Crops with a multiple-peril crop insurance product in the sample: the
# common field crops and the main fruit, nut and vegetable crops.
# fmt: off
INSURABLE = {
    11, 15, 16, 17, 18, 21, 22, 31, 38, 39, 41, 43, 46, 47, 49, 51, 62, 67, 71, 75, 78, 81, 84, 91, 94,  # field
    12, 19, 20, 28, 29, 34, 36, 37, 52, 53, 54, 58, 89, 92, 98, 99, 100, 102, 201, 202, 203, 227,     # fruit, nuts
    13, 42, 64, 87, 23, 56,                                                                          # vegetables, nursery
}
# fmt: on


def counties():
    """(state letters, state code, county code) in the order of the tables."""
    source = (ROOT / "location" / "states.cpp").read_text()
    states = {array: (STATE_LETTERS[name], int(code))
              for name, code, array in re.findall(r'\{\d+,\s*"([^"]+)",\s*(\d+),\s*Control::(\w+)\}', source)}
    return [(*states[array], int(code))
            for array, code in re.findall(r'\{Control::(\w+),\s*\d+,\s*"[^"]+",\s*(\d+)\}', source)]


def commodity_codes():
    source = (ROOT / "commodities" / "catalogue.cpp").read_text()
    entry = r'\{Control::\w+,\s*\d+,\s*"[^"]*",\s*"[^"]*",\s*\{[^}]*\},\s*"[^"]*",\s*(\d+),\s*\d+\}'
    return sorted({int(code) for code in re.findall(entry, source)})


def fraction(*key):
    """A number in [0, 1) fixed by the key."""
    digest = hashlib.sha256(":".join(map(str, key)).encode()).digest()
    return int.from_bytes(digest[:8], "big") / 2**64


def record(letters, state, county, code):
    rate80 = 0.020 + 0.070 * fraction(state, county, code, 80)
    rate75 = rate80 * (0.78 + 0.10 * fraction(state, county, code, 75))
    rate65 = rate80 * (0.50 + 0.12 * fraction(state, county, code, 65))
    line = (f"{state:02d} {letters}  {county:03d}  {code:4d}  "
            f"{'Y' if code in LIVESTOCK else 'N'}     {'Y' if code in INSURABLE else 'N'}"
            f"{'':9}{rate80:5.3f}{'':6}{rate75:5.3f}{'':5}{rate65:5.3f}")
    assert len(line) == 60, line
    return line


def main():
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "data" / "Ratefile.prn"
    places = counties()
    codes = commodity_codes()
    if len(places) != 36 or not codes:
        sys.exit(f"tables not understood: {len(places)} counties, {len(codes)} codes")
    lines = [record(*place, code) for place in places for code in codes]
    mark = "#KBT2-SAMPLE-RATES made-up rates for trying KBT2: no quote".ljust(60)
    output.write_bytes("".join(line + "\r\n" for line in lines + [mark]).encode("ascii"))
    print(f"{output}: {len(lines)} records ({len(places)} counties x {len(codes)} commodity codes)")


if __name__ == "__main__":
    main()
