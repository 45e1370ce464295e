#!/usr/bin/python3
"""Draws Quenta's artwork and writes it into res/art/generated/.

Module pictures (32-bit TGA), caption-bar zone pictures, icons (16/32/48), cursors, the busy
animation (8-bit uncompressed AVI) and the splash (colour JPEG + grey opacity JPEG), plus a
contact sheet (contact_sheet.png, not a resource) to look at them together.

Every picture is drawn at 8x its size and scaled down, so edges are smooth. One style for all:
a rounded tile in the colour of the module's family with a white pictogram.

Run: /usr/bin/python3 res/art/make_art.py   (needs python3-pil)
"""
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "generated")
FONTS = "/usr/share/fonts/truetype"
SS = 8                       # supersampling factor (of a 32-pixel picture; 16x for the canvas)
U = 256                      # drawing space of a pictogram: 0..256

WHITE = (255, 255, 255, 255)
INK = (52, 64, 84, 255)      # caption-bar glyphs and cursor outlines

FAMILY = {                   # base colour of each module family
    "brand": (229, 87, 63),
    "picture": (124, 77, 219),
    "file": (232, 155, 28),
    "settings": (47, 163, 107),
    "info": (52, 120, 212),
}


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def mix(c1, c2, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c1, c2))


def lighter(c, t=0.35):
    return mix(c, (255, 255, 255), t)


def darker(c, t=0.25):
    return mix(c, (0, 0, 0), t)


class Canvas:
    """An RGBA drawing surface in 0..256 units, supersampled. Drawing replaces pixels (no
    blending), so a fill with opacity 0 punches a hole."""

    def __init__(self):
        self.img = Image.new("RGBA", (32 * SS * 2, 32 * SS * 2), (0, 0, 0, 0))
        self.k = self.img.width / U
        self.d = ImageDraw.Draw(self.img)

    def p(self, *xy):
        return [v * self.k for v in xy]

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=0, radius=0):
        w = round(width * self.k)
        if radius:
            self.d.rounded_rectangle(self.p(x0, y0, x1, y1), radius * self.k, fill=fill,
                                     outline=outline, width=w)
        else:
            self.d.rectangle(self.p(x0, y0, x1, y1), fill=fill, outline=outline, width=w)

    def ellipse(self, cx, cy, rx, ry=None, fill=None, outline=None, width=0):
        ry = rx if ry is None else ry
        self.d.ellipse(self.p(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill, outline=outline,
                       width=round(width * self.k))

    def line(self, pts, fill, width, round_caps=True):
        flat = self.p(*[v for xy in pts for v in xy])
        self.d.line(flat, fill=fill, width=round(width * self.k), joint="curve")
        if round_caps:
            r = width / 2
            for x, y in (pts[0], pts[-1]):
                self.ellipse(x, y, r, fill=fill)

    def poly(self, pts, fill=None, outline=None, width=0):
        self.d.polygon(self.p(*[v for xy in pts for v in xy]), fill=fill, outline=outline,
                       width=round(width * self.k))

    def arc(self, cx, cy, r, start, end, fill, width):
        self.d.arc(self.p(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill,
                   width=round(width * self.k))

    def pie(self, cx, cy, r, start, end, fill):
        self.d.pieslice(self.p(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill)

    def text(self, cx, cy, s, size, fill, font="dejavu/DejaVuSans-Bold.ttf"):
        f = ImageFont.truetype(os.path.join(FONTS, font), round(size * self.k))
        self.d.text((cx * self.k, cy * self.k), s, font=f, fill=fill, anchor="mm")

    def paste(self, other):
        self.img.alpha_composite(other.img)

    def render(self, px):
        return self.img.resize((px, px), Image.LANCZOS)


def tile(c, colour):
    """The rounded family tile with a soft shadow and a light top."""
    shadow = Canvas()
    shadow.rect(22, 30, 234, 242, fill=(0, 0, 0, 90), radius=52)
    shadow.img = shadow.img.filter(ImageFilter.GaussianBlur(5 * shadow.k))
    c.paste(shadow)
    top, bottom = lighter(colour, 0.22), darker(colour, 0.08)
    grad = Image.new("RGBA", c.img.size)
    gd = ImageDraw.Draw(grad)
    for y in range(grad.height):
        gd.line([(0, y), (grad.width, y)], fill=rgba(mix(top, bottom, y / grad.height)))
    mask = Image.new("L", c.img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(c.p(18, 18, 238, 238), 50 * c.k, fill=255)
    c.img.paste(grad, (0, 0), mask)
    c.rect(18, 18, 238, 238, outline=rgba(darker(colour, 0.3), 160), width=3, radius=50)


# ---- pictograms (white on the tile; `a` is the family colour for inner details) ----

def g_quenta(c, a):
    c.text(128, 124, "Q", 196, WHITE)


def g_globe(c, a):
    c.ellipse(128, 128, 74, outline=WHITE, width=14)
    c.ellipse(128, 128, 30, 74, outline=WHITE, width=12)
    c.line([(58, 128), (198, 128)], WHITE, 12, False)
    c.line([(72, 92), (184, 92)], WHITE, 10, False)
    c.line([(72, 164), (184, 164)], WHITE, 10, False)


def g_folder(c, a):
    c.poly([(44, 72), (104, 72), (120, 90), (212, 90), (212, 196), (44, 196)], fill=rgba(lighter(a, 0.55)))
    c.poly([(36, 112), (220, 112), (206, 196), (50, 196)], fill=WHITE)


def g_magnifier(c, a):
    c.ellipse(112, 112, 54, outline=WHITE, width=20)
    c.ellipse(112, 112, 40, fill=rgba(lighter(a, 0.45)))
    c.line([(152, 152), (198, 198)], WHITE, 28)


def landscape(c, x0, y0, x1, y1, a):
    c.rect(x0, y0, x1, y1, fill=rgba(lighter(a, 0.55)))
    w, h = x1 - x0, y1 - y0
    c.poly([(x0, y1), (x0 + w * 0.35, y0 + h * 0.40), (x0 + w * 0.6, y0 + h * 0.72),
            (x0 + w * 0.75, y0 + h * 0.55), (x1, y1)], fill=rgba(darker(a, 0.1)))
    c.ellipse(x0 + w * 0.75, y0 + h * 0.28, h * 0.14, fill=WHITE)


def g_monitor(c, a):
    c.rect(44, 56, 212, 168, fill=WHITE, radius=12)
    landscape(c, 58, 70, 198, 154, a)
    c.poly([(110, 168), (146, 168), (156, 198), (100, 198)], fill=WHITE)
    c.rect(82, 194, 174, 206, fill=WHITE, radius=6)


def g_wallpaper(c, a):
    c.rect(40, 52, 216, 204, fill=WHITE, radius=10)
    landscape(c, 56, 68, 200, 188, a)


def g_translator(c, a):
    c.rect(40, 44, 136, 132, fill=WHITE, radius=8)
    landscape(c, 50, 54, 126, 122, a)
    c.rect(126, 128, 216, 212, outline=WHITE, width=14, radius=10)
    c.line([(160, 64), (182, 64), (182, 100)], WHITE, 14)
    c.poly([(164, 96), (200, 96), (182, 118)], fill=WHITE)
    c.line([(96, 190), (74, 190), (74, 154)], WHITE, 14)
    c.poly([(56, 158), (92, 158), (74, 136)], fill=WHITE)


def g_camera(c, a):
    c.rect(92, 62, 152, 92, fill=WHITE, radius=8)
    c.rect(40, 80, 216, 196, fill=WHITE, radius=18)
    c.ellipse(128, 138, 44, fill=rgba(a))
    c.ellipse(128, 138, 30, fill=rgba(lighter(a, 0.55)))
    c.ellipse(116, 126, 8, fill=WHITE)
    c.ellipse(188, 102, 8, fill=rgba(a))


def g_scanner(c, a):
    c.rect(40, 70, 216, 96, fill=rgba(lighter(a, 0.6)), radius=8)
    c.rect(40, 108, 216, 186, fill=WHITE, radius=12)
    c.rect(56, 126, 200, 136, fill=rgba(lighter(a, 0.35)), radius=4)
    c.ellipse(192, 164, 8, fill=rgba(FAMILY["settings"]))
    c.rect(56, 158, 150, 168, fill=rgba(lighter(a, 0.6)), radius=4)


def g_palette(c, a):
    c.ellipse(128, 128, 88, 76, fill=WHITE)
    c.ellipse(160, 166, 18, fill=rgba(a))
    for (x, y), col in zip([(86, 112), (116, 82), (156, 84), (186, 116)],
                           [(229, 72, 77), (245, 190, 40), (47, 163, 107), (52, 120, 212)]):
        c.ellipse(x, y, 16, fill=rgba(col))


def g_wrench(c, a):
    c.line([(76, 184), (150, 110)], WHITE, 34)
    c.ellipse(166, 92, 44, fill=WHITE)
    c.poly([(166, 92), (196, 38), (232, 74)], fill=rgba(a))
    c.ellipse(166, 92, 14, fill=rgba(a))
    c.ellipse(76, 184, 8, fill=rgba(a))


def g_window(c, a):
    c.rect(40, 56, 216, 200, fill=WHITE, radius=12)
    c.rect(52, 92, 204, 188, fill=rgba(lighter(a, 0.6)), radius=4)
    for i, x in enumerate((176, 156, 136)):
        c.ellipse(x + 14, 74, 7, fill=rgba(a if i else FAMILY["brand"]))


def g_fonts(c, a):
    c.text(112, 126, "A", 150, WHITE, "dejavu/DejaVuSerif-Bold.ttf")
    c.text(180, 152, "a", 96, rgba(lighter(a, 0.6)), "dejavu/DejaVuSerif-Bold.ttf")


def g_shortcut(c, a):
    c.rect(44, 64, 172, 192, fill=WHITE, radius=14)
    c.rect(72, 92, 144, 164, fill=rgba(lighter(a, 0.55)), radius=8)
    c.line([(108, 150), (108, 128), (186, 60)], rgba(a), 34, False)
    c.line([(108, 150), (108, 128), (186, 60)], WHITE, 18, False)
    c.poly([(152, 50), (206, 40), (196, 94)], fill=WHITE)


def g_trash(c, a):
    c.rect(104, 44, 152, 66, outline=WHITE, width=12, radius=8)
    c.rect(56, 62, 200, 80, fill=WHITE, radius=8)
    c.poly([(72, 92), (184, 92), (172, 210), (84, 210)], fill=WHITE)
    for x in (104, 128, 152):
        c.line([(x, 112), (x, 188)], rgba(lighter(a, 0.3)), 10)


def gear(c, cx, cy, r, fill, hole):
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        ang = math.pi * 2 * i / (teeth * 4)
        rr = r if (i % 4) in (0, 1) else r * 0.74
        pts.append((cx + rr * math.cos(ang), cy + rr * math.sin(ang)))
    c.poly(pts, fill=fill)
    c.ellipse(cx, cy, r * 0.34, fill=hole)


def g_datatype(c, a):
    c.poly([(60, 36), (150, 36), (188, 74), (188, 220), (60, 220)], fill=WHITE)
    c.poly([(150, 36), (150, 74), (188, 74)], fill=rgba(lighter(a, 0.55)))
    for y in (100, 126, 152):
        c.line([(84, y), (160, y)], rgba(lighter(a, 0.45)), 10)
    gear(c, 178, 184, 42, rgba(darker(a, 0.1)), WHITE)


def g_disk(c, a):
    c.rect(36, 84, 220, 180, fill=WHITE, radius=18)
    c.rect(36, 148, 220, 180, fill=rgba(lighter(a, 0.7)), radius=18)
    c.rect(36, 148, 220, 160, fill=rgba(lighter(a, 0.7)))
    c.ellipse(190, 164, 8, fill=rgba(FAMILY["settings"]))
    c.pie(96, 116, 22, -90, 160, rgba(a))
    c.arc(96, 116, 22, 160, 270, rgba(lighter(a, 0.5)), 6)
    c.line([(136, 106), (196, 106)], rgba(lighter(a, 0.5)), 8)
    c.line([(136, 126), (180, 126)], rgba(lighter(a, 0.5)), 8)


def g_chip(c, a):
    for i in range(4):
        o = 84 + i * 29
        for (x0, y0, x1, y1) in ((o, 40, o, 72), (o, 184, o, 216), (40, o, 72, o), (184, o, 216, o)):
            c.line([(x0, y0), (x1, y1)], WHITE, 10)
    c.rect(66, 66, 190, 190, fill=WHITE, radius=14)
    c.rect(94, 94, 162, 162, fill=rgba(a), radius=8)
    c.text(128, 128, "i", 64, WHITE, "dejavu/DejaVuSerif-Bold.ttf")


def g_sliders(c, a):
    for y, x in ((76, 154), (128, 92), (180, 176)):
        c.line([(52, y), (204, y)], rgba(lighter(a, 0.55)), 12)
        c.line([(52, y), (x, y)], WHITE, 12)
        c.ellipse(x, y, 20, fill=WHITE)
        c.ellipse(x, y, 9, fill=rgba(a))


MODULES = [  # resource id, family, pictogram, caption for the contact sheet
    (358, "brand", g_quenta, "Ostrel Quenta"),
    (374, "brand", g_globe, "Online News"),
    (327, "file", g_folder, "Explorer"),
    (347, "picture", g_monitor, "System Pictures"),
    (343, "picture", g_wallpaper, "Wallpaper"),
    (322, "picture", g_translator, "Translator"),
    (340, "picture", g_camera, "Screen Capture"),
    (350, "picture", g_scanner, "Acquire"),
    (344, "settings", g_palette, "Windows Colors"),
    (348, "settings", g_wrench, "Tools"),
    (339, "file", g_magnifier, "Finder"),
    (345, "info", g_window, "Windows"),
    (328, "info", g_fonts, "Fonts"),
    (351, "settings", g_shortcut, "Shortcuts"),
    (341, "settings", g_trash, "Uninstall"),
    (323, "settings", g_datatype, "Data Types"),
    (324, "info", g_disk, "Disks"),
    (346, "info", g_chip, "System Info"),
    (332, "settings", g_sliders, "Miscellaneous"),
]


def tile_picture(family, glyph, px):
    colour = FAMILY[family]
    c = Canvas()
    tile(c, colour)
    glyph(c, colour)
    return c.render(px)


# ---- caption-bar zone pictures (ink glyphs, no tile) ----

def z_help(c):
    c.ellipse(128, 128, 100, fill=rgba(FAMILY["info"]))
    c.text(128, 134, "?", 150, WHITE)


def z_print(c):
    c.rect(72, 28, 184, 104, fill=WHITE, outline=INK, width=14, radius=6)
    c.rect(24, 92, 232, 192, fill=INK, radius=22)
    c.rect(72, 150, 184, 232, fill=WHITE, outline=INK, width=14, radius=6)
    c.line([(96, 182), (160, 182)], INK, 10)
    c.ellipse(200, 124, 10, fill=rgba(FAMILY["settings"]))


def z_preview(c):
    c.poly([(40, 20), (150, 20), (192, 62), (192, 236), (40, 236)], fill=WHITE, outline=INK, width=14)
    c.ellipse(132, 140, 50, fill=rgba(lighter(FAMILY["info"], 0.6)), outline=INK, width=16)
    c.line([(168, 178), (220, 230)], INK, 28)


def z_save(c):
    c.poly([(28, 28), (192, 28), (228, 64), (228, 228), (28, 228)], fill=rgba(FAMILY["info"]))
    c.rect(68, 28, 172, 96, fill=WHITE)
    c.rect(136, 40, 160, 84, fill=rgba(FAMILY["info"]))
    c.rect(56, 136, 200, 228, fill=WHITE, radius=6)
    c.line([(80, 166), (176, 166)], rgba(lighter(FAMILY["info"], 0.3)), 10)
    c.line([(80, 194), (176, 194)], rgba(lighter(FAMILY["info"], 0.3)), 10)


ZONES = [(400, z_help, "Help zone"), (401, z_print, "Print zone"), (402, z_preview, "Preview zone"),
         (403, z_save, "Save zone")]


def zone_picture(glyph, px):
    c = Canvas()
    glyph(c)
    return c.render(px)


# ---- icons and cursors ----

def g_install(c, a):
    c.poly([(52, 112), (204, 112), (204, 206), (52, 206)], fill=WHITE)
    c.poly([(52, 112), (84, 84), (172, 84), (204, 112)], fill=rgba(lighter(a, 0.55)))
    c.line([(128, 34), (128, 128)], rgba(darker(a, 0.15)), 34)
    c.line([(128, 34), (128, 128)], WHITE, 18)
    c.poly([(92, 112), (164, 112), (128, 152)], fill=WHITE)
    c.poly([(92, 112), (164, 112), (128, 152)], outline=rgba(darker(a, 0.15)), width=0)


def g_uninstall(c, a):
    c.poly([(52, 124), (204, 124), (204, 210), (52, 210)], fill=WHITE)
    c.poly([(52, 124), (84, 98), (172, 98), (204, 124)], fill=rgba(lighter(a, 0.55)))
    c.line([(128, 170), (128, 82)], WHITE, 18)
    c.poly([(92, 86), (164, 86), (128, 40)], fill=WHITE)


def g_report(c, a):
    c.rect(52, 40, 204, 216, fill=WHITE, radius=10)
    c.rect(52, 40, 204, 76, fill=rgba(lighter(a, 0.5)), radius=10)
    c.rect(52, 62, 204, 76, fill=rgba(lighter(a, 0.5)))
    for i, y in enumerate(range(96, 200, 26)):
        c.rect(66, y, 190, y + 14, fill=rgba(lighter(a, 0.75 if i % 2 else 0.6)), radius=3)


def g_message(c, a):
    c.rect(36, 44, 220, 176, fill=WHITE, radius=30)
    c.poly([(76, 168), (120, 168), (66, 222)], fill=WHITE)
    c.text(128, 110, "i", 110, rgba(a), "dejavu/DejaVuSerif-Bold.ttf")


def hand(c, outline, fill):
    """A pointing hand in 0..256 units (finger tip near 104,16)."""
    w = 14
    parts = [((86, 16, 122, 140), 18), ((120, 92, 152, 170), 16), ((148, 100, 180, 174), 16),
             ((176, 110, 206, 180), 15), ((40, 128, 94, 184), 22), ((74, 120, 206, 232), 36)]
    for (x0, y0, x1, y1), r in parts:
        c.rect(x0 - w / 2, y0 - w / 2, x1 + w / 2, y1 + w / 2, fill=outline, radius=r + w / 2)
    for (x0, y0, x1, y1), r in parts:
        c.rect(x0, y0, x1, y1, fill=fill, radius=r)
    c.rect(80, 128, 200, 224, fill=fill, radius=30)


def icon_hand(c, a):
    hand(c, INK, WHITE)


def arrow_with_help(c):
    pts = [(8, 8), (8, 176), (50, 136), (80, 206), (108, 194), (78, 126), (134, 126)]
    c.poly(pts, fill=WHITE, outline=(0, 0, 0, 255), width=12)
    c.ellipse(190, 190, 58, fill=rgba(FAMILY["info"]), outline=WHITE, width=10)
    c.text(190, 196, "?", 84, WHITE)


def cursor_hand(c):
    hand(c, (0, 0, 0, 255), WHITE)


ICONS = [  # id, family, pictogram, caption
    (128, "brand", g_quenta, "Program (128)"),
    (147, "brand", g_quenta, "Program (147)"),
    (142, "info", g_report, "Report (142)"),
    (175, "info", g_message, "Message (175)"),
    (177, None, icon_hand, "Hand (177)"),
    (213, "settings", g_install, "Install (213)"),
    (214, "brand", g_uninstall, "Uninstall (214)"),
    (278, "picture", g_wallpaper, "Viewer (278)"),
    (284, "settings", g_datatype, "Data type (284)"),
]
CURSORS = [(176, arrow_with_help, (1, 1), "Help cursor"), (177, cursor_hand, (13, 1), "Hand cursor")]


# ---- 16 x 16 tab bitmaps with a key colour for transparency ----

def t_files(c, a):
    for x, y in ((24, 24), (140, 24), (24, 140), (140, 140)):
        c.rect(x, y, x + 92, y + 92, fill=rgba(a), radius=18)


def t_pictures(c, a):
    c.rect(12, 36, 244, 220, fill=INK, radius=20)
    landscape(c, 36, 60, 220, 196, a)


def t_report(c, a):
    c.rect(16, 16, 240, 240, fill=WHITE, outline=INK, width=16, radius=14)
    c.rect(16, 16, 240, 76, fill=rgba(a), radius=14)
    for y in (108, 148, 188):
        c.line([(52, y), (204, y)], INK, 18)


def t_info(c, a):
    c.ellipse(128, 128, 116, fill=rgba(a))
    c.text(128, 136, "i", 190, WHITE, "dejavu/DejaVuSerif-Bold.ttf")


def t_quenta(c, a):
    c.rect(8, 8, 248, 248, fill=rgba(a), radius=52)
    c.text(128, 124, "Q", 210, WHITE)


def t_wrench(c, a):
    c.line([(46, 210), (140, 116)], rgba(a), 52)
    c.ellipse(164, 92, 62, fill=rgba(a))
    c.poly([(164, 92), (204, 14), (250, 56)], fill=(0, 0, 0, 0))
    c.ellipse(164, 92, 22, fill=(0, 0, 0, 0))


def t_gear(c, a):
    gear(c, 128, 128, 120, rgba(a), (0, 0, 0, 0))


# id, glyph, family, key colour
TAB_BITMAPS = [
    (190, t_files, "file", (255, 0, 255)), (191, t_pictures, "picture", (255, 0, 255)),
    (192, t_report, "info", (255, 0, 255)), (250, t_info, "info", (0, 255, 0)),
    (258, t_files, "settings", (0, 255, 0)), (259, t_quenta, "brand", (0, 255, 0)),
    (261, t_wrench, "file", (0, 255, 0)), (260, t_gear, "info", (0, 255, 0)),
]


# Applications shortcuts: desktop (a screen), quick launch (a bolt), start-up (a play sign).
def t_desktop(c, a):
    c.rect(12, 28, 244, 188, fill=INK, radius=18)
    c.rect(32, 48, 224, 168, fill=rgba(a), radius=6)
    c.rect(104, 188, 152, 220, fill=INK)
    c.rect(60, 214, 196, 240, fill=INK, radius=10)


def t_bolt(c, a):
    c.poly([(150, 8), (44, 144), (120, 144), (96, 248), (212, 100), (136, 100), (176, 8)], fill=rgba(a))


def t_play(c, a):
    c.ellipse(128, 128, 118, fill=rgba(a))
    c.poly([(96, 64), (96, 192), (196, 128)], fill=WHITE)


TAB_BITMAPS += [
    (272, t_desktop, "info", (255, 0, 255)), (273, t_bolt, "file", (255, 0, 255)),
    (274, t_play, "settings", (255, 0, 255)),
]

def keyed_bitmap(glyph, family, key, face=(240, 240, 240)):
    """16 x 16 RGB: edges blended over the tab face colour, transparent parts in the key colour."""
    c = Canvas()
    glyph(c, FAMILY[family])
    small = c.render(16)
    out = Image.new("RGB", (16, 16), key)
    for y in range(16):
        for x in range(16):
            r, g, b, al = small.getpixel((x, y))
            if al >= 96:
                out.putpixel((x, y), mix(face, (r, g, b), al / 255))
    return out


def icon_picture(family, glyph, px):
    if family is None:
        c = Canvas()
        glyph(c, None)
        return c.render(px)
    return tile_picture(family, glyph, px)


# ---- file writers ----

def write_tga(img, path):
    """Uncompressed 32-bit true-colour Targa, bottom-up rows, 8 alpha bits."""
    w, h = img.size
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, w, h, 32, 8)
    rows = []
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = img.getpixel((x, y))
            rows.append(bytes((b, g, r, a)))
    with open(path, "wb") as f:
        f.write(header + b"".join(rows))


def dib_entry(img):
    """BITMAPINFOHEADER + 32-bit BGRA rows (bottom-up) + AND mask, as icons and cursors hold."""
    w, h = img.size
    pixels = bytearray()
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(stride)
        for x in range(w):
            r, g, b, a = img.getpixel((x, y))
            pixels += bytes((b, g, r, a))
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def write_icon_file(images, path, kind=1, hotspots=None):
    entries = [dib_entry(img) for img in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for i, (img, data) in enumerate(zip(images, entries)):
        w, h = img.size
        a, b = (1, 32) if kind == 1 else hotspots[i]
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(entries))


def write_avi(frames, palette, path, fps=10):
    """Uncompressed 8-bit AVI (BI_RGB DIB frames), which the Animate common control plays."""
    w, h = frames[0].size
    stride = (w + 3) & ~3
    frame_bytes = []
    for f in frames:
        data = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytes(f.getpixel((x, y)) for x in range(w))
            data += row + bytes(stride - w)
        frame_bytes.append(bytes(data))
    size = stride * h

    def chunk(tag, data):
        pad = b"\0" if len(data) % 2 else b""
        return tag + struct.pack("<I", len(data)) + data + pad

    def lst(tag, data):
        return chunk(b"LIST", tag + data)

    usec = 1000000 // fps
    avih = struct.pack("<IIIIIIIIII4I", usec, size * fps, 0, 0x10, len(frames), 0, 1, size, w, h, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, len(frames),
                       size, 0xFFFFFFFF, 0, 0, 0, w, h)
    bih = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, size, 0, 0, 256, 256)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + pal)))
    movi_data = b""
    index = b""
    offset = 4
    for data in frame_bytes:
        index += struct.pack("<4sIII", b"00db", 0x10, offset, len(data))
        c = chunk(b"00db", data)
        movi_data += c
        offset += len(c)
    movi = lst(b"movi", movi_data)
    body = b"AVI " + hdrl + movi + chunk(b"idx1", index)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def busy_animation(px=48, count=12):
    """A ring of dots with a bright head going round, on the dialog face colour."""
    face = (240, 240, 240)
    head = FAMILY["brand"]
    palette = [mix(face, head, i / 63) for i in range(64)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    frames = []
    for f in range(count):
        c = Canvas()
        c.rect(0, 0, U, U, fill=rgba(face))
        for i in range(count):
            age = (f - i) % count
            strength = max(0.18, 1 - age / (count * 0.7))
            ang = 2 * math.pi * i / count - math.pi / 2
            x, y = 128 + 92 * math.cos(ang), 128 + 92 * math.sin(ang)
            c.ellipse(x, y, 14 + 10 * strength, fill=rgba(mix(face, head, strength)))
        rgb = c.render(px).convert("RGB")
        frame = Image.new("L", (px, px))
        for y in range(px):
            for x in range(px):
                r, g, b = rgb.getpixel((x, y))
                # Project onto the face-to-head ramp.
                t = ((face[0] - r) + (face[1] - g) + (face[2] - b)) / \
                    max(1, (face[0] - head[0]) + (face[1] - head[1]) + (face[2] - head[2]))
                frame.putpixel((x, y), max(0, min(63, round(t * 63))))
        frames.append(frame)
    return frames, palette


def splash(w=440, h=260):
    """Colour picture and opacity mask: a rounded card with the emblem and the product name."""
    big = (w * 4, h * 4)
    colour = Image.new("RGB", big, (0, 0, 0))
    mask = Image.new("L", big, 0)
    card = (24, 20, big[0] - 24, big[1] - 36)
    shadow = Image.new("L", big, 0)
    ImageDraw.Draw(shadow).rounded_rectangle((card[0] + 8, card[1] + 24, card[2] - 8, card[3] + 16), 72, fill=110)
    shadow = shadow.filter(ImageFilter.GaussianBlur(18))
    mask.paste(shadow)
    grad = Image.new("RGB", big)
    gd = ImageDraw.Draw(grad)
    c0, c1 = darker(FAMILY["picture"], 0.15), FAMILY["brand"]
    for x in range(big[0]):
        gd.line([(x, 0), (x, big[1])], fill=mix(c0, c1, x / big[0]))
    cardmask = Image.new("L", big, 0)
    ImageDraw.Draw(cardmask).rounded_rectangle(card, 64, fill=255)
    colour.paste(grad, (0, 0), cardmask)
    mask.paste(255, (0, 0), cardmask)
    d = ImageDraw.Draw(colour)
    # Soft light circles for depth.
    glow = Image.new("L", big, 0)
    gdraw = ImageDraw.Draw(glow)
    gdraw.ellipse((big[0] * 0.55, -big[1] * 0.5, big[0] * 1.3, big[1] * 0.7), fill=40)
    gdraw.ellipse((-big[0] * 0.2, big[1] * 0.55, big[0] * 0.45, big[1] * 1.5), fill=28)
    glow = Image.composite(glow, Image.new("L", big, 0), cardmask)
    colour.paste((255, 255, 255), (0, 0), glow)
    # Emblem: the program tile, large.
    emblem = tile_picture("brand", g_quenta, 128 * 4 // 2).resize((110 * 4, 110 * 4), Image.LANCZOS)
    ex, ey = 46 * 4, (h * 4 - 36 - emblem.height) // 2
    colour.paste(emblem.convert("RGB"), (ex, ey), emblem)
    title = ImageFont.truetype(os.path.join(FONTS, "dejavu/DejaVuSans-Bold.ttf"), 56 * 4)
    small = ImageFont.truetype(os.path.join(FONTS, "dejavu/DejaVuSans.ttf"), 15 * 4)
    tx = ex + emblem.width + 24 * 4
    d.text((tx, 112 * 4), "Quenta", font=title, fill=(255, 255, 255), anchor="ls")
    d.text((tx + 4, 142 * 4), "Desktop toolbox  \u00b7  version 1.6", font=small, fill=(255, 236, 226), anchor="ls")
    d.text((tx + 4, 166 * 4), "Ostrel", font=small, fill=(255, 220, 205), anchor="ls")
    return colour.resize((w, h), Image.LANCZOS), mask.resize((w, h), Image.LANCZOS)


def contact_sheet(path, rows):
    """rows: list of (title, [(image, caption)])."""
    font = ImageFont.truetype(os.path.join(FONTS, "dejavu/DejaVuSans.ttf"), 11)
    bold = ImageFont.truetype(os.path.join(FONTS, "dejavu/DejaVuSans-Bold.ttf"), 13)
    cell, width = 96, 1000
    height = 20
    for _, items in rows:
        per = width // cell
        max_h = max(img.height for img, _ in items)
        height += 24 + ((len(items) + per - 1) // per) * (max_h + 34) + 10
    sheet = Image.new("RGB", (width, height), (128, 128, 128))
    d = ImageDraw.Draw(sheet)
    y = 10
    for title, items in rows:
        d.text((10, y), title, font=bold, fill=(255, 255, 255))
        y += 24
        per = width // cell
        max_h = max(img.height for img, _ in items)
        for i, (img, caption) in enumerate(items):
            x = (i % per) * cell + max(10 - (i % per) * cell, (cell - img.width) // 2)
            yy = y + (i // per) * (max_h + 34)
            sheet.paste(img.convert("RGB"), (x, yy), img if img.mode == "RGBA" else None)
            d.text(((i % per) * cell + cell // 2, yy + max_h + 14), caption, font=font,
                   fill=(255, 255, 255), anchor="mm")
        y += ((len(items) + per - 1) // per) * (max_h + 34) + 10
    sheet.save(path)


def main():
    os.makedirs(OUT, exist_ok=True)
    sheet = []
    items = []
    for rid, family, glyph, caption in MODULES:
        img = tile_picture(family, glyph, 32)
        write_tga(img, os.path.join(OUT, "module_%d.tga" % rid))
        items.append((img, caption))
    sheet.append(("Module pictures, 32 x 32 (on the module bar's workspace grey)", items))
    sheet.append(("Module pictures, 48 x 48 preview", [(tile_picture(f, g, 48), c) for _, f, g, c in MODULES[:10]]))

    items = []
    for rid, glyph, caption in ZONES:
        img = zone_picture(glyph, 24)
        write_tga(img, os.path.join(OUT, "zone_%d.tga" % rid))
        items.append((img, caption))
    sheet.append(("Caption-bar zone pictures, 24 x 24", items))

    items = []
    for rid, family, glyph, caption in ICONS:
        sizes = [icon_picture(family, glyph, px) for px in (48, 32, 16)]
        write_icon_file(sizes, os.path.join(OUT, "icon_%d.ico" % rid))
        items += [(sizes[0], caption), (sizes[1], "32"), (sizes[2], "16")]
    sheet.append(("Icons, 48 / 32 / 16", items))

    items = []
    for rid, glyph, family, key in TAB_BITMAPS:
        bmp = keyed_bitmap(glyph, family, key)
        bmp.save(os.path.join(OUT, "tab_%d.bmp" % rid))
        items.append((bmp.resize((32, 32), Image.NEAREST).convert("RGBA"), str(rid)))
    sheet.append(("Tab bitmaps, 16 x 16 with key colour (shown at 2x)", items))

    items = []
    for rid, glyph, hotspot, caption in CURSORS:
        c = Canvas()
        glyph(c)
        img = c.render(32)
        write_icon_file([img], os.path.join(OUT, "cursor_%d.cur" % rid), kind=2, hotspots=[hotspot])
        items.append((img, caption))
    sheet.append(("Cursors, 32 x 32", items))

    frames, palette = busy_animation()
    write_avi(frames, palette, os.path.join(OUT, "busy_359.avi"))
    flat = bytes(v for rgb in palette for v in rgb)
    shown = []
    for f in frames:
        p = f.copy()
        p.putpalette(flat)
        shown.append((p.convert("RGBA"), ""))
    sheet.append(("Busy animation 359 (12 frames, 48 x 48, 8-bit)", shown))

    colour, mask = splash()
    colour.save(os.path.join(OUT, "splash_356.jpg"), quality=90, optimize=True)
    mask.save(os.path.join(OUT, "splash_357.jpg"), quality=92, optimize=True)
    over_white = Image.composite(colour, Image.new("RGB", colour.size, (255, 255, 255)), mask)
    sheet.append(("Splash 356 over white through mask 357", [(over_white.convert("RGBA"), "")]))
    contact_sheet(os.path.join(HERE, "contact_sheet.png"), sheet)


if __name__ == "__main__":
    main()
