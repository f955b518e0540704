#!/usr/bin/python3
"""release_manifests.py VERSION EPOCH ARCHIVE URL FOLDER: the winget manifest
(three files, in FOLDER/winget) and the Scoop manifest (FOLDER/scoop) of the
release ARCHIVE, to be published at URL; prints their paths relative to
FOLDER. Their one time is the release's date (EPOCH, in UTC), and every
value and key comes in a fixed order, so the same release gives the same
bytes."""
import hashlib
import json
import sys
import time
from pathlib import Path

IDENTIFIER = "Halberwick.Varnock"
PUBLISHER_URL = "https://www.halberwick.example"
PROGRAM_PAGE = PUBLISHER_URL + "/downloads/varnock/index.htm"
LICENSE = "Freeware"
SHORT_DESCRIPTION = ("Lists the raw-camera plug-ins installed for Photoshop and "
                     "Photoshop Elements: their versions, products and folders.")
DESCRIPTION = (
    "Varnock lists the raw-camera plug-in files installed for Photoshop and Photoshop "
    "Elements on this computer: each file's version, the product it belongs to, the "
    "folder it lies in, the processor it was built for and whether its Authenticode "
    "signature holds. It only reads the registry and the plug-in folders. Varnock shows "
    "the list in a window and copies it to the clipboard as a report for a support "
    "request; varnock-report gives the same scan as text, CSV or JSON at a command prompt.")
# Each program in the archive, with the command that runs it.
COMMANDS = [("varnock-report.exe", "varnock-report"), ("Varnock.exe", "varnock")]


def yaml_lines(mapping, indent=""):
    """A mapping of strings and lists of mappings as block YAML. Every string
    is double-quoted (JSON's escapes are YAML's), so none reads as a number,
    a date or a boolean."""
    lines = []
    for key, value in mapping.items():
        if isinstance(value, list):
            lines.append(f"{indent}{key}:")
            for entry in value:
                entry_lines = yaml_lines(entry, indent + "    ")
                entry_lines[0] = f"{indent}  - {entry_lines[0].lstrip()}"
                lines += entry_lines
        else:
            lines.append(f"{indent}{key}: {json.dumps(value)}")
    return lines


def winget(version, date, url, sha256):
    """{file name: manifest} of winget's multi-file manifest, schema 1.6.0."""
    def manifest(kind, **fields):
        return {"PackageIdentifier": IDENTIFIER, "PackageVersion": version, **fields,
                "ManifestType": kind, "ManifestVersion": "1.6.0"}
    installer = {
        "Architecture": "x64",
        "InstallerType": "zip",
        "NestedInstallerType": "portable",
        "NestedInstallerFiles": [{"RelativeFilePath": file, "PortableCommandAlias": alias}
                                 for file, alias in COMMANDS],
        "InstallerUrl": url,
        "InstallerSha256": sha256.upper(),
    }
    return {
        f"{IDENTIFIER}.yaml": manifest("version", DefaultLocale="en-US"),
        f"{IDENTIFIER}.installer.yaml":
            manifest("installer", ReleaseDate=date, Installers=[installer]),
        f"{IDENTIFIER}.locale.en-US.yaml": manifest(
            "defaultLocale", PackageLocale="en-US", Publisher="Halberwick",
            PublisherUrl=PUBLISHER_URL, PackageName="Varnock", PackageUrl=PROGRAM_PAGE,
            License=LICENSE, ShortDescription=SHORT_DESCRIPTION, Description=DESCRIPTION),
    }


def scoop(version, url, sha256):
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": PROGRAM_PAGE,
        "license": LICENSE,
        "architecture": {"64bit": {"url": url, "hash": sha256.lower()}},
        "bin": COMMANDS[0][0],
        "shortcuts": [["Varnock.exe", "Varnock"]],
    }
    # When the address names the version, Scoop can rewrite the manifest for
    # the next one. Finding out which version is the latest (checkver) needs
    # a page that names it; the release knows of none, so a bucket adds its own.
    if version in url:
        manifest["autoupdate"] = {
            "architecture": {"64bit": {"url": url.replace(version, "$version")}}}
    return manifest


def main():
    version, epoch, archive, url, folder = sys.argv[1:]
    sha256 = hashlib.sha256(Path(archive).read_bytes()).hexdigest()
    date = time.strftime("%Y-%m-%d", time.gmtime(int(epoch)))
    written = {}
    for name, manifest in winget(version, date, url, sha256).items():
        schema = ("https://aka.ms/winget-manifest."
                  f"{manifest['ManifestType']}.{manifest['ManifestVersion']}.schema.json")
        written[f"winget/{name}"] = "\n".join(
            [f"# yaml-language-server: $schema={schema}", ""] + yaml_lines(manifest)) + "\n"
    written["scoop/varnock.json"] = json.dumps(scoop(version, url, sha256), indent=4) + "\n"
    for path, text in written.items():
        (Path(folder) / path).parent.mkdir(parents=True, exist_ok=True)
        (Path(folder) / path).write_text(text, encoding="utf-8", newline="\n")
        print(path)


if __name__ == "__main__":
    main()
