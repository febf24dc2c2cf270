#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpus into fuzz/corpus/<target>/ (checked in; run again after a format change).

file_decode:    a file's bytes (the first also picks how many records to split into).
file_load:      tipps.dat's bytes ("\\" doubled), "\\" and one byte, tipp.dat's bytes, then one byte of flags
                (1 tipps.dat missing, 2 tipps.dat unreadable, 4 and 8 the same for tipp.dat, 16 save what was read).
notation:       one byte (odd: the rest is a file's bytes, even: UTF-16LE), the held modifiers, the text.
keystroke_plan: read from the end, as FuzzedDataProvider does: held modifiers, Caps Lock, call limit, the call the
                system cuts short and the events it takes of it, key table, dead keys, actions.
"""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")

# HeldKey bits and shift states as the program uses them.
L_SHIFT, R_SHIFT, L_CTRL, R_CTRL, L_ALT, R_ALT, L_WIN, R_WIN = (1 << i for i in range(8))
SHIFT, ALTGR = 0x100, 0x600
MOD_SHIFT, MOD_CTRL, MOD_ALT = 1, 2, 4
ENTER, F9 = 1, 22  # NamedKey values


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def file_seed(tipps, tipp, flags):
    return tipps.replace(b"\\", b"\\\\") + b"\\E" + tipp + bytes([flags])


def notation_seed(text, as_file=True, held=0):
    data = text.encode("utf-8") if as_file else text.encode("utf-16-le", "surrogatepass")
    return bytes([1 if as_file else 0, held]) + data


class PlanSeed:
    """Values in the order the target reads them; FuzzedDataProvider reads integers from the end of the input."""

    def __init__(self):
        self.read = []

    def take(self, value, size=1):
        self.read += list(value.to_bytes(size, "big"))  # the first byte read is the most significant
        return self

    def char(self, ch):
        c = ord(ch) if isinstance(ch, str) else ch
        if c < 0x100:
            return self.take(0).take(c)
        if c < 0x10000:
            return self.take(5).take(c, 2)
        return self.take(7).take(c - 0x10000, 3)

    def start(self, held, caps, limit, keys, dead, cut_call=0, cut=255):
        self.take(held).take(1 if caps else 0).take(limit - 1).take(cut_call).take(cut).take(len(keys))
        for ch, scan in keys:
            self.char(ch).take(scan, 2)
        self.take(len(dead))
        for vk in dead:
            self.take(vk)
        return self

    def action(self, ch=None, key=None, mods=0):
        flags = (mods << 5 | 0x10) if mods else 0
        if key is not None:
            return self.take(flags | 0x0F).take(key)
        return self.take(flags).char(ch)

    def text(self, s, mods=0):
        for ch in s:
            self.action(ch=ch, mods=mods)
        return self

    def bytes(self):
        return bytes(reversed(self.read))


GERMAN = [("z", ord("Y")), ("y", ord("Z")), ("@", ALTGR | ord("Q")), ("\\", ALTGR | 0xDB), ("ß", 0xDB),
          ("^", 0xDC), ("`", SHIFT | 0xDD)]


def main():
    decode = {
        "ansi": "Name###Straße 12\r\nGrüße € ‚„…\n".encode("cp1252") + bytes(range(0x80, 0xA0)),
        "utf8_mark": "\ufeffStraße\r\n\U0001F600 €\r".encode("utf-8"),
        "utf8_plain": "Grüße\nBüro\rEnde\u0800\uFFFF".encode("utf-8"),
        "utf8_invalid": b"\xc3\xa4 \xc0\xaf \xe0\x80\x80 \xed\xa0\x80 \xf4\x90\x80\x80 \xf0\x8f\xbf\xbf \xc3",
        "marked_broken": b"\xef\xbb\xbfa\xe4b\xe2\x82",
        "line_ends": b"\r\n\n\r\r\r\n\nx\r",
        "utf16_le": "\ufeffStraße\r\n\U0001F600 €\r\n".encode("utf-16-le") + b"\x00\xdc=\xd8x",
        "utf16_be": "\ufeffGrüße\r\n\U0001F600".encode("utf-16-be"),
    }
    for name, data in decode.items():
        write("file_decode", name, data)

    ansi = "Name###Straße 12\r\n{x} + ~ ( ) [ ] % ^\r\nGrüße aus Köln €\r\n".encode("cp1252")
    shortcuts = b"strg + f9\r\nalt + f4\r\numschalt+F1\r\nStrg + Alt + Entf\r\n"
    write("file_load", "ansi", file_seed(shortcuts, ansi, 16))
    write("file_load", "utf8_mark", file_seed(b"\xef\xbb\xbfstrg + \xc3\xa4\r\n",
                                              "\ufeffStraße 0\r\nzwei###€ \U0001F600\r\n".encode("utf-8"), 16))
    write("file_load", "utf8_plain", file_seed(b"f5\n", "Grüße\nBüro\rEnde".encode("utf-8"), 0))
    write("file_load", "utf8_broken", file_seed(b"\xef\xbb\xbfa\xe4b\r\n", b"Stra\xc3\r\n\xed\xa0\x80\xc0\xaf", 16))
    write("file_load", "missing", file_seed(b"", b"", 1 | 4 | 16))
    write("file_load", "unreadable", file_seed(b"alt\r\n", b"eins\r\n", 2 | 8))
    write("file_load", "long_lines", file_seed(b"\r\n" * 12, b"x" * 300 + b"\r\r\n\n" + b"y\r\n" * 40, 16))

    texts = [
        ("plain", "Name###Straße 12 @home ### Grüße"),
        ("keys", "+a^{F9}{DEL}~{enter}{Tab}%{F4}{PGDN}"),
        ("groups", "+(ab)^%(x{LEFT})c"),
        ("shortcut", "strg + umschalt + f12"),
        ("braced", "{{}{}}{+}{^}{%}{~}{(}{)}{[}{]}"),
        ("err_brace", "ab{x"),
        ("err_name", "{UNBEKANNT}"),
        ("err_empty", "x{}"),
        ("err_group", "(a))"),
        ("err_modifier", "a+"),
        ("outside_bmp", "\U0001F600 und ß"),
    ]
    for name, text in texts:
        write("notation", name, notation_seed(text, held=L_SHIFT if name == "plain" else 0))
    write("notation", "utf16_pair", notation_seed("{\ud83d\ude00}a\ud83d", as_file=False, held=L_ALT | R_WIN))

    plan = PlanSeed().start(0, False, 48, GERMAN, [0xDC])
    plan.text("Abz@\\^ä").action(key=ENTER).action(key=F9, mods=MOD_CTRL).action(ch="x", mods=MOD_CTRL | MOD_ALT)
    write("keystroke_plan", "german", plan.bytes())
    plan = PlanSeed().start(L_ALT | R_SHIFT, True, 7, GERMAN, [0xDC, 0xDD], 1, 5).text("Name Straße @home ```")
    write("keystroke_plan", "held_caps_limit", plan.bytes())
    plan = PlanSeed().start(L_WIN, False, 4, [], []).text("a").action(ch=0xD83D).action(ch=0xDE00).action(ch=0x1F600)
    write("keystroke_plan", "surrogates", plan.bytes())
    plan = PlanSeed().start(0xFF, False, 1, [("\n", 0x200 | 0x0D), ("q", 0x0351)], [], 0, 22)
    plan.text("q\nQ", mods=MOD_SHIFT).action(key=0, mods=MOD_CTRL | MOD_ALT | MOD_SHIFT)
    write("keystroke_plan", "all_held", plan.bytes())
    return 0


if __name__ == "__main__":
    sys.exit(main())
