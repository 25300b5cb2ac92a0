#!/usr/bin/env python3
"""Reads and writes dat/my.dat for the end-to-end runs, by the names of the commander record.

  saved_game.py get FILE FIELD          prints a value (names as UTF-8); point_state.N for a point
  saved_game.py check FILE              exits 1 unless the file has 429 CRLF lines, every number is
                                        a decimal integer and line 429 is the check value
  saved_game.py new MAP FILE [FIELD=VALUE ...]
                                        writes the record a new voyage starts with on the chart MAP,
                                        changed by the pairs given; the check value follows them
  saved_game.py same A B FIELD ...      exits 1 unless the two files agree on every field named
"""
import sys

FIELDS = ["name", "distance_total", "voyage_days", "planets_found", "bottles_found", "sector_x",
          "sector_y", "sector_z", "energy", "hull", "captain_level"]
FIELDS += [f"point_state.{i}" for i in range(400)]
FIELDS += ["energy_max", "resources", "resources_max"]
FIELDS += [f"trouble_level.{k}" for k in range(10)]
FIELDS += ["buoy_absence", "hull_max", "story_stage", "ship", "check"]
TEXTS = {"name", "ship"}
SUMMED = ["voyage_days", "sector_x", "sector_z", "energy", "captain_level", "energy_max",
          "resources", "resources_max"]
# Points a new voyage knows from the start, by kind.
KNOWN_KINDS = {3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22}


def read_lines(path):
    raw = open(path, "rb").read()
    if not raw.endswith(b"\r\n"):
        raise SystemExit(f"{path}: the last line has no CR LF")
    return raw[:-2].split(b"\r\n")


def check_value(values):
    total = sum(int(values[FIELDS.index(f)]) for f in SUMMED) & 0xFFFFFFFF
    return total - (1 << 32) if total >= 1 << 31 else total


def value_of(lines, field):
    raw = lines[FIELDS.index(field)]
    return raw.decode("cp932") if field in TEXTS else raw.decode("ascii")


def main(argv):
    command = argv[1]
    if command == "get":
        print(value_of(read_lines(argv[2]), argv[3]))
    elif command == "check":
        lines = read_lines(argv[2])
        if len(lines) != len(FIELDS):
            raise SystemExit(f"{len(lines)} lines, not {len(FIELDS)}")
        values = []
        for field, raw in zip(FIELDS, lines):
            if field in TEXTS:
                values.append(raw)
                continue
            text = raw.decode("ascii")
            if text != str(int(text)):
                raise SystemExit(f"{field} is not a plain decimal integer: {text!r}")
            values.append(text)
        if int(values[-1]) != check_value(values):
            raise SystemExit(f"check value {values[-1]}, the record sums to {check_value(values)}")
    elif command == "new":
        chart = open(argv[2], "rb").read().split(b"\r\n")
        values = {f: "0" for f in FIELDS}
        values.update(name="", ship="", energy="200", energy_max="200", hull="10", hull_max="10",
                      resources="7", resources_max="7", captain_level="1")
        for i in range(400):
            if i == 0 or int(chart[i * 12 + 5]) in KNOWN_KINDS:
                values[f"point_state.{i}"] = "1"
        for pair in argv[4:]:
            field, value = pair.split("=", 1)
            if field not in values:
                raise SystemExit(f"no field {field}")
            values[field] = value
        ordered = [values[f] for f in FIELDS]
        ordered[-1] = str(check_value(ordered))
        with open(argv[3], "wb") as out:
            for field, value in zip(FIELDS, ordered):
                out.write((value.encode("cp932") if field in TEXTS else value.encode()) + b"\r\n")
    elif command == "same":
        a, b = read_lines(argv[2]), read_lines(argv[3])
        differ = [f for f in argv[4:] if value_of(a, f) != value_of(b, f)]
        if differ:
            raise SystemExit("they differ in " + ", ".join(differ))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
