#!/usr/bin/env python3
"""Fails when a program imports a library or function that is not on the allowed list.

Usage: check_imports.py OBJDUMP PROGRAM ALLOWED_LIST

The list names each allowed library on a line of its own, followed by its allowed functions on indented lines,
separated by blanks; '#' starts a comment. Library names are compared without regard to case, function names exactly.
"""
import re
import subprocess
import sys


def allowed_imports(path):
    allowed = {}
    library = None
    for line in open(path, encoding="utf-8"):
        text = line.split("#", 1)[0].rstrip()
        if not text:
            continue
        if not text[0].isspace():
            library = text.strip().lower()
            allowed.setdefault(library, set())
        elif library is None:
            raise SystemExit(f"{path}: function {text.strip()} before any library")
        else:
            allowed[library].update(text.split())
    return allowed


def program_imports(objdump, program):
    """Pairs of (library, function) from the import table; an import by number reads 'ordinal N'."""
    out = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    imports = []
    library = None
    for line in out.splitlines():
        m = re.match(r"\tDLL Name: (\S+)$", line)
        if m:
            library = m.group(1)
            continue
        if library is None or line.startswith("\tvma:"):
            continue
        m = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)$", line)
        if m:
            imports.append((library, m.group(2) if m.group(2) != "<none>" else f"ordinal {int(m.group(1))}"))
        elif not line.strip():
            library = None
        else:
            imports.append((library, f"unreadable line {line.strip()!r}"))  # fails: no list names it
    return imports


def main():
    objdump, program, listing = sys.argv[1:4]
    allowed = allowed_imports(listing)
    imports = program_imports(objdump, program)
    if not imports:
        raise SystemExit(f"{program}: no import table found")
    bad = []
    for library, function in imports:
        functions = allowed.get(library.lower())
        if functions is None:
            bad.append(f"{library}: library not allowed ({function})")
        elif function not in functions:
            bad.append(f"{library}: {function} not allowed")
    for line in bad:
        print(line)
    print(f"{len(imports)} imports, {len(bad)} not allowed by {listing}")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
