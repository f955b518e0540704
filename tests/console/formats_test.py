#!/usr/bin/env python3
"""varnock-report's three formats on one laid-out machine, read back by
Python's own csv and json modules and compared with the text report; its
JSON against the published schema, --output, its exit statuses and the
fleet recipe in docs/fleets.md.

The tool reads the real HKEY_LOCAL_MACHINE, so the machine goes into the
registry of the test prefix itself (imported with reg.exe, as UTF-16 so no
code page stands in between) and is deleted again afterwards. CTest gives
every test that touches those keys the same RESOURCE_LOCK.
"""
import argparse
import csv
import datetime
import io
import json
import os
import re
import resource
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import jsonschema  # Debian's python3-jsonschema

ARGS = None
HEADINGS = ["File", "Version", "Product", "Location", "Architecture"]
LAST_HEADING = "Program architecture"
BETA_LABEL = 'Photoshop "Beta",\tCafé'
VERSION_KEYS = [r"Software\Adobe\Photoshop\8.0", r"Software\Adobe\Photoshop\9.0",
                r"Software\Wow6432Node\Adobe\Photoshop Elements\10.0"]


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, check=True, prefix=None, stdout=None, file_limit=None, killed_at_limit=False,
         cwd=None):
    # Output goes to files, not pipes: the first wine process in a prefix
    # starts its services, which inherit its handles and would keep a pipe
    # open long after it exits. Wine turns the arguments from the host's
    # locale into UTF-16: UTF-8 passes every character.
    env = dict(os.environ, LC_ALL="C.UTF-8")
    if prefix:
        env["WINEPREFIX"] = prefix

    def limit_files():
        # A write past the limit fails as on a full disk, or, killed_at_limit,
        # ends the process there and then (SIGXFSZ), as a kill would.
        signal.signal(signal.SIGXFSZ, signal.SIG_DFL if killed_at_limit else signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (file_limit, file_limit))
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run([ARGS.wine, *args], stdin=subprocess.DEVNULL, stdout=stdout or out,
                              stderr=err, timeout=60, env=env, cwd=cwd,
                              preexec_fn=limit_files if file_limit else None).returncode
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, code, out.read(), err.read())
    if check and code != 0:
        raise AssertionError(f"{args} exited {code}: {result.stderr!r}")
    return result


def report(*options):
    return wine(ARGS.tool, "--all", *options).stdout


class Machine:
    """Two Photoshop versions whose plug-ins need quoting, escaping, a code
    page conversion, exact names and the formula guard; a 32-bit Photoshop
    Elements; a damaged module and a link loop for --verbose."""

    def __init__(self, root):
        self.root = root
        cs2, extra, pse = "Adobe Photoshop CS2", "Plug-Ins, Extra", "Photoshop Elements 10"
        formats, filters = cs2 + "/Plug-Ins/File Formats", cs2 + "/Plug-Ins/Filters"
        cyrillic, camera = formats + "/\u041f\u043b\u0430\u0433\u0438\u043d\u044b", extra + "/\U0001F4F7"
        self.files = [  # fixture (None: a file that is no module), folder, name, version
            ("fixture_cr_3_7", formats, "Caméra Raw.8bi", "3.7.0.0"),
            (None, formats, "camera raw.zip", ""),
            ("fixture_filter_1_2", filters, "Dust, Scratches.8bf", "1.2.0.5"),
            ("fixture_cr_4_6", extra, "Camera Raw.8bi", "4.6.0.0"),
            ("fixture_nikon_2", extra, "Nikon.8bi", "2.0.1.0"),
            ("fixture_cr_9_1", pse, "Camera Raw.8bi", "9.1.1.245"),
            ("fixture_cr_3_3", cyrillic, "Camera Raw.8bi", "3.3.0.0"),
            ("fixture_filter_1_2", extra, "\u65e5\u672c.8bf", "1.2.0.5"),
            ("fixture_cr_16", camera, "\U0001F4F7 Raw.8bi", "16.0.0.1711"),
        ] + [(None, filters, name, "") for name in
             ("=HYPERLINK(x).8bi", "+1.8bf", "-1.8bf", "@SUM(1).8bf")]
        self.damaged = os.path.join(filters, "Damaged.8bf")
        self.loop = (os.path.join(filters, "back"), cs2 + "/Plug-Ins")  # the link, its target
        self.values = {
            VERSION_KEYS[0]: {"ApplicationPath": "C:\\Nowhere\\Adobe " + BETA_LABEL,
                              "Plugins": self.windows(extra)},
            VERSION_KEYS[1]: {"ApplicationPath": self.windows(cs2) + "\\"},
            VERSION_KEYS[2]: {"ApplicationPath": self.windows(pse)},
        }
        labels = {formats: "Photoshop CS2", filters: "Photoshop CS2", cyrillic: "Photoshop CS2",
                  pse: pse}
        # Exact names, as the machine formats carry them, the architecture (the
        # damaged module's file header is whole) and no program's.
        self.rows = [[name, version, labels.get(folder, BETA_LABEL), self.windows(folder),
                      "x64" if fixture else "", ""]
                     for fixture, folder, name, version in self.files]
        self.rows.append(["Damaged.8bf", "", "Photoshop CS2", self.windows(filters), "x64", ""])
        self.rows.sort()

    def windows(self, folder):
        return windows_path(os.path.join(self.root, folder))

    def lay_out(self):
        self.clear()
        for fixture, folder, name, _ in self.files:
            target = os.path.join(self.root, folder, name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            if fixture:
                shutil.copyfile(os.path.join(ARGS.fixtures, fixture + ".dll"), target)
            else:
                with open(target, "wb") as f:
                    f.write(b"Not a plug-in module.\r\n")
        with open(os.path.join(ARGS.fixtures, "fixture_cr_3_7.dll"), "rb") as f:
            cut = f.read()[:200]
        with open(os.path.join(self.root, self.damaged), "wb") as f:
            f.write(cut)
        os.symlink("..", os.path.join(self.root, self.loop[0]))

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


def ansi(text):
    """A name as the ANSI code page (1252 here) shows it: one "?" for every
    UTF-16 unit it cannot hold."""
    return "".join(c if c.encode("cp1252", "ignore") else "?" * (len(c.encode("utf-16-le")) // 2)
                   for c in text)


def shown(text):
    """A cell as the text report shows it: in the ANSI code page, with its
    control characters written as escapes so that it keeps to its line."""
    named = {"\t": "\\t", "\r": "\\r", "\n": "\\n"}
    return "".join(named.get(c) or (f"\\x{ord(c):02X}" if ord(c) < 0x20 or 0x7F <= ord(c) <= 0x9F else c)
                   for c in ansi(text))


def unescaped(field):
    r"""A --verbose field read back: \\ \t \r \n \xHH \u{...}; any other
    backslash stands for itself."""
    named = {"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}
    return re.sub(r"\\(\\|t|r|n|x[0-9A-F]{2}|u\{[0-9A-F]+\})",
                  lambda m: named.get(m[1]) or chr(int(m[1][1:].strip("{}"), 16)), field)


def valid_report(raw):
    """A JSON report, checked against the published schema."""
    data = json.loads(raw.decode("utf-8"))  # strict: a raw control character fails
    with open(ARGS.schema, encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.validators.validator_for(schema)
    assert validator is jsonschema.Draft202012Validator, validator
    validator.check_schema(schema)
    validator(schema).validate(data)
    return data


def without_machine(raw):
    data = json.loads(raw.decode("utf-8"))
    del data["machine"]
    return data


def guarded(field):
    return "'" + field if field[:1] in ("=", "+", "-", "@", "\t", "\r") else field


def parse_text(raw, signatures=False):
    """The text report as ({product or "product (32-bit)": [version keys]}, [rows])."""
    text = raw.decode("cp1252")
    installations = {}
    for block in re.finditer(r"-{13} Adobe (.*?) Installations( \(32-bit\))? -{16}\r\n"
                             r"((?:[^-].*\r\n)*)", text):
        product = block[1]
        installations[product + (block[2] or "")] = [line[len(product) + 1:]
                                                     for line in block[3].split("\r\n")[:-1]]
    more = r"Architecture:\t(.*)\r\nSignature:\t(.*)\r\n" if signatures else ""
    rows = re.findall(r"File:\t\t(.*)\r\nVersion:\t(.*)\r\nProduct:\t(.*)\r\n"
                      r"Location:\t(.*)\r\n" + more + r"-{35}\r\n", text)
    return installations, [list(row) for row in rows]


class FormatsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.machine = Machine(ARGS.work)
        cls.addClassCleanup(cls.machine.clear)
        cls.machine.lay_out()
        cls.text = report()
        cls.installations, cls.rows = parse_text(cls.text)

    def in_text_order(self, rows):
        """Rows with exact names, checked against the text report row by row
        (same order, same ANSI texts) and returned as they came."""
        self.assertEqual([[shown(cell) for cell in row[:4]] for row in rows], self.rows)
        return rows

    def test_text_is_the_default_and_holds_the_machine(self):
        self.assertEqual(report("--format", "text"), self.text)
        self.assertEqual(self.installations, {"Photoshop": ["8.0", "9.0"],
                                              "Photoshop Elements (32-bit)": ["10.0"]})
        self.assertEqual(sorted(self.rows), sorted([shown(cell) for cell in row[:4]]
                                                   for row in self.machine.rows))

    def test_json_matches_the_text_report(self):
        raw = report("--format", "json")
        self.assertFalse(raw.startswith(b"\xef\xbb\xbf"))
        self.assertTrue(raw.endswith(b"}\r\n"))
        data = valid_report(raw)
        self.assertEqual(list(data), ["format", "machine", "installations", "installations32",
                                      "plugins"])
        self.assertEqual(data["installations"], {"Photoshop": ["8.0", "9.0"],
                                                 "Photoshop Elements": []})
        self.assertEqual(data["installations32"], {"Photoshop": [],
                                                   "Photoshop Elements": ["10.0"]})
        listed = {p: keys for p, keys in data["installations"].items() if keys}
        listed.update({p + " (32-bit)": keys for p, keys in data["installations32"].items() if keys})
        self.assertEqual(listed, self.installations)
        self.assertEqual([list(p) for p in data["plugins"]],
                         [["file", "version", "product", "location", "architecture",
                           "program_architecture", "program_can_load"]] * len(self.rows))
        rows = self.in_text_order([[v or "" for v in list(p.values())[:6]] for p in data["plugins"]])
        self.assertEqual(sorted(rows), self.machine.rows)

    def test_csv_matches_the_text_report(self):
        raw = report("--format=csv")
        self.assertTrue(raw.startswith(b"\xef\xbb\xbf"))
        self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
        self.assertEqual(raw.count(b"\r\n"), len(self.rows) + 1)
        lines = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
        self.assertEqual(lines[0], HEADINGS + [LAST_HEADING])
        # The guard is undone here and nowhere else: only guarded fields start
        # with an apostrophe on this machine.
        rows = [[field[1:] if field.startswith("'") else field for field in row]
                for row in lines[1:]]
        self.assertEqual(lines[1:], [[guarded(field) for field in row] for row in rows])
        self.assertEqual(sorted(rows), self.machine.rows)
        self.in_text_order(rows)
        self.assertIn("'=HYPERLINK(x).8bi", [row[0] for row in lines[1:]])

    def test_signatures_add_their_lines_columns_and_members(self):
        # None of these modules is signed; the kinds of signature have a test of their own.
        expected = ["Not signed" if row[4] else "" for row in self.machine.rows]
        _, rows = parse_text(report("--signatures"), signatures=True)
        self.assertEqual([row[:4] for row in rows], self.rows)
        self.assertEqual(sorted(row[4:] for row in rows),
                         sorted([row[4], text] for row, text in zip(self.machine.rows, expected)))
        raw = report("--signatures", "--format", "csv")
        lines = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
        self.assertEqual(lines[0], HEADINGS + ["Signature", "Signer", LAST_HEADING])
        self.assertEqual(sorted(line[4:] for line in lines[1:]),
                         sorted([row[4], "unsigned" if row[4] else "", "", row[5]]
                                for row in self.machine.rows))
        data = valid_report(report("--signatures", "--format", "json"))
        self.assertEqual(sorted(json.dumps(p["signature"]) for p in data["plugins"]), sorted(
            json.dumps({"status": "unsigned", "signer": None} if row[4] else None)
            for row in self.machine.rows))

    def test_verbose_tells_what_could_not_be_read_and_changes_nothing_else(self):
        def timeless(raw):
            return re.sub(rb'"scanned_at": "[^"]*"', b"", raw)

        quiet = {fmt: wine(ARGS.tool, "--all", "--format", fmt) for fmt in ("text", "csv", "json")}
        for fmt, result in quiet.items():
            loud = wine(ARGS.tool, "--all", "--format", fmt, "--verbose")
            self.assertEqual(result.stderr, b"", fmt)
            self.assertEqual(timeless(loud.stdout), timeless(result.stdout), fmt)
            self.assertEqual(loud.returncode, 0)
            lines = sorted("\t".join(unescaped(field) for field in line.split("\t"))
                           for line in loud.stderr.decode("utf-8").split("\r\n")[:-1])
            self.assertEqual([line.split("\t")[:2] for line in lines], [
                ["damaged module", self.machine.windows(self.machine.damaged)],
                ["folder links back to its ancestor", self.machine.windows(self.machine.loop[0])],
            ], fmt)
            self.assertEqual(lines[1].split("\t")[2], self.machine.windows(self.machine.loop[1]))
            self.assertTrue(lines[0].split("\t")[2], "a reason in words")

    def test_version_and_help(self):
        self.assertRegex(wine(ARGS.tool, "--version").stdout, rb"^varnock-report \d+\.\d+\.\d+\.\d+\r?\n$")
        usage = wine(ARGS.tool, "--help").stdout
        for option in (b"--verbose", b"--version"):
            self.assertIn(option, usage)


class ProgramsTest(unittest.TestCase):
    """Programs of each processor, or no module, beside plug-ins of each (and
    a folder) in their own folders and the shared one, all from one table."""
    MACHINES = {"x86": 0x014C, "x64": 0x8664, "ARM64": 0xAA64}
    PROGRAMS = {"Photoshop 9.0": "x86", "Photoshop Elements 15.0": "x64", "Photoshop 200.0": "ARM64",
                "Photoshop 10.0": None, "Photoshop Elements 11.0": "text",
                "Photoshop 12.0": "folder", "Photoshop 13.0": "cut short"}  # label: what lies there

    def test_cells_columns_and_members(self):
        root = Path(ARGS.work, "programs")
        installer = r"SOFTWARE\Adobe\CommonFiles\Adobe\installer"
        keys = {label: r"Software\Adobe\%s\%s" % tuple(label.rsplit(" ", 1)) for label in self.PROGRAMS}

        def undo():
            for key in [installer, *keys.values()]:
                wine("reg", "delete", "HKLM\\" + key, "/f", check=False)
            shutil.rmtree(root, ignore_errors=True)

        undo()
        self.addCleanup(undo)
        module = Path(ARGS.fixtures, "fixture_cr_3_7.dll").read_bytes()
        at = struct.unpack_from("<I", module, 0x3C)[0] + 4  # the Machine field
        files = {name: module[:at] + struct.pack("<H", machine) + module[at + 2:]
                 for name, machine in self.MACHINES.items()}
        files.update({"text": b"Not a program.\r\n", "cut short": module[:at + 10]})
        wine("reg", "add", "HKLM\\" + installer, "/v", "Path", "/d", windows_path(root) + "\\", "/f")
        expected = []  # file, label, cell, plug-in's and program's architecture, once for each folder
        for label, program in self.PROGRAMS.items():
            for folder in (label, "Plug-ins"):  # its own, and the shared one below the installer's Path
                (root / folder / "Folder.8bi").mkdir(parents=True, exist_ok=True)
                for name in self.MACHINES:
                    (root / folder / (name + ".8bi")).write_bytes(files[name])
            path = root / label / ("PhotoshopElementsEditor.exe" if "Elements" in label else "Photoshop.exe")
            if program == "folder":
                path.mkdir()
            elif program:
                path.write_bytes(files[program])
            wine("reg", "add", "HKLM\\" + keys[label], "/v", "ApplicationPath", "/d",
                 windows_path(root / label), "/f")
            known = program if program in self.MACHINES else ""
            for plugin in ("", *self.MACHINES):
                cell = f"{plugin} (program: {known})" if plugin and known and plugin != known else plugin
                expected += [[(plugin or "Folder") + ".8bi", label, cell, plugin, known]] * 2
        expected.sort()

        _, text = parse_text(report("--signatures"), signatures=True)
        self.assertEqual(sorted([row[0], row[2], row[4]] for row in text), [row[:3] for row in expected])
        lines = list(csv.reader(io.StringIO(report("--format", "csv").decode("utf-8-sig"), newline="")))
        self.assertEqual([lines[0][-1]] + sorted([line[0], line[2], line[4], line[5]] for line in lines[1:]),
                         [LAST_HEADING] + [row[:2] + row[3:] for row in expected])
        words = [[p["file"], p["product"], p["architecture"], p["program_architecture"], p["program_can_load"]]
                 for p in valid_report(report("--format", "json"))["plugins"]]
        self.assertEqual(sorted(words, key=str), sorted(
            (row[:2] + [a.lower() or None for a in row[3:]] + [row[3] == row[4] if row[3] and row[4] else None]
             for row in expected), key=str))


class ContractTest(unittest.TestCase):
    """The JSON against its schema on real machines, --output, the exit
    statuses and the fleet recipe. Runs on the empty machine the test prefix
    is without the one above, and on the demo machine in a prefix of its own."""

    @classmethod
    def setUpClass(cls):
        if not os.path.exists(os.path.join(ARGS.demo_prefix, "system.reg")):
            raise RuntimeError(f"no demo machine in {ARGS.demo_prefix}: run scripts/test.sh")
        Machine(ARGS.work).clear()
        cls.folder = os.path.join(ARGS.work, "output")
        shutil.rmtree(cls.folder, ignore_errors=True)
        os.makedirs(cls.folder)
        cls.addClassCleanup(shutil.rmtree, cls.folder, ignore_errors=True)
        cls.empty = wine(ARGS.tool, "--format", "json").stdout
        cls.demo = [wine(ARGS.tool, *mode, "--format", "json", prefix=ARGS.demo_prefix).stdout
                    for mode in ([], ["--all"])]

    def test_real_reports_meet_the_schema_and_it_refuses_others(self):
        version = wine(ARGS.tool, "--version").stdout.decode().split()[1]
        now = datetime.datetime.now(datetime.timezone.utc)
        for name, raw in [("empty", self.empty), ("demo", self.demo[0]), ("demo --all", self.demo[1])]:
            data = valid_report(raw)
            machine = data["machine"]
            self.assertEqual(machine["varnock"], version, name)
            self.assertRegex(machine["windows"], r"^\d+\.\d+\.\d+$", name)
            self.assertTrue(machine["name"], name)
            scanned = datetime.datetime.strptime(machine["scanned_at"], "%Y-%m-%dT%H:%M:%S%z")
            self.assertLess(abs((now - scanned).total_seconds()), 300, name)
        self.assertEqual(without_machine(self.empty)["plugins"], [])
        self.assertGreater(len(json.loads(self.demo[1])["plugins"]), len(json.loads(self.demo[0])["plugins"]))

        def broken(change):
            data = json.loads(self.demo[0])
            change(data)
            return json.dumps(data).encode()

        for change in (lambda d: d.update(format=2), lambda d: d.pop("machine"),
                       lambda d: d["machine"].update(architecture="ia64"),
                       lambda d: d["machine"].update(scanned_at="2026-01-31 12:00:00"),
                       lambda d: d["installations32"].pop("Photoshop"),
                       lambda d: d["plugins"][0].pop("location"),
                       lambda d: d["plugins"][0].update(program_architecture="ARM64")):
            with self.assertRaises(jsonschema.ValidationError):
                valid_report(broken(change))

    def test_output_replaces_the_file_whole_or_not_at_all(self):
        deep = os.path.join(self.folder, *["\u041f\u0430\u043f\u043a\u0430 " + "d" * 60] * 4)
        os.makedirs(deep)
        cases = [  # name, file, old contents (None: no file), read-only, written
            ("over an existing file", "old.json", b"old report\r\n", False, True),
            ("long non-ANSI path", os.path.join(deep, "\u65e5\u672c \U0001F4F7.json"), None, False, True),
            ("missing folder", os.path.join("no such folder", "r.json"), None, False, False),
            ("read-only file", "kept.json", b"kept report\r\n", True, False),
            # The report (some 300 bytes) is cut off mid-write, its error line is not.
            ("write cut off", "full.json", b"full report\r\n", False, False),
        ]
        expected = without_machine(self.empty)
        for name, file, old, read_only, written in cases:
            with self.subTest(name):
                path = os.path.join(self.folder, file)
                if old is not None:
                    with open(path, "wb") as f:
                        f.write(old)
                if read_only:
                    os.chmod(path, 0o444)
                before = sorted(os.listdir(os.path.dirname(path))) if os.path.isdir(os.path.dirname(path)) else None
                target = windows_path(path)
                if name.startswith("long"):
                    self.assertGreater(len(target), 260)
                result = wine(ARGS.tool, "--format", "json", "--output", target, check=False,
                              file_limit=200 if name == "write cut off" else None)
                self.assertEqual(result.stdout, b"")
                if written:
                    self.assertEqual((result.returncode, result.stderr), (0, b""))
                    with open(path, "rb") as f:
                        self.assertEqual(without_machine(f.read()), expected)
                    self.assertEqual(sorted(os.listdir(os.path.dirname(path))),
                                     sorted(set(before) | {os.path.basename(path)}))
                else:
                    self.assertEqual(result.returncode, 3)
                    message = result.stderr.decode("utf-8")
                    self.assertEqual(message.count("\r\n"), 1, message)
                    self.assertIn(target, message)
                    if old is not None:
                        with open(path, "rb") as f:
                            self.assertEqual(f.read(), old)
                    if before is not None:
                        self.assertEqual(sorted(os.listdir(os.path.dirname(path))), before)

    def test_a_run_killed_mid_write_leaves_the_old_file_and_nothing_else(self):
        folder = os.path.join(self.folder, "killed")
        os.makedirs(folder)
        target = os.path.join(folder, "report.json")
        wine(ARGS.tool, "--format", "json", "--output", windows_path(target))
        size = os.path.getsize(target)
        for old in (b"old report\r\n", None):
            for quarters in (1, 2, 3):
                with self.subTest(old=old, quarters=quarters):
                    if old is None:
                        if os.path.exists(target):
                            os.remove(target)
                    else:
                        with open(target, "wb") as f:
                            f.write(old)
                    result = wine(ARGS.tool, "--format", "json", "--output", windows_path(target),
                                  check=False, file_limit=size * quarters // 4, killed_at_limit=True)
                    self.assertEqual(result.returncode, -signal.SIGXFSZ)
                    self.assertEqual(os.listdir(folder), [] if old is None else ["report.json"])
                    if old is not None:
                        with open(target, "rb") as f:
                            self.assertEqual(f.read(), old)

    def test_exit_statuses(self):
        cases = [  # arguments, standard output (None, a full device, a pipe nobody reads), status
            ([], None, 0),
            (["--output", "nul:"], None, 0),  # scans, and writes nothing
            (["--output", "Con"], None, 0),  # standard output
            (["--output", "COM1:"], None, 3),
            (["--frobnicate"], None, 2),
            (["--format"], None, 2),
            (["--format", "xml"], None, 2),
            (["--output"], None, 2),
            (["--output="], None, 2),
            (["--format", "json"], "full", 3),
            (["--help"], "full", 3),
            (["--version"], "full", 3),
            ([], "closed", 3),
            (["--help"], "closed", 3),
        ]
        folder = os.path.join(self.folder, "statuses")  # no case leaves a file there
        os.makedirs(folder)
        for arguments, output, status in cases:
            with self.subTest(arguments=arguments, output=output):
                if output == "full":
                    with open("/dev/full", "wb") as device:
                        result = wine(ARGS.tool, *arguments, check=False, stdout=device)
                    self.assertIn(b"to standard output: ", result.stderr)
                elif output == "closed":
                    read, write = os.pipe()
                    os.close(read)
                    try:
                        result = wine(ARGS.tool, *arguments, check=False, stdout=write)
                    finally:
                        os.close(write)
                    self.assertIn(b": standard output was closed (the pipe has ended)\r\n",
                                  result.stderr)
                else:
                    result = wine(ARGS.tool, *arguments, check=False, cwd=folder)
                    self.assertEqual(result.stdout == b"", status != 0 or "nul:" in arguments)
                self.assertEqual(os.listdir(folder), [])
                self.assertEqual(result.returncode, status)
                self.assertEqual(b"Usage: varnock-report" in result.stderr, status == 2)
                self.assertNotIn(b"Invalid argument", result.stderr)

    def test_fleet_pages_jq_line_merges_a_folder_of_reports(self):
        with open(ARGS.fleets, encoding="utf-8") as f:
            line = re.search(r"^    (jq .*)$", f.read(), re.M)[1]
        # A second demo machine: the same registry and folders under another name.
        names = r"HKLM\System\CurrentControlSet\Control\ComputerName\ActiveComputerName"
        first = json.loads(self.demo[0])
        wine("reg", "add", names, "/v", "ComputerName", "/d", "DEMO-2", "/f", prefix=ARGS.demo_prefix)
        try:
            second = wine(ARGS.tool, "--all", "--format", "json", prefix=ARGS.demo_prefix).stdout
        finally:
            wine("reg", "add", names, "/v", "ComputerName", "/d", first["machine"]["name"], "/f",
                 prefix=ARGS.demo_prefix)
        second = json.loads(second)
        self.assertNotEqual(first["machine"]["name"], second["machine"]["name"])
        reports = os.path.join(self.folder, "fleet", "reports")
        os.makedirs(reports)
        for name, data in (("a.json", first), ("b.json", second)):
            with open(os.path.join(reports, name), "w", encoding="utf-8") as f:
                json.dump(data, f)
        subprocess.run(["bash", "-c", line.replace("jq ", ARGS.jq + " ", 1)],
                       cwd=os.path.dirname(reports), check=True, timeout=30)
        with open(os.path.join(os.path.dirname(reports), "plugins.csv"), encoding="utf-8", newline="") as f:
            merged = list(csv.reader(f))
        self.assertEqual(merged[0], ["machine", "product", "file", "version", "location"])
        self.assertEqual(merged[1:], [[guarded(field) for field in
                                       [data["machine"]["name"], p["product"], p["file"], p["version"], p["location"]]]
                                      for data in (first, second) for p in data["plugins"]])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--wine", "--tool", "--fixtures", "--work", "--demo-prefix", "--schema",
                   "--fleets", "--jq"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
