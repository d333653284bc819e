#!/usr/bin/env python3
"""Checks that the installer's skins hold what its windows rely on.

    check_skins.py SKIN_DIR SKIN_ARCHIVE.zip

The windows find their controls by name and place the pictures at fixed spots, so a
misspelt name, a wrong or lost attribute or an image missing from the archive breaks the installer
at run time; these checks catch that at build time.
"""

import os
import re
import sys
import unittest
import zipfile

SKIN_DIR = ARCHIVE = None  # set by main()

WHITE, GREEN = "#FFFFFFFF", "#FF24C75D"
# Ticked check boxes with their large pictures, and the white captions beside them.
CHECK_BOX = {"selected": "true", "normalimage": "file='checkboxnormal.png'",
             "selectedimage": "file='checkboxselect.png'"}
CAPTION = {"align": "left", "textcolor": WHITE, "font": "3"}
# The two green document links; hot they turn white.
LINK = {"textcolor": GREEN, "hottextcolor": WHITE, "selectedtextcolor": GREEN, "font": "3"}


def pictures(file, hot=None, descriptor=True):
    """A button's normal and pushed image `file` (the normal one as "file='...'" when
    `descriptor`), its hot image `hot`, or `file` again."""
    normal = f"file='{file}'" if descriptor else file
    return {"normalimage": normal, "hotimage": hot or file, "pushedimage": file}


# Children of the options layout: element, name, left, top, width, height, and every other
# attribute with the value it ends up with (a repeated attribute counts once here).
OPTIONS_CONTROLS = [
    ("Button", "buttionClose", 1065, 20, 18, 18,
     {"maxwidth": "18", "maxheight": "18", **pictures("closebt.png", "closeh.png"),
      "textcolor": WHITE, "text": "", "font": "18"}),
    ("Text", None, None, None, 90, 27, {"text": "安装到:", "textcolor": WHITE, "font": "1"}),
    ("Edit", "installpath", 520, 165, 444, 45,
     {"text": r"C:\Program Files (x86)\ROVuruvodiv", "textcolor": WHITE,
      "textpadding": "12,12,12,12", "borderround": "8,8", "roundcorner": "8,8", "align": "left",
      "bkcolor": "#FF1A1C1F", "multiline": "false", "rich": "false", "font": "1"}),
    # The maximum width and height are swapped in the skin; a floating button ignores both.
    ("Button", "installpathEdit", 984, 170, 35, 29,
     {"maxheight": "35", "maxwidth": "29", **pictures("pathchoose.png", "pathchooseh.png")}),
    ("CheckBox", "chkDesktopOption", 520, 240, 30, 30, CHECK_BOX),
    ("Button", "chkDesktopOptionText", 560, 240, 200, 23, {"text": "添加桌面快捷方式", **CAPTION}),
    ("CheckBox", "chkMenuOption", 780, 240, 30, 30, CHECK_BOX),
    ("Button", "chkMenuOptionText", 820, 240, 200, 23, {"text": "添加到开始菜单", **CAPTION}),
    ("CheckBox", "chkTaskOption", 520, 300, 30, 30, CHECK_BOX),
    ("Button", "chkTaskOptionText", 560, 300, 300, 30, {"text": "同意参加用户体验计划", **CAPTION}),
    ("CheckBox", "chkOption", 780, 300, 30, 30, {**CHECK_BOX, "visible": "false"}),
    ("Button", "chkOptionText", 820, 300, 240, 30,
     {"text": "同意参加用户体验计划", "visible": "false", **CAPTION}),
    ("CheckBox", "chkAgreeOption", 520, 385, 20, 20,
     {"visible": "true", "selected": "true", "normalimage": "file='checkboxnormal1.png'",
      "selectedimage": "file='checkboxselect1.png'"}),
    ("Button", "chkAgreeOptionText", 555, 380, 150, 30, {"text": "我已同意并阅读", **CAPTION}),
    ("Button", "userAgree", 715, 380, 80, 30, {"text": "用户协议", **LINK}),
    ("Button", "with", 795, 380, 60, 30, {"text": "  和  ", "textcolor": WHITE, "font": "3"}),
    ("Button", "privAgree", 855, 380, 80, 30, {"text": "隐私协议", **LINK}),
    ("Button", "buttonInstall", 830, 440, 186, 57,
     {"maxwidth": "186", "maxheight": "57", "visible": "true", "text": "", "textcolor": WHITE,
      "bkcolor": GREEN, **pictures("installbt.png", "installbtH.png"), "font": "4"}),
]
DOWNLOAD_CONTROLS = [
    ("Progress", "downloadpro", 0, 135, 1217, 39,
     {"value": "35", "foreimage": "processFbg.png", "bkimage": "processBbg.png",
      "borderround": "20,20", "roundcorner": "20,20"}),
    ("Button", "game", 225, 45, 150, 100, pictures("prcessgame.png")),
    ("Button", "video", 300, 90, 70, 70, pictures("processvideo.png", descriptor=False)),
    ("Button", "screen", 430, 30, 100, 70, pictures("processscreen.png", descriptor=False)),
    ("Button", "audio", 590, 90, 50, 70, pictures("processaudio.png", descriptor=False)),
]
# Attributes that place a control; the tables above give their effect as left, top, size.
PLACEMENT = {"name", "float", "pos", "width", "height", "padding"}
# The only attribute given twice in one element, and where: the framework applies it twice.
REPEATED = {("chkAgreeOption", "visible"): 2, ("buttonInstall", "visible"): 2}
SKINS = ("options.xml", "download.xml", "agreement.xml")
DECLARATION = '<?xml version="1.0" encoding="UTF-8"?>\n'
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
    def root_of(self, name, attributes, children):
        """The skin's Window after checking its attributes and the kinds of its children."""
        window = load(name)
        self.assertEqual((window.tag, window.attributes), ("Window", attributes))
        self.assertEqual([c.tag for c in window.children], children)
        return window

    def layout_of(self, window, attributes):
        layout = window.children[-1]
        self.assertEqual(layout.attributes, attributes)
        return layout

    def assert_controls(self, layout, expected):
        found = [(c.tag, c.get("name")) + c.geometry() +
                 ({n: v for n, v in c.attributes if n not in PLACEMENT},) for c in layout.children]
        self.assertEqual(len(found), len(expected))
        for control, wanted in zip(found, expected):
            self.assertEqual(control, wanted)

    def test_options_window_finds_every_control_at_its_place(self):
        window = self.root_of("options.xml", [("size", "1124,557"), ("caption", "0,0,0,57")],
                              ["Font"] * 3 + ["HorizontalLayout"])
        plain = [("bold", "false"), ("italic", "false")]
        self.assertEqual([f.attributes for f in window.children[:3]],
                         [[("id", "1"), ("name", "checboxfont"), ("size", "21")] + plain,
                          [("id", "3"), ("name", "checboxfont"), ("size", "21")] + plain,
                          [("id", "4"), ("name", "checboxfont"), ("size", "27")] + plain])
        layout = self.layout_of(window, [("bkimage", "file='update_bg.png'"), ("hole", "true")])
        self.assert_controls(layout, OPTIONS_CONTROLS)
        # The caption is the one child the layout places itself; everything else floats.
        caption = layout.children[1]
        self.assertEqual(caption.get("padding"), "451,125,0,0")
        self.assertEqual([c for c in layout.children if c.get("float") != "true"], [caption])

    def test_download_window_is_layered_with_bar_and_four_pictures(self):
        # layeredimage present but empty: per-pixel alpha with nothing behind the controls.
        window = self.root_of("download.xml", [("size", "1217,300"), ("layeredimage", ""),
                                               ("layeredopacity", "255")], ["HorizontalLayout"])
        layout = self.layout_of(window, [("hole", "true"), ("layeredopacity", "10")])
        self.assert_controls(layout, DOWNLOAD_CONTROLS)

    def test_splash_is_one_unlayered_picture(self):
        window = self.root_of("agreement.xml", [("size", "902,383"), ("layeredopacity", "255")],
                              ["HorizontalLayout"])
        layout = self.layout_of(window, [("bkimage", "file='start.png'"), ("hole", "true"),
                                         ("layeredopacity", "10")])
        self.assertEqual(layout.children, [])

    def test_skins_keep_the_markup_quirks_the_framework_reads(self):
        texts = {}
        for skin in SKINS:
            with open(os.path.join(SKIN_DIR, skin), encoding="utf-8") as f:
                texts[skin] = f.read()
            self.assertTrue(texts[skin].startswith(DECLARATION), skin)
            # A comment after an element on its line.
            self.assertRegex(texts[skin], r"(?m)/>[ \t]*<!--[^\n]*-->[ \t]*$", skin)
        for name in ("chkMenuOptionText", "with", "privAgree"):
            self.assertIn(f'name="{name}"pos="', texts["options.xml"])
        repeated = {}
        for skin in SKINS:
            for element in load(skin).walk():
                names = [n for n, _ in element.attributes]
                for attribute in set(names):
                    if names.count(attribute) > 1:
                        repeated[(element.get("name"), attribute)] = names.count(attribute)
                # width and height come after pos, so they override its right and bottom.
                if "pos" in names:
                    self.assertLess(names.index("pos"), names.index("width"), element.get("name"))
                    self.assertLess(names.index("pos"), names.index("height"), element.get("name"))
        self.assertEqual(repeated, REPEATED)

    def test_every_image_a_skin_names_is_in_the_archive(self):
        # The framework looks entries up ignoring case.
        with zipfile.ZipFile(ARCHIVE) as archive:
            entries = {name.lower() for name in archive.namelist()}
        self.assertLessEqual(set(SKINS), entries)
        named = {image_file(value).lower()
                 for skin in SKINS
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
