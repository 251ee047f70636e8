"""Makes a delay-import library from a MinGW import library.

Usage: python3 delay_import_lib.py NM DLLTOOL IMPORT_LIBRARY DLL_NAME OUTPUT

A program linked against the result loads DLL_NAME on the first call into it, through LoadLibrary,
instead of at start-up. The installer takes its system DLLs this way so that they are loaded only after
it has restricted the DLL search to System32: a loader that resolves start-up imports from the program's
own folder first (Wine's does, whatever the image's DependentLoadFlags say) never sees them.
"""

import os
import subprocess
import sys
import tempfile


def exported_names(nm, import_library):
    """The functions the import library offers, as the DLL exports them, with the 32-bit stdcall
    decoration (@n) kept for dlltool."""
    listing = subprocess.run([nm, import_library], capture_output=True, text=True, check=True).stdout
    names = set()
    for line in listing.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] == "I" and parts[2].startswith("__imp_"):
            names.add(parts[2][len("__imp_"):])
    return sorted(names)


def main(nm, dlltool, import_library, dll_name, output):
    names = exported_names(nm, import_library)
    if not names:
        sys.exit("%s: no imports found" % import_library)
    # 32-bit names carry the C leading underscore; the DLL exports them without it (and without @n: -k).
    decorated = all(name.startswith("_") for name in names)
    with tempfile.NamedTemporaryFile("w", suffix=".def", delete=False) as definition:
        definition.write("LIBRARY %s\nEXPORTS\n" % dll_name)
        for name in names:
            definition.write("%s\n" % (name[1:] if decorated else name))
    try:
        command = [dlltool, "--input-def", definition.name, "--output-delaylib", output,
                   "--dllname", dll_name]
        if decorated:
            command.append("--kill-at")
        subprocess.run(command, check=True)
    finally:
        os.remove(definition.name)


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__.strip().splitlines()[2])
    main(*sys.argv[1:])
