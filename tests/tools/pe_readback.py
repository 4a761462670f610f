#!/usr/bin/python3
"""Reads a branded launcher back with pefile, a reader independent of ours, and compares it with what
went in.

  pe_readback.py EXE [--splash JPEG] [--icon ICO] [--string NAME=VALUE]...

Checks that pefile parses the image without warnings, that its checksum is right, that every resource
directory table is sorted as the loader's bisection needs, and that SPLASH, the MAINICON group with its
images, and the version strings hold what is given.  Prints one line per failure; exit status 1 then.
"""

import argparse
import struct
import sys

import pefile

RT_ICON, RT_RCDATA, RT_GROUP_ICON = 3, 10, 14


def entry_key(entry):
    if entry.name is not None:
        return (0, str(entry.name).upper(), 0)
    return (1, "", entry.id)


def check_sorted(directory, path, failures):
    keys = [entry_key(entry) for entry in directory.entries]
    if keys != sorted(keys):
        failures.append(f"resource table {path or '/'} is not sorted: {keys}")
    for entry in directory.entries:
        if hasattr(entry, "directory"):
            check_sorted(entry.directory, f"{path}/{entry_key(entry)[1] or entry_key(entry)[2]}", failures)


def resources(pe, type_id, name):
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            key = str(name_entry.name) if name_entry.name is not None else name_entry.id
            if key == name:
                for language in name_entry.directory.entries:
                    data = language.data.struct
                    yield pe.get_data(data.OffsetToData, data.Size)


def ico_images(path):
    data = open(path, "rb").read()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    images = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        images.append(data[offset:offset + size])
    return images


def check_icon(pe, ico, failures):
    groups = list(resources(pe, RT_GROUP_ICON, "MAINICON"))
    if len(groups) != 1:
        return failures.append(f"{len(groups)} MAINICON groups, expected 1")
    group = groups[0]
    count = struct.unpack_from("<H", group, 4)[0]
    ids = [struct.unpack_from("<H", group, 6 + 14 * i + 12)[0] for i in range(count)]
    stored = [next(resources(pe, RT_ICON, icon_id), None) for icon_id in ids]
    wanted = ico_images(ico)
    if stored != wanted:
        failures.append(f"MAINICON's {count} images differ from the {len(wanted)} of {ico}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--splash")
    parser.add_argument("--icon")
    parser.add_argument("--string", action="append", default=[])
    args = parser.parse_args()
    failures = []
    pe = pefile.PE(args.exe)
    failures += [f"pefile: {warning}" for warning in pe.get_warnings()]
    if not pe.verify_checksum():
        failures.append(f"checksum {pe.OPTIONAL_HEADER.CheckSum:#x}, pefile computes {pe.generate_checksum():#x}")
    check_sorted(pe.DIRECTORY_ENTRY_RESOURCE, "", failures)
    if args.splash:
        splash = list(resources(pe, RT_RCDATA, "SPLASH"))
        if splash != [open(args.splash, "rb").read()]:
            failures.append(f"SPLASH is not {args.splash} byte for byte")
    if args.icon:
        check_icon(pe, args.icon, failures)
    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({key.decode(): value.decode("utf-8") for key, value in table.entries.items()})
    for pair in args.string:
        name, _, value = pair.partition("=")
        if strings.get(name) != value:
            failures.append(f"version string {name} is {strings.get(name)!r}, expected {value!r}")
    for failure in failures:
        print(f"FAIL: {args.exe}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
