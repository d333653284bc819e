"""A test-only reader for the installer's skin files.

It reads the markup the way the skin framework does, not as strict XML: "<?...?>" and
"<!...->" sections are skipped, an attribute may follow the closing quote of the previous
one without white space (name="with"pos="795,380,0,0"), and a repeated attribute is kept
twice, in order. Entities are left undecoded; the installer's skins use none.
"""

import re

NAME = re.compile(r"[A-Za-z0-9:_]+")
ATTRIBUTE = re.compile(r'\s*([A-Za-z0-9:_]+)\s*=\s*"([^"]*)"')


class SkinError(Exception):
    pass


class Element:
    def __init__(self, tag, attributes):
        self.tag = tag
        self.attributes = attributes  # [(name, value)] in document order, repeats kept
        self.children = []

    def get(self, name, default=None):
        """The value the framework ends up with: attributes apply in order, the last wins."""
        values = [v for n, v in self.attributes if n == name]
        return values[-1] if values else default

    def geometry(self):
        """(left, top, width, height) after applying pos, width and height in order."""
        left = top = width = height = None
        for name, value in self.attributes:
            if name == "pos":
                l, t, r, b = (int(v) for v in value.split(","))
                left, top = l, t
                width = r - l if r - l >= 0 else width    # negative sizes are ignored
                height = b - t if b - t >= 0 else height
            elif name == "width":
                width = int(value)
            elif name == "height":
                height = int(value)
        return left, top, width, height


def parse(text):
    """Parses skin text into its root Element; raises SkinError with the position."""
    parser = _Parser(text)
    roots = parser.level(None)
    if len(roots) != 1:
        raise SkinError(f"expected one root element, found {len(roots)}")
    return roots[0]


class _Parser:
    def __init__(self, text):
        self.text = text
        self.at = 0

    def fail(self, message):
        raise SkinError(f"{message} at offset {self.at}: {self.text[self.at:self.at + 30]!r}")

    def skip_space(self):
        while self.at < len(self.text) and self.text[self.at] <= " ":
            self.at += 1

    def level(self, parent_tag):
        """Parses elements until the end of the text (top level) or the parent's closing tag."""
        elements = []
        while True:
            self.skip_space()
            if self.at >= len(self.text):
                if parent_tag is not None:
                    self.fail(f"missing </{parent_tag}>")
                return elements
            if not self.text.startswith("<", self.at):
                self.fail("expected start tag")
            if self.text.startswith("</", self.at):
                self.closing(parent_tag)
                return elements
            if self.text.startswith(("<?", "<!"), self.at):
                end = "?>" if self.text[self.at + 1] == "?" else "->"
                stop = self.text.find(end, self.at + 2)
                if stop < 0:
                    self.fail("unterminated section")
                self.at = stop + 2
                continue
            elements.append(self.element())

    def element(self):
        self.at += 1
        match = NAME.match(self.text, self.at)
        if not match:
            self.fail("error parsing element name")
        self.at = match.end()
        attributes = []
        while True:
            self.skip_space()
            if self.text.startswith("/>", self.at):
                self.at += 2
                return Element(match.group(0), attributes)
            if self.text.startswith(">", self.at):
                self.at += 1
                break
            attribute = ATTRIBUTE.match(self.text, self.at)
            if not attribute:
                self.fail("error while parsing attributes")
            attributes.append((attribute.group(1), attribute.group(2)))
            self.at = attribute.end()
        element = Element(match.group(0), attributes)
        # Element data (text between tags) is not used by skins; skip to the next tag.
        stop = self.text.find("<", self.at)
        self.at = stop if stop >= 0 else len(self.text)
        element.children = self.level(element.tag)
        return element

    def closing(self, tag):
        self.at += 2
        if tag is None or not self.text.startswith(tag, self.at):
            self.fail("unmatched closing tag")
        self.at += len(tag)
        self.skip_space()
        if not self.text.startswith(">", self.at):
            self.fail("unmatched closing tag")
        self.at += 1
