"""Damages an image on purpose: changes the data length of the last directory record of a file at the
image's root, in its ISO 9660 or Joliet tree, so that the tree no longer matches the file's extents.

Usage: iso_record_patch.py IMAGE iso|joliet NAME DELTA
"""
import struct
import sys

SECTOR = 2048
JOLIET_ESCAPES = (b"%/@", b"%/C", b"%/E")


def volume_descriptor(image, tree):
    at = 16
    while True:
        image.seek(at * SECTOR)
        descriptor = image.read(SECTOR)
        if len(descriptor) < SECTOR or descriptor[0] == 255:
            sys.exit(f"no {tree} tree")
        if tree == "iso" and descriptor[0] == 1:
            return descriptor
        if tree == "joliet" and descriptor[0] == 2 and descriptor[88:91] in JOLIET_ESCAPES:
            return descriptor
        at += 1


def record_offsets(directory, wanted, separator):
    """Offsets of the records whose name (without its version) is `wanted`."""
    offsets, pos = [], 0
    while pos < len(directory):
        length = directory[pos]
        if length == 0:  # records don't cross a sector's end
            pos = (pos // SECTOR + 1) * SECTOR
            continue
        name = directory[pos + 33 : pos + 33 + directory[pos + 32]]
        if name.split(separator)[0] == wanted:
            offsets.append(pos)
        pos += length
    return offsets


def main():
    path, tree, name, delta = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    with open(path, "r+b") as image:
        root = volume_descriptor(image, tree)[156:190]
        lba = struct.unpack("<I", root[2:6])[0]
        size = struct.unpack("<I", root[10:14])[0]
        image.seek(lba * SECTOR)
        directory = image.read(size)
        if tree == "iso":
            offsets = record_offsets(directory, name.upper().encode(), b";")
        else:
            offsets = record_offsets(directory, name.encode("utf-16-be"), ";".encode("utf-16-be"))
        if not offsets:
            sys.exit(f"no record of {name} in the {tree} tree")
        last = offsets[-1]
        length = struct.unpack("<I", directory[last + 10 : last + 14])[0] + delta
        image.seek(lba * SECTOR + last + 10)
        image.write(struct.pack("<I", length) + struct.pack(">I", length))  # both byte orders


main()
