#!/usr/bin/python3
"""Brands a launcher-like DLL whose resource tables mix names and numbers at every level, then looks
every resource up in the result as Windows does: at each level a bisection, over the named entries
for a name (compared in upper case) and over the numbered ones for a number.  An unsorted table, a
miscounted named part or a lost resource makes some lookup fail.  wrestool, an independent reader,
extracts a few of them too.

  resource_lookup_test.py AUTORUN_DISC MIXED_DLL PICTURE

Prints one line per failure; exit status 1 then.
"""

import struct
import subprocess
import sys
import tempfile
from pathlib import Path

import pefile

RT_ICON, RT_RCDATA, RT_GROUP_ICON, RT_VERSION = 3, 10, 14, 16
HIGH_BIT = 0x80000000


class Tree:
    """The resource tree of an image, read from its bytes alone."""

    def __init__(self, path):
        self.pe = pefile.PE(path)
        self.data = self.pe.__data__
        directory = self.pe.OPTIONAL_HEADER.DATA_DIRECTORY[2]
        self.root = self.pe.get_offset_from_rva(directory.VirtualAddress)

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def name_at(self, offset):
        length = self.u16(self.root + offset)
        return self.data[self.root + offset + 2:self.root + offset + 2 + 2 * length].decode("utf-16-le")

    def find_entry(self, table, key):
        """Bisection as the loader does it; the entry's target, or None."""
        named, numbered = self.u16(self.root + table + 12), self.u16(self.root + table + 14)
        low, high = (0, named - 1) if isinstance(key, str) else (named, named + numbered - 1)
        while low <= high:
            middle = (low + high) // 2
            entry = self.root + table + 16 + 8 * middle
            field = self.u32(entry)
            if isinstance(key, str):
                if not field & HIGH_BIT:
                    return None
                stored = self.name_at(field & ~HIGH_BIT)
                here = (stored.upper() > key.upper()) - (stored.upper() < key.upper())
            else:
                if field & HIGH_BIT:
                    return None
                here = (field > key) - (field < key)
            if here == 0:
                return self.u32(entry + 4)
            low, high = (low, middle - 1) if here > 0 else (middle + 1, high)
        return None

    def lookup(self, type_key, name_key, language):
        names = self.find_entry(0, type_key)
        if names is None or not names & HIGH_BIT:
            return None
        languages = self.find_entry(names & ~HIGH_BIT, name_key)
        if languages is None or not languages & HIGH_BIT:
            return None
        data = self.find_entry(languages & ~HIGH_BIT, language)
        if data is None or data & HIGH_BIT:
            return None
        rva, size = self.u32(self.root + data), self.u32(self.root + data + 4)
        return self.pe.get_data(rva, size)


def key_of(entry):
    return str(entry.name) if entry.name is not None else entry.id


def all_resources(pe):
    """{(type, name, language): bytes} as pefile enumerates them, without any lookup."""
    found = {}
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name_entry in type_entry.directory.entries:
            for language in name_entry.directory.entries:
                data = language.data.struct
                found[(key_of(type_entry), key_of(name_entry), language.id)] = pe.get_data(
                    data.OffsetToData, data.Size)
    return found


def main():
    tool, dll, picture = sys.argv[1:4]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        splash = work / "new.jpg"
        subprocess.run(["convert", picture, "-flop", "-quality", "85", str(splash)], check=True)
        icon = work / "new.ico"
        subprocess.run(["convert", "-size", "32x32", "xc:red", "-type", "TrueColor", str(icon)], check=True)
        out = work / "branded.dll"
        result = subprocess.run([tool, "brand", "--launcher", dll, "--splash", str(splash), "--icon", str(icon),
                                 "--product", "Looked Up", "--out", str(out)], capture_output=True, text=True)
        if result.returncode != 0:
            print(f"FAIL: autorun-disc brand: {result.stderr.strip()}")
            return 1

        before = all_resources(pefile.PE(dll))
        branded = Tree(str(out))
        after = all_resources(branded.pe)
        replaced = {RT_ICON, RT_GROUP_ICON, RT_VERSION}
        for (type_key, name_key, language), data in sorted(before.items(), key=str):
            if type_key in replaced or (type_key, name_key) == (RT_RCDATA, "SPLASH"):
                continue
            if after.get((type_key, name_key, language)) != data:
                failures.append(f"resource {type_key}/{name_key}/{language} changed or went missing")
            looked_up = branded.lookup(type_key, name_key.lower() if isinstance(name_key, str) else name_key,
                                       language)
            if looked_up != data:
                failures.append(f"the loader's lookup of {type_key}/{name_key}/{language} finds {looked_up!r:.40}")
        for (type_key, name_key, language), data in after.items():
            if branded.lookup(type_key, name_key, language) != data:
                failures.append(f"the loader's lookup of {type_key}/{name_key}/{language} misses it")
        if branded.lookup(RT_RCDATA, "splash", 1033) != splash.read_bytes():
            failures.append("the loader's lookup of SPLASH does not find the new picture")
        if branded.lookup(RT_GROUP_ICON, "MainIcon", 1033) is None:
            failures.append("the loader's lookup of MAINICON finds nothing")
        if branded.lookup(RT_RCDATA, "NOSUCH", 1033) is not None or branded.lookup(RT_RCDATA, 8, 1033) is not None:
            failures.append("the loader's lookup finds resources that are not there")

        for args, wanted in ((["-t", "10", "-n", "SPLASH"], splash.read_bytes()),
                             (["-t", "10", "-n", "7", "-L", "1031"], Path(picture).read_bytes()),
                             (["-t", "CUSTOM", "-n", "ALPHA"], before[("CUSTOM", "ALPHA", 1033)]),
                             (["-t", "77", "-n", "GAMMA"], before[(77, "GAMMA", 1033)])):
            extracted = work / "extracted"
            subprocess.run(["wrestool", "-x", "--raw", *args, str(out), "-o", str(extracted)], check=False)
            if not extracted.exists() or extracted.read_bytes() != wanted:
                failures.append(f"wrestool {' '.join(args)} does not extract what went in")
            extracted.unlink(missing_ok=True)
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
