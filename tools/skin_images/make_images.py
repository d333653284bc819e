#!/usr/bin/env python3
"""Draws the installer's skin images and its window icon.

Every picture of the installer is made here, so a design change is a change to this file
followed by a run of it; the generated PNGs and the icon are committed so that a build needs
no image tools. Needs Python 3 with PIL (Debian: python3-pil) and the WenQuanYi Micro Hei
font (fonts-wqy-microhei) for the Chinese labels.

    make_images.py [--skin-dir DIR] [--icon PATH] [--mock PATH]

Images are drawn at their stored pixel size but shown stretched into much smaller controls
(the close button's 200x200 picture appears at 18x18), so shapes are bold and simple. Shapes
are drawn at a multiple of the final size and box-filtered down for clean edges. Flat colours
and vertical gradients keep the deflated files small; there is no noise or dithering.
"""

import argparse
import os
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("make_images: needs PIL (Debian: python3-pil); run it with the system's python3, "
             "e.g. /usr/bin/python3 tools/skin_images/make_images.py")

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# Palette shared by all pictures.
GREEN = (0x24, 0xC7, 0x5D)
GREEN_LIGHT = (0x3A, 0xDC, 0x76)
GREEN_DARK = (0x1B, 0xA8, 0x4D)
BG_TOP = (0x17, 0x1A, 0x1F)
BG_BOTTOM = (0x0E, 0x10, 0x13)
BAND = (0x1B, 0x1E, 0x23)
HAIRLINE = (0x2C, 0x30, 0x37)
PANEL = (0x25, 0x29, 0x2F)        # the options panel; the edit's #1A1C1F sits darker on it
PANEL_EDGE = (0x33, 0x38, 0x40)
EDIT_BK = (0x1A, 0x1C, 0x1F)      # the edit's own bkcolor in options.xml (for the mock only)
WHITE = (0xFF, 0xFF, 0xFF)
GREY = (0x9A, 0xA1, 0xAB)
GREY_DIM = (0x6B, 0x72, 0x7C)

# The options window and where its controls sit (window pixels, from options.xml).
WINDOW = (1124, 557)
CAPTION_HEIGHT = 57
PANEL_RECT = (430, 96, 1096, 524)
INSTALL_BUTTON = (830, 440, 186, 57)


def font(size):
    return ImageFont.truetype(FONT_PATH, max(1, int(round(size))))


def rgba(color, alpha=255):
    return tuple(color[:3]) + (alpha,)


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


class Canvas:
    """An RGBA drawing surface `ss` times larger than the final image; coordinates given to
    its methods are in final-image pixels (floats allowed) and scaled here."""

    def __init__(self, size, ss=4, fill=(0, 0, 0, 0)):
        self.size = size
        self.ss = ss
        self.img = Image.new("RGBA", (size[0] * ss, size[1] * ss), fill)

    def s(self, *values):
        return [v * self.ss for v in values]

    def layer(self):
        return Image.new("RGBA", self.img.size, (0, 0, 0, 0))

    def mask(self):
        return Image.new("L", self.img.size, 0)

    def composite(self, layer):
        self.img = Image.alpha_composite(self.img, layer)

    def vertical_gradient(self, box, top, bottom, mask=None):
        """Fills box (left, top, right, bottom) with a top-to-bottom gradient, clipped by an
        optional full-size mask."""
        x0, y0, x1, y1 = [int(round(v)) for v in self.s(*box)]
        strip = Image.new("RGBA", (1, max(1, y1 - y0)))
        for y in range(strip.height):
            t = y / max(1, strip.height - 1)
            strip.putpixel((0, y), mix(rgba(top), rgba(bottom), t))
        strip = strip.resize((max(1, x1 - x0), strip.height), Image.NEAREST)
        layer = self.layer()
        layer.paste(strip, (x0, y0))
        if mask is not None:
            layer.putalpha(Image.composite(layer.getchannel("A"), Image.new("L", layer.size, 0), mask))
        self.composite(layer)

    def rect(self, box, fill):
        self.rounded(box, 0, fill=fill)

    def rounded(self, box, radius, fill=None, outline=None, width=0):
        layer = self.layer()
        ImageDraw.Draw(layer).rounded_rectangle(
            self.s(*box), radius * self.ss, fill=fill, outline=outline, width=int(width * self.ss))
        self.composite(layer)

    def rounded_mask(self, box, radius):
        m = self.mask()
        ImageDraw.Draw(m).rounded_rectangle(self.s(*box), radius * self.ss, fill=255)
        return m

    def polygon(self, points, fill):
        layer = self.layer()
        ImageDraw.Draw(layer).polygon([tuple(self.s(x, y)) for x, y in points], fill=fill)
        self.composite(layer)

    def line(self, points, fill, width):
        layer = self.layer()
        draw = ImageDraw.Draw(layer)
        pts = [tuple(self.s(x, y)) for x, y in points]
        draw.line(pts, fill=fill, width=int(width * self.ss), joint="curve")
        r = width * self.ss / 2
        for x, y in (pts[0], pts[-1]):  # round caps
            draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)
        self.composite(layer)

    def ellipse(self, box, fill=None, outline=None, width=0):
        layer = self.layer()
        ImageDraw.Draw(layer).ellipse(self.s(*box), fill=fill, outline=outline,
                                      width=int(width * self.ss))
        self.composite(layer)

    def text(self, xy, text, size, fill, anchor="la", bold=False):
        layer = self.layer()
        stroke = int(round(size * self.ss * 0.025)) if bold else 0
        ImageDraw.Draw(layer).text(tuple(self.s(*xy)), text, font=font(size * self.ss),
                                   fill=fill, anchor=anchor, stroke_width=stroke, stroke_fill=fill)
        self.composite(layer)

    def glow(self, center, radius, color, alpha):
        """A soft round light: a blurred disc, smooth enough to deflate well."""
        layer = self.layer()
        cx, cy = self.s(*center)
        r = radius * self.ss
        ImageDraw.Draw(layer).ellipse((cx - r, cy - r, cx + r, cy + r), fill=rgba(color, alpha))
        self.composite(layer.filter(ImageFilter.GaussianBlur(r * 0.6)))

    def result(self):
        return self.img.reduce(self.ss) if self.ss > 1 else self.img


# ---------------------------------------------------------------------------------------------
# The brand mark: a white sail boat on a green rounded square.

def sail_shapes(x, y, size):
    """The three white shapes of the mark inside the square (x, y, size)."""
    def p(u, v):
        return (x + u * size, y + v * size)

    main_sail = [p(0.50, 0.17)]
    for i in range(1, 12):  # the luff bows out to the left
        t = i / 12
        u = (1 - t) ** 2 * 0.50 + 2 * (1 - t) * t * 0.22 + t * t * 0.22
        v = (1 - t) ** 2 * 0.17 + 2 * (1 - t) * t * 0.42 + t * t * 0.68
        main_sail.append(p(u, v))
    main_sail += [p(0.22, 0.68), p(0.50, 0.68)]
    jib = [p(0.56, 0.27), p(0.80, 0.68), p(0.56, 0.68)]
    hull = [p(0.16, 0.74), p(0.84, 0.74), p(0.72, 0.85), p(0.28, 0.85)]
    return [main_sail, jib, hull]


def draw_mark(canvas, x, y, size):
    canvas.vertical_gradient((x, y, x + size, y + size), GREEN_LIGHT, GREEN_DARK,
                             canvas.rounded_mask((x, y, x + size, y + size), size * 0.24))
    for shape in sail_shapes(x, y, size):
        canvas.polygon(shape, rgba(WHITE))


# ---------------------------------------------------------------------------------------------
# Options window background and the unused agreement background.

def window_scale(size):
    return size[0] / WINDOW[0], size[1] / WINDOW[1]


def update_bg(size):
    """Background of the options window, drawn in window coordinates scaled to `size`."""
    sx, sy = window_scale(size)
    k = (sx + sy) / 2
    c = Canvas(size, ss=2)

    def w(x0, y0, x1, y1):
        return (x0 * sx, y0 * sy, x1 * sx, y1 * sy)

    c.vertical_gradient((0, 0) + size, BG_TOP, BG_BOTTOM)
    c.glow((215 * sx, 300 * sy), 170 * k, GREEN, 38)
    # Draggable top band with the product name.
    c.rect(w(0, 0, WINDOW[0], CAPTION_HEIGHT), rgba(BAND))
    c.rect(w(0, CAPTION_HEIGHT - 1, WINDOW[0], CAPTION_HEIGHT), rgba(HAIRLINE))
    draw_mark(c, 22 * sx, 14 * sy, 30 * k)
    c.text((64 * sx, 29 * sy), "云帆更新", 20 * k, rgba(WHITE), anchor="lm", bold=True)
    c.text((160 * sx, 30 * sy), "VQUpdate", 14 * k, rgba(GREY_DIM), anchor="lm")
    # Left: the product's face.
    draw_mark(c, 150 * sx, 170 * sy, 130 * k)
    c.text((215 * sx, 350 * sy), "云帆录屏", 34 * k, rgba(WHITE), anchor="mm", bold=True)
    c.text((215 * sx, 392 * sy), "高清录制 · 轻松分享", 16 * k, rgba(GREY), anchor="mm")
    c.rounded(w(195, 420, 235, 423), 1.5 * k, fill=rgba(GREEN))
    # Right: the panel the controls sit on.
    l, t, r, b = PANEL_RECT
    c.rounded(w(l, t, r, b), 12 * k, fill=rgba(PANEL), outline=rgba(PANEL_EDGE), width=1 * k)
    c.rect(w(451, 356, r - 21, 357), rgba(PANEL_EDGE))   # options | agreement
    return c.result()


def agreement_bg(size):
    """A spare full-window background in the same family (shipped, shown by no window)."""
    k = min(size) / 400
    c = Canvas(size, ss=1)
    c.vertical_gradient((0, 0) + size, BG_TOP, BG_BOTTOM)
    c.glow((size[0] * 0.5, size[1] * 0.42), 120 * k, GREEN, 34)
    draw_mark(c, size[0] * 0.5 - 45 * k, size[1] * 0.42 - 45 * k, 90 * k)
    c.text((size[0] * 0.5, size[1] * 0.42 + 80 * k), "云帆录屏", 26 * k, rgba(WHITE), anchor="mm",
           bold=True)
    return c.result()


def splash(size):
    """The picture shown while the package installs (stretched to 902x383 on screen)."""
    w, h = size
    c = Canvas(size, ss=4)
    c.vertical_gradient((0, 0, w, h), BG_TOP, BG_BOTTOM)
    c.glow((110, 118), 90, GREEN, 46)
    draw_mark(c, 60, 68, 100)
    c.text((196, 100), "云帆更新", 44, rgba(WHITE), anchor="ls", bold=True)
    c.text((198, 136), "云帆录屏 · 高清录制，轻松分享", 15, rgba(GREY), anchor="ls")
    c.text((198, 180), "正在安装...", 18, rgba(WHITE), anchor="ls")
    # Three fading dots say "busy"; a bar would be a progress figure the picture cannot keep.
    for i, alpha in enumerate((255, 170, 90)):
        c.ellipse((200 + 16 * i, 192, 208 + 16 * i, 200), fill=rgba(GREEN, alpha))
    c.text((w - 60, h - 18), "请稍候，安装完成后将自动启动", 11, rgba(GREY_DIM), anchor="rs")
    return c.result()


# ---------------------------------------------------------------------------------------------
# Buttons, check boxes and the progress bar.

def install_button(size, hot):
    """The green install button with its label. The skin paints the control's green bkcolor
    first, so the picture is opaque: its rounded corners are filled with the panel colour."""
    x, y, bw, bh = INSTALL_BUTTON
    assert PANEL_RECT[0] <= x and x + bw <= PANEL_RECT[2] and PANEL_RECT[1] <= y and y + bh <= PANEL_RECT[3], \
        "the install button must sit on the flat panel for its corners to blend in"
    w, h = size
    k = h / bh
    c = Canvas(size, ss=2, fill=rgba(PANEL))
    top, bottom = (GREEN_LIGHT, GREEN) if not hot else ((0x5A, 0xE8, 0x8E), GREEN_LIGHT)
    c.vertical_gradient((0, 0, w, h), top, bottom, c.rounded_mask((0, 0, w, h), 8 * k))
    c.text((w / 2, h / 2), "立即安装", 24 * k, rgba(WHITE), anchor="mm", bold=True)
    return c.result()


def close_icon(size, hot):
    w, h = size
    c = Canvas(size, ss=2)
    if hot:
        c.ellipse((0, 0, w, h), fill=(0xE5, 0x48, 0x4D, 255))
    m = w * (0.30 if hot else 0.18)
    color = rgba(WHITE) if hot else rgba(GREY)
    stroke = w * (0.10 if hot else 0.12)
    c.line([(m, m), (w - m, h - m)], color, stroke)
    c.line([(w - m, m), (m, h - m)], color, stroke)
    return c.result()


def folder_icon(size, hot):
    """An open-folder glyph, drawn in a 92x76 design box scaled to `size`."""
    w, h = size
    sx, sy = w / 92, h / 76
    c = Canvas(size, ss=4)
    back = (0xB8, 0xBE, 0xC7) if not hot else GREEN_DARK
    front = (0xDD, 0xE1, 0xE7) if not hot else GREEN_LIGHT
    c.polygon([(6 * sx, 10 * sy), (36 * sx, 10 * sy), (44 * sx, 20 * sy), (86 * sx, 20 * sy),
               (86 * sx, 70 * sy), (6 * sx, 70 * sy)], rgba(back))
    c.polygon([(16 * sx, 32 * sy), (90 * sx, 32 * sy), (80 * sx, 70 * sy), (4 * sx, 70 * sy)],
              rgba(front))
    return c.result()


def checkbox(size, ticked):
    w, h = size
    c = Canvas(size, ss=4)
    inset, radius = w * 0.06, w * 0.2
    box = (inset, inset, w - inset, h - inset)
    if not ticked:
        c.rounded(box, radius, fill=rgba(EDIT_BK), outline=rgba(GREY), width=w * 0.07)
        return c.result()
    c.rounded(box, radius, fill=rgba(GREEN))
    c.line([(w * 0.26, h * 0.52), (w * 0.43, h * 0.69), (w * 0.75, h * 0.33)], rgba(WHITE),
           w * 0.11)
    return c.result()


def progress_track(size):
    w, h = size
    c = Canvas(size, ss=2)
    c.rounded((0, 0, w, h), h / 2, fill=(0x22, 0x25, 0x2B, 235), outline=(0x3A, 0x3F, 0x47, 255),
              width=2)
    return c.result()


def progress_fill(size):
    w, h = size
    c = Canvas(size, ss=2)
    c.vertical_gradient((0, 0, w, h), GREEN_LIGHT, GREEN_DARK, c.rounded_mask((0, 0, w, h), h / 2))
    c.rounded((h * 0.4, h * 0.18, w - h * 0.4, h * 0.30), h * 0.06, fill=(255, 255, 255, 70))
    return c.result()


# ---------------------------------------------------------------------------------------------
# The four pictures that rise with the download: game, video, screen, audio.

def tile(c, size, color):
    w, h = size
    c.vertical_gradient((0, 0, w, h), mix(color, WHITE, 0.18), color,
                        c.rounded_mask((0, 0, w, h), min(w, h) * 0.22))


def game_picture(size):
    w, h = size
    c = Canvas(size, ss=4)
    tile(c, size, (0x7B, 0x5C, 0xFF))
    body = (w * 0.16, h * 0.30, w * 0.84, h * 0.72)
    c.rounded(body, h * 0.20, fill=rgba(WHITE))
    cx, cy, arm = w * 0.32, h * 0.51, h * 0.10       # direction pad
    c.rounded((cx - arm, cy - arm * 0.33, cx + arm, cy + arm * 0.33), arm * 0.2, fill=(0x7B, 0x5C, 0xFF, 255))
    c.rounded((cx - arm * 0.33, cy - arm, cx + arm * 0.33, cy + arm), arm * 0.2, fill=(0x7B, 0x5C, 0xFF, 255))
    r = h * 0.055
    for bx, by, col in ((0.66, 0.44, (0xFF, 0x5C, 0x8A)), (0.74, 0.56, (0x24, 0xC7, 0x5D))):
        c.ellipse((w * bx - r, h * by - r, w * bx + r, h * by + r), fill=rgba(col))
    return c.result()


def video_picture(size):
    w, h = size
    c = Canvas(size, ss=4)
    tile(c, size, (0xFF, 0x7A, 0x2F))
    c.rounded((w * 0.18, h * 0.30, w * 0.66, h * 0.70), h * 0.07, fill=rgba(WHITE))
    c.polygon([(w * 0.68, h * 0.45), (w * 0.84, h * 0.34), (w * 0.84, h * 0.66), (w * 0.68, h * 0.55)],
              rgba(WHITE))
    r = h * 0.05
    c.ellipse((w * 0.26 - r, h * 0.40 - r, w * 0.26 + r, h * 0.40 + r), fill=(0xFF, 0x4D, 0x4D, 255))
    return c.result()


def screen_picture(size):
    w, h = size
    c = Canvas(size, ss=4)
    tile(c, size, (0x2F, 0x86, 0xFF))
    c.rounded((w * 0.16, h * 0.20, w * 0.84, h * 0.66), h * 0.05, fill=rgba(WHITE))
    c.rounded((w * 0.21, h * 0.27, w * 0.79, h * 0.59), h * 0.02, fill=(0x1E, 0x5F, 0xC8, 255))
    c.polygon([(w * 0.45, h * 0.66), (w * 0.55, h * 0.66), (w * 0.58, h * 0.76), (w * 0.42, h * 0.76)],
              rgba(WHITE))
    c.rounded((w * 0.34, h * 0.76, w * 0.66, h * 0.81), h * 0.02, fill=rgba(WHITE))
    r = h * 0.06  # recording dot on the screen
    c.ellipse((w * 0.5 - r, h * 0.43 - r, w * 0.5 + r, h * 0.43 + r), fill=(0xFF, 0x4D, 0x4D, 255))
    return c.result()


def audio_picture(size):
    w, h = size
    c = Canvas(size, ss=4)
    tile(c, size, (0xF0, 0x3E, 0x7A))
    c.rounded((w * 0.36, h * 0.16, w * 0.64, h * 0.56), w * 0.14, fill=rgba(WHITE))
    c.line([(w * 0.24, h * 0.46), (w * 0.26, h * 0.56), (w * 0.36, h * 0.66), (w * 0.50, h * 0.69),
            (w * 0.64, h * 0.66), (w * 0.74, h * 0.56), (w * 0.76, h * 0.46)], rgba(WHITE), w * 0.07)
    c.line([(w * 0.5, h * 0.69), (w * 0.5, h * 0.80)], rgba(WHITE), w * 0.07)
    c.line([(w * 0.34, h * 0.82), (w * 0.66, h * 0.82)], rgba(WHITE), w * 0.07)
    return c.result()


# ---------------------------------------------------------------------------------------------

# Every skin image: file name, pixel size, painter. The sizes are part of the skins' contract.
IMAGES = [
    ("start.png", (601, 250), splash),
    ("processBbg.png", (1217, 39), progress_track),
    ("processFbg.png", (1217, 39), progress_fill),
    ("processvideo.png", (96, 96), video_picture),
    ("processscreen.png", (120, 96), screen_picture),
    ("processaudio.png", (75, 101), audio_picture),
    ("prcessgame.png", (144, 96), game_picture),
    ("pathchooseh.png", (242, 200), lambda s: folder_icon(s, hot=True)),
    ("closeh.png", (200, 200), lambda s: close_icon(s, hot=True)),
    ("installbtH.png", (653, 200), lambda s: install_button(s, hot=True)),
    ("installbt.png", (653, 200), lambda s: install_button(s, hot=False)),
    ("agreementbg.png", (2972, 1872), agreement_bg),
    ("checkboxnormal.png", (52, 52), lambda s: checkbox(s, ticked=False)),
    ("checkboxnormal1.png", (48, 48), lambda s: checkbox(s, ticked=False)),
    ("checkboxselect.png", (52, 52), lambda s: checkbox(s, ticked=True)),
    ("checkboxselect1.png", (48, 48), lambda s: checkbox(s, ticked=True)),
    ("closebt.png", (200, 200), lambda s: close_icon(s, hot=False)),
    ("pathchoose.png", (92, 76), lambda s: folder_icon(s, hot=False)),
    ("update_bg.png", (2996, 1484), update_bg),
]

ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]


def window_icon():
    """The program icon: the brand mark, large enough for every size in the .ico."""
    c = Canvas((256, 256), ss=4)
    draw_mark(c, 8, 8, 240)
    return c.result()


def mock_options(skin_dir):
    """The options window as the skin lays it out, with the texts in a stand-in font: a check
    that the controls sit on clean parts of the background and read well."""
    def load(name):
        return Image.open(os.path.join(skin_dir, name)).convert("RGBA")

    shot = load("update_bg.png").resize(WINDOW, Image.LANCZOS)
    draw = ImageDraw.Draw(shot)

    def place(name, x, y, w, h):
        img = load(name).resize((w, h), Image.LANCZOS)
        shot.alpha_composite(img, (x, y))

    def text(x, y, h, s, color=WHITE, size=21, centre=False):
        f = font(size)
        anchor = "mm" if centre else "lm"
        draw.text((x, y + h / 2), s, font=f, fill=color, anchor=anchor)

    draw.rounded_rectangle((520, 165, 964, 210), 4, fill=EDIT_BK)
    text(532, 165, 45, "C:\\Program Files (x86)\\ROVuruvodiv")
    text(451, 125, 27, "安装到:")
    place("closebt.png", 1065, 20, 18, 18)
    place("pathchoose.png", 984, 170, 35, 29)
    for x, y, label in ((520, 240, "添加桌面快捷方式"), (780, 240, "添加到开始菜单"),
                        (520, 300, "同意参加用户体验计划")):
        place("checkboxselect.png", x, y, 30, 30)
        text(x + 40, y, 23 if y == 240 else 30, label)
    place("checkboxselect1.png", 520, 385, 20, 20)
    text(555, 380, 30, "我已同意并阅读")
    text(755, 380, 30, "用户协议", GREEN, centre=True)
    text(825, 380, 30, "和", centre=True)
    text(895, 380, 30, "隐私协议", GREEN, centre=True)
    place("installbt.png", *INSTALL_BUTTON)
    return shot


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--skin-dir", default=os.path.join(REPO, "app", "skin"))
    parser.add_argument("--icon", default=os.path.join(REPO, "app", "resources", "installer.ico"))
    parser.add_argument("--mock", help="also write a mock-up of the options window to this PNG")
    args = parser.parse_args(argv)

    if not os.path.exists(FONT_PATH):
        sys.exit(f"make_images: font {FONT_PATH} missing (install fonts-wqy-microhei)")
    for name, size, paint in IMAGES:
        img = paint(size)
        assert img.size == size, f"{name} came out {img.size}, not {size}"
        img.save(os.path.join(args.skin_dir, name), optimize=True)
        print(f"{name:20} {size[0]:5} x {size[1]:<5}")
    window_icon().save(args.icon, sizes=[(s, s) for s in ICON_SIZES])
    print(f"{os.path.basename(args.icon):20} {ICON_SIZES}")
    if args.mock:
        mock_options(args.skin_dir).save(args.mock)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
