#!/usr/bin/python3
"""Reads a batch of PGM images with zxing-cpp; one tab-separated result line per image.

Input, one line per image: path, format name, pure (0 or 1).
Output, one line per image: index, found (0/1), format, symbology identifier,
bytes in hex, text as UTF-8 in hex.
"""
import sys

import zxingcpp
from PIL import Image


def read_one(path, fmt, pure):
    """The first symbol of format `fmt` in the image, or None."""
    image = Image.open(path)
    formats = getattr(zxingcpp.BarcodeFormat, fmt)
    try:
        results = zxingcpp.read_barcodes(image, formats=formats, is_pure=pure)
    except Exception:  # a symbol the reader chokes on counts as not read
        results = []
    return results[0] if results else None


def main():
    out = []
    with open(sys.argv[1]) as manifest:
        for index, line in enumerate(manifest):
            path, fmt, pure = line.rstrip("\n").split("\t")
            r = read_one(path, fmt, pure == "1")
            if r:
                out.append("%d\t1\t%s\t%s\t%s\t%s" % (index, r.format.name, r.symbology_identifier,
                                                      bytes(r.bytes).hex(), r.text.encode("utf-8", "surrogatepass").hex()))
            else:
                out.append("%d\t0\t\t\t\t" % index)
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
