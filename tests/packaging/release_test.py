#!/usr/bin/python3
"""scripts/release.sh as a packager runs it: in two fresh clones of the last
commit, in folders of different names and lengths, at different times (the
second one's clock three days ahead under faketime) and in different time
zones. The archives must be byte for byte the same, unsigned and signed with
one throwaway key (given as PEM in one clone, as PKCS#12 in the other), and
hold the stripped programs; osslsigncode must verify both signatures against
the throwaway root, and without their signatures be the unsigned programs;
once that root is trusted in the test prefix, the signed console tool's own
check must name the publisher. The winget and Scoop manifests must be the same
too, meet their published schemas (schemas/) and name the archive truly.
The clones build what is committed, not the work tree."""
import argparse
import hashlib
import io
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

import jsonschema  # Debian's python3-jsonschema
import yaml  # Debian's python3-yaml

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
import make_test_pki  # noqa: E402

ARGS = None
MEMBERS = ["Varnock.exe", "varnock-report.exe", "README.txt", "report.schema.json"]
# Each manifest, relative to the release folder, with the schema it must meet.
MANIFESTS = {"winget/Halberwick.Varnock.yaml": "manifest.version.1.6.0.json",
             "winget/Halberwick.Varnock.installer.yaml": "manifest.installer.1.6.0.json",
             "winget/Halberwick.Varnock.locale.en-US.yaml": "manifest.defaultLocale.1.6.0.json",
             "scoop/varnock.json": "scoop.schema.json"}
# Unstripped, each program is well over a megabyte.
STRIPPED_CEILING = 700_000


def release(clone, extra_env=None, clock=None):
    """Runs the clone's release script; gives (zip bytes, SHA256SUMS text,
    {program: the size it printed}, {manifest: its bytes})."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("VARNOCK_") and k != "SOURCE_DATE_EPOCH"}
    env.update(extra_env or {})
    command = [str(clone / "scripts" / "release.sh")]
    if clock and shutil.which("faketime"):
        command = ["faketime", "-f", clock] + command
    result = subprocess.run(command, cwd=clone, env=env, stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=1200)
    if result.returncode != 0:
        raise AssertionError(f"release.sh in {clone} failed:\n{result.stderr[-4000:]}")
    archive, *manifests, sums = result.stdout.splitlines()
    printed = re.findall(r"^== (\S+\.exe): ([\d,]+) bytes$", result.stderr, re.M)
    return (Path(archive).read_bytes(), Path(sums).read_text(), sizes(printed),
            {os.path.relpath(m, os.path.dirname(archive)): Path(m).read_bytes() for m in manifests})


def sizes(pairs):
    """{program: bytes} from (program, "503,808") pairs."""
    return {name: int(size.replace(",", "")) for name, size in pairs}


def meets_schema(manifest, schema_name):
    schema = json.loads((Path(__file__).resolve().parent / "schemas" / schema_name).read_text(encoding="utf-8"))
    validator = jsonschema.validators.validator_for(schema)
    assert validator is jsonschema.Draft7Validator, validator
    validator(schema, format_checker=validator.FORMAT_CHECKER).validate(manifest)
    return manifest


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, check=True):
    """Runs a Windows program in the test prefix; gives its standard output.
    Output goes to a file, not a pipe: services the first wine process starts
    would hold a pipe open."""
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([ARGS.wine, *args], stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.DEVNULL, timeout=120)
        out.seek(0)
        text = out.read().decode("utf-8")
    if check and result.returncode != 0:
        raise AssertionError(f"{args} exited {result.returncode}")
    return text


def pe_header(image):
    """(TimeDateStamp, PointerToSymbolTable, NumberOfSymbols, section names)."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0"
    sections, stamp, symbols, count, optional = struct.unpack_from("<HIIIH", image, pe + 6)
    first = pe + 24 + optional
    names = [image[first + 40 * i:first + 40 * i + 8].rstrip(b"\0") for i in range(sections)]
    return stamp, symbols, count, names


class ReleaseTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        work = Path(ARGS.work)
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
        cls.clones = [work / "clone-k7", work / "clone-q3-in-a-folder-with-a-much-longer-name"]
        for clone in cls.clones:
            subprocess.run(["git", "clone", "-q", ARGS.source, str(clone)], check=True, timeout=120)
        cls.epoch = int(subprocess.run(["git", "-C", str(cls.clones[0]), "log", "-1", "--format=%ct"],
                                       check=True, capture_output=True, text=True).stdout)
        cls.unsigned = [release(cls.clones[0], {"TZ": "UTC"}),
                        release(cls.clones[1], {"TZ": "Pacific/Kiritimati"}, clock="+3d")]
        cls.pki = make_test_pki.make(str(work / "pki"))

    def test_two_clones_build_the_same_archive_manifests_and_sums(self):
        (first, first_sums, _, first_manifests), (second, second_sums, _, second_manifests) = self.unsigned
        self.assertEqual(hashlib.sha256(first).hexdigest(), hashlib.sha256(second).hexdigest())
        self.assertEqual(first_manifests, second_manifests)
        self.assertEqual(first_sums, second_sums)
        files = {f"varnock-{ARGS.version}-win64.zip": first, **first_manifests}
        self.assertEqual(first_sums, "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n"
                                             for name, data in files.items()))

    def test_manifests_meet_their_schemas_and_name_the_archive(self):
        """At the default address, which names the version, and at one that does not."""
        elsewhere = "https://downloads.example.org/tools/varnock-latest.zip"
        runs = [(f"https://www.halberwick.example/varnock/varnock-{ARGS.version}-win64.zip", self.unsigned[0]),
                (elsewhere, release(self.clones[0], {"VARNOCK_RELEASE_URL": elsewhere}))]
        for url, (archive, _, _, manifests) in runs:
            with self.subTest(url=url), zipfile.ZipFile(io.BytesIO(archive)) as z:
                self.assertEqual(list(manifests), list(MANIFESTS))
                _, installer, _, scoop = (
                    meets_schema(json.loads(data) if path.endswith(".json") else yaml.safe_load(data),
                                 MANIFESTS[path]) for path, data in manifests.items())
                sha256 = hashlib.sha256(archive).hexdigest()
                [entry] = installer["Installers"]
                self.assertEqual((installer["PackageVersion"], entry["InstallerUrl"], entry["InstallerSha256"]),
                                 (ARGS.version, url, sha256.upper()))
                self.assertEqual((scoop["version"], scoop["architecture"]["64bit"]),
                                 (ARGS.version, {"url": url, "hash": sha256}))
                # What either one puts on the PATH or in the Start menu is in the archive.
                named = [f["RelativeFilePath"] for f in entry["NestedInstallerFiles"]] + [scoop["bin"]]
                named += [shortcut[0] for shortcut in scoop["shortcuts"]]
                self.assertLessEqual(set(named), set(z.namelist()))
                if ARGS.version in url:
                    follows = scoop["autoupdate"]["architecture"]["64bit"]["url"].replace("$version", "9.8.7.6")
                    self.assertEqual(follows, url.replace(ARGS.version, "9.8.7.6"))
                else:
                    self.assertNotIn("autoupdate", scoop)

    def test_archive_holds_the_stripped_programs_at_the_commit_time(self):
        archive = zipfile.ZipFile(self.clones[0] / "build" / "release" /
                                  f"varnock-{ARGS.version}-win64.zip")
        with archive:
            self.assertEqual(archive.namelist(), MEMBERS)
            stamp = time.gmtime(self.epoch)[:6]
            for member in archive.infolist():
                self.assertEqual(member.date_time[:5], stamp[:5], member.filename)
            for program in MEMBERS[:2]:
                with self.subTest(program):
                    image = archive.read(program)
                    link_time, symbols, count, sections = pe_header(image)
                    self.assertEqual((link_time, symbols, count), (0, 0, 0))
                    self.assertEqual([s for s in sections if s.startswith(b".debug") or s.startswith(b"/")], [])
                    self.assertLess(len(image), STRIPPED_CEILING)
                    for clone in self.clones:
                        self.assertFalse(clone.name.encode() in image, f"{clone} is in {program}")

    def test_readme_gives_the_sizes_the_release_prints(self):
        archive, _, printed, _ = self.unsigned[0]
        with zipfile.ZipFile(io.BytesIO(archive)) as z:
            self.assertEqual(printed, {program: z.getinfo(program).file_size for program in MEMBERS[:2]})
        readme = (self.clones[0] / "README.md").read_text(encoding="utf-8")
        self.assertEqual(sizes(re.findall(r"`(\S+\.exe)` \(([\d,]+) bytes", readme)), printed)

    def test_signed_with_either_form_verifies_and_builds_the_same_archive(self):
        pki = self.pki
        forms = [{"VARNOCK_SIGN_CERT": pki["chain"], "VARNOCK_SIGN_KEY": pki["key"], "TZ": "UTC"},
                 {"VARNOCK_SIGN_PKCS12": pki["pkcs12"], "VARNOCK_SIGN_PASSWORD": pki["password"],
                  "TZ": "Asia/Kathmandu"}]
        signed = [release(clone, env) for clone, env in zip(self.clones, forms)]
        self.assertEqual(signed[0], signed[1])
        self.assertNotEqual(signed[0][0], self.unsigned[0][0])
        folder = Path(ARGS.work) / "signed"
        for label, archive in (("signed", signed[0][0]), ("unsigned", self.unsigned[0][0])):
            shutil.rmtree(folder, ignore_errors=True)
            folder.mkdir()
            (folder / "release.zip").write_bytes(archive)
            with zipfile.ZipFile(folder / "release.zip") as z:
                z.extractall(folder)
            for program in MEMBERS[:2]:
                with self.subTest(label=label, program=program):
                    result = subprocess.run(
                        ["osslsigncode", "verify", "-CAfile", pki["root"], "-in", str(folder / program)],
                        capture_output=True, text=True, timeout=60)
                    self.assertEqual(result.returncode == 0, label == "signed", result.stdout[-2000:])
                    if label == "signed":
                        self.assertIn(f"Subject: /CN={pki['publisher']}\n", result.stdout)
                        # Without its signature, a signed program is the rebuilt one.
                        plain = folder / ("plain-" + program)
                        subprocess.run(["osslsigncode", "remove-signature", "-in", str(folder / program),
                                        "-out", str(plain)], check=True, capture_output=True, timeout=60)
                        with zipfile.ZipFile(io.BytesIO(self.unsigned[0][0])) as unsigned:
                            self.assertEqual(plain.read_bytes(), unsigned.read(program))
        self.check_the_console_tool_names_the_publisher(signed[0][0])

    def check_the_console_tool_names_the_publisher(self, archive):
        """The signed console tool, run on a machine whose one plug-in folder
        holds both signed programs, once the throwaway root is trusted in
        the test prefix: its own check must name the publisher."""
        plugins = Path(ARGS.work) / "machine" / "Plug-ins"
        shutil.rmtree(plugins.parent, ignore_errors=True)
        plugins.mkdir(parents=True)
        with zipfile.ZipFile(io.BytesIO(archive)) as z:
            for program in MEMBERS[:2]:
                (plugins / (program + ".8bi")).write_bytes(z.read(program))
            tool = plugins.parent / "varnock-report.exe"
            tool.write_bytes(z.read("varnock-report.exe"))
        wine(ARGS.trust_root, windows_path(self.pki["root_der"]))
        key = r"HKLM\Software\Adobe\Photoshop\9.0"
        wine("reg", "add", key, "/v", "ApplicationPath", "/d", windows_path(plugins) + "\\", "/f")
        try:
            report = json.loads(wine(str(tool), "--all", "--signatures", "--format", "json"))
        finally:
            wine("reg", "delete", r"HKLM\Software\Adobe\Photoshop", "/f", check=False)
        seen = {p["file"]: p["signature"] for p in report["plugins"]}
        expected = {"status": "signed", "signer": self.pki["publisher"]}
        self.assertEqual(seen, {program + ".8bi": expected for program in MEMBERS[:2]})


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--source", "--work", "--version", "--wine", "--trust-root"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
