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

from skin_markup import parse

SKIN_DIR = ARCHIVE = None  # set by main()

# Floating children of the options layout: element, name, left, top, width, height.
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


def load(name):
    with open(os.path.join(SKIN_DIR, name), "rb") as f:
        data = f.read()
    return parse(data.decode("utf-8"))


def image_file(descriptor):
    """The file an image attribute names: either a bare file name or "file='...'"."""
    match = re.search(r"file='([^']*)'", descriptor)
    return match.group(1) if match else descriptor


def single_layout(test, window, size):
    test.assertEqual(window.tag, "Window")
    test.assertEqual(window.get("size"), size)
    layouts = [e for e in window.children if e.tag == "HorizontalLayout"]
    test.assertEqual(len(layouts), 1)
    return layouts[0]


class SkinTest(unittest.TestCase):
    def assert_controls(self, layout, expected):
        actual = [(c.tag, c.get("name")) + c.geometry() for c in layout.children]
        wanted = [row if row[2] is not None else row[:2] + (None, None) + row[4:] for row in expected]
        self.assertEqual(actual, wanted)

    def test_options_window_finds_every_control_at_its_place(self):
        window = load("options.xml")
        self.assertEqual(window.get("caption"), "0,0,0,57")
        fonts = {f.get("id"): (f.get("name"), f.get("size")) for f in window.children if f.tag == "Font"}
        self.assertEqual(fonts, {"1": ("checboxfont", "21"), "3": ("checboxfont", "21"),
                                 "4": ("checboxfont", "27")})
        layout = single_layout(self, window, "1124,557")
        self.assertEqual(image_file(layout.get("bkimage")), "update_bg.png")
        self.assert_controls(layout, OPTIONS_CONTROLS)
        by_name = {c.get("name"): c for c in layout.children}
        # The caption is the one child the layout places itself; everything else floats.
        caption = layout.children[1]
        self.assertEqual((caption.get("float"), caption.get("padding"), caption.get("text")),
                         (None, "451,125,0,0", "安装到:"))
        self.assertEqual([c.get("name") for c in layout.children if c.get("float") != "true"], [None])
        self.assertEqual(by_name["installpath"].get("text"), r"C:\Program Files (x86)\ROVuruvodiv")
        self.assertEqual(by_name["installpath"].get("bkcolor"), "#FF1A1C1F")

    def test_options_check_boxes_start_ticked_and_the_spare_pair_stays_hidden(self):
        layout = single_layout(self, load("options.xml"), "1124,557")
        boxes = {c.get("name"): c for c in layout.children if c.tag == "CheckBox"}
        self.assertEqual({n: b.get("selected") for n, b in boxes.items()},
                         dict.fromkeys(["chkDesktopOption", "chkMenuOption", "chkTaskOption",
                                        "chkOption", "chkAgreeOption"], "true"))
        visible = {c.get("name"): c.get("visible", "true") for c in layout.children}
        self.assertEqual([n for n, v in visible.items() if v != "true"], ["chkOption", "chkOptionText"])
        texts = {c.get("name"): c.get("text") for c in layout.children}
        self.assertEqual(texts["userAgree"], "用户协议")
        self.assertEqual(texts["privAgree"], "隐私协议")
        self.assertEqual(texts["buttonInstall"], "")  # the label is part of installbt.png

    def test_download_window_is_layered_with_bar_and_four_pictures(self):
        window = load("download.xml")
        self.assertEqual(window.get("layeredimage"), "")  # present, empty: per-pixel alpha
        layout = single_layout(self, window, "1217,300")
        self.assertIsNone(layout.get("bkimage"))
        self.assert_controls(layout, DOWNLOAD_CONTROLS)
        bar = layout.children[0]
        self.assertEqual((bar.get("value"), bar.get("foreimage"), bar.get("bkimage")),
                         ("35", "processFbg.png", "processBbg.png"))

    def test_splash_is_one_unlayered_picture(self):
        window = load("agreement.xml")
        self.assertIsNone(window.get("layeredimage"))
        layout = single_layout(self, window, "902,383")
        self.assertEqual(image_file(layout.get("bkimage")), "start.png")
        self.assertEqual(layout.children, [])

    def test_every_image_a_skin_names_is_in_the_archive(self):
        # The framework looks entries up ignoring case.
        with zipfile.ZipFile(ARCHIVE) as archive:
            entries = {name.lower() for name in archive.namelist()}
        named = set()
        for skin in ("options.xml", "download.xml", "agreement.xml"):
            self.assertIn(skin, entries)
            stack = [load(skin)]
            while stack:
                element = stack.pop()
                stack.extend(element.children)
                named |= {image_file(v).lower() for n, v in element.attributes if n in IMAGE_ATTRIBUTES}
        self.assertEqual(named - entries, set())
        pictures = {e for e in entries if e.endswith(".png")}
        self.assertEqual(pictures - named, UNUSED_IMAGES)


def main(argv):
    global SKIN_DIR, ARCHIVE
    if len(argv) < 2:
        print(__doc__)
        return 2
    SKIN_DIR, ARCHIVE = argv[0], argv[1]
    result = unittest.main(argv=[sys.argv[0], "-v"] + argv[2:], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
