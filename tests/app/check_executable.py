#!/usr/bin/env python3
"""Checks a built Setup executable from the outside, with independent readers: objdump for
its imports, pefile for its resource directory and delay imports, wrestool and icotool for
the manifest and the icons. Needs the system's python3 (Debian's python3-pefile).

    check_executable.py imports EXE ALLOW_LIST
    check_executable.py manifest EXE
    check_executable.py stub-resources EXE
    check_executable.py product-resources EXE
"""
import re
import subprocess

import pefile
import sys
import tempfile
import xml.etree.ElementTree as ET

OBJDUMP = "x86_64-w64-mingw32-objdump"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Windows Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
}
RT_NAMES = {"2": "bitmap", "3": "icon", "6": "string", "10": "rcdata", "14": "group_icon", "24": "manifest"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def imports(exe, allow_list):
    allowed = {line.strip().lower() for line in open(allow_list, encoding="utf-8")
               if line.strip() and not line.startswith("#")}
    dump = run(OBJDUMP, "-p", exe).decode()
    names = sorted({m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)})
    print("imports:", " ".join(names))
    check(names, "no imports found")
    for name in names:
        check(name in allowed, f"{name} is not a DLL Windows always takes from its system folder")
    pe = pefile.PE(exe, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]])
    delayed = [d.dll.decode() for d in getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])]
    check(not delayed, f"delay-loaded DLLs {delayed}")


def resources(exe):
    """(type, name) pairs of the resource directory; standard types by their symbolic name.
    (wrestool -l shows the type in place of the name for resources of a named type.)"""
    pe = pefile.PE(exe, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    found = []
    directory = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
    for rtype in directory:
        type_name = str(rtype.name) if rtype.name is not None else RT_NAMES.get(str(rtype.id), str(rtype.id))
        for entry in rtype.directory.entries:
            name = str(entry.name) if entry.name is not None else str(entry.id)
            found.append((type_name.lower(), name.upper()))
    return found


def icon_images(exe, name):
    """(width, height, bits) of the images of icon group `name`, through icotool."""
    with tempfile.NamedTemporaryFile(suffix=".ico") as ico:
        ico.write(run("wrestool", "-x", "-t", "14", "-n", name, exe))
        ico.flush()
        listing = run("icotool", "-l", ico.name).decode()
    images = set()
    for line in listing.splitlines():
        w = re.search(r"--width=(\d+)", line)
        h = re.search(r"--height=(\d+)", line)
        b = re.search(r"--bit-depth=(\d+)", line)
        images.add((int(w.group(1)), int(h.group(1)), int(b.group(1))))
    return images


def manifest(exe):
    xml = run("wrestool", "-x", "--raw", "-t", "24", exe)
    print(xml.decode("utf-8", "replace"))
    root = ET.fromstring(xml)
    levels = [e for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    check(len(levels) == 1, f"{len(levels)} requestedExecutionLevel elements")
    for level in levels:
        check(level.get("level") == "requireAdministrator", f"execution level {level.get('level')}")
        check(level.get("uiAccess") == "false", f"uiAccess {level.get('uiAccess')}")
    ids = {e.get("Id").lower() for e in root.iter() if e.tag.endswith("}supportedOS")}
    check(ids == SUPPORTED_OS, f"supportedOS {sorted(ids)}")
    deps = [e for e in root.iter() if e.tag.endswith("}dependency") or e.tag == "dependency"]
    check(not deps, "a dependency (common controls version 6 would theme the controls)")
    check(sum(1 for t, _ in resources(exe) if t == "manifest") == 1, "more than one manifest")


def stub_resources(exe):
    found = resources(exe)
    print("resources:", found)
    check(icon_images(exe, "MAINICON") == {(16, 16, 24), (32, 32, 32)}, "MAINICON images")
    for rtype, name in found:
        check(rtype in ("manifest", "icon", "group_icon"), f"product data in the stub: {rtype} {name}")
        check(rtype != "group_icon" or name == "MAINICON", f"icon group {name} in the stub")


def product_resources(exe):
    found = set(resources(exe))
    print("resources:", sorted(found))
    for wanted in [("rcdata", "IMAGELEFT0"), ("rcdata", "IMAGELEFT2"), ("bitmap", "IMAGEICON"),
                   ("group_icon", "APPICON"), ("group_icon", "MAINICON"), ("stpfile", "SETUPPACKAGE")]:
        check(wanted in found, f"missing {wanted}")
    check(any(t == "string" for t, _ in found), "no settings string table")
    check(icon_images(exe, "APPICON") == {(16, 16, 24), (32, 32, 24)}, "APPICON images")
    check(icon_images(exe, "MAINICON") == {(16, 16, 24), (32, 32, 32)}, "MAINICON images")


def main():
    command, exe = sys.argv[1], sys.argv[2]
    if command == "imports":
        imports(exe, sys.argv[3])
    elif command == "manifest":
        manifest(exe)
    elif command == "stub-resources":
        stub_resources(exe)
    elif command == "product-resources":
        product_resources(exe)
    else:
        sys.exit(__doc__)
    for failure in failures:
        print("FAIL:", failure)
    print("ok" if not failures else f"{len(failures)} failure(s)")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
