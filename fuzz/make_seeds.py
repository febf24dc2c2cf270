#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs into DIR/<target>/ (bench/fuzz_bench.sh does before each run).

file_decode:    a file's bytes (the first also picks how many records to split into), also read as keystrokes in
                UTF-16LE.
file_load:      tipps.dat's bytes ("\\" doubled), "\\" and one byte, tipp.dat's bytes, then one byte of flags
                (1 tipps.dat missing, 2 tipps.dat unreadable, 4 and 8 the same for tipp.dat, 16 save what was read).
keystroke_plan: read from the end, as FuzzedDataProvider reads integers: held modifiers (HeldKey bits), Caps Lock,
                call limit - 1, the call the system cuts short and the events it takes of it, no keys or answers of
                the layout's own; then per action a flag byte (0x10 | modifiers << 5 for modifiers, | 0x0F for a
                named key) and the NamedKey, or the character (0 and one byte, or 5 and two).
"""
import os
import sys


def file_load(tipps, tipp, flags):
    return tipps.replace(b"\\", b"\\\\") + b"\\E" + tipp + bytes([flags])


def plan(held, caps, limit, actions, cut_call=0, cut=255):
    read = [held, caps, limit - 1, cut_call, cut, 0, 0]
    for a in actions:
        mods, a = a if isinstance(a, tuple) else (0, a)
        flags = mods << 5 | 0x10 if mods else 0
        if isinstance(a, int):
            read += [flags | 0x0F, a]
        else:
            read += [flags, 0, ord(a)] if ord(a) < 0x100 else [flags, 5, ord(a) >> 8, ord(a) & 0xFF]
    return bytes(reversed(read))


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
    "keystroke_plan": {
        "german": plan(0, 0, 48, list("Abz@\\^ä") + [(0, 1), (2, 22), (6, "x")]),
        "held_caps_cut": plan(0x52, 1, 7, ["\ud83d", "\ude00", (1, "\ude00"), (1, "\ud83d")] + list("Straße ``"), 1, 5),
    },
}

for target, seeds in SEEDS.items():
    os.makedirs(os.path.join(sys.argv[1], target), exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(sys.argv[1], target, name), "wb") as f:
            f.write(data)
