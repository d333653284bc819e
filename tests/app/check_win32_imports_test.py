#!/usr/bin/env python3
"""Checks the artefact check's rules on imported DLLs and on the shipped program's size.

    check_win32_imports_test.py CHECK_SCRIPT KNOWN_IMPORTER.exe COMCTL32_IMPORTER.exe
                                VQUpdate.exe FRAMEWORK_PROGRAM.exe...

A DLL that is not one of the system's KnownDLLs would be loaded from beside the program if one
of that name were planted there: the check refuses it with a message naming it, in the shipped
program and in any other. Programs importing only known DLLs pass, and so must every program
built with the skin framework (which looks up gdiplus and comctl32 at run time). The shipped
program passes only while it is within its size budget, to the byte.
"""

import os
import re
import subprocess
import sys
import tempfile
import unittest

CHECK = KNOWN_IMPORTER = COMCTL32_IMPORTER = INSTALLER = None  # set by main()
FRAMEWORK_PROGRAMS = []


def check(*arguments):
    """(exit code, printed text) of the artefact check run with `arguments`."""
    done = subprocess.run(["bash", CHECK, *arguments], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=60)
    return done.returncode, done.stdout.decode("utf-8", "replace")


class ImportRuleTest(unittest.TestCase):
    def test_refuses_a_dll_that_is_not_a_known_dll_and_names_it(self):
        code, printed = check("--imports-only", KNOWN_IMPORTER, COMCTL32_IMPORTER)
        self.assertEqual(code, 1, printed)
        self.assertIn("imports comctl32.dll, which is not one of the system's KnownDLLs", printed)
        self.assertIn("LoadSystemLibrary", printed, "the message says what to do instead")

    def test_passes_programs_that_import_only_known_dlls(self):
        code, printed = check("--imports-only", KNOWN_IMPORTER)
        self.assertEqual(code, 0, printed)
        self.assertIn("kernel32.dll", printed)

    def test_refuses_a_file_that_is_no_program(self):
        with tempfile.NamedTemporaryFile(suffix=".exe", delete=False) as other:
            other.write(b"MZ not really a program")
        try:
            code, printed = check("--imports-only", other.name)
        finally:
            os.remove(other.name)
        self.assertEqual(code, 1, printed)
        self.assertIn("cannot be read as a Windows program", printed)

    def test_the_shipped_program_is_refused_once_it_imports_a_planting_target(self):
        with open(INSTALLER, "rb") as f:
            data = f.read()
        if not is_32_bit(data):
            self.skipTest("the whole check is for the shipped 32-bit program")
        self.assertEqual(data.count(b"WS2_32.dll"), 1, "the import's name as the linker wrote it")
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "VQUpdate.exe")
            for content, expected in ((data, 0), (data.replace(b"WS2_32.dll", b"dwmapi.dll"), 1)):
                with open(path, "wb") as f:
                    f.write(content)
                code, printed = check(path)
                self.assertEqual(code, expected, printed)
        self.assertIn("imports dwmapi.dll, which is not one of the system's KnownDLLs", printed)

    def test_programs_of_the_skin_framework_import_only_known_dlls(self):
        for program in FRAMEWORK_PROGRAMS:
            code, printed = check("--imports-only", program)
            self.assertEqual(code, 0, printed)
            self.assertNotIn("gdiplus", printed.lower())


class SizeBudgetTest(unittest.TestCase):
    def test_the_shipped_program_is_refused_once_it_grows_past_its_budget(self):
        with open(INSTALLER, "rb") as f:
            data = f.read()
        if not is_32_bit(data):
            self.skipTest("the whole check is for the shipped 32-bit program")
        code, printed = check(INSTALLER)
        self.assertEqual(code, 0, printed)
        budget = int(re.search(r"within the budget of (\d+) bytes", printed).group(1))
        self.assertIn(f"({len(data)} bytes, within", printed)
        # Bytes appended after the image change nothing else the check looks at.
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "VQUpdate.exe")
            for size, expected in ((budget, 0), (budget + 1, 1)):
                with open(path, "wb") as f:
                    f.write(data + bytes(size - len(data)))
                code, printed = check(path)
                self.assertEqual(code, expected, printed)
        self.assertIn(f"has {budget + 1} bytes, over the budget of {budget} bytes by 1", printed)


def is_32_bit(program):
    """True for the bytes of a 32-bit x86 Windows program."""
    header = int.from_bytes(program[0x3C:0x40], "little")
    return program[header + 4:header + 6] == b"\x4c\x01"


def main():
    global CHECK, KNOWN_IMPORTER, COMCTL32_IMPORTER, INSTALLER
    if len(sys.argv) < 6:
        print(__doc__, file=sys.stderr)
        return 2
    CHECK, KNOWN_IMPORTER, COMCTL32_IMPORTER, INSTALLER = sys.argv[1:5]
    FRAMEWORK_PROGRAMS.extend(sys.argv[5:])
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(case)
                               for case in (ImportRuleTest, SizeBudgetTest))
    return 0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
