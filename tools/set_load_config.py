"""Points a linked Windows program's header at its load configuration.

Usage: python3 set_load_config.py PROGRAM.exe

The program defines the structure (_load_config_used, platform/win32/load_config_win32.cpp), but the
linker Debian ships leaves the header's load-configuration entry empty. The structure's bytes are fully
known: its size first, then zeros but for DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32. They are
looked for in the file, which works on a stripped program as well; anything but exactly one match stops
the build rather than guess.
"""

import struct
import sys

LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800
LOAD_CONFIG_ENTRY = 10
# Optional-header magic: (structure size, offset of DependentLoadFlags, offset of the data directories).
LAYOUTS = {0x10B: (72, 54, 96), 0x20B: (112, 78, 112)}


def expected_structure(size, flags_offset):
    data = bytearray(size)
    struct.pack_into("<I", data, 0, size)
    struct.pack_into("<H", data, flags_offset, LOAD_LIBRARY_SEARCH_SYSTEM32)
    return bytes(data)


def main(path):
    with open(path, "rb") as program:
        image = bytearray(program.read())
    header = struct.unpack_from("<I", image, 0x3C)[0]
    if image[header:header + 4] != b"PE\0\0":
        sys.exit("%s: not a PE image" % path)
    sections, optional_size = struct.unpack_from("<H12xH", image, header + 6)
    optional = header + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    if magic not in LAYOUTS:
        sys.exit("%s: unknown optional header %#x" % (path, magic))
    size, flags_offset, directories = LAYOUTS[magic]

    wanted = expected_structure(size, flags_offset)
    found = []
    start = image.find(wanted)
    while start != -1:
        found.append(start)
        start = image.find(wanted, start + 1)
    if len(found) != 1:
        sys.exit("%s: found the load configuration %d times, expected once" % (path, len(found)))

    table = optional + optional_size
    for index in range(sections):
        virtual_address, raw_size, raw_offset = struct.unpack_from("<12xIII", image, table + index * 40)
        if raw_offset <= found[0] and found[0] + size <= raw_offset + raw_size:
            rva = found[0] - raw_offset + virtual_address
            break
    else:
        sys.exit("%s: the load configuration lies in no section" % path)

    struct.pack_into("<II", image, optional + directories + LOAD_CONFIG_ENTRY * 8, rva, size)
    with open(path, "r+b") as program:
        program.write(image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[2])
    main(sys.argv[1])
