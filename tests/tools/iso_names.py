#!/usr/bin/env python3
"""Reads an ISO 9660 image's volume IDs and Joliet names straight from its descriptors, without
libisofs (which the disc tool writes with), so a fault on both sides can't cancel out.

  iso_names.py IMAGE   prints "pvd_volume_id=...", "joliet_volume_id=..." and one "file=/PATH" line per
                       file of the Joliet tree (UTF-8) as Windows shows it: without the version
                       suffix ";1" and the dot that ends a name without an extension
"""
import struct
import sys

SECTOR = 2048
JOLIET_ESCAPES = (b"%/@", b"%/C", b"%/E")


def descriptors(image):
    sector = 16
    while True:
        image.seek(sector * SECTOR)
        block = image.read(SECTOR)
        if len(block) < SECTOR or block[1:6] != b"CD001":
            raise ValueError(f"no volume descriptor set terminator before sector {sector}")
        if block[0] == 255:
            return
        yield block
        sector += 1


def records(image, extent, size):
    """The directory records of one directory, skipping "." and ".."."""
    image.seek(extent * SECTOR)
    data = image.read(size)
    offset = 0
    while offset < len(data):
        length = data[offset]
        if length == 0:  # records don't cross sector ends: the rest of this sector is padding
            offset = (offset // SECTOR + 1) * SECTOR
            continue
        record = data[offset:offset + length]
        offset += length
        name = record[33:33 + record[32]]
        if name in (b"\0", b"\1"):
            continue
        yield record, name


def walk(image, extent, size, prefix, depth=0):
    if depth > 32:
        raise ValueError("the Joliet tree is deeper than 32 levels")
    for record, raw in records(image, extent, size):
        name = raw.decode("utf-16-be").split(";")[0]
        if not record[25] & 2 and name.endswith("."):
            name = name[:-1]
        child_extent, child_size = struct.unpack_from("<I", record, 2)[0], struct.unpack_from("<I", record, 10)[0]
        if record[25] & 2:
            yield from walk(image, child_extent, child_size, f"{prefix}{name}/", depth + 1)
        else:
            yield prefix + name


def main():
    if len(sys.argv) != 2 or sys.argv[1] == "--help":
        print(__doc__.strip())
        return 0 if sys.argv[1:] == ["--help"] else 2
    with open(sys.argv[1], "rb") as image:
        primary = joliet = None
        for block in descriptors(image):
            if block[0] == 1 and primary is None:
                primary = block
            elif block[0] == 2 and block[88:91] in JOLIET_ESCAPES:
                joliet = block
        if primary is None or joliet is None:
            print(f"{sys.argv[1]}: no {'primary' if primary is None else 'Joliet'} volume descriptor", file=sys.stderr)
            return 1
        print("pvd_volume_id=" + primary[40:72].decode("ascii").rstrip(" "))
        print("joliet_volume_id=" + joliet[40:72].decode("utf-16-be").rstrip(" \0"))
        root = joliet[156:156 + 34]
        for path in sorted(walk(image, struct.unpack_from("<I", root, 2)[0], struct.unpack_from("<I", root, 10)[0], "/")):
            print("file=" + path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
