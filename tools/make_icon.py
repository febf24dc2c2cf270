#!/usr/bin/env python3
"""Draws the program's hand icon (16x16 and 32x32, 32-bit with alpha) and writes res/hand.ico."""
import struct
import sys

# 16x16 open hand: '#' outline, '+' skin, '.' transparent.
HAND = [
    "......##........",
    "....##++#.##....",
    "...#+#++#.#+#...",
    "...#+#++##++#...",
    "...#+#++#+#+#...",
    ".##.#+#+#+#+#...",
    "#++##+#+#+#+#...",
    "#+++#+++++++#...",
    ".#++#+++++++#...",
    "..#+++++++++#...",
    "..#++++++++#....",
    "...#+++++++#....",
    "....#+++++#.....",
    "....#+++++#.....",
    "....#######.....",
    "................",
]
COLOURS = {"#": (0x40, 0x20, 0x10, 0xFF), "+": (0xF2, 0xC2, 0x8C, 0xFF), ".": (0, 0, 0, 0)}


def image(scale):
    size = 16 * scale
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up rows
        line = HAND[y // scale]
        row = b""
        for x in range(size):
            r, g, b, a = COLOURS[line[x // scale]]
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)  # alpha carries the transparency
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return size, header + xor + and_mask


def main(path):
    images = [image(1), image(2)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/hand.ico")
