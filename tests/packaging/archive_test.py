#!/usr/bin/env python3
"""The release archive: packed by cpack with the package target's own
configuration, into a folder of the test's, and opened with zipfile."""
import argparse
import os
import shutil
import subprocess
import sys
import unittest
import zipfile

ARGS = None


class ArchiveTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(ARGS.out, ignore_errors=True)
        subprocess.run([ARGS.cpack, "--config", ARGS.config, "-B", ARGS.out],
                       check=True, stdin=subprocess.DEVNULL, timeout=100)
        cls.archive = zipfile.ZipFile(os.path.join(ARGS.out, ARGS.archive))
        cls.addClassCleanup(cls.archive.close)

    def test_holds_the_programs_the_read_me_the_schema_and_the_notices_at_its_root(self):
        expected = ["README.txt", "THIRD-PARTY-NOTICES.txt", "report.schema.json", "varnock-report.exe"]
        if ARGS.with_app == "ON":
            expected.append("Varnock.exe")
        self.assertEqual(sorted(self.archive.namelist()), sorted(expected))
        with open(ARGS.report_exe, "rb") as built:
            self.assertEqual(self.archive.read("varnock-report.exe"), built.read())
        with open(ARGS.schema, "rb") as schema:
            self.assertEqual(self.archive.read("report.schema.json"), schema.read())
        if ARGS.with_app == "ON":
            self.assertEqual(self.archive.read("Varnock.exe")[:2], b"MZ")

    def test_read_me_is_windows_text_naming_the_version(self):
        text = self.archive.read("README.txt")
        self.assertGreater(text.count(b"\r\n"), 5)
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"))
        self.assertEqual(text.count(b"\r"), text.count(b"\r\n"))
        self.assertTrue(text.startswith(b"Varnock " + ARGS.version.encode() + b"\r\n"))
        text.decode("ascii")  # plain ASCII reads the same in any code page


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--cpack", "--config", "--out", "--archive", "--version", "--report-exe",
                   "--schema", "--with-app"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
