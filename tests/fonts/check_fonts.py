#!/usr/bin/python3
"""Checks the built TrueType fonts against the layouts they were made from.

Arguments: the layout dump (font_dump's output) and the folder of <face>.ttf files. For each
face: the family name is the face name, the vertical metrics stack lines exactly (1024 units,
ascent 1024, descent 0, no line gap in any table), every glyph of its layout is in the font with
its advance and the bounding box of its shapes (a glyph without shapes draws nothing: no outline
or one of no area), and the fonts of bars carry the hinting that keeps modules whole pixels:
the font programs and a glyph program for every glyph with an advance. Fails at the first face
that differs.
"""
import os
import sys

import fontforge

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "desktop", "fonts"))
from build_fonts import read_dump  # noqa: E402

EM = 1024


def check(path, face, layout):
    glyphs = layout["glyphs"]
    bars = all(len(c) == 4 for g in glyphs for c in g["contours"])
    font = fontforge.open(path)
    names = {n[1]: n[2] for n in font.sfnt_names if n[0] == "English (US)"}
    if names.get("Family") != face or font.familyname != face:
        return "family name %r" % names.get("Family")
    metrics = (font.em, font.ascent, font.descent, font.os2_winascent, font.os2_windescent,
               font.os2_typoascent, font.os2_typodescent, font.os2_typolinegap,
               font.hhea_ascent, font.hhea_descent, font.hhea_linegap)
    if metrics != (EM, EM, 0, EM, 0, EM, 0, 0, EM, 0, 0):
        return "metrics %r" % (metrics,)
    for g in glyphs:
        if g["code"] not in font:
            return "glyph %d missing" % g["code"]
        char = font[g["code"]]
        if char.width != g["advance"]:
            return "glyph %d width %d, want %d" % (g["code"], char.width, g["advance"])
        points = [p for contour in g["contours"] for p in contour]
        if points:
            xs = [p[0] for p in points]
            ys = [EM - p[1] for p in points]
            want = (min(xs), min(ys), max(xs), max(ys))
            got = tuple(round(v) for v in char.boundingBox())
            if got != want:
                return "glyph %d box %r, want %r" % (g["code"], got, want)
        elif not char.foreground.isEmpty():
            x0, y0, x1, y1 = char.boundingBox()
            if x0 != x1 and y0 != y1:
                return "glyph %d draws, want empty" % g["code"]
        if bars and g["advance"] and not char.ttinstrs:
            return "glyph %d not hinted" % g["code"]
    if bars and not (font.getTableData("prep") and font.getTableData("fpgm")):
        font.close()
        return "no font programs"
    font.close()
    return None


def main():
    layouts, faces = read_dump(sys.argv[1])
    folder = sys.argv[2]
    if not faces:
        print("no faces in the dump")
        return 1
    for face, layout in faces:
        problem = check(os.path.join(folder, face + ".ttf"), face, layouts[layout])
        if problem:
            print("FAIL %s: %s" % (face, problem))
            return 1
    print("%d fonts checked" % len(faces))
    return 0


if __name__ == "__main__":
    sys.exit(main())
