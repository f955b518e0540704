#!/usr/bin/python3
"""release_components.py COMPILER VERSION NOTICES COMPONENTS: what the static
link puts into both programs besides their own code, read from the installed
toolchain. For each component: the libraries COMPILER links, the Debian
package they come from and its version, and the copyright and permission
notices that package's copyright file gives. Writes NOTICES (the archive's
THIRD-PARTY-NOTICES.txt, Windows text) and COMPONENTS (JSON, which
release_sbom.py reads). Fails, saying what is missing, when a library, its
package or a needed text cannot be found: a release must not ship without
the notices its licences ask for."""
import json
import os
import re
import subprocess
import sys
from pathlib import Path

# Debian's licence names as SPDX identifiers. A name not here (public
# domain, or a notice of its own) becomes a LicenseRef carrying its text.
SPDX_IDS = {
    "expat": "MIT", "bsd-3-clause": "BSD-3-Clause", "bsd-3-clause-lockless": "BSD-3-Clause",
    "bsd-3-clause-mingw-w64": "BSD-3-Clause", "bsd-2-clause": "BSD-2-Clause",
    "bsd-2-clause-netbsd": "BSD-2-Clause", "isc": "ISC", "zpl-2.1": "ZPL-2.1",
    "gpl-2+": "GPL-2.0-or-later", "gpl-3+": "GPL-3.0-or-later",
    "lgpl-2+": "LGPL-2.0-or-later", "lgpl-2.1+": "LGPL-2.1-or-later",
}
GCC_RUNTIME_LICENSE = "GPL-3.0-or-later WITH GCC-exception-3.1"


class ReleaseError(Exception):
    pass


def paragraphs(text):
    return [p.strip("\n") for p in re.split(r"\n[ \t]*\n", text) if p.strip()]


def flat(text):
    return " ".join(text.split())


class Dep5:
    """The stanzas of a machine-readable copyright file that cover the files
    under one source folder, less the folders the link never takes."""

    def __init__(self, under, not_linked=()):
        self.under, self.not_linked = under, tuple(not_linked)

    def linked(self, pattern):
        return pattern.startswith(self.under) and not pattern.startswith(self.not_linked)

    def read(self, name, text):
        stanzas = [(p, fields(p)) for p in paragraphs(text)]
        # Later stanzas override "*"; it still covers the folder unless one claims all of it.
        claimed = any(self.under + "*" in f.get("Files", "").split() for _, f in stanzas)
        chosen = [(p, f) for p, f in stanzas if "Files" in f and any(
            self.linked(pattern) or (pattern == "*" and not claimed) for pattern in f["Files"].split())]
        if not chosen:
            raise ReleaseError(f"the copyright file names no files under {self.under} for {name}")
        # Licence texts given once for all the stanzas that name them.
        texts = {}
        for p, f in stanzas:
            licence, *body = f.get("License", "").split("\n", 1) if "Files" not in f else [""]
            if licence and body and body[0].strip():
                texts[licence.strip().lower()] = (p, body[0])
        notices, standalone, ids, extracted, copyrights = [], [], [], {}, []
        for paragraph, f in chosen:
            notices.append(paragraph)
            copyrights += [line.strip() for line in f.get("Copyright", "").split("\n")]
            names, *own = f.get("License", "").split("\n", 1)
            if re.search(r"\sor\s", names):
                raise ReleaseError(f"{name} is offered under a choice of licences ({names.strip()}): "
                                   "say which one the release takes")
            for licence in re.split(r"\s+and\s+|\s*,\s*", names.strip()):
                if not licence:
                    raise ReleaseError(f"a stanza for {name} in the copyright file has no licence")
                if own and own[0].strip():
                    body = own[0]
                elif licence.lower() in texts:
                    given, body = texts[licence.lower()]
                    if given not in standalone:
                        standalone.append(given)
                else:
                    raise ReleaseError(f"the copyright file gives no text of the licence "
                                       f"{licence!r}, which {name} needs")
                spdx = SPDX_IDS.get(licence.lower())
                if spdx is None:
                    spdx = "LicenseRef-" + re.sub(r"[^A-Za-z0-9.-]", "-", licence)
                    extracted.setdefault(spdx, {"name": licence, "text": license_text(body)})
                if spdx not in ids:
                    ids.append(spdx)
        return {"notices": "\n\n".join(notices + standalone), "license": " AND ".join(ids),
                "copyright": "\n".join(dict.fromkeys(c for c in copyrights if c)),
                "extracted": extracted}


def fields(paragraph):
    """{field: value} of one stanza, continuation lines kept as they are."""
    result, key = {}, None
    for line in paragraph.split("\n"):
        if line[:1] in (" ", "\t") and key:
            result[key] += "\n" + line
        elif ":" in line:
            key, value = line.split(":", 1)
            result[key] = value.strip()
    return result


def license_text(body):
    """A stanza's licence text as plain lines: one leading space off, "." a blank line."""
    lines = [line[1:] if line[:1] == " " else line.strip() for line in body.split("\n")]
    return "\n".join("" if line.strip() == "." else line.rstrip() for line in lines).strip("\n")


class GccRuntime:
    """GCC's own copyright file is prose: the copyright and licence of GCC,
    the list of runtime libraries under the Runtime Library Exception, and
    the exception's text."""

    def __init__(self, folder):
        self.folder = folder

    def read(self, name, text):
        parts = paragraphs(text)

        def find(start, after=0):
            for i in range(after, len(parts)):
                if flat(parts[i]).startswith(start):
                    return i
            raise ReleaseError(f"the copyright file has no paragraph starting {start!r}, "
                               f"which {name}'s notices need")
        gcc = find("GCC is Copyright")
        runtime = find("The following runtime libraries are licensed", gcc)
        listed = runtime + 1
        exception = find("GCC RUNTIME LIBRARY EXCEPTION")
        exception_end = find("The availability of this Exception", find("2. No Weakening", exception))
        licence = flat("\n".join(parts[gcc:listed + 1]))
        if ("either version 3, or (at your option) any later version" not in licence
                or "with version 3.1 of the GCC Runtime Library Exception" not in licence
                or not re.search(rf"^\s*- {re.escape(self.folder)}\b", "\n".join(parts[listed:listed + 1]), re.M)):
            raise ReleaseError(f"the copyright file no longer says that {self.folder} is under "
                               f"{GCC_RUNTIME_LICENSE}: read it and say so in {__file__}")
        return {"notices": "\n\n".join(parts[gcc:listed + 1] + parts[exception:exception_end + 1]),
                "license": GCC_RUNTIME_LICENSE, "copyright": flat(parts[gcc]), "extracted": {}}


# Each component the link takes in, the libraries that carry it as the
# compiler names them, and how its notices are found. Profiling (-pg) and
# the libraries' own tests are never linked.
COMPONENTS = [
    ("winpthreads", "MinGW-w64's POSIX threads library", ["libpthread.a"],
     Dep5("mingw-w64-libraries/winpthreads/", ["mingw-w64-libraries/winpthreads/tests_pthread/"])),
    ("mingw-w64-crt", "MinGW-w64's C runtime",
     ["crt2.o", "libmingw32.a", "libmingwex.a", "libmoldname.a", "libmsvcrt.a"],
     Dep5("mingw-w64-crt/", ["mingw-w64-crt/profile/", "mingw-w64-crt/testcases/"])),
    ("libstdc++", "GCC's C++ standard library", ["libstdc++.a"], GccRuntime("libstdc++-v3")),
    ("libgcc", "GCC's low-level runtime", ["libgcc.a", "libgcc_eh.a", "crtbegin.o", "crtend.o"],
     GccRuntime("libgcc")),
]


def run(*command):
    """The command's output, or None when it fails or is not installed."""
    try:
        result = subprocess.run(command, capture_output=True, text=True)
    except OSError:
        return None
    return result.stdout if result.returncode == 0 else None


def package_of(compiler, library):
    path = (run(compiler, f"-print-file-name={library}") or "").strip()
    if not os.path.isabs(path) or not os.path.isfile(path):
        raise ReleaseError(f"{compiler} does not find {library}")
    for candidate in dict.fromkeys([os.path.normpath(path), os.path.realpath(path)]):
        owners = [line for line in (run("dpkg-query", "-S", candidate) or "").splitlines()
                  if ": " in line and not line.startswith("diversion ")]
        if owners:
            return owners[0].rsplit(": ", 1)[0].split(", ")[0].split(":")[0]
    raise ReleaseError(f"{path} ({library}) belongs to no installed package, so nothing says "
                       "whose it is or under which licence")


def copyright_file(package):
    listed = [line for line in (run("dpkg-query", "-L", package) or "").splitlines()
              if re.fullmatch(r"/usr/share/doc/[^/]+/copyright", line)]
    for path in listed + [f"/usr/share/doc/{package}/copyright"]:
        if os.path.isfile(path):
            return os.path.realpath(path)
    raise ReleaseError(f"the package {package} has no copyright file")


def os_release():
    text = Path("/etc/os-release").read_text(encoding="utf-8") if Path("/etc/os-release").exists() else ""
    return {k: v.strip('"') for k, v in re.findall(r"^(\w+)=(.*)$", text, re.M)}


def components(compiler):
    system = os_release()
    found = []
    for name, summary, libraries, notices in COMPONENTS:
        packages = sorted({package_of(compiler, library) for library in libraries})
        if len(packages) != 1:
            raise ReleaseError(f"{name}'s libraries come from several packages ({', '.join(packages)})")
        [package] = packages
        queried = (run("dpkg-query", "-W", "-f=${Version}\n${Architecture}", package) or "").splitlines()
        version, architecture = (queried + ["", ""])[:2]
        if not version:
            raise ReleaseError(f"dpkg gives no version of {package}")
        path = copyright_file(package)
        found.append({
            "name": name, "summary": summary, "libraries": libraries, "package": package,
            "packageVersion": version, "architecture": architecture, "copyrightFile": path,
            # Debian's version less its epoch and revision is the upstream release.
            "version": re.sub(r"^\d+:", "", version).rsplit("-", 1)[0],
            "distribution": {k: system.get(k, "") for k in ("ID", "NAME", "VERSION_CODENAME")},
            **notices.read(name, Path(path).read_text(encoding="utf-8")),
        })
    return found


def notices_text(version, found):
    rule = "=" * 76
    lines = [f"Varnock {version}: third-party notices", "",
             "Varnock.exe and varnock-report.exe are linked statically with the",
             "components below, so each program carries parts of them. Their licences",
             "ask that these copyright and permission notices come with every copy.",
             "They are reproduced from the copyright files of the packages the",
             "release was built with; licences are named as SPDX expressions.", ""]
    shown = {}
    for c in found:
        lines += [rule, f"{c['name']} {c['version']}: {c['summary']}",
                  f"Licence: {c['license']}",
                  f"Package: {c['package']} {c['packageVersion']}",
                  f"Notices from: {c['copyrightFile']}", rule, ""]
        if c["notices"] in shown:
            lines += [f"The notices are those given for {shown[c['notices']]} above.", ""]
        else:
            shown[c["notices"]] = c["name"]
            lines += [line.rstrip() for line in c["notices"].split("\n")] + [""]
    return "\r\n".join(lines)


def main():
    compiler, version, notices, listing = sys.argv[1:]
    try:
        found = components(compiler)
    except ReleaseError as error:
        sys.exit(f"release: third-party notices: {error}")
    Path(notices).write_bytes(notices_text(version, found).encode("utf-8"))
    Path(listing).write_text(json.dumps(found, indent=2, sort_keys=True) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
