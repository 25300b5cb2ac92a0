#!/usr/bin/env python3
"""Damaged copies of the game's files for the end-to-end fault runs. Every damage is made the
same way each time (seeded), so a failure can be looked at again.

  damage.py garbage FILE SIZE [SEED]      SIZE bytes of noise
  damage.py cut FILE FRACTION             keeps the first FRACTION of FILE, ending mid-line
  damage.py line FILE N TEXT              line N (from 1) replaced by TEXT (CP932 of UTF-8 TEXT)
  damage.py longline FILE SIZE            one line of SIZE bytes without any line end
  damage.py waves KIND FOLDER NAME...     each NAME in FOLDER replaced by the next damaged WAVE
                                          file of KIND, in turn: "refused" (the loader must refuse
                                          every one) or "odd" (a lenient reader may play them)
  damage.py chart MAP                     the chart with impossible values at points 0 to 3
  damage.py ini FILE KIND                 PCMMIX.INI: "garbage" or "extremes"
"""
import random
import struct
import sys


def chunk(tag, body, size=None):
    return tag + struct.pack("<I", len(body) if size is None else size) + body


def fmt(tag=1, channels=1, rate=11025, bits=8, align=None, avg=None):
    align = channels * bits // 8 if align is None else align
    avg = rate * align if avg is None else avg
    return struct.pack("<HHIIHH", tag, channels, rate & 0xFFFFFFFF, avg & 0xFFFFFFFF, align, bits)


def riff(*chunks, form=b"WAVE", size=None):
    body = form + b"".join(chunks)
    return chunk(b"RIFF", body, size)


SOUND = bytes(128 + int(60 * ((i // 20) % 2 * 2 - 1)) for i in range(2000))


def damaged_waves(kind):
    good_fmt = chunk(b"fmt ", fmt())
    data = chunk(b"data", SOUND)
    whole = riff(good_fmt, data)
    if kind == "odd":
        # Damage a lenient reader may play through; the game must only survive it.
        return [
            riff(good_fmt, data, size=0xFFFFFFFF),                   # RIFF claims 4 GB
            riff(chunk(b"fmt ", fmt(), size=0xFFFFFFFF), data),      # "fmt " claims 4 GB
            riff(chunk(b"LIST", b"", size=0xFFFFFFF0), good_fmt, data),  # a chunk claims all
            riff(chunk(b"fmt ", fmt(channels=2, rate=44100, bits=16, align=0, avg=0)),
                 chunk(b"data", SOUND[:1999])),                      # no alignment, odd length
            riff(chunk(b"fmt ", fmt(rate=1)), data),                 # 1 Hz, to be made 11025
            riff(good_fmt, chunk(b"data", SOUND + b"\x80"), chunk(b"data", SOUND)),  # two datas
        ]
    # Damage the loader must refuse, each for its own reason.
    return [
        b"",                                                        # empty file
        b"RIFF",                                                    # nothing after the tag
        whole[:30],                                                 # cut inside "fmt "
        riff(good_fmt, chunk(b"data", SOUND, size=0x7FFFFFFF)),     # data claims 2 GB
        riff(good_fmt, chunk(b"data", b"")),                        # no samples
        riff(chunk(b"fmt ", fmt(tag=3, bits=32)), data),            # floating point
        riff(chunk(b"fmt ", fmt(bits=24)), data),                   # 24-bit
        riff(chunk(b"fmt ", fmt(bits=0)), data),                    # 0 bits
        riff(chunk(b"fmt ", fmt(channels=0)), data),                # no channels
        riff(chunk(b"fmt ", fmt(channels=9)), data),                # nine channels
        riff(chunk(b"fmt ", fmt(rate=0)), data),                    # no rate
        riff(chunk(b"fmt ", fmt(rate=4000000000)), data),           # not one frame left
        riff(data, good_fmt),                                       # data before fmt
        riff(good_fmt),                                             # no data chunk
        riff(chunk(b"fmt ", fmt()[:14]), data),                     # short fmt
        riff(good_fmt, data, form=b"AVI "),                         # not a WAVE form
        riff(chunk(b"fmt ", fmt(channels=2, bits=16)), chunk(b"data", b"\x01")),  # under a frame
        noise(3000, 7),                                             # noise
    ]


def noise(size, seed):
    rng = random.Random(seed)
    return bytes(rng.randrange(256) for _ in range(size))


def main(argv):
    command = argv[1]
    if command == "garbage":
        open(argv[2], "wb").write(noise(int(argv[3]), int(argv[4]) if len(argv) > 4 else 1))
    elif command == "cut":
        raw = open(argv[2], "rb").read()
        keep = int(len(raw) * float(argv[3]))
        while keep > 0 and raw[keep - 1:keep] in (b"\r", b"\n"):
            keep -= 1  # end inside a line, not at its end
        open(argv[2], "wb").write(raw[:keep])
    elif command == "line":
        lines = open(argv[2], "rb").read().split(b"\r\n")
        lines[int(argv[3]) - 1] = argv[4].encode("cp932")
        open(argv[2], "wb").write(b"\r\n".join(lines))
    elif command == "longline":
        open(argv[2], "wb").write(b"\x82\xa0" * (int(argv[3]) // 2))
    elif command == "waves":
        waves = damaged_waves(argv[2])
        for i, name in enumerate(argv[4:]):
            open(f"{argv[3]}/{name}", "wb").write(waves[i % len(waves)])
    elif command == "chart":
        lines = open(argv[2], "rb").read().split(b"\r\n")

        def put(point, field, value):
            lines[point * 12 + field - 1] = str(value).encode()
        # Point 0, the buoy at the start, as large as a number can make it; the others out of
        # space, of no kind there is, linked to points that do not exist.
        put(0, 7, 2147483647)
        for point, (x, y, z, kind) in enumerate([(99999, 0, 0, 1), (0, -2147483648, 0, 300),
                                                 (-31, 31, 2147483647, -5)], start=1):
            for field, value in [(3, x), (4, y), (5, z), (6, kind), (7, -2147483648),
                                 (8, 2147483647), (9, 99999), (10, -2), (11, 400), (12, -1)]:
                put(point, field, value)
        open(argv[2], "wb").write(b"\r\n".join(lines))
    elif command == "ini":
        if argv[3] == "garbage":
            body = noise(4096, 3) + b"\n[default]\x00WaveBlocks\x00=\xff\n"
        else:
            body = (b"[default]\r\nRemix=-2147483648\r\nGoodWavePos=99999999999999999999\r\n"
                    b"WaveBlocks=-7\r\nWaveBlockLen=4294967295\r\nSamplesPerSec=44\r\n"
                    b"[general]\r\nWaveOutDevice=-2147483648\r\ndebug=1\r\n"
                    b"[not compatible]\r\n=1\r\n[\r\n]\r\n==\r\n"
                    + b"[" + b"x" * 70000 + b"]\r\nWaveBlocks=6000000\r\n"
                    + b"Key=" + b"9" * 70000 + b"\r\n")
        open(argv[2], "wb").write(body)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
