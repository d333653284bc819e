#!/usr/bin/env python3
"""Checks the resources the installer executable must carry.

    check_executable_resources.py VQUpdate.exe [--machine i386|amd64] [--archive skin_archive.zip]

- a GUI program for the expected machine;
- a manifest (RT_MANIFEST 1) asking for administrator rights, declaring DPI awareness and
  binding to common controls 6;
- icon group 102 whose every image is present, in the small and large sizes Windows asks for;
- the skin archive as "ZIPRES" 101, byte for byte the archive the build packed (when given).

Prints one line per failed check and exits 1 if any failed. Runs against the 64-bit
executable as a test; run it by hand on the shipped 32-bit one with --machine i386.
"""

import argparse
import sys
import xml.etree.ElementTree as ElementTree

from pe_resources import RT_GROUP_ICON, RT_ICON, RT_MANIFEST, PeError, PeImage, icon_group_entries

GUI_SUBSYSTEM = 2
ICON_GROUP = 102
SKIN_ARCHIVE = ("ZIPRES", 101)
MANIFEST_ID = 1
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
WINDOWS_SETTINGS = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
# Sizes of the taskbar, title bar and Alt+Tab icons at 100 % and the large shell views.
REQUIRED_ICON_SIZES = {16, 32, 48, 256}


def check_manifest(text):
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        return [f"manifest is not well-formed XML: {error}"]
    failures = []
    levels = [e.get("level") for e in root.iter(f"{{{ASM_V3}}}requestedExecutionLevel")]
    if levels != ["requireAdministrator"]:
        failures.append(f"manifest execution level is {levels}, not ['requireAdministrator']")
    dpi = [e.text.strip().lower() for e in root.iter(f"{{{WINDOWS_SETTINGS}}}dpiAware") if e.text]
    if not dpi or dpi[0] not in ("true", "true/pm", "per monitor"):
        failures.append(f"manifest does not declare DPI awareness (dpiAware: {dpi})")
    controls = [e.get("version") for e in root.iter(f"{{{ASM_V1}}}assemblyIdentity")
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    if controls != ["6.0.0.0"]:
        failures.append(f"manifest binds common controls {controls}, not ['6.0.0.0']")
    return failures


def check_icon_group(image):
    group = image.resource(RT_GROUP_ICON, ICON_GROUP)
    if group is None:
        return [f"icon group {ICON_GROUP} is missing"]
    failures = []
    entries = icon_group_entries(group)
    for width, height, _, size, icon_id in entries:
        icon = image.resource(RT_ICON, icon_id)
        if icon is None or len(icon) != size:
            failures.append(f"icon {icon_id} ({width}x{height}) of group {ICON_GROUP} is missing or truncated")
    sizes = {width for width, height, *_ in entries if width == height}
    if not REQUIRED_ICON_SIZES <= sizes:
        failures.append(f"icon group {ICON_GROUP} lacks sizes {sorted(REQUIRED_ICON_SIZES - sizes)}")
    return failures


def check(image, machine, archive):
    failures = []
    if image.machine != machine:
        failures.append(f"machine is {image.machine}, not {machine}")
    if image.subsystem != GUI_SUBSYSTEM:
        failures.append(f"subsystem is {image.subsystem}, not the GUI subsystem")
    manifest = image.resource(RT_MANIFEST, MANIFEST_ID)
    failures += check_manifest(manifest) if manifest else [f"manifest {MANIFEST_ID} is missing"]
    failures += check_icon_group(image)
    embedded = image.resource(*SKIN_ARCHIVE)
    if embedded is None:
        failures.append("skin archive ZIPRES 101 is missing")
    elif archive is not None and embedded != archive:
        failures.append("embedded skin archive differs from the packed one")
    return failures


def main(argv):
    parser = argparse.ArgumentParser(description="Checks the installer executable's resources.")
    parser.add_argument("executable")
    parser.add_argument("--machine", default="amd64", choices=["i386", "amd64"])
    parser.add_argument("--archive", help="the packed skin archive the build embedded")
    args = parser.parse_args(argv)
    try:
        with open(args.executable, "rb") as f:
            image = PeImage(f.read())
        archive = None
        if args.archive:
            with open(args.archive, "rb") as f:
                archive = f.read()
    except (OSError, PeError) as error:
        print(f"check_executable_resources: {error}")
        return 1
    failures = check(image, args.machine, archive)
    for failure in failures:
        print(f"check_executable_resources: {args.executable}: {failure}")
    if not failures:
        print(f"check_executable_resources: {args.executable} ok ({image.machine}, "
              f"{len(image.resources)} resources)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
