#!/usr/bin/env python3
"""Checks that the installer's skins hold what its windows rely on.

    check_skins.py SKIN_DIR SKIN_ARCHIVE.zip

The windows find their controls by name and place the pictures at fixed spots, so a
misspelt name, a lost attribute or an image missing from the archive breaks the installer
at run time; these checks catch that at build time.
"""

import os
import re
import sys
import unittest
import zipfile

SKIN_DIR = ARCHIVE = None  # set by main()

# Children of the options layout: element, name, left, top, width, height.
OPTIONS_CONTROLS = [
    ("Button", "buttionClose", 1065, 20, 18, 18),
    ("Text", None, None, None, 90, 27),
    ("Edit", "installpath", 520, 165, 444, 45),
    ("Button", "installpathEdit", 984, 170, 35, 29),
    ("CheckBox", "chkDesktopOption", 520, 240, 30, 30),
    ("Button", "chkDesktopOptionText", 560, 240, 200, 23),
    ("CheckBox", "chkMenuOption", 780, 240, 30, 30),
    ("Button", "chkMenuOptionText", 820, 240, 200, 23),
    ("CheckBox", "chkTaskOption", 520, 300, 30, 30),
    ("Button", "chkTaskOptionText", 560, 300, 300, 30),
    ("CheckBox", "chkOption", 780, 300, 30, 30),
    ("Button", "chkOptionText", 820, 300, 240, 30),
    ("CheckBox", "chkAgreeOption", 520, 385, 20, 20),
    ("Button", "chkAgreeOptionText", 555, 380, 150, 30),
    ("Button", "userAgree", 715, 380, 80, 30),
    ("Button", "with", 795, 380, 60, 30),
    ("Button", "privAgree", 855, 380, 80, 30),
    ("Button", "buttonInstall", 830, 440, 186, 57),
]
DOWNLOAD_CONTROLS = [
    ("Progress", "downloadpro", 0, 135, 1217, 39),
    ("Button", "game", 225, 45, 150, 100),
    ("Button", "video", 300, 90, 70, 70),
    ("Button", "screen", 430, 30, 100, 70),
    ("Button", "audio", 590, 90, 50, 70),
]
IMAGE_ATTRIBUTES = {"bkimage", "normalimage", "hotimage", "pushedimage", "selectedimage", "foreimage"}
UNUSED_IMAGES = {"agreementbg.png"}

# The skin markup is read the way the framework reads it, not as strict XML: an attribute may
# follow the previous closing quote directly (name="with"pos="..."), and a repeated attribute
# counts twice. "<?...?>" and "<!...->" sections are skipped. The skins use no entities.
SECTION = re.compile(r"<\?.*?\?>|<!.*?->", re.S)
TAG = re.compile(r'<(/?)([A-Za-z0-9:_]+)((?:\s*[A-Za-z0-9:_]+\s*=\s*"[^"]*")*)\s*(/?)>')
ATTRIBUTE = re.compile(r'([A-Za-z0-9:_]+)\s*=\s*"([^"]*)"')


class Element:
    def __init__(self, tag, attributes):
        self.tag, self.attributes, self.children = tag, attributes, []

    def get(self, name, default=None):
        """The value the framework ends up with: attributes apply in order, the last wins."""
        values = [v for n, v in self.attributes if n == name]
        return values[-1] if values else default

    def geometry(self):
        """(left, top, width, height) after applying pos, width and height in order; pos
        gives right - left and bottom - top as the size unless those are negative."""
        left = top = width = height = None
        for name, value in self.attributes:
            if name == "pos":
                left, top, right, bottom = (int(v) for v in value.split(","))
                width = right - left if right >= left else width
                height = bottom - top if bottom >= top else height
            elif name in ("width", "height"):
                width, height = (int(value), height) if name == "width" else (width, int(value))
        return left, top, width, height

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()


def parse(text):
    """The root element of skin text; AssertionError on anything but tags and white space."""
    text = SECTION.sub("", text)
    stack, at = [Element(None, [])], 0
    for match in TAG.finditer(text):
        assert not text[at:match.start()].strip(), f"stray text before {match.group(0)!r}"
        at = match.end()
        closing, tag, attributes, empty = match.groups()
        if closing:
            assert stack[-1].tag == tag, f"</{tag}> closes <{stack[-1].tag}>"
            stack.pop()
            continue
        element = Element(tag, ATTRIBUTE.findall(attributes))
        stack[-1].children.append(element)
        if not empty:
            stack.append(element)
    assert not text[at:].strip() and len(stack) == 1, "unclosed element or trailing text"
    assert len(stack[0].children) == 1, "a skin has one root element"
    return stack[0].children[0]


def load(name):
    with open(os.path.join(SKIN_DIR, name), encoding="utf-8") as f:
        return parse(f.read())


def image_file(descriptor):
    """The file an image attribute names: either a bare file name or "file='...'"."""
    match = re.search(r"file='([^']*)'", descriptor)
    return match.group(1) if match else descriptor


class SkinTest(unittest.TestCase):
    def layout_of(self, window, size):
        self.assertEqual((window.tag, window.get("size")), ("Window", size))
        layouts = [e for e in window.children if e.tag == "HorizontalLayout"]
        self.assertEqual(len(layouts), 1)
        return layouts[0]

    def assert_controls(self, layout, expected):
        self.assertEqual([(c.tag, c.get("name")) + c.geometry() for c in layout.children], expected)

    def test_options_window_finds_every_control_at_its_place(self):
        window = load("options.xml")
        self.assertEqual(window.get("caption"), "0,0,0,57")
        fonts = {f.get("id"): (f.get("name"), f.get("size")) for f in window.children if f.tag == "Font"}
        self.assertEqual(fonts, {"1": ("checboxfont", "21"), "3": ("checboxfont", "21"),
                                 "4": ("checboxfont", "27")})
        layout = self.layout_of(window, "1124,557")
        self.assertEqual(image_file(layout.get("bkimage")), "update_bg.png")
        self.assert_controls(layout, OPTIONS_CONTROLS)
        # The caption is the one child the layout places itself; everything else floats.
        caption = layout.children[1]
        self.assertEqual((caption.get("padding"), caption.get("text")), ("451,125,0,0", "安装到:"))
        self.assertEqual([c for c in layout.children if c.get("float") != "true"], [caption])
        path = layout.children[2]
        self.assertEqual(path.get("text"), r"C:\Program Files (x86)\ROVuruvodiv")

    def test_options_check_boxes_start_ticked_and_the_spare_pair_stays_hidden(self):
        layout = self.layout_of(load("options.xml"), "1124,557")
        boxes = [c for c in layout.children if c.tag == "CheckBox"]
        self.assertEqual([b.get("selected") for b in boxes], ["true"] * 5)
        hidden = [c.get("name") for c in layout.children if c.get("visible", "true") != "true"]
        self.assertEqual(hidden, ["chkOption", "chkOptionText"])
        self.assertEqual(layout.children[-1].get("text"), "")  # the label is in installbt.png

    def test_download_window_is_layered_with_bar_and_four_pictures(self):
        window = load("download.xml")
        self.assertEqual(window.get("layeredimage"), "")  # present, empty: per-pixel alpha
        layout = self.layout_of(window, "1217,300")
        self.assertIsNone(layout.get("bkimage"))
        self.assert_controls(layout, DOWNLOAD_CONTROLS)
        bar = layout.children[0]
        self.assertEqual((bar.get("foreimage"), bar.get("bkimage")), ("processFbg.png", "processBbg.png"))

    def test_splash_is_one_unlayered_picture(self):
        window = load("agreement.xml")
        self.assertIsNone(window.get("layeredimage"))
        layout = self.layout_of(window, "902,383")
        self.assertEqual(image_file(layout.get("bkimage")), "start.png")
        self.assertEqual(layout.children, [])

    def test_every_image_a_skin_names_is_in_the_archive(self):
        # The framework looks entries up ignoring case.
        with zipfile.ZipFile(ARCHIVE) as archive:
            entries = {name.lower() for name in archive.namelist()}
        self.assertLessEqual({"options.xml", "download.xml", "agreement.xml"}, entries)
        named = {image_file(value).lower()
                 for skin in ("options.xml", "download.xml", "agreement.xml")
                 for element in load(skin).walk()
                 for name, value in element.attributes if name in IMAGE_ATTRIBUTES}
        self.assertEqual(named - entries, set())
        self.assertEqual({e for e in entries if e.endswith(".png")} - named, UNUSED_IMAGES)


def main(argv):
    global SKIN_DIR, ARCHIVE
    if len(argv) != 2:
        print(__doc__)
        return 2
    SKIN_DIR, ARCHIVE = argv
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
