#!/usr/bin/python3
"""Builds the barcode fonts as TrueType files from the layouts that font_dump writes.

Usage: build_fonts.py <dump file> <output folder>

One file per face, named <face>.ttf. Every font has 1024 units to the em, ascent 1024, descent 0
and no line gap in every table, so that lines of band text join without a gap. The family name
(name ID 1) is the face name itself.
"""
import os
import sys

import fontforge

EM = 1024


def read_dump(path):
    layouts, faces = {}, []
    glyph = None
    with open(path, encoding="ascii") as f:
        for line in f:
            word, *rest = line.split()
            if word == "layout":
                current = layouts.setdefault(rest[0], [])
            elif word == "glyph":
                glyph = {"code": int(rest[0]), "advance": int(rest[1]), "contours": []}
                current.append(glyph)
            elif word == "rect":
                x, y, w, h = map(int, rest)
                glyph["contours"].append([(x, y), (x + w, y), (x + w, y + h), (x, y + h)])
            elif word == "poly":
                v = list(map(int, rest))
                glyph["contours"].append(list(zip(v[0::2], v[1::2])))
            elif word == "face":
                faces.append((rest[0], rest[1]))
            else:
                raise ValueError("unknown line: " + line)
    return layouts, faces


def set_metrics(font):
    font.em = EM
    font.ascent = EM
    font.descent = 0
    for table in ("os2_winascent", "os2_typoascent", "hhea_ascent"):
        setattr(font, table + "_add", False)
        setattr(font, table, EM)
    for table in ("os2_windescent", "os2_typodescent", "hhea_descent"):
        setattr(font, table + "_add", False)
        setattr(font, table, 0)
    font.os2_typolinegap = 0
    font.hhea_linegap = 0
    font.os2_use_typo_metrics = True
    font.os2_weight = 400


def make_font(glyphs):
    font = fontforge.font()
    font.encoding = "UnicodeFull"
    font.layers["Fore"].is_quadratic = True
    set_metrics(font)
    notdef = font.createChar(-1, ".notdef")
    notdef.width = 0
    for g in glyphs:
        char = font.createChar(g["code"], "uni%04X" % g["code"])
        pen = char.glyphPen()
        for contour in g["contours"]:
            # Font y runs up from the baseline at the bottom of the em.
            points = [(x, EM - y) for x, y in contour]
            pen.moveTo(points[0])
            for p in points[1:]:
                pen.lineTo(p)
            pen.closePath()
        pen = None
        char.correctDirection()
        char.width = g["advance"]
    return font


def name_font(font, face):
    font.fontname = face
    font.familyname = face
    font.fullname = face
    font.weight = "Regular"
    font.copyright = "Barcode fonts of the Encoder test build"
    font.sfnt_names = ()
    for name_id, value in (("Family", face), ("SubFamily", "Regular"), ("Fullname", face),
                           ("PostScriptName", face), ("UniqueID", face + " 1.0"),
                           ("Version", "Version 1.0")):
        font.appendSFNTName("English (US)", name_id, value)


def main():
    layouts, faces = read_dump(sys.argv[1])
    out = sys.argv[2]
    os.makedirs(out, exist_ok=True)
    fonts = {}
    for face, layout in faces:
        if layout not in fonts:
            fonts[layout] = make_font(layouts[layout])
        font = fonts[layout]
        name_font(font, face)
        set_metrics(font)  # generating may recompute them
        font.generate(os.path.join(out, face + ".ttf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
