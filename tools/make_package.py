#!/usr/bin/env python3
"""Builds the release zip for Windows users: the stripped program and the German guide.

The same inputs always give the same bytes: fixed entry order, a fixed timestamp (SOURCE_DATE_EPOCH when set),
fixed attributes, and no data from the machine or the clock. The guide is kept in the repository as UTF-8 and goes
into the zip in Windows-1252 with CR LF, which Notepad shows correctly on every Windows.
"""
import argparse
import os
import subprocess
import tempfile
import time
import zipfile

FIXED_TIME = (1980, 1, 1, 0, 0, 0)  # earliest time a zip entry can carry
ARCHIVE_ATTRIBUTE = 0x20  # FILE_ATTRIBUTE_ARCHIVE, what Windows gives a fresh file


def entry_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        return FIXED_TIME
    return max(FIXED_TIME, time.gmtime(int(epoch))[:6])


def windows_text(path):
    text = open(path, encoding="utf-8").read()  # any line ends come in as LF
    if not text.endswith("\n"):
        text += "\n"
    try:
        return text.replace("\n", "\r\n").encode("cp1252")
    except UnicodeEncodeError as e:
        raise SystemExit(f"{path}: {text[e.start:e.end]!r} has no place in Windows-1252")


def stripped(strip_tool, exe):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "wortwerk.exe")
        # Without SOURCE_DATE_EPOCH, strip writes the current time into the PE header; 0 matches the link.
        env = dict(os.environ, SOURCE_DATE_EPOCH="0")
        subprocess.run([strip_tool, "--strip-all", "-o", out, exe], check=True, env=env)
        return open(out, "rb").read()


def write_zip(out, entries):
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w") as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=entry_time())
            info.create_system = 0  # MS-DOS attributes: nothing of the build machine's users or permissions
            info.external_attr = ARCHIVE_ATTRIBUTE
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, out)


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("--exe", required=True)
    p.add_argument("--guide", required=True)
    p.add_argument("--strip", required=True, help="the mingw-w64 strip program")
    p.add_argument("--out", required=True)
    a = p.parse_args()
    write_zip(a.out, [("wortwerk.exe", stripped(a.strip, a.exe)), ("LIESMICH.txt", windows_text(a.guide))])
    print(f"{a.out}: {os.path.getsize(a.out)} bytes")


if __name__ == "__main__":
    main()
