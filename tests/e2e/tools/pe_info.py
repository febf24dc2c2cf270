#!/usr/bin/env python3
"""Prints what a release check needs from a PE file: link timestamp, symbol table, and the version resource.

Output lines: "timestamp N", "symbols N", "fixed FILE PRODUCT" (a.b.c.d each) and "NAME VALUE" for every
string of the version resource's string tables.
"""
import struct
import sys


def rva_to_offset(sections, rva):
    for va, size, raw in sections:
        if va <= rva < va + size:
            return raw + rva - va
    raise ValueError(f"RVA {rva:#x} lies in no section")


def first_data_entry(data, sections, rsrc, type_id):
    """Walks the resource tree type -> first name -> first language and returns (offset, size) of the data."""
    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, offset + 12)
        for i in range(named + ids):
            yield struct.unpack_from("<II", data, offset + 16 + 8 * i)

    node = None
    for ident, target in entries(rsrc):
        if ident == type_id:
            node = target
    if node is None:
        raise ValueError("no version resource")
    while node & 0x80000000:
        node = next(entries(rsrc + (node & 0x7FFFFFFF)))[1]
    rva, size = struct.unpack_from("<II", data, rsrc + node)
    return rva_to_offset(sections, rva), size


def read_block(data, offset):
    """One version-info block: (key, value bytes, wType, children, end offset)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[pos:pos + value_bytes]
    pos = (pos + value_bytes + 3) & ~3
    children = []
    while pos < end:
        child = read_block(data, pos)
        children.append(child)
        pos = (child[4] + 3) & ~3
    return key, value, kind, children, end


def main(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    _, nsections, timestamp, symptr, nsymbols, optsize = struct.unpack_from("<HHIIIH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    dirs = opt + (112 if magic == 0x20B else 96)
    rsrc_rva = struct.unpack_from("<I", data, dirs + 2 * 8)[0]
    sections = []
    for i in range(nsections):
        s = opt + optsize + 40 * i
        vsize, va, rawsize, raw = struct.unpack_from("<IIII", data, s + 8)
        sections.append((va, max(vsize, rawsize), raw))
    print("timestamp", timestamp)
    print("symbols", nsymbols if symptr else 0)

    offset, _ = first_data_entry(data, sections, rva_to_offset(sections, rsrc_rva), 16)
    key, fixed, _, children, _ = read_block(data, offset)
    if key != "VS_VERSION_INFO" or struct.unpack_from("<I", fixed, 0)[0] != 0xFEEF04BD:
        raise ValueError("malformed version resource")
    fms, fls, pms, pls = struct.unpack_from("<IIII", fixed, 8)
    dotted = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    print("fixed", dotted(fms, fls), dotted(pms, pls))
    for name, _, _, tables, _ in children:
        if name != "StringFileInfo":
            continue
        for _, _, _, strings, _ in tables:
            for key, value, _, _, _ in strings:
                print(key, value.decode("utf-16-le").rstrip("\0"))


if __name__ == "__main__":
    main(sys.argv[1])
