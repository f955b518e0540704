#!/usr/bin/env python3
"""A signed module of the size of a real raw-camera plug-in, for the benchmark.

    make_large_module.py --module DLL --pki DIR --osslsigncode EXE --megabytes N --out DLL

The fixture DLL gets N MiB of data after its last section, which the
signature's hash covers as it covers a large module's own sections, and is
then signed by the test publisher.
"""
import argparse
import os
import subprocess

SIGNING_TIME = "1704067200"


def main():
    parser = argparse.ArgumentParser()
    for option in ("--module", "--pki", "--osslsigncode", "--out"):
        parser.add_argument(option, required=True)
    parser.add_argument("--megabytes", type=int, required=True)
    args = parser.parse_args()
    padded = args.out + ".unsigned"
    with open(args.module, "rb") as source, open(padded, "wb") as target:
        target.write(source.read())
        block = bytes(range(256)) * 4096  # 1 MiB that no run of zeros shortens
        for _ in range(args.megabytes):
            target.write(block)
    if os.path.exists(args.out):
        os.remove(args.out)  # osslsigncode will not overwrite
    subprocess.run([args.osslsigncode, "sign", "-certs",
                    os.path.join(args.pki, "publisher-chain.pem"),
                    "-key", os.path.join(args.pki, "publisher-key.pem"), "-h", "sha256",
                    "-time", SIGNING_TIME, "-in", padded, "-out", args.out],
                   check=True, stdout=subprocess.DEVNULL)
    os.remove(padded)


if __name__ == "__main__":
    main()
