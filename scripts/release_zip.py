#!/usr/bin/python3
"""release_zip.py EPOCH ARCHIVE FILE...: a zip of FILEs at its root, in the
order given, every member with the same time (EPOCH, in UTC) and the same
plain attributes, so the archive's bytes depend on the files' bytes alone."""
import sys
import time
import zipfile
from pathlib import Path


def main():
    epoch, archive, files = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    # A zip's times are local DOS times from 1980 on, without a zone.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(archive, "w") as out:
        for file in files:
            member = zipfile.ZipInfo(Path(file).name, date_time=stamp)
            member.create_system = 0  # MS-DOS attributes, as a Windows zip has
            member.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            member.compress_type = zipfile.ZIP_DEFLATED
            out.writestr(member, Path(file).read_bytes(), compresslevel=9)


if __name__ == "__main__":
    main()
