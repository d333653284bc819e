#!/usr/bin/env python3
"""Checks the resources the installer executable must carry.

    check_executable_resources.py VQUpdate.exe [--machine i386|amd64] [--archive skin_archive.zip]

- a GUI program for the expected machine;
- a manifest (RT_MANIFEST 1) asking for administrator rights, declaring DPI awareness and
  binding to common controls 6;
- icon group 102 whose every image is present, in the small and large sizes Windows asks for;
- the skin archive as "ZIPRES" 101, byte for byte the archive the build packed (when given).

Prints one line per failed check and exits 1 if any failed. Runs against the 64-bit
executable as a test; scripts/check-win32-artifact.sh runs it on the shipped 32-bit one.
The PE reader below knows just enough of the format for this, and bounds-checks every read.
"""

import argparse
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
MACHINES = {0x014C: "i386", 0x8664: "amd64"}
GUI_SUBSYSTEM = 2
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
# Title bar, Alt+Tab and large shell icons at 100 % scaling.
REQUIRED_ICON_SIZES = {16, 32, 48, 256}


class PeError(Exception):
    pass


def unpack(fmt, data, offset):
    if offset < 0 or offset + struct.calcsize(fmt) > len(data):
        raise PeError(f"read at {offset:#x} runs past the end of the file")
    return struct.unpack_from(fmt, data, offset)


def read_pe(data):
    """(machine, subsystem, resources) of an executable; resources maps (type, name) to the
    list of that resource's language versions (bytes). Named types are strings."""
    if data[:2] != b"MZ":
        raise PeError("no MZ header")
    pe, = unpack("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise PeError("no PE signature")
    machine, sections, _, _, _, optional_size, _ = unpack("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic, = unpack("<H", data, optional)
    if magic not in (0x10B, 0x20B):
        raise PeError(f"unknown optional header {magic:#x}")
    subsystem, = unpack("<H", data, optional + 68)
    resource_rva, = unpack("<I", data, optional + (96 if magic == 0x10B else 112) + 2 * 8)
    table = [unpack("<IIII", data, optional + optional_size + 40 * i + 8) for i in range(sections)]

    def offset(rva):
        for virtual_size, start, raw_size, raw in table:
            if start <= rva < start + max(virtual_size, raw_size):
                return raw + rva - start
        raise PeError(f"address {rva:#x} lies in no section")

    resources = {}
    base = offset(resource_rva) if resource_rva else None

    def name(value):
        if not value & 0x80000000:
            return value
        length, = unpack("<H", data, base + (value & 0x7FFFFFFF))
        start = base + (value & 0x7FFFFFFF) + 2
        if start + 2 * length > len(data):
            raise PeError(f"resource name at {start:#x} runs past the end of the file")
        return data[start:start + 2 * length].decode("utf-16-le", errors="replace")

    def walk(directory, path):
        named, numbered = unpack("<HH", data, base + directory + 12)
        for i in range(named + numbered):
            key, target = unpack("<II", data, base + directory + 16 + 8 * i)
            if target & 0x80000000 and len(path) < 2:
                walk(target & 0x7FFFFFFF, path + [name(key)])
            elif not target & 0x80000000 and len(path) == 2:
                rva, size = unpack("<II", data, base + target)
                start = offset(rva)
                if start + size > len(data):
                    raise PeError(f"resource {path} runs past the end of the file")
                resources.setdefault(tuple(path), []).append(data[start:start + size])
            else:
                raise PeError("resource tree is not type / name / language")

    if base is not None:
        walk(0, [])
    return MACHINES.get(machine, hex(machine)), subsystem, resources


def check_manifest(text):
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        return [f"manifest is not well-formed XML: {error}"]
    failures = []
    levels = [e.get("level") for e in root.iter(ASM_V3 + "requestedExecutionLevel")]
    if levels != ["requireAdministrator"]:
        failures.append(f"manifest asks for execution level {levels}, not requireAdministrator")
    dpi = [(e.text or "").strip().lower() for e in root.iter(WINDOWS_SETTINGS + "dpiAware")]
    if dpi != ["true"]:
        failures.append(f"manifest does not declare DPI awareness (dpiAware {dpi})")
    controls = [e.get("version") for e in root.iter(ASM_V1 + "assemblyIdentity")
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    if controls != ["6.0.0.0"]:
        failures.append(f"manifest binds common controls {controls}, not 6.0.0.0")
    return failures


def check_icon_group(resources):
    groups = resources.get((RT_GROUP_ICON, 102))
    if not groups:
        return ["icon group 102 is missing"]
    group = groups[0]
    _, kind, count = unpack("<HHH", group, 0)
    entries = [unpack("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)] if kind == 1 else []
    failures = [f"icon {entry[7]} of group 102 is missing or truncated" for entry in entries
                if [len(icon) for icon in resources.get((RT_ICON, entry[7]), [])] != [entry[6]]]
    sizes = {entry[0] or 256 for entry in entries if entry[0] == entry[1]}  # 0 stands for 256
    if not REQUIRED_ICON_SIZES <= sizes:
        failures.append(f"icon group 102 lacks sizes {sorted(REQUIRED_ICON_SIZES - sizes)}")
    return failures


def check(executable, machine, archive):
    found_machine, subsystem, resources = read_pe(executable)
    failures = [] if found_machine == machine else [f"machine is {found_machine}, not {machine}"]
    if subsystem != GUI_SUBSYSTEM:
        failures.append(f"subsystem is {subsystem}, not the GUI subsystem")
    manifests = resources.get((RT_MANIFEST, 1), [])
    failures += check_manifest(manifests[0]) if len(manifests) == 1 else ["no single manifest 1"]
    failures += check_icon_group(resources)
    skins = resources.get(("ZIPRES", 101), [])
    if len(skins) != 1:
        failures.append("no single skin archive ZIPRES 101")
    elif archive is not None and skins[0] != archive:
        failures.append("embedded skin archive differs from the packed one")
    return failures


def main(argv):
    parser = argparse.ArgumentParser(description="Checks the installer executable's resources.")
    parser.add_argument("executable")
    parser.add_argument("--machine", default="amd64", choices=sorted(MACHINES.values()))
    parser.add_argument("--archive", help="the packed skin archive the build embedded")
    args = parser.parse_args(argv)
    try:
        with open(args.executable, "rb") as f:
            executable = f.read()
        archive = None
        if args.archive:
            with open(args.archive, "rb") as f:
                archive = f.read()
        failures = check(executable, args.machine, archive)
    except (OSError, PeError) as error:
        failures = [str(error)]
    for failure in failures:
        print(f"check_executable_resources: {args.executable}: {failure}")
    if not failures:
        print(f"check_executable_resources: {args.executable} ok ({args.machine})")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
