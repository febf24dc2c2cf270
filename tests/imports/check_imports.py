#!/usr/bin/env python3
"""check_imports.py OBJDUMP PROGRAM ALLOWED_LIST: fails when PROGRAM imports a library or function not on the list.

The list names each library on a line of its own and its functions on indented lines below it; '#' starts a
comment. Libraries are compared without regard to case, functions exactly; an import by number reads 'ordinal N'.
"""
import re
import subprocess
import sys

objdump, program, listing = sys.argv[1:4]
allowed, library = {}, None
for line in open(listing, encoding="utf-8"):
    text = line.split("#", 1)[0].rstrip()
    if text and not text[0].isspace():
        library = allowed.setdefault(text.lower(), set())
    elif text:
        library.update(text.split())

bad, count, library = [], 0, None
for line in subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout.splitlines():
    if m := re.match(r"\tDLL Name: (\S+)$", line):
        library = m[1]
    elif not line.strip():
        library = None
    elif library and not line.startswith("\tvma:"):
        m = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)$", line)
        function = (m[2] if m[2] != "<none>" else f"ordinal {int(m[1])}") if m else f"unreadable {line.strip()!r}"
        count += 1
        if function not in allowed.get(library.lower(), ()):
            bad.append(f"{library}: {function} not allowed")
print("\n".join(bad + [f"{count} imports, {len(bad)} not allowed by {listing}"]))
sys.exit(1 if bad or not count else 0)
