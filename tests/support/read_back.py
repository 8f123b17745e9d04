#!/usr/bin/python3
"""Reads back the symbols that a Windows test program wrote (tests/support/read_back.h).

Argument: a folder; every manifest.tsv below it is read. A manifest line holds the image
file, the format name, pure (0/1), the field compared ("text" or "bytes"), the expected
data in hex and a label. Fails when any symbol reads otherwise or when there is none.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from read_barcodes import read_one  # noqa: E402


def main():
    root = sys.argv[1]
    total = failed = 0
    for folder, _, files in sorted(os.walk(root)):
        if "manifest.tsv" not in files:
            continue
        manifest = os.path.join(folder, "manifest.tsv")
        with open(manifest, encoding="utf-8") as f:
            lines = [l.rstrip("\n").split("\t") for l in f if l.strip()]
        for name, fmt, pure, field, want, label in lines:
            total += 1
            r = read_one(os.path.join(folder, name), fmt, pure == "1")
            if r is None:
                got = None
            elif field == "bytes":
                got = bytes(r.bytes).hex()
            else:
                got = r.text.encode("utf-8", "surrogatepass").hex()
            if got != want:
                failed += 1
                print("FAIL %s (%s): read %s, want %s" % (label, folder, got, want))
        os.remove(manifest)
    print("read back: %d symbols, %d failed" % (total, failed))
    return 1 if failed or total == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
