#!/usr/bin/python3
"""Draws the desktop program's skin bitmap, its two icons and the column pictures into a folder.

The skin is magenta (255, 0, 255) wherever the window is transparent. The eight tool
button faces sit at the main window's button rectangles; light fields lie behind the
program's name, the data field, the painted barcode (its paint area) and the message line
under it.
"""
import sys

from PIL import Image, ImageDraw, ImageFont

MAGENTA = (255, 0, 255)
WIDTH, HEIGHT = 400, 480

# (left, top, right, bottom, caption), in the main window's order of ids 600 to 607.
BUTTONS = [
    (11, 9, 85, 35, "Options"),
    (11, 50, 85, 76, "Keyboard"),
    (313, 11, 387, 36, "Copy"),
    (313, 51, 387, 77, "Print"),
    (313, 91, 387, 117, "Sequence"),
    (11, 90, 85, 116, "Close"),
    (11, 130, 85, 157, "Minimize"),
    (313, 131, 387, 158, "Refresh"),
]


def font(size):
    for path in ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                 "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"):
        try:
            return ImageFont.truetype(path, size)
        except OSError:
            pass
    return ImageFont.load_default()


def skin():
    img = Image.new("RGB", (WIDTH, HEIGHT), MAGENTA)
    d = ImageDraw.Draw(img)
    # Body: a rounded slab with a darker rim.
    d.rounded_rectangle((0, 0, WIDTH - 1, HEIGHT - 1), radius=22, fill=(44, 62, 92),
                        outline=(20, 30, 48), width=3)
    d.rounded_rectangle((6, 6, WIDTH - 7, HEIGHT - 7), radius=18, outline=(78, 102, 140), width=1)
    # The program's name, the data field, the paint area (inside the frame: 13..386 x 169..399)
    # and the message line's strip under it: light fields.
    d.rectangle((102, 10, 297, 38), fill=(226, 232, 240))
    name = "Kestrivo Encoder"
    w = d.textlength(name, font=font(13))
    d.text((102 + (196 - w) / 2, 16), name, fill=(44, 62, 92), font=font(13))
    d.rectangle((102, 42, 297, 165), fill=(226, 232, 240))
    d.rectangle((12, 168, WIDTH - 13, 400), fill=(255, 255, 255), outline=(160, 172, 190))
    d.rectangle((12, 404, WIDTH - 13, HEIGHT - 13), fill=(226, 232, 240))
    f = font(11)
    for left, top, right, bottom, caption in BUTTONS:
        d.rounded_rectangle((left, top, right - 1, bottom - 1), radius=6, fill=(92, 128, 178),
                            outline=(210, 222, 240), width=1)
        d.line((left + 4, bottom - 2, right - 5, bottom - 2), fill=(60, 86, 124))
        w = d.textlength(caption, font=f)
        d.text((left + (right - left - w) / 2, top + (bottom - top - 12) / 2), caption,
               fill=(255, 255, 255), font=f)
    return img


def icon(size, colour):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((0, 0, size - 1, size - 1), radius=size // 6, fill=colour)
    bars = [2, 1, 1, 3, 1, 2, 1, 1, 2, 1, 3, 1]
    x = size // 6
    black = True
    for w in bars:
        w = max(1, w * size // 32)
        if black:
            d.rectangle((x, size // 5, x + w - 1, size - size // 5), fill=(255, 255, 255, 255))
        x += w
        black = not black
        if x >= size - size // 6:
            break
    return img


# The column chooser's header pictures: four 16 x 16 pictures side by side, 8 bits per pixel,
# magenta where the header shows through. Pictures 0 to 2 are table columns, each with its own
# key colour in its highlighted column; picture 3, shown while a divider is dragged, is a
# double-headed arrow across a divider. Only colours of the 16-colour palette are used, so the
# pictures look the same in an image list of any colour depth.
COLUMN_KEYS = [(255, 0, 0), (0, 128, 0), (0, 0, 255)]
DRAG_KEY = (255, 255, 0)
LINE = (128, 128, 128)


def column_pictures():
    img = Image.new("RGB", (64, 16), MAGENTA)
    d = ImageDraw.Draw(img)
    for i, key in enumerate(COLUMN_KEYS):
        x = 16 * i
        d.rectangle((x + 1, 2, x + 14, 13), fill=(255, 255, 255), outline=LINE)
        d.line((x + 1, 5, x + 14, 5), fill=LINE)
        # The highlighted column: the i-th of three.
        left = x + 2 + 4 * i
        d.rectangle((left, 6, left + 3, 12), fill=key)
    x = 48
    d.rectangle((x + 7, 1, x + 8, 14), fill=(0, 0, 0))
    d.polygon([(x + 1, 8), (x + 5, 4), (x + 5, 12)], fill=DRAG_KEY)
    d.polygon([(x + 14, 8), (x + 10, 4), (x + 10, 12)], fill=DRAG_KEY)
    d.rectangle((x + 5, 7, x + 10, 9), fill=DRAG_KEY)
    d.rectangle((x + 7, 7, x + 8, 9), fill=(0, 0, 0))
    # 8 bits per pixel: a palette of exactly the colours drawn.
    return img.quantize(colors=16, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def main():
    out = sys.argv[1]
    skin().save(out + "/skin.bmp")
    icon(32, (44, 62, 92, 255)).save(out + "/encoder.ico", sizes=[(16, 16), (32, 32)])
    icon(32, (92, 128, 178, 255)).save(out + "/options.ico", sizes=[(16, 16), (32, 32)])
    column_pictures().save(out + "/columns.bmp")


if __name__ == "__main__":
    main()
