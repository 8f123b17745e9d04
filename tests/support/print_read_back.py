#!/usr/bin/python3
"""Judges the pages that Encoder printed to a PostScript file under Wine (tests/desktop_win/print_test.cpp).

Argument: the folder holding manifest.tsv and the pages. A manifest line: the PostScript file,
the zxing-cpp format of its symbol (or POSTNET, which zxing-cpp does not read: the bars' heights
are read here), the number of barcode lines, the symbology's display name, the barcode face and
the data. Ghostscript gives each character with its font, size and place (txtwrite) and a
picture of the page (pnggray); each barcode line of the picture is cropped from where its font
text starts and read back from the smallest size that a 300-dpi page can carry (SMALLEST). Fails
when any page shows otherwise or when there is none. A Maxicode symbol must also show its
finder's rings at every size.
"""
import html
import math
import os
import re
import subprocess
import sys
import tempfile

import zxingcpp
from PIL import Image

ADDRESS = "https://www.kestrivo.example/"
DPI = 300
# The smallest printed size that must read, by format (8 points when not named). At 300 dpi a
# module of 8 points is 2.06 dots and its edges fall between dots: Code 128 still reads, DataBar
# Expanded (elements of one module in a 1-to-9 ratio) does not; the band glyphs of matrix
# symbols join into whole rows from 12 points on.
SMALLEST = {"DataBarExpanded": 10, "QRCode": 12, "DataMatrix": 12, "PDF417": 12, "Aztec": 12, "MaxiCode": 12}
CHAR = re.compile(r'<span bbox="(\d+) (\d+) \d+ \d+" font="([^"]*)" size="([^"]*)">\s*<char [^>]*c="([^"]*)"/>')


def runs(ps):
    """The page's text as runs of characters of one font and size: [font, size, x, y, text]."""
    out = subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=txtwrite", "-dTextFormat=0",
                          "-sOutputFile=-", ps], check=True, capture_output=True, text=True).stdout
    result = []
    for x, y, font, size, c in CHAR.findall(out):
        size = float(size)
        if result and result[-1][0] == font and abs(result[-1][1] - size) < 0.01:
            result[-1][4] += html.unescape(c)
        else:
            result.append([font, size, int(x), int(y), html.unescape(c)])
    return result


def kind(font):
    """The class of a text face: the page asks for Times New Roman (the test's serif stand-in)
    and Arial (its sans stand-in)."""
    italic = "Italic" in font or "Oblique" in font
    return ("serif" if "Serif" in font else "sans") + (" italic" if italic else "")


def squeeze(text):
    return "".join(text.split())


def check_text(page, lines, row, face, data, problems):
    """Checks the page's text runs; returns where each barcode line's font text starts (points)."""
    got = runs(page)
    want = [("Kestrivo", "serif italic", 16), (ADDRESS, "sans italic", 12),
            ("Barcode Symbology: ", "serif", 12), (row, "serif italic", 12),
            (";     Font Facename: ", "serif", 12), (face, "serif italic", 12),
            ("Data To Encode: ", "serif", 12), (data + "     ", "serif italic", 12)]
    sizes = [12] if lines == 1 else [8, 10, 12, 14]
    for size in sizes:
        want.append(("Point Size 12 : " if lines == 1 else "Point Size %d :    " % size, "serif", 12))
        want.append((None, face, size))
    if len(got) != len(want):
        problems.append("%d runs of text, want %d: %s" % (len(got), len(want), [(r[0], r[4]) for r in got]))
        return []
    for (font, size, x, y, text), (wtext, wfont, wsize) in zip(got, want):
        if wtext is None:  # the font text: its glyphs are bars, only face and size matter
            ok = font.lower() == wfont.lower() and abs(size - wsize) < 0.5
        else:
            ok = squeeze(text) == squeeze(wtext) and kind(font) == wfont and abs(size - wsize) < 0.5
        if not ok:
            problems.append("run %r in %s %.2f, want %r in %s %d" % (text, font, size, wtext, wfont, wsize))
    # Lines start at the quarter-inch margin, one under another.
    starts = [r for r, w in zip(got, want) if w[0] in ("Kestrivo", ADDRESS, "Barcode Symbology: ", "Data To Encode: ")
              or (w[0] or "").startswith("Point Size")]
    if any(r[2] != 18 for r in starts):
        problems.append("a line does not start at the quarter-inch margin: %s" % [(r[4], r[2]) for r in starts])
    if any(b[3] <= a[3] for a, b in zip(starts, starts[1:])):
        problems.append("lines out of order: %s" % [(r[4], r[3]) for r in starts])
    return [r[2] for r, w in zip(got, want) if w[0] is None]


def bands(image):
    """The rows of the page holding ink, as (top, bottom) runs with at least one clear row between."""
    w, h = image.size
    px = image.load()
    inked = [any(px[x, y] < 128 for x in range(0, w)) for y in range(h)]
    out, start = [], None
    for y, ink in enumerate(inked + [False]):
        if ink and start is None:
            start = y
        elif not ink and start is not None:
            out.append((start, y))
            start = None
    return out


def symbol_of(image, top, bottom, left):
    """The line's ink from `left` (pixels) rightwards, with a white margin."""
    w, _ = image.size
    px = image.load()
    right = max(x for x in range(left, w) if any(px[x, y] < 128 for y in range(top, bottom)))
    margin = DPI // 4
    crop = image.crop((left, top, right + 1, bottom))
    framed = Image.new("L", (crop.size[0] + 2 * margin, crop.size[1] + 2 * margin), 255)
    framed.paste(crop, (margin, margin))
    return framed


def read_postnet(image):
    """POSTNET digits from the bars' heights (a tall frame bar at each end, five bars with two
    tall ones a digit, weights 7 4 2 1 0, 11 for 0), check digit included; None when malformed."""
    w, h = image.size
    px = image.load()
    heights = [sum(1 for y in range(h) if px[x, y] < 128) for x in range(w)]
    bars, x = [], 0
    while x < w:
        if heights[x]:
            tallest = 0
            while x < w and heights[x]:
                tallest = max(tallest, heights[x])
                x += 1
            bars.append(tallest)
        else:
            x += 1
    if len(bars) < 7:
        return None
    cut = (max(bars) + min(bars)) / 2
    tall = [b > cut for b in bars]
    if not (tall[0] and tall[-1]) or (len(tall) - 2) % 5:
        return None
    digits = ""
    for i in range(1, len(tall) - 1, 5):
        group = tall[i:i + 5]
        value = sum(weight for weight, t in zip((7, 4, 2, 1, 0), group) if t)
        if sum(group) != 2 or value not in (1, 2, 3, 4, 5, 6, 7, 8, 9, 11):
            return None
        digits += str(value % 11)
    return digits


def maxicode_finder_problem(image):
    """What is wrong with the finder of the Maxicode symbol in `image` (None when nothing): the
    ink's box gives the module width (30 across) and a first guess of the centre (row 16, column
    14), the outer ring's crossings on a line and a column refine it, and rays every 10 degrees
    must each cross three dark rings where ISO/IEC 16023 has them: dark from 0.58 to 1.34, 2.11
    to 2.88 and 3.64 to 4.40 module widths, light between and inside, within a fifth of a
    module and a dot."""
    w, h = image.size
    px = image.load()
    ink = [(x, y) for y in range(h) for x in range(w) if px[x, y] < 128]
    if not ink:
        return "no symbol"
    x0, x1 = min(p[0] for p in ink), max(p[0] for p in ink)
    y0 = min(p[1] for p in ink)
    module = (x1 + 1 - x0) / 30.0
    cx, cy = x0 + 14.5 * module, y0 + module / math.sqrt(3) + 16 * module * math.sqrt(3) / 2

    def dark(x, y):
        x, y = int(math.floor(x)), int(math.floor(y))
        return 0 <= x < w and 0 <= y < h and px[x, y] < 128

    def runs(x, y, dx, dy, start, reach):
        out, inside, t = [], False, start
        while t <= reach:
            d = dark(x + t * dx, y + t * dy)
            if d and not inside:
                out.append([t, t])
            if d:
                out[-1][1] = t + 0.1
            inside, t = d, t + 0.1
        return out

    for _ in range(2):
        across = runs(cx, cy, 1, 0, -4.4 * module, 4.4 * module)
        if len(across) < 2:
            return "no rings across the centre row"
        cx += (across[0][0] + across[-1][1]) / 2
        down = runs(cx, cy, 0, 1, -4.4 * module, 4.4 * module)
        if len(down) < 2:
            return "no rings down the centre column"
        cy += (down[0][0] + down[-1][1]) / 2
    want = [(0.58, 1.34), (2.11, 2.88), (3.64, 4.40)]
    tolerance = 0.2 * module + 1
    for degrees in range(0, 360, 10):
        a = math.radians(degrees)
        found = runs(cx, cy, math.cos(a), math.sin(a), 0, 4.3 * module)
        if len(found) != 3 or any(abs(f[0] - lo * module) > tolerance or abs(f[1] - hi * module) > tolerance
                                  for f, (lo, hi) in zip(found, want)):
            return "the ray at %d degrees crosses dark at %s module widths" % (
                degrees, ", ".join("%.2f-%.2f" % (f[0] / module, f[1] / module) for f in found) or "none")
    return None


def read_symbol(image, fmt):
    if fmt == "POSTNET":
        return read_postnet(image)
    results = zxingcpp.read_barcodes(image, formats=getattr(zxingcpp.BarcodeFormat, fmt))
    return results[0].text if results else None


def check_symbols(page, fmt, lines, data, starts, problems):
    with tempfile.TemporaryDirectory() as tmp:
        png = os.path.join(tmp, "page.png")
        subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pnggray", "-r%d" % DPI,
                        "-sOutputFile=" + png, page], check=True)
        image = Image.open(png).convert("L")
    found = bands(image)
    # Header, address, the two label lines, then the barcode lines.
    if len(found) != 4 + lines:
        problems.append("%d lines of ink on the page, want %d" % (len(found), 4 + lines))
        return
    if len(starts) != lines:
        return  # the text check has told why
    if fmt == "POSTNET":
        check = (10 - sum(int(d) for d in data) % 10) % 10
        data += str(check)
    sizes = [12] if lines == 1 else [8, 10, 12, 14]
    for (top, bottom), size, start in zip(found[4:], sizes, starts):
        symbol = symbol_of(image, top, bottom, int(start * DPI / 72) - 2)
        if fmt == "MaxiCode":
            finder = maxicode_finder_problem(symbol)
            if finder:
                problems.append("%d pt symbol's finder: %s" % (size, finder))
        text = read_symbol(symbol, fmt)
        if text != data and size >= SMALLEST.get(fmt, 8):
            problems.append("%d pt symbol reads %r, want %r" % (size, text, data))
        print("  %d pt: %s" % (size, "read" if text == data else "not read (%r)" % text))


def main():
    folder = sys.argv[1]
    manifest = os.path.join(folder, "manifest.tsv")
    with open(manifest, encoding="utf-8") as f:
        entries = [l.rstrip("\n").split("\t") for l in f if l.strip()]
    os.remove(manifest)  # judged once: a later run must print its own pages
    failed = 0
    for name, fmt, lines, row, face, data in entries:
        page = os.path.join(folder, name)
        problems = []
        print(name)
        starts = check_text(page, int(lines), row, face, data, problems)
        check_symbols(page, fmt, int(lines), data, starts, problems)
        for p in problems:
            print("FAIL %s: %s" % (name, p))
        failed += bool(problems)
    print("printed pages: %d, %d failed" % (len(entries), failed))
    return 1 if failed or not entries else 0


if __name__ == "__main__":
    sys.exit(main())
