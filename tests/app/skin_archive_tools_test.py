#!/usr/bin/env python3
"""Checks the skin archive packer and lister on good and damaged input.

    skin_archive_tools_test.py SKIN_DIR TOOLS_DIR

The packer runs in every build, so a missing picture must stop it without leaving a file
that a later build step could take for the archive; the lister is what reviewers run on a
suspect archive, so damage must come out as a message, not a traceback.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

SKIN_DIR = TOOLS_DIR = None  # set by main()


def run_tool(script, *args):
    """(exit code, stdout, stderr) of a tool run with this interpreter."""
    done = subprocess.run([sys.executable, os.path.join(TOOLS_DIR, script), *args],
                          capture_output=True, text=True, timeout=120)
    return done.returncode, done.stdout, done.stderr


class SkinArchiveToolsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder)

    def pack(self, skin_dir, name):
        output = os.path.join(self.folder, name)
        return run_tool("pack_skin_archive.py", "--skin-dir", skin_dir, "--output", output), output

    def test_packing_is_reproducible_and_a_missing_picture_leaves_no_file(self):
        (code, _, _), first = self.pack(SKIN_DIR, "first.zip")
        self.assertEqual(code, 0)
        (code, _, _), second = self.pack(SKIN_DIR, "second.zip")
        self.assertEqual(code, 0)
        with open(first, "rb") as a, open(second, "rb") as b:
            self.assertEqual(a.read(), b.read())
        incomplete = os.path.join(self.folder, "skin")
        shutil.copytree(SKIN_DIR, incomplete)
        os.remove(os.path.join(incomplete, "start.png"))
        (code, _, error), _ = self.pack(incomplete, "incomplete.zip")
        self.assertEqual(code, 1)
        self.assertIn("start.png", error)
        self.assertEqual(sorted(os.listdir(self.folder)), ["first.zip", "second.zip", "skin"])

    def test_listing_names_damage_instead_of_failing_with_a_traceback(self):
        (code, _, _), archive = self.pack(SKIN_DIR, "skins.zip")
        self.assertEqual(code, 0)
        code, listing, _ = run_tool("list_skin_archive.py", archive)
        self.assertEqual(code, 0)
        self.assertIn("update_bg.png        deflated", listing)
        # Scramble the deflated data of one picture just past its local header.
        with zipfile.ZipFile(archive) as packed:
            entry = packed.getinfo("processBbg.png")
        with open(archive, "r+b") as f:
            f.seek(entry.header_offset + 30 + len(entry.filename) + 4)
            data = bytearray(f.read(64))
            f.seek(-len(data), os.SEEK_CUR)
            f.write(bytes(b ^ 0x55 for b in data))
        code, _, error = run_tool("list_skin_archive.py", archive)
        self.assertEqual(code, 1)
        self.assertTrue(error.startswith("list_skin_archive: "), error)
        self.assertNotIn("Traceback", error)


def main(argv):
    global SKIN_DIR, TOOLS_DIR
    if len(argv) != 2:
        print(__doc__)
        return 2
    SKIN_DIR, TOOLS_DIR = argv
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
