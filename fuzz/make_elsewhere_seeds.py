#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz_tiff_iim, fuzz_jpeg_trailer and fuzz_xmp_write."""
import hashlib
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))


def dataset(record, number, value):
    return bytes([0x1C, record, number]) + struct.pack(">H", len(value)) + value


IIM = dataset(1, 90, b"\x1b%G") + dataset(2, 0, b"\x00\x04") + dataset(2, 120, "légende".encode()) \
    + dataset(2, 25, b"harbour") + dataset(2, 25, b"boats")


def tiff(order):
    e = "<" if order == b"II" else ">"
    header = order + struct.pack(e + "HI", 42, 8)
    entries = [(256, 3, 1, struct.pack(e + "HH", 1, 0)), (33723, 7, len(IIM), None)]
    directory_size = 2 + 12 * len(entries) + 4
    data_at = 8 + directory_size
    out = struct.pack(e + "H", len(entries))
    for tag, kind, count, inline in entries:
        out += struct.pack(e + "HHI", tag, kind, count) + (inline if inline else struct.pack(e + "I", data_at))
    return header + out + b"\0\0\0\0" + IIM


def segment(kind, payload):
    return bytes([0xFF, kind]) + struct.pack(">H", len(payload) + 2) + payload


def jpeg(*segments):
    return b"\xFF\xD8" + b"".join(segments) + segment(0xDA, b"\x01\x01\x00\x00\x3f\x00") + b"\x12\xFF\x00\x34\xFF\xD9"


def resource(rid, data):
    return b"8BIM" + struct.pack(">H", rid) + b"\0\0" + struct.pack(">I", len(data)) + data + (b"\0" if len(data) % 2 else b"")


PACKET = (b'<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">'
          b'<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/" '
          b'xmlns:photoshop="http://ns.adobe.com/photoshop/1.0/" photoshop:City="Brest" '
          b'photoshop:DateCreated="2024-05-06T07:08:09+02:00"><dc:description><rdf:Alt>'
          b'<rdf:li xml:lang="x-default">old</rdf:li></rdf:Alt></dc:description><dc:subject><rdf:Bag>'
          b'<rdf:li>a</rdf:li></rdf:Bag></dc:subject></rdf:Description></rdf:RDF></x:xmpmeta>')
XMP = segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0" + PACKET)


def app13(*resources):
    return segment(0xED, b"Photoshop 3.0\0" + b"".join(resources))


seeds = {
    "tiff-iim": [tiff(b"II"), tiff(b"MM")],
    "jpeg-trailer": [jpeg() + b"\xa1\xb2\xc3\xd4" + IIM + b"\0\0\0\x32\xa1\xb2\xc3\xd4",
                     jpeg(segment(0xE1, b"Exif\0\0" + tiff(b"MM"))),
                     jpeg(segment(0xE2, b"\xFF\xD8\xFF\xD9" + IIM)) + b"AXS!" + IIM],
    "xmp-write": [jpeg(XMP),
                  jpeg(app13(resource(0x0404, IIM), resource(0x0425, hashlib.md5(IIM).digest())), XMP),
                  jpeg(app13(resource(0x0425, b"\0" * 16), resource(0x0404, IIM)), XMP),
                  PACKET],
}

for folder, inputs in seeds.items():
    os.makedirs(os.path.join(here, "corpus", folder), exist_ok=True)
    for i, data in enumerate(inputs):
        with open(os.path.join(here, "corpus", folder, "seed-%d" % i), "wb") as out:
            out.write(data)
print("seeds written", file=sys.stderr)
