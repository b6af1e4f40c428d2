#include "tst_check.h"

#include "checkdataset.h"

#include <QTest>

using namespace Qt::StringLiterals;
using CheckDataSet::Files;
using CheckDataSet::text;

namespace {

// tematy.def with the table block's fields changed (lines as in checkdataset.h).
Files tableWith(const QMap<QString, QString> &fields)
{
    return {{u"tematy.def"_s, text(CheckDataSet::groupBlock() + CheckDataSet::tableBlockWith(fields)
                                   + CheckDataSet::textBlock())}};
}

// tabela.txt with these lines; its columns: 1 Kod, 2 Nazwa, both LEFT.
Files rows(const QStringList &lines)
{
    return {{u"tabela.txt"_s, text(lines)}};
}

Files merged(Files a, const Files &b)
{
    for (auto it = b.constBegin(); it != b.constEnd(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

void addColumns()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("report");
}

const QString kFails = u": otwarcie tabeli „Tabela” kończy się błędem"_s;

} // namespace

void TestCheck::tableColumns_data()
{
    addColumns();
    QTest::newRow("COLUMNS= not a number")
        << tableWith({{u"COLUMNS="_s, u"COLUMNS=dwie"_s}})
        << QStringList{u"tematy.def:17: error: COLUMNS=„dwie” nie jest liczbą całkowitą"_s + kFails};
    QTest::newRow("COLUMNS= zero")
        << tableWith({{u"COLUMNS="_s, u"COLUMNS=0"_s}})
        << QStringList{u"tematy.def:17: error: COLUMNS=„0” jest spoza zakresu od 1 do 1000"_s + kFails};
    QTest::newRow("COLUMNS= too many")
        << tableWith({{u"COLUMNS="_s, u"COLUMNS=1001"_s}})
        << QStringList{u"tematy.def:17: error: COLUMNS=„1001” jest spoza zakresu od 1 do 1000"_s + kFails};
    QTest::newRow("no COLUMNS=")
        << tableWith({{u"COLUMNS="_s, QString()}})
        << QStringList{u"tematy.def:25: error: tabela nie ma COLUMNS="_s + kFails};
    QTest::newRow("spaces around a number are fine")
        << tableWith({{u"COLUMNS="_s, u"COLUMNS= 2 "_s}}) << QStringList();
    QTest::newRow("a width that is neither a number nor AUTO")
        << tableWith({{u"WIDTH2="_s, u"WIDTH2=szeroka"_s}})
        << QStringList{u"tematy.def:23: error: WIDTH2=„szeroka” nie jest liczbą całkowitą ani AUTO"_s + kFails};
    QTest::newRow("AUTO with a stray space")
        << tableWith({{u"WIDTH2="_s, u"WIDTH2=AUTO "_s}})
        << QStringList{u"tematy.def:23: error: WIDTH2=„AUTO ” nie jest liczbą całkowitą ani AUTO (zbędne odstępy)"_s + kFails};
    QTest::newRow("no width")
        << tableWith({{u"WIDTH1="_s, QString()}})
        << QStringList{u"tematy.def:25: error: brak WIDTH1="_s + kFails};
    QTest::newRow("a negative width")
        << tableWith({{u"WIDTH1="_s, u"WIDTH1=-5"_s}})
        << QStringList{u"tematy.def:20: warning: WIDTH1=„-5” jest ujemne: kolumna 1 ma szerokość 0"_s};
    QTest::newRow("no AUTO column")
        << tableWith({{u"WIDTH2="_s, u"WIDTH2=300"_s}})
        << QStringList{u"tematy.def:17: warning: żadna kolumna nie ma szerokości AUTO: kolumna 1 wypełnia resztę tabeli, choć ma stałą szerokość"_s};
    QTest::newRow("no name, an empty name")
        << tableWith({{u"NAME1="_s, QString()}, {u"NAME2="_s, u"NAME2="_s}})
        << QStringList{u"tematy.def:22: warning: NAME2= jest puste: nagłówek kolumny 2 jest pusty"_s,
                       u"tematy.def:25: warning: brak NAME1=: nagłówek kolumny 1 jest pusty"_s};
    QTest::newRow("an alignment the viewer ignores")
        << tableWith({{u"ALIGNMENT2="_s, u"ALIGNMENT2=JUSTIFY"_s}})
        << QStringList{u"tematy.def:24: warning: ALIGNMENT2=„JUSTIFY” nie jest LEFT, CENTER ani RIGHT: program je pomija, a znaczniki kolumny 2 są pokazywane jako tekst"_s,
                       u"tabela.txt:2: warning: kolumna 2 nie ma wyrównania: odnośnik jest pokazywany jako zwykły tekst i nie działa"_s};
    QTest::newRow("no alignment")
        << tableWith({{u"ALIGNMENT1="_s, QString()}})
        << QStringList{u"tematy.def:25: warning: brak ALIGNMENT1=: kolumna 1 nie ma wyrównania, jej znaczniki są pokazywane jako tekst"_s};
    QTest::newRow("alignments in any letter case are fine")
        << tableWith({{u"ALIGNMENT1="_s, u"ALIGNMENT1=right"_s}, {u"ALIGNMENT2="_s, u"ALIGNMENT2=Left"_s}})
        << QStringList();
    QTest::newRow("a width key in the middle of a field")
        << tableWith({{u"WIDTH1="_s, u"MAXWIDTH1=60"_s}})
        << QStringList{u"tematy.def:20: warning: klucz WIDTH1= stoi w środku pola „MAXWIDTH1=60”: program czyta wartość „H1=60”"_s,
                       u"tematy.def:20: error: WIDTH1=„H1=60” nie jest liczbą całkowitą ani AUTO"_s + kFails};
    QTest::newRow("the table is checked even while its file is missing")
        << merged(tableWith({{u"WIDTH2="_s, u"WIDTH2=?"_s}}), {{u"tabela.txt"_s, QByteArray()}})
        << QStringList{u"tematy.def:18: error: plik tematu „tabela.txt” nie istnieje: temat „Tabela” się nie otwiera (program pokazuje samo drzewo)"_s,
                       u"tematy.def:23: error: WIDTH2=„?” nie jest liczbą całkowitą ani AUTO"_s + kFails};
    QTest::newRow("more fields than columns")
        << rows({u"01\tZboża\tnadmiar\tjeszcze"_s, u"02\tOwies\t"_s})
        << QStringList{u"tabela.txt:1: warning: wiersz ma więcej pól niż kolumn (COLUMNS=2): program pomija „nadmiar jeszcze”"_s};
}

void TestCheck::tableColumns()
{
    CheckDataSet::verifyRow();
}

void TestCheck::cellMarkup_data()
{
    addColumns();
    const QString row1 = u"tabela.txt:1: "_s;
    QTest::newRow("bold never closed")
        << rows({u"01\t#B#Zboża"_s})
        << QStringList{row1 + u"warning: kolumna 2: „#B#” nie jest zamknięty: pogrubienie trwa do końca komórki"_s};
    QTest::newRow("italic never closed")
        << rows({u"#I#01\tZboża"_s})
        << QStringList{row1 + u"warning: kolumna 1: „#I#” nie jest zamknięty: kursywa trwa do końca komórki"_s};
    QTest::newRow("underline never closed")
        << rows({u"01\t#U#Zboża"_s})
        << QStringList{row1 + u"warning: kolumna 2: „#U#” nie jest zamknięty: podkreślenie trwa do końca komórki"_s};
    QTest::newRow("closed styles are fine")
        << rows({u"01\t#B#a#B# #I#b#I# #U#c#U# d#N#e"_s}) << QStringList();
    QTest::newRow("after #I# the scanner does not test #B# again")
        << rows({u"01\t#I##B#x#I#"_s})
        << QStringList{row1 + u"warning: kolumna 2: „#B#” zaraz po poprzednim znaczniku jest pokazywany jako tekst: w jednym kroku program sprawdza znaczniki tylko w kolejności #B#, #U#, #I#, #L#, #N#"_s};
    QTest::newRow("a token right after a link target is text")
        << rows({u"01\t#L#dalej#L#T@TAB@01##U#x#U#"_s})
        << QStringList{row1 + u"warning: kolumna 2: „#U#” nie jest zamknięty: podkreślenie trwa do końca komórki"_s,
                       row1 + u"warning: kolumna 2: „#U#” zaraz po poprzednim znaczniku jest pokazywany jako tekst: w jednym kroku program sprawdza znaczniki tylko w kolejności #B#, #U#, #I#, #L#, #N#"_s};
    QTest::newRow("a line end right after a link target works")
        << rows({u"01\t#L#dalej#L#T@TAB@01##N#x"_s}) << QStringList();
    QTest::newRow("#B##I# turns on both in one step")
        << rows({u"01\t#B##I#x#I#"_s})
        << QStringList{row1 + u"warning: kolumna 2: „#B#” nie jest zamknięty: pogrubienie trwa do końca komórki"_s};
    QTest::newRow("a link never closed")
        << rows({u"01\tZobacz #L#dalej"_s})
        << QStringList{row1 + u"error: kolumna 2: „#L#” otwiera odnośnik, którego nic nie zamyka: reszta komórki jest niebieska, a odnośnik nie działa"_s};
    QTest::newRow("#L##L# is an opening and text")
        << rows({u"01\t#L##L#T@TAB@01#"_s})
        << QStringList{row1 + u"warning: kolumna 2: „#L#” zaraz po poprzednim znaczniku jest pokazywany jako tekst: w jednym kroku program sprawdza znaczniki tylko w kolejności #B#, #U#, #I#, #L#, #N#"_s,
                       row1 + u"error: kolumna 2: „#L#” otwiera odnośnik, którego nic nie zamyka: reszta komórki jest niebieska, a odnośnik nie działa"_s};
    QTest::newRow("a target without @")
        << rows({u"01\t#L#dalej#L#TAB#"_s})
        << QStringList{row1 + u"error: kolumna 2: cel odnośnika „TAB” nie zawiera „@”: postać celu to sygnatura@klucz@wiersz#"_s};
    QTest::newRow("a target with one @")
        << rows({u"01\t#L#dalej#L#T@TAB#"_s})
        << QStringList{row1 + u"error: kolumna 2: cel odnośnika „T@TAB” ma tylko jeden znak „@”: postać celu to sygnatura@klucz@wiersz#"_s};
    QTest::newRow("a target without its final #")
        << rows({u"01\t#L#dalej#L#T@TAB@01"_s})
        << QStringList{row1 + u"error: kolumna 2: cel odnośnika „T@TAB@01” nie kończy się znakiem „#”: program pokazuje go jako tekst komórki"_s};
    QTest::newRow("a target that takes a token's #")
        << rows({u"01\t#L#dalej#L#T@TAB@01#B#x"_s})
        << QStringList{row1 + u"warning: kolumna 2: cel odnośnika „T@TAB@01” kończy się na „#” znacznika „#B#”: reszta znacznika jest pokazywana jako tekst"_s};
    QTest::newRow("a style token right before the closing #L#")
        << rows({u"01\t#L#dalej#B##L#T@TAB@01# #B#"_s})
        << QStringList{row1 + u"warning: kolumna 2: odnośnik nie ma tekstu tuż przed zamykającym „#L#”: nie da się go kliknąć"_s};
    QTest::newRow("a line end right before the closing #L#")
        << rows({u"01\t#L#dalej#N##L#T@TAB@01#"_s})
        << QStringList{row1 + u"warning: kolumna 2: odnośnik nie ma tekstu tuż przed zamykającym „#L#”: nie da się go kliknąć"_s};
    QTest::newRow("a link over two lines is fine")
        << rows({u"01\t#L#dalej#N#i dalej#L#T@TAB@01#"_s}) << QStringList();
    QTest::newRow("links are numbered when a cell has several")
        << rows({u"01\t#L#a#L#T@TAB@01# i #L#b#B##L#T@TAB@01# #B#"_s})
        << QStringList{row1 + u"warning: kolumna 2: odnośnik nr 2 nie ma tekstu tuż przed zamykającym „#L#”: nie da się go kliknąć"_s};
    QTest::newRow("a link in a right-aligned column")
        << tableWith({{u"ALIGNMENT2="_s, u"ALIGNMENT2=RIGHT"_s}})
        << QStringList{u"tabela.txt:2: warning: kolumna 2 jest wyrównana do prawej: odnośnik jest pokazywany jako zwykły tekst i nie działa"_s};
    QTest::newRow("a link in a centred column")
        << tableWith({{u"ALIGNMENT2="_s, u"ALIGNMENT2=center"_s}})
        << QStringList{u"tabela.txt:2: warning: kolumna 2 jest wyrównana do środka: odnośnik jest pokazywany jako zwykły tekst i nie działa"_s};
    QTest::newRow("styles outside left columns are shown as text")
        << merged(tableWith({{u"ALIGNMENT1="_s, u"ALIGNMENT1=RIGHT"_s}}), rows({u"#B#01\tZboża"_s}))
        << QStringList();
}

void TestCheck::cellMarkup()
{
    CheckDataSet::verifyRow();
}

void TestCheck::links_data()
{
    addColumns();
    const QString row2 = u"tabela.txt:2: "_s;
    QTest::newRow("a topic that does not exist")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#T@BRAK@01#"_s})
        << QStringList{row2 + u"error: kolumna 2: odnośnik prowadzi do tematu „T@BRAK”, którego nie ma (żaden temat nie ma SIGNATURE=T i LINK=BRAK)"_s};
    QTest::newRow("a signature that does not exist")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#KWU@TAB@01#"_s})
        << QStringList{row2 + u"error: kolumna 2: odnośnik prowadzi do tematu „KWU@TAB”, którego nie ma (żaden temat nie ma SIGNATURE=KWU i LINK=TAB)"_s};
    QTest::newRow("signature and key in any letter case")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#t@tab@01#"_s}) << QStringList();
    QTest::newRow("a row key that no first cell holds")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#T@TAB@99#"_s})
        << QStringList{row2 + u"warning: kolumna 2: w tabeli „Tabela” (tabela.txt) żaden wiersz nie zaczyna się od „99”: odnośnik otwiera ją na wierszu 1"_s};
    QTest::newRow("row keys compare exactly")
        << rows({u"Ab\tZboża"_s, u"02\t#L#x#L#T@TAB@ab#"_s})
        << QStringList{row2 + u"warning: kolumna 2: w tabeli „Tabela” (tabela.txt) żaden wiersz nie zaczyna się od „ab”: odnośnik otwiera ją na wierszu 1"_s};
    QTest::newRow("a row key found in a later row")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#T@TAB@03#"_s, u"03\tOwies"_s}) << QStringList();
    QTest::newRow("no row key opens row 1")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#T@TAB@#"_s}) << QStringList();
    QTest::newRow("a row key for a text topic is not looked at")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#T@OPIS@cokolwiek#"_s}) << QStringList();
    QTest::newRow("the second link of a cell")
        << rows({u"01\tZboża"_s, u"02\t#L#x#L#T@TAB@01# #L#y#L#T@G@#B#"_s})
        << QStringList{row2 + u"warning: kolumna 2: cel odnośnika nr 2 „T@G@” kończy się na „#” znacznika „#B#”: reszta znacznika jest pokazywana jako tekst"_s};
}

void TestCheck::links()
{
    CheckDataSet::verifyRow();
}
