#!/usr/bin/env python3
"""Generates the bundled sample data set in sample/.

Run from anywhere:  python3 tools/sample/make_sample.py [output-dir]

Writes Windows-1250 text with CR LF line ends: definition.global, the topic
definition files, one table or RTF file per topic and the three documents
wexal.hlp, wexal.2010 and wexal.update. Before writing, every link target in
every table is checked against the topics and rows generated, so the output
never holds a dead link. The build does not run this script; its output is
kept in the repository.
"""

import os
import re
import sys

sys.dont_write_bytecode = True  # keep the source tree clean

import goods  # noqa: E402
import tables  # noqa: E402
import texts  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "sample"))
CODEPAGE = "cp1250"
LINK_TARGET = re.compile(r"#L#.*?#L#([^#]*)#")


class Topic:
    def __init__(self, deffile, name, parent, link, mode, signature, view="SHOW", file=None,
                 columns=None, rows=None, document=None, write_signature=True):
        self.deffile = deffile
        self.name = name
        self.parent = parent
        self.link = link
        self.mode = mode
        self.signature = signature
        self.view = view
        self.file = file
        self.columns = columns or []      # (name, width, alignment)
        self.rows = rows or []
        self.document = document
        self.write_signature = write_signature

    def fields(self):
        out = [("NAME", self.name), ("PARENT", self.parent), ("VIEW", self.view)]
        if self.write_signature:
            out.append(("SIGNATURE", self.signature))
        out += [("LINK", self.link), ("MODE", self.mode)]
        if self.file:
            out.append(("FILE", self.file))
        if self.mode == "TABLE":
            out.append(("COLUMNS", str(len(self.columns))))
            for k, (name, width, align) in enumerate(self.columns, 1):
                out += [("NAME%d" % k, name), ("WIDTH%d" % k, str(width)), ("ALIGNMENT%d" % k, align)]
        return out


DEFINITION_FILES = [
    ("definition.info", "Informacje ogólne o klasyfikacji i programie",
     "Tematy ogólne: wprowadzenie, zasady klasyfikowania, zmiany, skróty"),
    ("definition.wyroby", "KWU 2010 - sekcje A, B, C i F (wyroby)",
     "Klasyfikacja wyrobów: rolnictwo, górnictwo, przetwórstwo, budownictwo"),
    ("definition.uslugi", "KWU 2010 - sekcje I, J, P i Q (usługi)",
     "Klasyfikacja usług: zakwaterowanie, gastronomia, wydawnictwa, edukacja, zdrowie"),
    ("definition.vat", "Stawki VAT, załączniki nr 3 i 10, zwolnienia",
     "Stawki podatku od towarów i usług od 1 stycznia 2011 r."),
]

DIVISION_COLUMNS = [("Symbol", 75, "LEFT"), ("Nazwa grupowania", "AUTO", "LEFT"),
                    ("Stawka VAT (%)", 90, "CENTER"), ("Uwagi", 250, "LEFT")]


def build_topics():
    topics = []
    info = "definition.info"
    # The general file states its signature once; the blocks after it inherit it.
    topics += [
        Topic(info, "Informacje ogólne", "nil", "OGOLNE", "GROUP", "INFO"),
        Topic(info, "Wprowadzenie", "OGOLNE", "WSTEP", "RTF", "INFO", file="info_wstep.rtf",
              document=texts.topic_intro(), write_signature=False),
        Topic(info, "Zasady klasyfikowania", "OGOLNE", "ZASADY", "RTF", "INFO",
              file="info_zasady.rtf", document=texts.topic_rules(), write_signature=False),
        Topic(info, "Zmiany w wydaniu 2010", "OGOLNE", "ZMIANY", "RTF", "INFO",
              file="info_zmiany.rtf", document=texts.topic_changes(), write_signature=False),
        Topic(info, "Wykaz skrótów", "OGOLNE", "SKROTY", "TABLE", "INFO", file="info_skroty.txt",
              columns=[("Skrót", 110, "LEFT"), ("Znaczenie", "AUTO", "LEFT")],
              rows=tables.abbreviations(), write_signature=False),
        Topic(info, "Nota prawna", "OGOLNE", "NOTA", "RTF", "INFO", view="HIDE",
              file="info_nota.rtf", document=texts.topic_legal(), write_signature=False),
    ]

    division_rows, annexes, correlation, exempt = tables.divisions(goods.DIVISIONS)
    topics.append(Topic("definition.wyroby", "Klasyfikacja KWU 2010", "nil", "KLAS", "GROUP", "KWU"))
    for letter, title, deffile in goods.SECTIONS:
        deffile = "definition." + deffile.split("_")[1]
        topics.append(Topic(deffile, "Sekcja %s - %s" % (letter, title), "KLAS", letter, "GROUP", "KWU"))
        for div in goods.DIVISIONS:
            if div["section"] != letter:
                continue
            n = div["number"]
            topics.append(Topic(deffile, "Dział %s - %s" % (n, div["name"]), letter, "D" + n,
                                "GROUP", "KWU"))
            topics.append(Topic(deffile, "Dział %s - grupowania i stawki VAT" % n, "D" + n, n, "TABLE",
                                "KWU", file="kwu_%s.txt" % n, columns=DIVISION_COLUMNS,
                                rows=division_rows[n]))
            if div["explained"]:
                topics.append(Topic(deffile, "Objaśnienia do działu %s" % n, "D" + n, n + "OBJ", "RTF",
                                    "KWU", file="kwu_%s_obj.rtf" % n,
                                    document=getattr(texts, "topic_division" + n)()))
        if letter == "F":
            topics.append(Topic(deffile, "Tabela powiązań KWU 2010 - KWU 2004", "KLAS", "KOREL",
                                "TABLE", "KWU", view="HIDE", file="kwu_korel.txt",
                                columns=[("KWU 2010", 85, "LEFT"), ("KWU 2004", 120, "CENTER"),
                                         ("Nazwa grupowania KWU 2010", "AUTO", "LEFT"),
                                         ("Powiązanie", 80, "CENTER")],
                                rows=correlation))

    vat = "definition.vat"
    annex_columns = [("LINK", 0, "RIGHT"), ("Poz.", 40, "RIGHT"), ("Symbol KWU", 100, "LEFT"),
                     ("Nazwa towaru lub usługi (grupy towarów lub usług)", "AUTO", "LEFT"),
                     ("Stawka (%)", 70, "CENTER")]
    topics += [
        Topic(vat, "Stawki podatku VAT", "nil", "STAWKI", "GROUP", "VAT"),
        Topic(vat, "Objaśnienia do stawek VAT", "STAWKI", "OBJ", "RTF", "VAT", file="vat_obj.rtf",
              document=texts.topic_vat()),
        Topic(vat, "Zestawienie stawek VAT", "STAWKI", "TAB", "TABLE", "VAT", file="vat_stawki.txt",
              columns=[("Stawka", 60, "RIGHT"), ("Zakres stosowania", "AUTO", "LEFT"),
                       ("Podstawa prawna", 200, "LEFT"), ("Zmiana", 110, "LEFT")],
              rows=tables.rate_summary()),
        Topic(vat, "Załącznik nr 3 - towary i usługi opodatkowane stawką 8%", "STAWKI", "ZAL3", "TABLE",
              "VAT", file="vat_zal3.txt", columns=annex_columns, rows=annexes["8"]),
        Topic(vat, "Załącznik nr 10 - towary opodatkowane stawką 5%", "STAWKI", "ZAL10", "TABLE",
              "VAT", file="vat_zal10.txt", columns=annex_columns, rows=annexes["5"]),
        Topic(vat, "Stawka 0% - wybrane dostawy i usługi", "STAWKI", "ZERO", "TABLE", "VAT",
              file="vat_zero.txt",
              columns=[("Symbol KWU", 90, "LEFT"), ("Nazwa towaru lub usługi", "AUTO", "LEFT"),
                       ("Warunki stosowania stawki 0%", 260, "LEFT")],
              rows=tables.zero_rate()),
        Topic(vat, "Zwolnienia od podatku - wybrane usługi", "STAWKI", "ZW", "TABLE", "VAT",
              file="vat_zw.txt",
              columns=[("Symbol KWU", 80, "LEFT"), ("Nazwa usługi", "AUTO", "LEFT"),
                       ("Podstawa zwolnienia", 200, "LEFT"), ("Odsyłacz", 90, "LEFT")],
              rows=sorted(exempt + tables.exempt_extra())),
        Topic(vat, "Zmiany stawek VAT od 1 stycznia 2011 r.", "STAWKI", "HIST", "TABLE", "VAT",
              view="HIDE", file="vat_zmiany.txt",
              columns=[("Lp.", 35, "RIGHT"), ("Do 31.12.2010", 100, "CENTER"),
                       ("Od 1.01.2011", 100, "CENTER"), ("Zakres zmiany", "AUTO", "LEFT")],
              rows=tables.rate_history()),
    ]
    # Definition files are read in the order of definition.global.
    order = [name for name, _, _ in DEFINITION_FILES]
    return sorted(topics, key=lambda t: order.index(t.deffile))


def check(topics):
    by_key = {}
    for t in topics:
        by_key.setdefault((t.signature.upper(), t.link.upper()), t)
    for t in topics:
        if t.parent != "nil":
            parent = by_key.get((t.signature.upper(), t.parent.upper()))
            assert parent and topics.index(parent) < topics.index(t), "parent of " + t.name
        if t.mode != "TABLE":
            continue
        keys = set()
        for row in t.rows:
            assert len(row) == len(t.columns), (t.name, row)
            assert row[0] not in keys, ("duplicate row key", t.name, row[0])
            keys.add(row[0])
            for col, cell in enumerate(row):
                assert cell == cell.strip() and "\t" not in cell, (t.name, cell)
                cell.encode(CODEPAGE)
                if "#L#" in cell:
                    assert t.columns[col][2] == "LEFT", ("link outside a left column", t.name, cell)
                for target in LINK_TARGET.findall(cell):
                    sig, key, rowkey = target.split("@")
                    dest = by_key.get((sig.upper(), key.upper()))
                    assert dest and dest.mode == "TABLE", ("no topic", t.name, target)
                    assert any(r[0] == rowkey for r in dest.rows), ("no row", t.name, target)


def write_text(path, lines):
    data = "".join(line + "\r\n" for line in lines).encode(CODEPAGE)
    with open(path, "wb") as f:
        f.write(data)


def definition_lines(deffile, title, topics):
    lines = ["; Wexal ze stawkami vat - definicje tematów", "; " + title,
             "; Stan prawny: 15 grudnia 2010 r.", ""]
    for t in topics:
        if t.deffile != deffile:
            continue
        if t.mode == "GROUP" and t.parent in ("nil", "KLAS"):
            lines.append("; --- %s ---" % t.name)
        lines.append("{")
        lines += ["%s=%s;" % (key, value) for key, value in t.fields()]
        lines += ["}", ""]
    return lines


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    topics = build_topics()
    check(topics)
    write_text(os.path.join(out, "definition.global"),
               ["%s;%s" % (name, comment) for name, _, comment in DEFINITION_FILES])
    for name, title, _ in DEFINITION_FILES:
        write_text(os.path.join(out, name), definition_lines(name, title, topics))
    for t in topics:
        if t.mode == "TABLE":
            write_text(os.path.join(out, t.file), ["\t".join(row) for row in t.rows])
        elif t.mode == "RTF":
            write_text(os.path.join(out, t.file), t.document.render())
    write_text(os.path.join(out, "wexal.hlp"), texts.help_document().render())
    write_text(os.path.join(out, "wexal.2010"), texts.explanations_document().render())
    write_text(os.path.join(out, "wexal.update"), texts.update_document().render())

    tabs = [t for t in topics if t.mode == "TABLE"]
    largest = max(tabs, key=lambda t: len(t.rows))
    print("%d topics, %d tables, %d text topics, largest %s (%d rows), hidden: %s"
          % (len(topics), len(tabs), sum(t.mode == "RTF" for t in topics), largest.file,
             len(largest.rows), ", ".join(t.link for t in topics if t.view != "SHOW")))


if __name__ == "__main__":
    main()
