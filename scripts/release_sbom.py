#!/usr/bin/python3
"""release_sbom.py VERSION EPOCH ARCHIVE URL COMPONENTS OUT: the release's
bill of materials, OUT (SPDX 2.3, JSON): the
package Varnock as ARCHIVE (to be published at URL) holds it, every member
with its hashes, and each program statically linked with each component
release_components.py found (COMPONENTS). Its one time is the release's (EPOCH), its keys are sorted and its
lists in a fixed order, and its namespace is derived from its own content,
so the same release gives the same bytes."""
import hashlib
import json
import re
import sys
import time
import uuid
import zipfile
from pathlib import Path

from release_manifests import COMMANDS, LICENSE, PROGRAM_PAGE, PUBLISHER_URL, SHORT_DESCRIPTION

PROGRAMS = sorted(file for file, _ in COMMANDS)
VERSION_HEADER = Path(__file__).resolve().parent.parent / "src" / "res" / "version.h.in"


def spdx_id(kind, name):
    return f"SPDXRef-{kind}-" + re.sub(r"[^A-Za-z0-9.-]", "-", name.replace("+", "p"))


def checksums(data, *algorithms):
    return [{"algorithm": a.upper(), "checksumValue": hashlib.new(a, data).hexdigest()}
            for a in algorithms]


def program_copyright():
    found = re.search(r'^#define VARNOCK_COPYRIGHT "(.*)"$', VERSION_HEADER.read_text(encoding="utf-8"), re.M)
    if not found:
        sys.exit(f"release: {VERSION_HEADER} gives no VARNOCK_COPYRIGHT for the bill of materials")
    return found.group(1)


def member_file(name, data):
    kind = "BINARY" if name in PROGRAMS else "TEXT"
    return {"SPDXID": spdx_id("File", name), "fileName": "./" + name,
            "checksums": checksums(data, "sha1", "sha256"), "fileTypes": [kind],
            "licenseConcluded": "NOASSERTION",
            "copyrightText": program_copyright() if name in PROGRAMS else "NOASSERTION"}


def component_package(c):
    distribution = c["distribution"]
    purl = (f"pkg:deb/{distribution['ID'] or 'debian'}/{c['package']}@{c['packageVersion']}"
            f"?arch={c['architecture']}")
    if distribution["VERSION_CODENAME"]:
        purl += f"&distro={distribution['VERSION_CODENAME']}"
    return {
        "SPDXID": spdx_id("Package", c["name"]), "name": c["name"], "versionInfo": c["version"],
        "summary": c["summary"], "primaryPackagePurpose": "LIBRARY",
        "supplier": f"Organization: {distribution['NAME'] or 'Debian'}",
        "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
        "sourceInfo": (f"Linked from {', '.join(c['libraries'])} of the package "
                       f"{c['package']} {c['packageVersion']}"),
        "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                          "referenceLocator": purl.replace("+", "%2B")}],
        "licenseDeclared": c["license"], "licenseConcluded": "NOASSERTION",
        "copyrightText": c["copyright"],
    }


def document(version, epoch, archive, url, found):
    with zipfile.ZipFile(archive) as z:
        members = [(info.filename, z.read(info)) for info in z.infolist()]
    missing = set(PROGRAMS) - {name for name, _ in members}
    if missing:
        sys.exit(f"release: the archive lacks {', '.join(sorted(missing))}")
    files = [member_file(name, data) for name, data in members]
    varnock = {
        "SPDXID": "SPDXRef-Package-Varnock", "name": "Varnock", "versionInfo": version,
        "summary": SHORT_DESCRIPTION, "primaryPackagePurpose": "APPLICATION",
        "supplier": "Organization: Halberwick", "homepage": PROGRAM_PAGE, "downloadLocation": url,
        "packageFileName": Path(archive).name,
        "checksums": checksums(Path(archive).read_bytes(), "sha256"),
        "filesAnalyzed": True,
        # SHA-1 of the members' SHA-1s, sorted: SPDX's own check of a package's files.
        "packageVerificationCode": {"packageVerificationCodeValue": hashlib.sha1("".join(
            sorted(f["checksums"][0]["checksumValue"] for f in files)).encode()).hexdigest()},
        "licenseDeclared": "NOASSERTION", "licenseConcluded": "NOASSERTION",
        "licenseComments": f'The publisher calls the programs "{LICENSE}"; that names no licence text.',
        "copyrightText": program_copyright(),
    }
    packages = [varnock] + [component_package(c) for c in found]
    relationships = [("SPDXRef-DOCUMENT", "DESCRIBES", varnock["SPDXID"])]
    relationships += [(varnock["SPDXID"], "CONTAINS", f["SPDXID"]) for f in files]
    relationships += [(spdx_id("File", program), "STATIC_LINK", spdx_id("Package", c["name"]))
                      for program in PROGRAMS for c in found]
    extracted = {}
    for c in found:
        for licence_id, licence in c["extracted"].items():
            if extracted.setdefault(licence_id, licence) != licence:
                sys.exit(f"release: two copyright files give different texts for {licence_id}")
    doc = {
        "SPDXID": "SPDXRef-DOCUMENT", "spdxVersion": "SPDX-2.3", "dataLicense": "CC0-1.0",
        "name": Path(archive).stem,
        "creationInfo": {"created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch)),
                         "creators": ["Organization: Halberwick", f"Tool: varnock-release-{version}"]},
        "packages": sorted(packages, key=lambda p: p["SPDXID"]),
        "files": sorted(files, key=lambda f: f["SPDXID"]),
        "relationships": [{"spdxElementId": a, "relationshipType": kind, "relatedSpdxElement": b}
                          for a, kind, b in sorted(relationships)],
        "hasExtractedLicensingInfos": [
            {"licenseId": licence_id, "name": licence["name"], "extractedText": licence["text"]}
            for licence_id, licence in sorted(extracted.items())],
    }
    # Unique to this content, and the same whenever the content is.
    digest = uuid.uuid5(uuid.NAMESPACE_URL, json.dumps(doc, sort_keys=True))
    doc["documentNamespace"] = f"{PUBLISHER_URL}/spdx/varnock-{version}-{digest}"
    return doc


def main():
    version, epoch, archive, url, listing, out = sys.argv[1:]
    found = json.loads(Path(listing).read_text(encoding="utf-8"))
    doc = document(version, int(epoch), archive, url, found)
    Path(out).write_text(json.dumps(doc, indent=2, sort_keys=True, ensure_ascii=False) + "\n",
                         encoding="utf-8", newline="\n")


if __name__ == "__main__":
    main()
