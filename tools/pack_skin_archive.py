#!/usr/bin/env python3
"""Packs the installer's skin folder into the zip archive that the executable carries.

    pack_skin_archive.py --skin-dir app/skin --output skin_archive.zip

The archive is flat and holds exactly the entries of SKIN_ENTRIES, in that order, each
deflated or stored as listed; a missing file fails the build rather than shipping a skin
without its picture. Only the standard library is used, so any python3 can run it. The
output is byte-for-byte reproducible: fixed timestamps and attributes, fixed entry order.
"""

import argparse
import os
import sys
import zipfile

# (entry name, stored without compression?) in archive order.
SKIN_ENTRIES = [
    ("agreement.xml", False),
    ("start.png", True),
    ("options.xml", False),
    ("processBbg.png", False),
    ("processFbg.png", False),
    ("processvideo.png", False),
    ("processscreen.png", False),
    ("processaudio.png", False),
    ("prcessgame.png", False),
    ("download.xml", False),
    ("pathchooseh.png", False),
    ("closeh.png", False),
    ("installbtH.png", False),
    ("installbt.png", False),
    ("agreementbg.png", False),
    ("checkboxnormal.png", False),
    ("checkboxnormal1.png", True),
    ("checkboxselect.png", True),
    ("checkboxselect1.png", True),
    ("closebt.png", False),
    ("pathchoose.png", True),
    ("update_bg.png", False),
]

# A fixed date keeps the archive identical from build to build.
ENTRY_TIME = (2024, 1, 1, 0, 0, 0)
# Regular file, rw-r--r--, in the Unix half of the external attributes.
ENTRY_ATTRIBUTES = (0o100644 << 16)


def pack(skin_dir, output):
    """Writes the archive to `output` (through a temporary file, so a failed run leaves no
    half-written archive behind). Raises FileNotFoundError when a listed file is missing."""
    missing = [name for name, _ in SKIN_ENTRIES if not os.path.isfile(os.path.join(skin_dir, name))]
    if missing:
        raise FileNotFoundError(f"missing in {skin_dir}: {', '.join(missing)}")
    temporary = output + ".tmp"
    try:
        with zipfile.ZipFile(temporary, "w") as archive:
            for name, stored in SKIN_ENTRIES:
                info = zipfile.ZipInfo(name, ENTRY_TIME)
                info.compress_type = zipfile.ZIP_STORED if stored else zipfile.ZIP_DEFLATED
                info.external_attr = ENTRY_ATTRIBUTES
                with open(os.path.join(skin_dir, name), "rb") as source:
                    archive.writestr(info, source.read(), compresslevel=9)
        os.replace(temporary, output)
    finally:
        if os.path.exists(temporary):
            os.remove(temporary)


def main(argv):
    parser = argparse.ArgumentParser(description="Packs the skin folder into the skin archive.")
    parser.add_argument("--skin-dir", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args(argv)
    try:
        pack(args.skin_dir, args.output)
    except OSError as error:
        print(f"pack_skin_archive: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
