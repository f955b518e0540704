#!/usr/bin/python3
"""scripts/release.sh as a packager runs it: in two fresh clones of the last
commit, in folders of different names and lengths, at different times (the
second one's clock three days ahead under faketime) and in different time
zones. The archives must be byte for byte the same, unsigned and signed with
one throwaway key (given as PEM in one clone, as PKCS#12 in the other), and
hold the stripped programs; osslsigncode must verify both signatures against
the throwaway root, and without their signatures be the unsigned programs;
once that root is trusted in the test prefix, the signed console tool's own
check must name the publisher. The winget and Scoop manifests and the SPDX
bill of materials must be the same too, meet their published schemas
(schemas/) and name the archive truly. The clones build what is committed,
not the work tree."""
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

sys.path.insert(0, str(Path(__file__).resolve().parent.parent.parent / "scripts"))
import release_components  # noqa: E402

ARGS = None
MEMBERS = ["Varnock.exe", "varnock-report.exe", "README.txt", "report.schema.json", "THIRD-PARTY-NOTICES.txt"]
# Each manifest, relative to the release folder, with the schema it must meet.
MANIFESTS = {"winget/Halberwick.Varnock.yaml": "manifest.version.1.6.0.json",
             "winget/Halberwick.Varnock.installer.yaml": "manifest.installer.1.6.0.json",
             "winget/Halberwick.Varnock.locale.en-US.yaml": "manifest.defaultLocale.1.6.0.json",
             "scoop/varnock.json": "scoop.schema.json"}
# Each component linked into both programs: the compiler macros giving its
# version (Debian's GCC says only its major one, as 12.0.0), and licences its
# declared licence must include.
COMPONENTS = {"winpthreads": (("__MINGW64_VERSION_MAJOR", "__MINGW64_VERSION_MINOR", "__MINGW64_VERSION_BUGFIX"),
                              {"MIT", "BSD-3-Clause"}),
              "mingw-w64-crt": (("__MINGW64_VERSION_MAJOR", "__MINGW64_VERSION_MINOR", "__MINGW64_VERSION_BUGFIX"),
                                {"ZPL-2.1"}),
              "libstdc++": (("__GNUC__",), {"GPL-3.0-or-later WITH GCC-exception-3.1"}),
              "libgcc": (("__GNUC__",), {"GPL-3.0-or-later WITH GCC-exception-3.1"})}
# Texts the notices must reproduce: MIT's and the BSD licences' permission
# notices, a copyright of the C runtime's own, and GCC's exception.
NOTICE_TEXTS = ["The above copyright notice and this permission notice shall be included",
                "Neither the name of Lockless Inc. nor the names of its contributors",
                "Redistributions in binary form must reproduce the accompanying copyright notice",
                "1997-2001 Lucent Technologies", "GCC RUNTIME LIBRARY EXCEPTION Version 3.1"]
# Unstripped, each program is well over a megabyte.
STRIPPED_CEILING = 700_000


def release(clone, extra_env=None, clock=None):
    """Runs the clone's release script; gives (zip bytes, SHA256SUMS text,
    {program: the size it printed}, {manifest or bill of materials: its bytes})."""
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
    archive, *published, sums = result.stdout.splitlines()
    printed = re.findall(r"^== (\S+\.exe): ([\d,]+) bytes$", result.stderr, re.M)
    return (Path(archive).read_bytes(), Path(sums).read_text(), sizes(printed),
            {os.path.relpath(m, os.path.dirname(archive)): Path(m).read_bytes() for m in published})


def sizes(pairs):
    """{program: bytes} from (program, "503,808") pairs."""
    return {name: int(size.replace(",", "")) for name, size in pairs}


def meets_schema(manifest, schema_name):
    schema = json.loads((Path(__file__).resolve().parent / "schemas" / schema_name).read_text(encoding="utf-8"))
    validator = jsonschema.validators.validator_for(schema)
    assert validator is jsonschema.Draft7Validator, validator
    validator(schema, format_checker=validator.FORMAT_CHECKER).validate(manifest)
    return manifest


def check_bill_of_materials(test, archive, document, epoch, url):
    """The SPDX document meets its schema, has the one time, and names every
    member of the archive by its hashes and each program's linked components
    with the toolchain's own versions."""
    doc = meets_schema(json.loads(document), "spdx-schema-2.3.json")
    created = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch))
    test.assertEqual((doc["spdxVersion"], doc["dataLicense"], doc["creationInfo"]["created"]),
                     ("SPDX-2.3", "CC0-1.0", created))
    test.assertEqual(set(re.findall(rb"\d{4}-\d\d-\d\dT[\d:]+Z?", document)), {created.encode()})
    test.assertRegex(doc["documentNamespace"], rf"^https://\S+varnock-{re.escape(ARGS.version)}-[0-9a-f-]{{36}}$")
    elements = {e["SPDXID"]: e for e in doc["packages"] + doc["files"]}
    links = {(a["spdxElementId"], a["relationshipType"], a["relatedSpdxElement"]) for a in doc["relationships"]}
    [described] = [elements[b] for a, kind, b in links if (a, kind) == ("SPDXRef-DOCUMENT", "DESCRIBES")]
    test.assertEqual((described["name"], described["versionInfo"], described["downloadLocation"],
                      described["checksums"]),
                     ("Varnock", ARGS.version, url, [{"algorithm": "SHA256",
                                                 "checksumValue": hashlib.sha256(archive).hexdigest()}]))
    with zipfile.ZipFile(io.BytesIO(archive)) as z:
        members = {"./" + name: hashlib.sha256(z.read(name)).hexdigest() for name in z.namelist()}
    contained = {elements[b]["fileName"]: {c["algorithm"]: c["checksumValue"] for c in elements[b]["checksums"]}
                 for a, kind, b in links if (a, kind) == (described["SPDXID"], "CONTAINS")}
    test.assertEqual({name: sums["SHA256"] for name, sums in contained.items()}, members)
    macros = dict(re.findall(r"^#define (\w+) (.*)$", subprocess.run(
        ["x86_64-w64-mingw32-g++-posix", "-dM", "-E", "-include", "_mingw.h", "-x", "c++", "-"],
        stdin=subprocess.DEVNULL, capture_output=True, text=True, check=True).stdout, re.M))
    components = {e["name"]: e for e in doc["packages"] if e is not described}
    test.assertEqual(set(components), set(COMPONENTS))
    refs = {info["licenseId"] for info in doc["hasExtractedLicensingInfos"] if info["extractedText"].strip()}
    for name, (version_macros, licences) in COMPONENTS.items():
        with test.subTest(component=name):
            c = components[name]
            test.assertRegex(c["versionInfo"], r"^\d+\.\d+\.\d+$")
            test.assertEqual(c["versionInfo"].split(".")[:len(version_macros)], [macros[m] for m in version_macros])
            terms = set(c["licenseDeclared"].split(" AND "))
            test.assertLessEqual(licences, terms)
            test.assertLessEqual({t for t in terms if t.startswith("LicenseRef-")}, refs)
            linked = {elements[a]["fileName"] for a, kind, b in links if (kind, b) == ("STATIC_LINK", c["SPDXID"])}
            test.assertEqual(linked, {"./" + program for program in MEMBERS[:2]})


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
        # The bill of materials follows the manifests.
        self.assertEqual(list(first_manifests), list(MANIFESTS) + [f"varnock-{ARGS.version}.spdx.json"])
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
                _, installer, _, scoop = (
                    meets_schema(json.loads(data) if path.endswith(".json") else yaml.safe_load(data),
                                 MANIFESTS[path]) for path, data in list(manifests.items())[:4])
                check_bill_of_materials(self, archive, manifests[f"varnock-{ARGS.version}.spdx.json"], self.epoch, url)
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
            # The read-me names the notices, which name each component with its
            # version and give the texts its licence asks for, as Windows text.
            self.assertIn(b"\r\nTHIRD-PARTY-NOTICES.txt\r\n", archive.read("README.txt"))
            notices = archive.read("THIRD-PARTY-NOTICES.txt").decode("utf-8")
            self.assertEqual(notices.count("\n"), notices.count("\r\n"))
            for name in COMPONENTS:
                self.assertRegex(notices, rf"\r\n{re.escape(name)} \d+\.\d+\.\d+: ")
            for text in NOTICE_TEXTS:
                self.assertIn(text, " ".join(notices.split()))

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
        check_bill_of_materials(self, signed[0][0], signed[0][3][f"varnock-{ARGS.version}.spdx.json"], self.epoch,
                                f"https://www.halberwick.example/varnock/varnock-{ARGS.version}-win64.zip")
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


class NoticesTest(unittest.TestCase):
    """The notices come from the installed toolchain's copyright files; one
    that lacks a needed text stops the release, saying which."""

    def test_a_missing_text_or_library_stops_the_release_naming_it(self):
        compiler = "x86_64-w64-mingw32-g++-posix"
        cases = [("winpthreads", r"^License: expat\n(?: .*\n)+", "no text of the licence 'expat'"),
                 ("mingw-w64-crt", r"^License: ISC\n(?: .*\n)+", "no text of the licence 'ISC'"),
                 ("libstdc++", r"^ - libstdc\+\+-v3\n", r"no longer says that libstdc\+\+-v3"),
                 ("libgcc", r"^GCC RUNTIME LIBRARY EXCEPTION\n", "no paragraph starting 'GCC RUNTIME LIBRARY")]
        for name, needed, message in cases:
            with self.subTest(name):
                [(_, _, libraries, notices)] = [c for c in release_components.COMPONENTS if c[0] == name]
                text = Path(release_components.copyright_file(
                    release_components.package_of(compiler, libraries[0]))).read_text(encoding="utf-8")
                notices.read(name, text)
                doctored, found = re.subn(needed, "", text, flags=re.M)
                self.assertEqual(found, 1)
                with self.assertRaisesRegex(release_components.ReleaseError, message):
                    notices.read(name, doctored)
        with self.assertRaisesRegex(release_components.ReleaseError, "does not find libabsent.a"):
            release_components.package_of(compiler, "libabsent.a")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--source", "--work", "--version", "--wine", "--trust-root"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
