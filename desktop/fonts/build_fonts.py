#!/usr/bin/python3
"""Builds the barcode fonts as TrueType files from the layouts that font_dump writes.

Usage: build_fonts.py <dump file> <output folder>

One file per face, named <face>.ttf. Every font has 1024 units to the em, ascent 1024, descent 0
and no line gap in every table, so that lines of band text join without a gap. The family name
(name ID 1) is the face name itself.

Bars are hinted across: at sizes where a module is less than two pixels wide, a module becomes a
whole number of pixels (the nearest one, at least one) and every x coordinate, the advance
included, is scaled with it, so that bars are drawn crisp (no grey edges) and every module of a
symbol is as wide as every other. From two pixels a module on, outlines are drawn as they are
(an edge rounded to the pixel grid then changes a module by a quarter at most), so that printers
and the programs that lay out their pages (which may not hint) agree on every advance. Heights
are left as drawn. The layouts of polygons (the hexagon font) are not hinted; they carry a font
program that does nothing, which keeps renderers from hinting them on their own.
"""
import os
import sys

import fontforge

EM = 1024


def read_dump(path):
    """Layouts by name (each a dict of its module and glyphs) and the faces as (name, layout)."""
    layouts, faces = {}, []
    glyph = None
    with open(path, encoding="ascii") as f:
        for line in f:
            word, *rest = line.split()
            if word == "layout":
                layout = layouts.setdefault(rest[0], {"module": int(rest[1]), "glyphs": []})
                current = layout["glyphs"]
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


# TrueType instructions (opcodes of the TrueType instruction set).
SVTCA_X, WS, RS, FDEF, ENDF, LOOPCALL, MPPEM, MUL, ROUND, MAX, INSTCTRL, SCFS, DUP, LT, IF, ELSE, EIF, POP = (
    0x01, 0x42, 0x43, 0x2C, 0x2D, 0x2A, 0x4B, 0x63, 0x68, 0x8B, 0x8E, 0x48, 0x20, 0x50, 0x58, 0x1B, 0x59, 0x21)


def push(values):
    """Instructions pushing the values (signed 16-bit) in order."""
    out = []
    for i in range(0, len(values), 255):
        chunk = values[i:i + 255]
        out += [0x41, len(chunk)]  # NPUSHW
        for v in chunk:
            out += [(v >> 8) & 0xFF, v & 0xFF]
    return out


def hint_tables(module):
    """fpgm and prep of a font whose modules are `module` units wide.

    prep: storage 0 = the module in pixels (26.6), ppem * module / em, rounded to whole pixels
    (at least one) when below two pixels; from two pixels on it turns the glyph programs off
    (instruction control selector 1), so that glyphs are drawn and advance exactly as unhinted.
    It also asks for the instructions' x moves to be kept by rasterizers that otherwise ignore
    them (instruction control selector 3). Function 0
    moves point p (x in units, taken as 26.6 modules when the module is 64 units) to x / module
    modules of that width."""
    # MUL divides by 64: ppem (integer) * (4 * module) / 64 = ppem * module / 16, the module in
    # pixels as 26.6 for a 1024-unit em.
    prep = push([4, 3]) + [INSTCTRL, SVTCA_X] + push([0]) + [MPPEM] + push([4 * module]) + [MUL, DUP] + \
        push([128]) + [LT, IF, ROUND] + push([64]) + [MAX, ELSE] + push([1, 1]) + [INSTCTRL, EIF, WS]
    fpgm = push([0]) + [FDEF] + push([0]) + [RS, MUL, SCFS, ENDF]
    return bytes(fpgm), bytes(prep)


def hint_glyph(char, advance, module):
    """The glyph's program: every outline point and the advance point scaled by the module."""
    pairs = []
    index = 0
    for contour in char.foreground:
        for point in contour:
            pairs += [index, round(point.x * 64 / module)]
            index += 1
    pairs += [index + 1, round(advance * 64 / module)]  # the advance phantom point
    char.ttinstrs = bytes([SVTCA_X] + push(pairs + [len(pairs) // 2, 0]) + [LOOPCALL])
    return len(pairs) + 2


def make_font(layout):
    glyphs, module = layout["glyphs"], layout["module"]
    hinted = not any(len(c) != 4 for g in glyphs for c in g["contours"])  # rectangles only
    font = fontforge.font()
    font.encoding = "UnicodeFull"
    font.layers["Fore"].is_quadratic = True
    set_metrics(font)
    notdef = font.createChar(-1, ".notdef")
    notdef.width = 0
    for g in glyphs:
        char = font.createChar(g["code"], "uni%04X" % g["code"])
        pen = char.glyphPen()
        contours = g["contours"]
        if hinted and not contours and g["advance"]:
            # A space: a rectangle of no height along the top of the em draws nothing, but gives
            # the glyph an outline, and so a program that hints its advance.
            contours = [[(0, 0), (g["advance"], 0), (g["advance"], 0), (0, 0)]]
        for contour in contours:
            # Font y runs up from the baseline at the bottom of the em. Every shape is dark, so
            # every contour runs clockwise, TrueType's filled side, also where shapes touch or
            # overlap (Maxicode's finder rings are drawn as segments that share their edges): a
            # contour turned the other way would cancel its neighbour's coverage along the edge.
            points = [(x, EM - y) for x, y in contour]
            area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))
            if area > 0:
                points.reverse()
            pen.moveTo(points[0])
            for p in points[1:]:
                pen.lineTo(p)
            pen.closePath()
        pen = None
        char.width = g["advance"]
    if not hinted:
        # A font program of its own, one that changes nothing, so that renderers draw the
        # outlines as they are: FreeType gives a TrueType font without any instructions to its
        # auto-hinter, which moves the edges of touching and overlapping shapes apart (hairlines
        # of light through Maxicode's hexagons and finder rings at screen sizes).
        font.setTableData("prep", bytes(push([0]) + [POP]))
    if hinted:
        fpgm, prep = hint_tables(module)
        font.setTableData("fpgm", fpgm)
        font.setTableData("prep", prep)
        depth = max(hint_glyph(font[g["code"]], g["advance"], module) for g in glyphs)
        font.maxp_FDEFs = 1
        font.maxp_storageCnt = 1
        font.maxp_maxStackDepth = max(depth, 16)
        font.maxp_zones = 1
        font.maxp_twilightPtCnt = 0
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
