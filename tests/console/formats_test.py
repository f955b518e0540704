#!/usr/bin/env python3
"""varnock-report's three formats on one laid-out machine, read back by
Python's own csv and json modules and compared with the text report.

The tool reads the real HKEY_LOCAL_MACHINE, so the machine goes into the
registry of the test prefix itself (imported with reg.exe, as UTF-16 so no
code page stands in between) and is deleted again afterwards. CTest gives
every test that touches those keys the same RESOURCE_LOCK.
"""
import argparse
import csv
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

ARGS = None
HEADINGS = ["File", "Version", "Product", "Location"]
BETA_LABEL = 'Photoshop "Beta",\tCafé'
VERSION_KEYS = [r"Software\Adobe\Photoshop\8.0", r"Software\Adobe\Photoshop\9.0",
                r"Software\Wow6432Node\Adobe\Photoshop Elements\10.0"]


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, check=True):
    # Output goes to files, not pipes: the first wine process in a prefix
    # starts its services, which inherit its handles and would keep a pipe
    # open long after it exits.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run([ARGS.wine, *args], stdin=subprocess.DEVNULL, stdout=out,
                              stderr=err, timeout=60).returncode
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, code, out.read(), err.read())
    if check and code != 0:
        raise AssertionError(f"{args} exited {code}: {result.stderr!r}")
    return result


def report(*options):
    return wine(ARGS.tool, "--all", *options).stdout


class Machine:
    """Two Photoshop versions whose plug-ins need quoting, escaping and a
    code page conversion; a 32-bit Photoshop Elements."""

    def __init__(self, root):
        self.root = root
        cs2, extra, pse = "Adobe Photoshop CS2", "Plug-Ins, Extra", "Photoshop Elements 10"
        formats, filters = cs2 + "/Plug-Ins/File Formats", cs2 + "/Plug-Ins/Filters"
        self.files = [  # fixture (None: a file that is no module), folder, name
            ("fixture_cr_3_7", formats, "Caméra Raw.8bi"),
            (None, formats, "camera raw.zip"),
            ("fixture_filter_1_2", filters, "Dust, Scratches.8bf"),
            ("fixture_cr_4_6", extra, "Camera Raw.8bi"),
            ("fixture_nikon_2", extra, "Nikon.8bi"),
            ("fixture_cr_9_1", pse, "Camera Raw.8bi"),
        ]
        self.values = {
            VERSION_KEYS[0]: {"ApplicationPath": "C:\\Nowhere\\Adobe " + BETA_LABEL,
                              "Plugins": self.windows(extra)},
            VERSION_KEYS[1]: {"ApplicationPath": self.windows(cs2) + "\\"},
            VERSION_KEYS[2]: {"ApplicationPath": self.windows(pse)},
        }
        self.rows = sorted([
            ["Caméra Raw.8bi", "3.7.0.0", "Photoshop CS2", self.windows(formats)],
            ["camera raw.zip", "", "Photoshop CS2", self.windows(formats)],
            ["Dust, Scratches.8bf", "1.2.0.5", "Photoshop CS2", self.windows(filters)],
            ["Camera Raw.8bi", "4.6.0.0", BETA_LABEL, self.windows(extra)],
            ["Nikon.8bi", "2.0.1.0", BETA_LABEL, self.windows(extra)],
            ["Camera Raw.8bi", "9.1.1.245", pse, self.windows(pse)],
        ])

    def windows(self, folder):
        return windows_path(os.path.join(self.root, folder))

    def lay_out(self):
        self.clear()
        for fixture, folder, name in self.files:
            target = os.path.join(self.root, folder, name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            if fixture:
                shutil.copyfile(os.path.join(ARGS.fixtures, fixture + ".dll"), target)
            else:
                with open(target, "wb") as f:
                    f.write(b"Not a plug-in module.\r\n")

        def quoted(text):
            return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'

        lines = ["Windows Registry Editor Version 5.00", ""]
        for key, values in self.values.items():
            lines.append(f"[HKEY_LOCAL_MACHINE\\{key}]")
            lines += [f"{quoted(name)}={quoted(value)}" for name, value in values.items()]
            lines.append("")
        reg_file = os.path.join(self.root, "machine.reg")
        with open(reg_file, "wb") as f:
            f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
        wine("reg", "import", windows_path(reg_file))

    def clear(self):
        for key in VERSION_KEYS:
            wine("reg", "delete", "HKLM\\" + key, "/f", check=False)
        shutil.rmtree(self.root, ignore_errors=True)


def parse_text(raw):
    """The text report as ({product or "product (32-bit)": [version keys]}, [rows])."""
    text = raw.decode("cp1252")
    installations = {}
    for block in re.finditer(r"-{13} Adobe (.*?) Installations( \(32-bit\))? -{16}\r\n"
                             r"((?:[^-].*\r\n)*)", text):
        product = block[1]
        installations[product + (block[2] or "")] = [line[len(product) + 1:]
                                                     for line in block[3].split("\r\n")[:-1]]
    rows = re.findall(r"File:\t\t(.*)\r\nVersion:\t(.*)\r\nProduct:\t(.*)\r\n"
                      r"Location:\t(.*)\r\n-{35}\r\n", text)
    return installations, [list(row) for row in rows]


class FormatsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.machine = Machine(ARGS.work)
        cls.addClassCleanup(cls.machine.clear)
        cls.machine.lay_out()
        cls.text = report()
        cls.installations, cls.rows = parse_text(cls.text)

    def test_text_is_the_default_and_holds_the_machine(self):
        self.assertEqual(report("--format", "text"), self.text)
        self.assertEqual(self.installations, {"Photoshop": ["8.0", "9.0"],
                                              "Photoshop Elements (32-bit)": ["10.0"]})
        self.assertEqual(sorted(self.rows), self.machine.rows)

    def test_json_matches_the_text_report(self):
        raw = report("--format", "json")
        self.assertFalse(raw.startswith(b"\xef\xbb\xbf"))
        self.assertTrue(raw.endswith(b"}\r\n"))
        data = json.loads(raw.decode("utf-8"))  # strict: a raw control character fails
        self.assertEqual(list(data), ["installations", "installations32", "plugins"])
        self.assertEqual(data["installations"], {"Photoshop": ["8.0", "9.0"],
                                                 "Photoshop Elements": []})
        self.assertEqual(data["installations32"], {"Photoshop": [],
                                                   "Photoshop Elements": ["10.0"]})
        listed = {p: keys for p, keys in data["installations"].items() if keys}
        listed.update({p + " (32-bit)": keys for p, keys in data["installations32"].items() if keys})
        self.assertEqual(listed, self.installations)
        self.assertEqual([list(p) for p in data["plugins"]],
                         [["file", "version", "product", "location"]] * len(self.rows))
        self.assertEqual([list(p.values()) for p in data["plugins"]], self.rows)

    def test_csv_matches_the_text_report(self):
        raw = report("--format=csv")
        self.assertTrue(raw.startswith(b"\xef\xbb\xbf"))
        self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
        self.assertEqual(raw.count(b"\r\n"), len(self.rows) + 1)
        lines = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
        self.assertEqual(lines, [HEADINGS] + self.rows)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--wine", "--tool", "--fixtures", "--work"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
