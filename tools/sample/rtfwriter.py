"""A small RTF writer for the sample documents.

Documents are built from simple blocks and written the way a word processor
stores Polish text: an \\ansicpg1250 header, fonts with \\fcharset238, every
character outside ASCII as a \\'hh escape of its Windows-1250 byte, one
paragraph per line.

Inline markup inside block texts:
    **bold**   //italic//   __underline__   [[2:text in colour 2]]
"""

import re

CODEPAGE = "cp1250"

# Colour table entries, 1-based as RTF counts them (0 is "auto").
COLOURS = [
    (0, 0, 128),    # 1 navy: headings
    (128, 0, 0),    # 2 maroon: warnings
    (0, 102, 51),   # 3 green: tips
    (192, 0, 0),    # 4 red: rate changes
    (96, 96, 96),   # 5 grey: remarks
    (0, 0, 255),    # 6 blue: names of commands
]

_INLINE = re.compile(r"(\*\*|//|__|\[\[\d:|\]\])")


def escape(text):
    """Escapes plain text: RTF specials and every non-ASCII character."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append("\\tab ")
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("\\'%02x" % ch.encode(CODEPAGE)[0])
    return "".join(out)


def inline(text):
    """Turns the inline markup of a block text into RTF control words."""
    out = []
    state = {"**": False, "//": False, "__": False}
    on_off = {"**": ("\\b ", "\\b0 "), "//": ("\\i ", "\\i0 "), "__": ("\\ul ", "\\ulnone ")}
    for piece in _INLINE.split(text):
        if piece in on_off:
            state[piece] = not state[piece]
            out.append(on_off[piece][0 if state[piece] else 1])
        elif piece.startswith("[[") and piece.endswith(":"):
            out.append("\\cf%s " % piece[2:-1])
        elif piece == "]]":
            out.append("\\cf0 ")
        else:
            out.append(escape(piece))
    if any(state.values()):
        raise ValueError("unbalanced inline markup: " + text)
    return "".join(out)


class Document:
    """Collects blocks and renders them as one RTF document."""

    def __init__(self, body_size=20):
        self.body_size = body_size  # half-points
        self.lines = []

    def _para(self, fmt, text):
        self.lines.append("\\pard%s\\f0\\fs%d %s\\par" % (fmt, self.body_size, inline(text)))

    def title(self, text, size=32):
        self.lines.append("\\pard\\qc\\sb120\\sa120\\cf1\\b\\f0\\fs%d %s\\cf0\\b0\\fs%d\\par"
                          % (size, inline(text), self.body_size))

    def subtitle(self, text):
        self.lines.append("\\pard\\qc\\sa240\\i\\f0\\fs%d %s\\i0\\par" % (self.body_size, inline(text)))

    def heading(self, text):
        self.lines.append("\\pard\\sb240\\sa80\\keepn\\cf1\\b\\f0\\fs24 %s\\cf0\\b0\\fs%d\\par"
                          % (inline(text), self.body_size))

    def subheading(self, text):
        self.lines.append("\\pard\\sb120\\sa60\\keepn\\b\\f0\\fs%d %s\\b0\\par" % (self.body_size, inline(text)))

    def para(self, text):
        self._para("\\sa120", text)

    def centred(self, text):
        self._para("\\qc\\sa120", text)

    def remark(self, text):
        self.lines.append("\\pard\\li284\\sa120\\cf5\\i\\f0\\fs18 %s\\cf0\\i0\\fs%d\\par"
                          % (inline(text), self.body_size))

    def bullet(self, text):
        self.lines.append("\\pard\\fi-284\\li568\\sa60\\tx568\\f0\\fs%d \\'95\\tab %s\\par"
                          % (self.body_size, inline(text)))

    def numbered(self, number, text):
        self.lines.append("\\pard\\fi-284\\li568\\sa60\\tx568\\f0\\fs%d %s.\\tab %s\\par"
                          % (self.body_size, number, inline(text)))

    def code(self, text):
        self.lines.append("\\pard\\li568\\sa60\\f2\\fs18 %s\\f0\\fs%d\\par" % (escape(text), self.body_size))

    def table(self, widths, rows, header=True):
        """A bordered table; widths in twips, rows of inline-markup texts."""
        border = "\\brdrs\\brdrw10"
        cells = []
        right = 0
        for w in widths:
            right += w
            cells.append("\\clbrdrt%s\\clbrdrl%s\\clbrdrb%s\\clbrdrr%s\\cellx%d"
                         % (border, border, border, border, right))
        rowdef = "\\trowd\\trgaph70\\trleft0" + "".join(cells)
        for index, row in enumerate(rows):
            if len(row) != len(widths):
                raise ValueError("table row with %d cells, %d expected" % (len(row), len(widths)))
            bold = header and index == 0
            self.lines.append(rowdef)
            parts = []
            for text in row:
                body = inline(text)
                if bold:
                    body = "\\b " + body + "\\b0 "
                parts.append("\\pard\\intbl\\f0\\fs18 %s\\cell" % body)
            self.lines.append("".join(parts) + "\\row")
        self.lines.append("\\pard\\sa120\\par")

    def blank(self):
        self.lines.append("\\pard\\par")

    def render(self):
        fonts = ("{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset238 Arial;}"
                 "{\\f1\\froman\\fprq2\\fcharset238 Times New Roman;}"
                 "{\\f2\\fmodern\\fprq1\\fcharset238 Courier New;}}")
        colours = "{\\colortbl ;" + "".join("\\red%d\\green%d\\blue%d;" % c for c in COLOURS) + "}"
        head = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045" + fonts
        body = ["\\viewkind4\\uc1\\pard\\f0\\fs%d" % self.body_size] + self.lines
        return [head, colours] + body + ["}"]
