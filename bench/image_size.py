"""Where the bytes of the product's image go, from the link map the product's own link writes (GNU ld's
-Map) and the section table of the file itself.

Every input section the map lists is put in one group by the file it came from; what the map does not
list (headers, the padding of each section to the file alignment, the COFF symbol table and its strings
after the last section) is reported as such. The payload and the three pictures, embedded by
cmake/Embed.cmake, are taken out by their exact sizes.
"""

import os
import re
import subprocess

GROUPS = [
    ("our code", "the installer's own objects: core, screens, engine, Win32 backend, JPEG glue"),
    ("libjpeg", "the JPEG decoder (libjpeg-turbo: baseline decoding only, built for size)"),
    ("C++ runtime", "libstdc++ and libgcc linked statically, and app/lean_runtime.cpp in their stead"),
    ("C runtime", "MinGW's start-up code, libmingw32, libmingwex, msvcrt glue"),
    ("system imports", "import thunks and tables of the Windows DLLs"),
    ("resources", "icon, manifest, version information"),
    ("relocations", "the base relocation table"),
    ("debugging data", ".debug_* sections"),
    ("symbol table", "COFF symbols and their names after the last section"),
    ("headers and padding", "PE headers, section alignment padding, embedded-data alignment"),
]

SECTION = re.compile(r"^(\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)")
INPUT = re.compile(r"^ (\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
INPUT_NAME_ONLY = re.compile(r"^ (\.\S+|COMMON)$")
CONTINUED = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
FILL = re.compile(r"^ \*fill\*\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)")

# The product's own delay-import libraries (lib<dll>_delay.a) count with the import libraries they stand in for.
WINDOWS_IMPORT_LIBS = re.compile(
    r"lib(kernel32|user32|gdi32|comctl32|shell32|ole32|oleaut32|winmm|winspool|uuid|comdlg32|advapi32)"
    r"(_delay)?\.a")


def group_of(source):
    """The group an input file of the link belongs to."""
    name = os.path.basename(source.split("(")[0])
    if "embedded_data" in source:
        return "embedded"
    if "lean_runtime" in source:
        return "C++ runtime"
    if name in ("libkw_core.a", "libkw_platform_win32.a", "libkw_jpeg_decode.a") or any(
            own in source for own in ("main.cpp", "load_config_win32.cpp")):
        return "our code"
    if "resources.rc" in source:
        return "resources"
    if name == "libjpeg.a":
        return "libjpeg"
    if name in ("libstdc++.a", "libgcc.a", "libgcc_eh.a", "libsupc++.a"):
        return "C++ runtime"
    if WINDOWS_IMPORT_LIBS.search(name):
        return "system imports"
    if name in ("libmingw32.a", "libmingwex.a", "libmsvcrt.a", "libmoldname.a", "crt2.o", "crtbegin.o",
                "crtend.o", "libpthread.a", "libwinpthread.a"):
        return "C runtime"
    if source == "dll stuff":
        return "relocations"
    return "C runtime" if "mingw32" in source else "other"


def parse_map(path):
    """{(output section, group): bytes} over the input sections the map lists, and the largest members
    of each group as {group: {member: bytes}}."""
    sizes = {}
    members = {}
    section = None
    pending = None
    in_memory_map = False
    with open(path, errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if not in_memory_map:
                in_memory_map = line.startswith("Linker script and memory map")
                continue
            match = SECTION.match(line)
            if match:
                section = match.group(1)
                pending = None
                continue
            if re.match(r"^\.\S+$", line):
                section = line
                continue
            entry = None
            match = INPUT.match(line)
            if match:
                entry = (int(match.group(3), 16), match.group(4))
            elif INPUT_NAME_ONLY.match(line):
                pending = line.strip()
                continue
            elif pending is not None:
                match = CONTINUED.match(line)
                if match:
                    entry = (int(match.group(2), 16), match.group(3))
                pending = None
            else:
                match = FILL.match(line)
                if match and section:
                    key = (section, "headers and padding")
                    sizes[key] = sizes.get(key, 0) + int(match.group(2), 16)
            if entry is None or section is None or entry[0] == 0:
                continue
            size, source = entry
            group = group_of(source)
            if section.startswith(".debug"):
                group = "debugging data"
            sizes[(section, group)] = sizes.get((section, group), 0) + size
            member = os.path.basename(source)
            members.setdefault(group, {})
            members[group][member] = members[group].get(member, 0) + size
    return sizes, members


def section_table(objdump, exe):
    """[(name, raw size, file offset)] of the sections stored in the file."""
    out = subprocess.run([objdump, "-h", exe], capture_output=True, text=True, check=True).stdout
    table = []
    for match in re.finditer(r"^\s+\d+\s+(\S+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+[0-9a-f]+\s+([0-9a-f]+)", out,
                             re.M):
        name, size, offset = match.group(1), int(match.group(2), 16), int(match.group(3), 16)
        if offset:
            table.append((name, size, offset))
    return table


def breakdown(exe, map_path, objdump, payload_bytes, picture_bytes):
    """The product's image: {group: bytes} summing to the file's size, with "payload" and "pictures".
    Also the biggest members of the groups."""
    file_size = os.path.getsize(exe)
    sizes, members = parse_map(map_path)
    groups = {}
    for (section, group), size in sizes.items():
        groups[group] = groups.get(group, 0) + size
    embedded = groups.pop("embedded", 0)
    groups["payload"] = payload_bytes
    groups["pictures"] = picture_bytes
    groups["headers and padding"] = groups.get("headers and padding", 0) + embedded - payload_bytes - \
        picture_bytes

    table = section_table(objdump, exe)
    end_of_sections = max(offset + ((size + 511) // 512) * 512 for _, size, offset in table)
    groups["symbol table"] = max(0, file_size - end_of_sections)
    counted = sum(groups.values())
    groups["headers and padding"] += file_size - counted
    return file_size, groups, members


def overhead(groups):
    return sum(size for group, size in groups.items() if group not in ("payload", "pictures"))


def top_members(members, group, count=6):
    ranked = sorted(members.get(group, {}).items(), key=lambda item: -item[1])
    return ranked[:count]
