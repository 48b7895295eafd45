#!/usr/bin/python3
"""Makes the fuzz seeds that are not plain copies of the project's files.

    python3 tests/fuzz/make_seeds.py

seeds/dxf_reader/  the examples' drawings as binary DXF, with binary-chunk
                   groups (310, 311, 319, and 1004 in extended data) added to
                   their first lines and arcs, so the fuzzer starts inside
                   the binary reader and its chunks;
seeds/axis_file/   axis files that once made morlenview hang or overflow:
                   an angle of 1e300 degrees, the lowest double as a
                   coordinate, a dense cluster of points and points far out.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
SENTINEL = b"AutoCAD Binary DXF\r\n\x1a\x00"

# The value type of each group code, as the binary reader reads it.
RANGES = [((0, 9), "str"), ((10, 59), "real"), ((60, 79), "i16"), ((90, 99), "i32"),
          ((100, 109), "str"), ((110, 149), "real"), ((160, 169), "i64"), ((170, 179), "i16"),
          ((210, 239), "real"), ((270, 289), "i16"), ((290, 299), "bool"), ((300, 309), "str"),
          ((310, 319), "chunk"), ((320, 369), "str"), ((370, 389), "i16"), ((390, 399), "str"),
          ((400, 409), "i16"), ((410, 419), "str"), ((420, 429), "i32"), ((430, 439), "str"),
          ((440, 459), "i32"), ((460, 469), "real"), ((470, 481), "str"), ((999, 1009), "str"),
          ((1004, 1004), "chunk"), ((1010, 1059), "real"), ((1060, 1070), "i16"),
          ((1071, 1071), "i32")]


def kind(code):
    found = None
    for (low, high), name in RANGES:
        if low <= code <= high:
            found = name  # the later range wins, as 1004 within 999-1009
    return found


def value_bytes(code, text):
    k = kind(code)
    if k == "str":
        return text.encode("latin-1") + b"\0"
    if k == "real":
        return struct.pack("<d", float(text))
    if k == "i16":
        return struct.pack("<h", int(text))
    if k == "i32":
        return struct.pack("<i", int(text))
    if k == "i64":
        return struct.pack("<q", int(text))
    if k == "bool":
        return bytes([int(text) & 1])
    if k == "chunk":
        data = bytes.fromhex(text)
        return bytes([len(data)]) + data
    raise ValueError("group %d is no DXF group" % code)


def pairs(path):
    with open(path, encoding="latin-1", newline="") as f:
        lines = f.read().replace("\r\n", "\n").split("\n")
    for i in range(0, len(lines) - 1, 2):
        yield int(lines[i]), lines[i + 1].strip() if int(lines[i]) != 1 else lines[i + 1]


def binary(path, chunks):
    out = bytearray(SENTINEL)
    added = 0
    for code, value in pairs(path):
        out += struct.pack("<H", code) + value_bytes(code, value)
        # After the handle of the first few lines and arcs: chunks of
        # every size class, and extended data holding one.
        if code == 5 and chunks and added < 4 and last_entity in ("LINE", "ARC"):
            for chunk_code, size in ((310, 0), (311, 1), (319, 127), (310, 255)):
                out += struct.pack("<H", chunk_code) + bytes([size]) + bytes(range(size))
            added += 1
        if code == 0:
            last_entity = value
    return bytes(out)


last_entity = ""


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def axis_file(records):
    text = "0\r\nGraph Link\r\n%d\r\n" % len(records)
    for r in records:
        kind_line = "9,0" if len(r) == 4 else "14,0"
        text += "%s\r\n %s,0,0\r\n" % (kind_line, ",".join(r))
    return text.encode("ascii")


def main():
    global last_entity
    dxf = os.path.join(HERE, "seeds", "dxf_reader")
    for example in ("house", "plan"):
        source = os.path.join(ROOT, "examples", example, example + ".dxf")
        last_entity = ""
        write(dxf, example + "_binary.dxf", binary(source, False))
        last_entity = ""
        write(dxf, example + "_binary_chunks.dxf", binary(source, True))

    seeds = os.path.join(HERE, "seeds", "axis_file")
    f6 = lambda v: "%.6f" % v
    write(seeds, "huge_angle.N1", axis_file([
        ("0.000000", "0.000000", "5.000000", "1" + "0" * 300 + ".000000", "90.000000"),
        ("0.000000", "0.000000", "5.000000", "90.000000", "30000000000.000000")]))
    write(seeds, "lowest_double.N1", axis_file([
        ("1000.000000", "0.000000", "-%d.000000" % (2 ** 1023 * (2 - 2 ** -52)), "0.000000"),
        ("0.000000", "-1" + "0" * 307 + ".000000", "0.000000", "1000.000000")]))
    write(seeds, "dense_cluster.N1", axis_file([
        (f6(i * 0.0015), f6((j + 1) * 0.0015), f6(i * 0.0015), f6(j * 0.0015))
        for i in range(30) for j in range(0, 40, 2)]))
    write(seeds, "far_out.N1", axis_file([
        (f6(-4e8 - k), f6(-3e9), f6(-4e8 - k - 0.0005), f6(-3e9)) for k in range(400)] + [
        ("-300000000.000000", "0.000000", "1000.000000", "5.000000", "355.000000")]))


if __name__ == "__main__":
    main()
