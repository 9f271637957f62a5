#!/usr/bin/env python3
"""Writes the hand-made seed inputs of fuzz_jpeg_header into corpus/jpeg-header: small JPEG files
with Exif blocks in both byte orders, every orientation and the damaged forms the reader refuses,
and bare Exif blocks (the data of an APP1 segment)."""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "jpeg-header"

# A 16 by 8 grey picture, baseline and progressive, without metadata.
BASELINE = bytes.fromhex(
    "ffd8ffdb004300080606070605080707070909080a0c140d0c0b0b0c1912130f141d1a1f1e1d1a1c1c20242e2720222c"
    "231c1c2837292c30313434341f27393d38323c2e333432ffdb0043010909090c0b0c180d0d1832211c21323232323232"
    "3232323232323232323232323232323232323232323232323232323232323232323232323232323232323232ffc00011"
    "080008001003012200021101031101ffc4001f0000010501010101010100000000000000000102030405060708090a0b"
    "ffc400b5100002010303020403050504040000017d01020300041105122131410613516107227114328191a1082342b1"
    "c11552d1f02433627282090a161718191a25262728292a3435363738393a434445464748494a535455565758595a6364"
    "65666768696a737475767778797a838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9"
    "bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9faffc4001f0100030101"
    "010101010101010000000000000102030405060708090a0bffc400b51100020102040403040705040400010277000102"
    "031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f11718191a26272829"
    "2a35363738393a434445464748494a535455565758595a636465666768696a737475767778797a82838485868788898a"
    "92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4"
    "e5e6e7e8e9eaf2f3f4f5f6f7f8f9faffda000c03010002110311003f00e668a28a00ffd9")
PROGRESSIVE = bytes.fromhex(
    "ffd8ffdb004300080606070605080707070909080a0c140d0c0b0b0c1912130f141d1a1f1e1d1a1c1c20242e2720222c"
    "231c1c2837292c30313434341f27393d38323c2e333432ffdb0043010909090c0b0c180d0d1832211c21323232323232"
    "3232323232323232323232323232323232323232323232323232323232323232323232323232323232323232ffc20011"
    "080008001003012200021101031101ffc4001500010100000000000000000000000000000005ffc40014010100000000"
    "000000000000000000000000ffda000c03010002100310000001980fffc4001410010000000000000000000000000000"
    "0010ffda00080101000105023fffc40014110100000000000000000000000000000000ffda0008010301013f017fffc4"
    "0014110100000000000000000000000000000000ffda0008010201013f017fffc4001410010000000000000000000000"
    "0000000010ffda0008010100063f023fffc40014100100000000000000000000000000000010ffda0008010100013f21"
    "3fffda000c0301000200030000001003ffc40014110100000000000000000000000000000000ffda0008010301013f10"
    "7fffc40014110100000000000000000000000000000000ffda0008010201013f107fffc4001410010000000000000000"
    "0000000000000010ffda0008010100013f103fffd9")


def segment(kind, payload):
    return bytes([0xFF, kind]) + struct.pack(">H", len(payload) + 2) + payload


def exif(order, entries, directory=8, count_override=None):
    """An Exif block whose first directory holds (tag, type, count, value) entries."""
    e = "<" if order == b"II" else ">"
    tiff = order + struct.pack(e + "HI", 42, directory)
    tiff += b"\0" * (directory - len(tiff))
    tiff += struct.pack(e + "H", len(entries) if count_override is None else count_override)
    for tag, kind, count, value in entries:
        tiff += struct.pack(e + "HHIH", tag, kind, count, value) + b"\0\0"
    return b"Exif\0\0" + tiff + struct.pack(e + "I", 0)


def with_app1(jpeg, *blocks):
    return jpeg[:2] + b"".join(segment(0xE1, b) for b in blocks) + jpeg[2:]


ORIENTATION = 0x0112
SEEDS = {
    "baseline.jpg": BASELINE,
    "progressive.jpg": PROGRESSIVE,
    "truncated.jpg": BASELINE[: len(BASELINE) // 2],
    "no-start.jpg": BASELINE[2:],
    "two-exif-blocks.jpg": with_app1(BASELINE, exif(b"II", [(ORIENTATION, 3, 1, 6)]), exif(b"MM", [(ORIENTATION, 3, 1, 8)])),
    "xmp-not-exif.jpg": with_app1(BASELINE, b"http://ns.adobe.com/xap/1.0/\0<x/>"),
    "exif-only-header": b"Exif\0\0",
    "exif-short-tiff": b"Exif\0\0II*\0",
    "exif-directory-outside": exif(b"MM", [(ORIENTATION, 3, 1, 6)], directory=8)[:16] + b"\xff\xff\xff\xf0",
    "exif-many-entries": exif(b"II", [(ORIENTATION, 3, 1, 3)], count_override=0xFFFF),
    "exif-wrong-type": exif(b"II", [(ORIENTATION, 4, 1, 6)]),
    "exif-count-two": exif(b"MM", [(ORIENTATION, 3, 2, 6)]),
    "exif-value-zero": exif(b"II", [(ORIENTATION, 3, 1, 0)]),
    "exif-value-nine": exif(b"MM", [(ORIENTATION, 3, 1, 9)]),
    "exif-no-orientation": exif(b"II", [(0x010F, 2, 4, 0x4142)]),
    "exif-bad-magic": b"Exif\0\0II\x2b\0\x08\0\0\0",
}
for value in range(1, 9):
    order = b"II" if value % 2 else b"MM"
    SEEDS["orientation-%d.jpg" % value] = with_app1(BASELINE, exif(order, [(0x010F, 2, 4, 0x4142), (ORIENTATION, 3, 1, value)]))
    SEEDS["exif-orientation-%d" % value] = exif(order, [(ORIENTATION, 3, 1, value)])

OUT.mkdir(parents=True, exist_ok=True)
for name, data in SEEDS.items():
    (OUT / name).write_bytes(data)
