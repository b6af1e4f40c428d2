"""Rows of the sample tables. Cells are raw cell markup (#B#, #I#, #U#, #N#, #L#)."""

import goods

ANNEX = {"8": ("ZAL3", "Z3", "3"), "5": ("ZAL10", "Z10", "10")}
EXEMPT_BASIS = {"55": "art. 43 ust. 1 pkt 26 lit. a", "85": "art. 43 ust. 1 pkt 26",
                "85.53": "art. 43 ust. 1 pkt 29", "86": "art. 43 ust. 1 pkt 18 i 19"}


def link(text, signature, key, rowkey):
    return "#L#%s#L#%s@%s@%s#" % (text, signature, key, rowkey)


def join_notes(*notes):
    return "#N#".join(n for n in notes if n)


def level(code):
    parts = code.split(".")
    if len(parts) == 2:
        return "group" if len(parts[1]) == 1 else "class"
    return "category" if len(parts[2]) == 1 else "sub"


def ancestors(code):
    """Codes of the group, class and category above a code, nearest first."""
    div, mid = code.split(".")[:2]
    out = []
    if level(code) == "sub":
        out.append(code[:-1])
    if level(code) in ("sub", "category"):
        out.append(div + "." + mid)
    if level(code) != "group":
        out.append(div + "." + mid[0])
    return out


def parse(div):
    rows = []
    for line in div["text"].strip().splitlines():
        code, name, rate, note = [p.strip() for p in line.split("|")]
        rows.append({"code": code, "name": name, "own": rate, "note": note, "div": div["number"]})
    by_code = {r["code"]: r for r in rows}
    for r in rows:
        for a in ancestors(r["code"]):
            assert a in by_code, "%s has no parent %s" % (r["code"], a)
        chain = [r] + [by_code[a] for a in ancestors(r["code"])]
        r["rate"] = next((c["own"] for c in chain if c["own"]), "23")
        r["leaf"] = not any(r["code"] in ancestors(o["code"]) for o in rows)
    return rows


def old_code(div, code):
    base = goods.OLD_DIVISION[div]
    if div in ("11", "56", "43"):
        return base + "." + {"11": "9", "56": "3", "43": "3"}[div] + code[4:]
    return base + code[2:]


def divisions(divs):
    """Division tables plus the tables derived from them.

    Returns the rows of every division table, the two annex tables (rate 8 and
    rate 5), the correlation table and the generated part of the exemption
    table. Every category whose leaves share a reduced rate or an exemption
    becomes one annex or exemption entry, otherwise each such leaf does; the
    division table links to the entry and the entry links back.
    """
    parsed = {d["number"]: parse(d) for d in divs}
    annexes = {"8": [], "5": []}
    exempt = []
    correlation = []
    refs = {}

    for div in divs:
        n = div["number"]
        rows = parsed[n]
        for r in rows:
            if level(r["code"]) not in ("category", "sub"):
                continue
            under = [o for o in rows if o["leaf"] and (o is r or r["code"] in ancestors(o["code"]))]
            rates = {o["rate"] for o in under}
            whole_category = level(r["code"]) == "category" and len(rates) == 1
            single_leaf = r["leaf"] and level(r["code"]) == "sub" and \
                len({o["rate"] for o in rows if o["leaf"] and ancestors(r["code"])[0] in ancestors(o["code"])}) > 1
            if not (whole_category or single_leaf):
                continue
            rate = r["rate"] if r["leaf"] else rates.pop()
            symbol = link(r["code"], "KWU", n, r["code"])
            if rate in ANNEX:
                key, prefix, number = ANNEX[rate]
                pos = len(annexes[rate]) + 1
                rowkey = "%s-%03d" % (prefix, pos)
                annexes[rate].append([rowkey, "%d." % pos, symbol, r["name"], rate])
                refs[r["code"]] = link("Zał. nr %s, poz. %d" % (number, pos), "VAT", key, rowkey)
            elif rate == "zw.":
                basis = EXEMPT_BASIS.get(r["code"][:5], EXEMPT_BASIS[n])
                exempt.append([r["code"], r["name"],
                               basis + " " + link("u.p.t.u.", "INFO", "SKROTY", "u.p.t.u."),
                               link("dział " + n, "KWU", n, r["code"])])
                refs[r["code"]] = link("zwolnienie", "VAT", "ZW", r["code"])

    tables = {}
    for div in divs:
        n = div["number"]
        out = []
        for r in parsed[n]:
            lv = level(r["code"])
            if lv == "category":
                relation = "1:1"
                i = len(correlation)
                old = old_code(n, r["code"])
                if i % 6 == 4:
                    relation, old = "1:n", "ex " + old
                elif i % 9 == 7:
                    relation, old = "n:1", old + ", " + old[:-1] + "9"
                correlation.append([r["code"], old, link(r["name"], "KWU", n, r["code"]), relation])
        for r in parsed[n]:
            lv = level(r["code"])
            rate = r["rate"] if r["leaf"] else ""
            note = join_notes(refs.get(r["code"]), r["note"])
            if lv == "group":
                first = next(o["code"] for o in parsed[n]
                             if level(o["code"]) == "category" and r["code"] in ancestors(o["code"]))
                note = join_notes("Powiązania z KWU 2004: " + link("tabela powiązań", "KWU", "KOREL", first),
                                  r["note"])
                out.append(["#B#%s#B#" % r["code"], "#B#%s#B#" % r["name"], "", note])
            elif lv == "class":
                out.append([r["code"], "#B#%s#B#" % r["name"], rate, note])
            else:
                out.append([r["code"], r["name"], rate, note])
        tables[n] = out
    return tables, annexes, correlation, exempt


def abbreviations():
    return [
        ["art.", "artykuł"],
        ["CN", "Nomenklatura Scalona (#I#Combined Nomenclature#I#) - klasyfikacja towarów w obrocie z zagranicą"],
        ["Dz. U.", "Dziennik Ustaw Rzeczypospolitej Polskiej"],
        ["ex", "(łac. #I#z, spośród#I#) - stawka lub zwolnienie dotyczy tylko części grupowania"],
        ["ISBN", "Międzynarodowy Znormalizowany Numer Książki"],
        ["ISSN", "Międzynarodowy Znormalizowany Numer Wydawnictwa Ciągłego"],
        ["PKD", "Klasyfikacja rodzajów działalności gospodarczej"],
        ["pkt", "punkt"],
        ["poz.", "pozycja (załącznika)"],
        ["KWU", "Statystyczna Klasyfikacja Wyrobów i Usług, wydanie 2010"],
        ["KWU 2004", "Statystyczna Klasyfikacja Wyrobów i Usług, wydanie 2004 - stosowana do rozliczeń za okresy do 31 grudnia 2010 r.; powiązania z wydaniem 2010 w "
         + link("tabeli powiązań", "KWU", "KOREL", "10.11.1")],
        ["ust.", "ustęp"],
        ["u.p.t.u.", "#B#Ustawa o podatku od towarów i usług#B# wraz z załącznikami"],
        ["VAT", "Podatek od towarów i usług (#I#value added tax#I#)"],
        ["WDT", "Wewnątrzwspólnotowa dostawa towarów"],
        ["WNT", "Wewnątrzwspólnotowe nabycie towarów"],
        ["zał.", "załącznik (do ustawy)"],
        ["zw.", "zwolnione od podatku"],
    ]


def rate_summary():
    upt = link("u.p.t.u.", "INFO", "SKROTY", "u.p.t.u.")
    return [
        ["23%", "#B#Stawka podstawowa#B# - wszystkie towary i usługi, dla których przepisy nie przewidują stawki obniżonej ani zwolnienia",
         "art. 41 ust. 1 i art. 146a pkt 1 " + upt, link("z 22%", "VAT", "HIST", "1")],
        ["8%", "Towary i usługi wymienione w " + link("załączniku nr 3", "VAT", "ZAL3", "Z3-001")
         + ", m.in. usługi gastronomiczne, zakwaterowanie, budownictwo mieszkaniowe, leki",
         "art. 41 ust. 2 i art. 146a pkt 2 " + upt, link("z 7%", "VAT", "HIST", "2")],
        ["5%", "Towary wymienione w " + link("załączniku nr 10", "VAT", "ZAL10", "Z10-001")
         + ":#N#- podstawowe artykuły spożywcze,#N#- książki i czasopisma specjalistyczne",
         "art. 41 ust. 2a " + upt, link("z 3%", "VAT", "HIST", "3")],
        ["0%", "Eksport towarów, " + link("WDT", "INFO", "SKROTY", "WDT")
         + ", dostawy wymienione w " + link("wykazie", "VAT", "ZERO", "EKSPORT"),
         "art. 41 ust. 3, art. 42 i art. 83 " + upt, "bez zmian"],
        ["zw.", "Usługi zwolnione, m.in. " + link("edukacja", "VAT", "ZW", "85.10.1") + " i "
         + link("ochrona zdrowia", "VAT", "ZW", "86.10.1"),
         "art. 43 ust. 1 " + upt, link("zmiany", "VAT", "HIST", "6")],
    ]


def zero_rate():
    return [
        ["EKSPORT", "Eksport towarów", "Warunkiem jest posiadanie dokumentu potwierdzającego wywóz towaru poza terytorium Unii Europejskiej przed terminem złożenia deklaracji"],
        ["WDT", "Wewnątrzwspólnotowa dostawa towarów",
         "Nabywca podaje numer identyfikacyjny VAT; zob. " + link("WDT", "INFO", "SKROTY", "WDT")],
        ["26.20.1", "Komputery przenośne i stacjonarne", "#U#Tylko#U# dostawy dla placówek oświatowych, na podstawie zamówienia zatwierdzonego przez organ prowadzący"],
        ["30.11.1", "Statki morskie", "Dla armatorów uprawiających żeglugę międzynarodową, w co najmniej 50%"],
        ["49.41.1", "Usługi transportu drogowego towarów w transporcie międzynarodowym", "Transport towarów wywożonych poza Unię Europejską"],
        ["50.20.1", "Usługi transportu morskiego towarów", "W transporcie międzynarodowym"],
        ["51.10.1", "Usługi transportu lotniczego pasażerskiego", "Przewozy międzynarodowe, z wyjątkiem przewozów w obrębie kraju"],
        ["52.24.1", "Usługi przeładunku towarów w portach", "Związane bezpośrednio z transportem międzynarodowym"],
    ]


def exempt_extra():
    upt = link("u.p.t.u.", "INFO", "SKROTY", "u.p.t.u.")
    return [
        ["53.10.1", "Powszechne usługi pocztowe", "art. 43 ust. 1 pkt 17 " + upt, "poza wykazem"],
        ["64.19.2", "Usługi udzielania kredytów i pożyczek", "art. 43 ust. 1 pkt 38 " + upt, "poza wykazem"],
        ["65.12.1", "Usługi ubezpieczeniowe", "art. 43 ust. 1 pkt 37 " + upt, "poza wykazem"],
        ["68.20.11", "Usługi wynajmu nieruchomości mieszkalnych na cele mieszkaniowe", "art. 43 ust. 1 pkt 36 " + upt, "poza wykazem"],
        ["91.01.1", "Usługi bibliotek i archiwów", "art. 43 ust. 1 pkt 33 " + upt, "poza wykazem"],
    ]


def rate_history():
    return [
        ["1", "22%", "23%", "Podwyższenie stawki podstawowej - zob. " + link("stawka 23%", "VAT", "TAB", "23%")],
        ["2", "7%", "8%", "Podwyższenie stawki obniżonej dla towarów i usług z " + link("załącznika nr 3", "VAT", "ZAL3", "Z3-001")],
        ["3", "3%", "5%", "Nowa stawka dla towarów z " + link("załącznika nr 10", "VAT", "ZAL10", "Z10-001") + "; dotyczy m.in. pieczywa, mleka i książek"],
        ["4", "3%", "8%", "Produkty rolnictwa nieprzetworzone, np. " + link("żywe zwierzęta", "KWU", "01", "01.41.10")],
        ["5", "7%", "5%", "Książki i czasopisma specjalistyczne - " + link("dział 58", "KWU", "58", "58.11.1")],
        ["6", "zw.", "zw.", "#I#Bez zmian#I# dla usług edukacyjnych i medycznych"],
        ["7", "7%", "23%", "Ubranka i obuwie dziecięce - #B#koniec stawki obniżonej#B# (wyrok Trybunału Sprawiedliwości UE)"],
    ]
