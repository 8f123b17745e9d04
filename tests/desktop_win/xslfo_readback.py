#!/usr/bin/python3
"""Judges the XSL-FO documents that the batch dialog exported under Wine.

Arguments: the export folder and the folder of the generated barcode TrueType fonts.
For every NAME.expect in the folder (lines: zxing-cpp format name, tab, the record's data),
NAME.xml must be well-formed (xmllint and Python's parser), hold one table row per record;
when symbols are expected, Apache FOP sets it to PDF with the barcode fonts, pdftoppm
rasterises it and zxing-cpp must read exactly the expected symbols. Fails when any check
fails or when there is no document at all.

An XML 1.1 document (control characters written as character references) must be one that
needs it; xmllint and Python's parser read XML 1.0 only, so they are given a shadow of it in
which each reference that only XML 1.1 allows stands for a private-use character; FOP reads
the document itself.
"""
import glob
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import zxingcpp
from PIL import Image

FO = "{http://www.w3.org/1999/XSL/Format}"


def fop_config(font_dir, path):
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0"?>\n<fop version="1.0">\n  <renderers>\n'
                '    <renderer mime="application/pdf">\n      <fonts>\n'
                '        <directory>%s</directory>\n'
                '      </fonts>\n    </renderer>\n  </renderers>\n</fop>\n' % font_dir)


def ink_strips(image, gap=40):
    """(top, bottom) of every run of rows holding dark pixels, runs closer than `gap` joined."""
    width = image.width
    data = image.tobytes()
    strips = []
    for y in range(image.height):
        row = data[y * width:(y + 1) * width]
        if min(row) < 128:
            if strips and y - strips[-1][1] <= gap:
                strips[-1][1] = y
            else:
                strips.append([y, y])
    return [(t, b + 1) for t, b in strips]


def symbols_of(pdf, work):
    stem = os.path.join(work, "page")
    subprocess.run(["pdftoppm", "-r", "300", "-gray", "-png", pdf, stem], check=True)
    found = []
    for page in sorted(glob.glob(stem + "*.png")):
        image = Image.open(page).convert("L")
        # One symbol per strip: the reader is given each run of inked rows alone.
        for top, bottom in ink_strips(image):
            strip = Image.new("L", (image.width, bottom - top + 200), 255)
            strip.paste(image.crop((0, top, image.width, bottom)), (0, 100))
            # At 300 dpi a module is not a whole number of pixels; the reader's binarizer
            # may need the strip at a smaller scale.
            for scale in (1, 2, 3):
                small = strip.resize((strip.width // scale, strip.height // scale)) if scale > 1 else strip
                results = zxingcpp.read_barcodes(small)
                if results:
                    found.extend((r.format.name, r.text) for r in results)
                    break
        os.remove(page)
    return found


def only_in_xml11(value):
    return value in (0x85, 0x2028) or (value < 0x20 and value not in (9, 10, 13)) or 0x7F <= value <= 0x9F


def xml10_shadow(doc, work):
    """The path of the document to give an XML 1.0 reader, or a problem text."""
    with open(doc, "rb") as f:
        text = f.read().decode("utf-16")
    head11 = '<?xml version="1.1"'
    if not text.startswith(head11):
        return doc, None
    if any(only_in_xml11(ord(c)) for c in text):
        return None, "a character XML 1.1 allows only as a reference is written raw"
    shadow = re.sub("&#x([0-9A-Fa-f]+);", lambda m: chr(0xF0000 + int(m.group(1), 16))
                    if only_in_xml11(int(m.group(1), 16)) else m.group(0), text[len(head11):])
    if shadow == text[len(head11):]:
        return None, "an XML 1.1 head without a reference that needs it"
    path = os.path.join(work, "shadow.xml")
    with open(path, "wb") as f:
        f.write(('<?xml version="1.0"' + shadow).encode("utf-16"))
    return path, None


def judge(doc, expected, font_dir, work):
    problems = []
    parsed, problem = xml10_shadow(doc, work)
    if problem:
        return [problem]
    if subprocess.run(["xmllint", "--noout", parsed]).returncode != 0:
        return ["xmllint refuses the document"]
    root = ET.parse(parsed).getroot()
    rows = list(root.iter(FO + "table-row"))
    if root.tag != FO + "root" or not rows:
        problems.append("no fo:root with table rows")
    if not expected:
        return problems
    conf = os.path.join(work, "fop.xconf")
    fop_config(font_dir, conf)
    pdf = os.path.join(work, "out.pdf")
    run = subprocess.run(["fop", "-q", "-c", conf, "-fo", doc, "-pdf", pdf],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if run.returncode != 0 or not os.path.exists(pdf):
        return problems + ["fop failed: " + run.stdout[-2000:]]
    # Every face of the document must have been found: no fallback font stands in.
    families = {b.get("font-family") for b in root.iter(FO + "block") if b.get("font-family")}
    for family in families:
        listed = subprocess.run(["pdffonts", pdf], stdout=subprocess.PIPE, text=True).stdout
        if family not in listed:
            problems.append("face %s not embedded (pdffonts: %s)" % (family, listed))
    found = sorted(symbols_of(pdf, work))
    if found != sorted(expected):
        problems.append("read %s, want %s" % (found, sorted(expected)))
    return problems


def main():
    folder, font_dir = sys.argv[1], sys.argv[2]
    total = failed = 0
    for expect in sorted(glob.glob(os.path.join(folder, "*.expect"))):
        total += 1
        doc = expect[:-len(".expect")] + ".xml"
        with open(expect, encoding="utf-8") as f:
            expected = [tuple(l.rstrip("\n").split("\t", 1)) for l in f if l.strip()]
        with tempfile.TemporaryDirectory() as work:
            problems = judge(doc, expected, font_dir, work) if os.path.exists(doc) else ["missing"]
        for p in problems:
            print("FAIL %s: %s" % (os.path.basename(doc), p))
        failed += bool(problems)
        os.remove(expect)
    print("XSL-FO documents: %d judged, %d failed" % (total, failed))
    return 1 if failed or total == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
