#!/usr/bin/env python3
"""Writes the hand-made seed inputs of fuzz_iptc into corpus/iptc (small files that reach
every branch of the resource search, the dataset walk and the segment-chain walk)."""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "iptc"


def dataset(record, number, value):
    return bytes([0x1C, record, number]) + struct.pack(">H", len(value)) + value


def resource(rid, data, name=b""):
    field = bytes([len(name)]) + name
    if len(field) % 2:
        field += b"\0"
    block = b"8BIM" + struct.pack(">H", rid) + field + struct.pack(">I", len(data)) + data
    return block + (b"\0" if len(data) % 2 else b"")


def segment(kind, payload):
    return bytes([0xFF, kind]) + struct.pack(">H", len(payload) + 2) + payload


def app13(resources):
    return segment(0xED, b"Photoshop 3.0\0" + resources)


def jpeg(*segments):
    sos = segment(0xDA, b"\x01\x01\x00\x00\x3f\x00")
    return b"\xFF\xD8" + b"".join(segments) + sos + b"\x12\x34\xFF\x00\x56\xFF\xD9"


def split_over_segments(blocks, cuts):
    """The blocks as consecutive APP13 segments, cut at the given offsets, as large IIM is split."""
    parts, start = [], 0
    for cut in list(cuts) + [len(blocks)]:
        parts.append(app13(blocks[start:cut]))
        start = cut
    return parts


def lying_size(block, size):
    """The block with a size field claiming `size` bytes of data (empty name)."""
    return block[:8] + struct.pack(">I", size) + block[12:]


APP0 = segment(0xE0, b"JFIF\0\x01\x02\0\0\x01\0\x01\0\0")
LATIN = dataset(2, 5, b"name") + dataset(2, 25, b"a") + dataset(2, 25, b" b ") + dataset(2, 120, b"caf\xe9 \x92")
UTF8 = dataset(1, 90, b"\x1b%G") + dataset(2, 120, "日本 café".encode()) + dataset(2, 200, b"custom")

SEEDS = {
    "latin.jpg": jpeg(APP0, app13(resource(0x0404, LATIN))),
    "utf8.jpg": jpeg(APP0, app13(resource(0x0404, UTF8))),
    "resolution-first.jpg": jpeg(app13(resource(0x03ED, b"\x00\x48" * 8) + resource(0x0404, LATIN))),
    "named-resource.jpg": jpeg(app13(resource(0x0404, LATIN, b"IPTC"))),
    "two-segments.jpg": jpeg(app13(resource(0x0404, LATIN)), app13(resource(0x0404, UTF8))),
    "split-resource.jpg": jpeg(app13(resource(0x0404, LATIN) + resource(0x0406, b"x" * 40)[:20])),
    "preview-inside-app1.jpg": jpeg(segment(0xE1, b"Exif\0\0" + app13(resource(0x0404, LATIN)))),
    "long-length.jpg": jpeg(app13(resource(0x0404, dataset(2, 120, b"short")[:3] + b"\xff\xff" + b"tail"))),
    "customized-20.jpg": jpeg(app13(resource(0x0404, b"".join(dataset(2, 200 + i, b"v%d" % i) for i in range(20))))),
    "tiff.tif": b"II*\0" + b"\0" * 10 + resource(0x0404, LATIN),
    "fill-bytes.jpg": b"\xFF\xD8\xFF\xFF" + app13(resource(0x0404, LATIN))[0:] + b"\xFF\xD9",
    "iim-over-three-segments.jpg": jpeg(APP0, *split_over_segments(
        resource(0x03ED, b"\x00\x48" * 8) + resource(0x0404, LATIN * 3 + UTF8) + resource(0x0406, b"q" * 9), (30, 61))),
    "iim-cut-in-size-field.jpg": jpeg(*split_over_segments(resource(0x0404, LATIN), (9,))),
    "iim-lying-size.jpg": jpeg(app13(lying_size(resource(0x0404, LATIN), 0x7FFFFFFF)),
                               segment(0xDA, b"\x00\x1c\x02\x3e\x00\x03abc")),
    "iim-runs-into-non-photoshop.jpg": jpeg(app13(lying_size(resource(0x0404, LATIN), 0x10000)), APP0),
    "tiff-lying-size.tif": b"II*\0" + b"\0" * 10 + lying_size(resource(0x0404, LATIN), 0x7FFFFFFF),
    "empty": b"",
    "one-byte": b"\xFF",
}

OUT.mkdir(parents=True, exist_ok=True)
for name, data in SEEDS.items():
    (OUT / name).write_bytes(data)
