#!/usr/bin/env python3
"""Deterministic generator of realistic schematic sets for the benchmarks.

Writes FILES schematic files of about TOTAL_MB megabytes in all into a
folder. Each sheet holds components with their embedded library sections
(patterns of typical sizes, 2 to 40 pins), wires, junctions, labels, tags,
comments and buses; notes are Japanese Shift-JIS texts; references use the
usual prefixes with numbers, some of them repeated across sheets. The same
arguments always give the same bytes.

usage: gen_schematics.py OUT_DIR TOTAL_MB FILES
"""
import os
import random
import sys

PREFIXES = [("R", 40), ("C", 30), ("U", 10), ("IC", 5), ("L", 4), ("D", 4), ("Q", 3),
            ("CN", 2), ("TP", 1), ("SW", 1)]
NAMES = {"R": ["10k", "22k", "4.7k", "1k", "100", "47k"], "C": ["100n", "10u", "1u", "22p"],
         "U": ["74HC00", "74HC04", "74HC595"], "IC": ["NJM4580", "LM358", "TL072"],
         "L": ["10uH", "4.7uH"], "D": ["1N4148", "1S1588"], "Q": ["2SC1815", "2SA1015"],
         "CN": ["XH-4P", "PH-2P"], "TP": ["GND", "VCC"], "SW": ["SKHHAK"]}
NOTES = ["金属皮膜 1/4W", "積層セラミック", "電解 16V", "低雑音", "実装しない", "", "", ""]


def escape(data: bytes) -> bytes:
    out = bytearray()
    for b in data:
        if 0x01 <= b <= 0x20 or b in (0x25, 0x2C):
            out += b"%%%02X" % b
        else:
            out.append(b)
    return bytes(out)


def sjis(text: str) -> bytes:
    return text.encode("cp932")


def part_block(rng: random.Random, part: bytes, prefix: bytes, pins: int, blocks: int) -> bytes:
    width = rng.choice([2, 3, 4, 6, 8])
    height = max(1, (pins + 1) // 2 if pins > 4 else rng.choice([1, 2, 3]))
    lines = [b"+KOLVA_LIB_V.1.0"]
    pw, ph = width * 10, height * 10
    stride_bytes = (pw + 7) // 8
    lines.append(b"+PTN,N:%s,X:%d,Y:%d" % (part, pw, ph))
    lines.append(b"+BMP")
    for r in range(ph):
        row = bytes(rng.choice((0x00, 0xFF, 0x81, 0x18)) for _ in range(stride_bytes))
        lines.append(b"".join(bytes((0x40 + (b >> 4), 0x40 + (b & 15))) for b in row))
    lines.append(b"-BMP")
    lines.append(b"-PTN")
    lines.append(b"+COMP,N:" + part)
    lines.append(b"X:%d,Y:%d,B:%d" % (width, height, blocks))
    lines.append(b"R:" + prefix)
    lines.append(b"P:" + part)
    for p in range(pins):
        side = b"LRTB"[p % 4:p % 4 + 1] if pins > 8 else (b"L" if p % 2 == 0 else b"R")
        numbers = b"".join(b",M:%d" % (p + 1 + k * pins) for k in range(blocks))
        name = rng.choice([b"IN", b"OUT", b"VCC", b"GND", b"\\R\\S\\T", b"A%d" % p])
        flags = rng.choice([b"", b"S", b"N", b"C"])
        lines.append(b"+PIN,N:%s,L:%s%d,T:%s%s,-PIN" % (name, side, p // 4, flags, numbers))
    lines.append(b"-COMP")
    lines.append(b"-KOLVA_LIB_V.1.0")
    return b"\n".join(lines)


def sheet(rng: random.Random, target_bytes: int, sheet_no: int, shared_refs: list) -> bytes:
    out = [b"+KOLVA_DATA_V.1.0", b"+SHEETINFO,EL:0,VL:255,W:1500,H:1000,-SHEETINFO"]
    size = sum(len(x) + 1 for x in out)
    counters = {}
    weights = [w for _, w in PREFIXES]
    while size < target_bytes:
        prefix = rng.choices([p for p, _ in PREFIXES], weights)[0]
        counters[prefix] = counters.get(prefix, 0) + 1
        ref = b"%s%d" % (prefix.encode(), counters[prefix] + sheet_no * 1000)
        if shared_refs and rng.random() < 0.02:
            ref = rng.choice(shared_refs)  # a reference repeated across sheets
        elif rng.random() < 0.01:
            shared_refs.append(ref)
        name = rng.choice(NAMES[prefix]).encode()
        if prefix in ("R", "C", "L", "D", "TP", "SW"):
            pins = 2
        elif prefix == "Q":
            pins = 3
        else:
            pins = rng.randint(4, 40)
        blocks = 4 if name.startswith(b"74HC0") else 1
        x, y = rng.randrange(0, 1500, 10), rng.randrange(0, 1000, 10)
        block = [b"+COMPONENT", part_block(rng, name, prefix.encode(), pins, blocks),
                 b"L:0,X:%d,Y:%d,LIB:%s,DIR:%d,BLK:0,N:%s,NX:2,NY:20,R:%s,RX:2,RY:10,NOTE:%s,-COMPONENT"
                 % (x, y, name, rng.randrange(8), escape(name), escape(ref),
                    escape(sjis(rng.choice(NOTES))))]
        for _ in range(rng.randint(2, 6)):
            x1, y1 = rng.randrange(0, 1500, 10), rng.randrange(0, 1000, 10)
            block.append(b"+WIRE,L:0,X1:%d,Y1:%d,X2:%d,Y2:%d,-WIRE" % (x1, y1, x1 + 40, y1))
        if rng.random() < 0.5:
            block.append(b"+JUNCTION,L:0,X:%d,Y:%d,-JUNCTION" % (x, y))
        if rng.random() < 0.2:
            block.append(b"+LABEL,L:0,X:%d,Y:%d,D:1,S:NET%d,-LABEL" % (x, y, rng.randrange(500)))
        if rng.random() < 0.1:
            block.append(b"+TAG,L:0,X:%d,Y:%d,D:0,T:1,S:CLK%d,-TAG" % (x, y, rng.randrange(50)))
        if rng.random() < 0.05:
            block.append(b"+COMMENT,L:0,X:%d,Y:%d,S:%s,FN:,FS:12,FF:,-COMMENT"
                         % (x, y, escape(sjis("電源部 " + str(rng.randrange(9))))))
        if rng.random() < 0.05:
            block.append(b"+BUS,L:0,X1:%d,Y1:%d,X2:%d,Y2:%d,-BUS" % (x, y, x, y + 200))
            block.append(b"+BENTRY,L:0,X1:%d,Y1:%d,X2:%d,Y2:%d,-BENTRY" % (x, y + 20, x + 10, y + 10))
        text = b"\n".join(block)
        out.append(text)
        size += len(text) + 1
    out.append(b"-KOLVA_DATA_V.1.0")
    return b"\n".join(out) + b"\n"


def main() -> None:
    out_dir, total_mb, files = sys.argv[1], float(sys.argv[2]), int(sys.argv[3])
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(20261207)
    per_file = int(total_mb * 1024 * 1024 / files)
    shared = []
    for i in range(files):
        path = os.path.join(out_dir, "sheet%03d.ce3" % i)
        with open(path, "wb") as f:
            f.write(sheet(rng, per_file, i, shared))


if __name__ == "__main__":
    main()
