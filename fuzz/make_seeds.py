#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs into DIR/<target>/ (bench/fuzz_bench.sh does before each run).

file_decode:    a file's bytes (the first also picks how many records to split into), also read as keystrokes in
                UTF-16LE.
file_load:      tipps.dat's bytes ("\\" doubled), "\\" and one byte, tipp.dat's bytes, then one byte of flags
                (1 tipps.dat missing, 2 tipps.dat unreadable, 4 and 8 the same for tipp.dat, 16 save what was read).
keystroke_plan: none; from nothing it reaches the same code within the 5-second runs.
"""
import os
import sys


def file_load(tipps, tipp, flags):
    return tipps.replace(b"\\", b"\\\\") + b"\\E" + tipp + bytes([flags])


SEEDS = {
    "file_decode": {
        "ansi": "Name###Straße 12\r\nGrüße € ‚„…\n".encode("cp1252") + bytes(range(0x80, 0xA0)),
        "utf8_mark": "\ufeffStraße\r\n\U0001F600 €\r".encode("utf-8") + b"\xe4b\xed\xa0\x80\xe2\x82\r\n\n\r\r\xf0\x9f\x98",
        "utf8_invalid": b"\xc3\xa4 \xc0\xaf \xe0\x80\x80 \xed\xa0\x80 \xf4\x90\x80\x80 \xf0\x8f\xbf\xbf \xc3",
        "utf16_le": "\ufeffStraße\r\n{\U0001F600}a\U0001F600 €\r\n".encode("utf-16-le") + b"\x00\xdc=\xd8x",
        "utf16_be": "\ufeffGrüße\r\n\U0001F600".encode("utf-16-be"),
        "keys": "strg + umschalt + f12 Name### @home+a^{F9}{DEL}~{enter}{Tab}%{F4}{PGDN}+(ab)^%(x{LEFT})c{{}{}}{+}"
        "{^}{%}{~}{(}{)}{[}{]}{\ud83d\ude00}a\ud83d\U0001F600{UNBEKANNT}(a))a+".encode("utf-16-le", "surrogatepass"),
    },
    "file_load": {
        "ansi": file_load(b"strg + f9\r\nalt + f4\r\nStrg + Alt + Entf\r\n" + b"\r\n" * 12,
                          "Name###Straße 12\r\n{x} + ~ ( ) [ ] % ^\r\nGrüße €\r\n".encode("cp1252") + b"x" * 300, 16),
        "utf8": file_load(b"\xef\xbb\xbfstrg + \xc3\xa4\r\n\xe4b", "\ufeffStraße\r\n€ \U0001F600\r\n".encode(), 16),
        "broken": file_load(b"a\xe4b\r\n", b"Stra\xc3\r\n\xed\xa0\x80\xc0\xaf\r\r\n\n" + b"y\r\n" * 40, 1 | 8 | 16),
    },
    "keystroke_plan": {},
}

for target, seeds in SEEDS.items():
    os.makedirs(os.path.join(sys.argv[1], target), exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(sys.argv[1], target, name), "wb") as f:
            f.write(data)
