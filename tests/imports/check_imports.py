#!/usr/bin/env python3
"""check_imports.py OBJDUMP PROGRAM ALLOWED_LIST: fails when PROGRAM imports a library or function not on the list.

The list names each library on a line of its own and its functions on indented lines below it; '#' starts a
comment. Libraries are compared without regard to case, functions exactly; an import by number is never allowed.
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

dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
# Each library: its name, a heading, then a line per function up to a blank line, the function's name last.
imports = [
    (library, line.split()[-1])
    for library, functions in re.findall(r"\tDLL Name: (\S+)\n\tvma:.*\n((?:\t.*\S.*\n)*)", dump)
    for line in functions.splitlines()
]
bad = [f"{library}: {f} not allowed" for library, f in imports if f not in allowed.get(library.lower(), ())]
print("\n".join(bad + [f"{len(imports)} imports, {len(bad)} not allowed by {listing}"]))
sys.exit(1 if bad or not imports else 0)
