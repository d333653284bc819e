#!/usr/bin/env python3
"""Checks that the resource checker finds what it claims to and survives damaged files.

    check_executable_resources_test.py VQUpdate.exe

Works on copies of the built installer: a checker that passes everything, or that dies
with a traceback on a cut-off download, would hide the very faults it exists for.
"""

import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_executable_resources as checker  # noqa: E402

EXECUTABLE = None  # set by main()


def run_checker(data, *options):
    """(exit code, printed text) of the checker run on `data` written to a file."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "VQUpdate.exe")
        with open(path, "wb") as f:
            f.write(data)
        printed = io.StringIO()
        with contextlib.redirect_stdout(printed):
            code = checker.main([path, *options])
    return code, printed.getvalue()


class CheckerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(EXECUTABLE, "rb") as f:
            cls.data = f.read()

    def test_reports_a_wrong_manifest_machine_or_archive(self):
        self.assertEqual(run_checker(self.data)[0], 0)
        level = b"requireAdministrator"
        self.assertIn(level, self.data)
        as_invoker = self.data.replace(level, b"asInvoker".ljust(len(level)))
        code, printed = run_checker(as_invoker)
        self.assertEqual(code, 1)
        self.assertIn("not requireAdministrator", printed)
        code, printed = run_checker(self.data, "--machine", "i386")
        self.assertEqual(code, 1)
        self.assertIn("not i386", printed)
        with tempfile.NamedTemporaryFile(suffix=".zip", delete=False) as other:
            other.write(b"PK\5\6" + bytes(18))
        try:
            code, printed = run_checker(self.data, "--archive", other.name)
        finally:
            os.remove(other.name)
        self.assertEqual(code, 1)
        self.assertIn("differs from the packed one", printed)

    def test_cut_off_files_get_a_clear_message(self):
        # Among the cuts: inside the resource type name "ZIPRES" (length-prefixed UTF-16).
        name = b"\x06\x00" + "ZIPRES".encode("utf-16-le")
        cuts = [self.data.index(name) + 5] + [len(self.data) * n // 64 for n in range(64)]
        for cut in cuts:
            with self.subTest(cut=cut):
                code, printed = run_checker(self.data[:cut])
                self.assertEqual(code, 1)
                self.assertIn("check_executable_resources:", printed)


def main(argv):
    global EXECUTABLE
    if len(argv) != 1:
        print(__doc__)
        return 2
    EXECUTABLE = argv[0]
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
