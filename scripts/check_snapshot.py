#!/usr/bin/python3
"""Checks the run command's picture of the Encoder window.

Arguments: the picture (BMP), the typed text, and the data field's place in the picture
("L T R B", as encoder_snapshot prints it). The data field must show one line of dark glyphs
about as wide as the text, and the painted symbol must read back (zxing-cpp) to the text.
"""
import sys

import zxingcpp
from PIL import Image


def main():
    path, text = sys.argv[1], sys.argv[2]
    left, top, right, bottom = (int(v) for v in sys.argv[3:7])
    image = Image.open(path).convert("L")
    ok = True

    # The data field: its text, a run of dark glyph pixels from its left edge on.
    field = image.crop((left + 4, top + 4, right - 24, bottom - 4))  # inside the frame, left of the scroll bar
    w, h = field.size
    px = field.load()
    columns = [x for x in range(w) if any(px[x, y] < 96 for y in range(h))]
    rows = [y for y in range(h) if any(px[x, y] < 96 for x in range(w))]
    if not columns:
        print("check: the data field in the picture is empty")
        ok = False
    else:
        width, height = columns[-1] - columns[0] + 1, rows[-1] - rows[0] + 1
        if not (3 * len(text) <= width <= 14 * len(text)) or not (6 <= height <= 30) or columns[0] > 12:
            print("check: the data field shows %d x %d pixels of text at %d, not one line of %d characters"
                  % (width, height, columns[0], len(text)))
            ok = False
        else:
            print("check: the data field shows one line of text, %d x %d pixels" % (width, height))

    # The painted symbol, below the data field.
    below = image.crop((0, bottom, image.width, image.height))
    results = zxingcpp.read_barcodes(below)
    read = [r.text for r in results]
    if read != [text]:
        print("check: the painted symbol reads %r, want %r" % (read, text))
        ok = False
    else:
        print("check: the painted %s symbol reads back \"%s\"" % (results[0].format.name, text))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
