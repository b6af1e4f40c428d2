#include "brokenexpectations.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

// Every case starts from the same small data set (tests/broken/base): the
// group "Dane testowe" (signature TEST) holding the text topic "Opis zbioru"
// (opis.rtf) and the table topic "Tabela stawek" (tabela.txt, columns Symbol,
// Nazwa, Stawka; four rows, the third with a link to row "02" of the same
// table). What the session shows for the intact set is written out once
// below; each damaged case says where it must differ.
namespace BrokenExpectations {

namespace {

const QString kText = u"text „TEST - Opis zbioru”: Opis zbioru Zbiór do prób odporności programu na uszkodzone …"_s;
const QString kNotFound = u"  window „Informacja”: Poszukiwany ciąg znaków nie został odnaleziony."_s;

QString table(int row)
{
    return u"table „TEST - Tabela stawek”: 3 columns, 4 rows, row %1; row 1: 01 | #B#Produkty rolnictwa#B# | "_s.arg(row);
}

QString shows(const QString &view)
{
    return u"  → "_s + view;
}

QString error(const QString &message)
{
    return u"  error: "_s + message;
}

QByteArray counterBytes(qint32 value, const QByteArray &tail = QByteArray())
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes + tail;
}

QStringList startShowingWindows(const QString &help = u"Pomoc"_s, const QString &explanations = u"Wyjaśnienia"_s)
{
    return {u"start"_s, u"  window „Pomoc”: "_s + help, u"  window „Wyjaśnienia”: "_s + explanations,
            shows(u"start page"_s)};
}

// Reading the definition files failed: the window shows the start page, and
// start-up ends before the start timer would offer any window.
QStringList startFailing(const QString &message)
{
    return {u"start"_s, error(message), u"  start timer not started"_s, shows(u"start page"_s)};
}

QStringList classification(int nodes)
{
    return {u"Klasyfikacje"_s, shows(u"navigation, %1 nodes"_s.arg(nodes))};
}

QStringList openGroup()
{
    return {u"open „Dane testowe”"_s, shows(u"navigation"_s)};
}

QStringList openText(const QString &exportNumber)
{
    return {u"open „Opis zbioru”"_s, shows(kText), u"Eksport"_s,
            shows(u"rtf.%1.rtf: Opis zbioru Zbiór do prób odporności programu na uszkodzone …"_s.arg(exportNumber))};
}

QString tableExport(const QString &exportNumber)
{
    return shows(u"table.%1.xls: 5 lines: Symbol|Nazwa|Stawka| / 01|Produkty rolnictwa|| / "
                 "01.1|Zboże i rośliny oleiste|8| / 01.2|Zobacz stawki|5| / 02|Usługi|23|"_s.arg(exportNumber));
}

// The link "stawki" in row 3 leads to row "02" of the same table: row 4.
QStringList openTable(const QString &exportNumber)
{
    return {u"open „Tabela stawek”"_s, shows(table(1)), u"Eksport"_s, tableExport(exportNumber),
            u"link 1 in column 1, row 3"_s, shows(table(4))};
}

QStringList titleSearch()
{
    return {u"Znajdź „opis” in titles"_s, shows(kText), u"Znajdź następny"_s, kNotFound, shows(kText)};
}

// "zboże" is in row 2 of the table; Find next finds nothing after it and
// puts back the text topic that was open when Find started.
QStringList contentsSearch()
{
    return {u"Znajdź „zboże” in contents"_s, shows(table(2)), u"Znajdź następny"_s, kNotFound, shows(kText)};
}

QStringList exitCommand()
{
    return {u"Zakończ"_s, shows(u"closed"_s)};
}

QStringList intactSession(const QStringList &start, const QString &textNumber, const QString &tableNumber)
{
    return start + classification(3) + openGroup() + openText(textNumber) + openTable(tableNumber) + titleSearch()
        + contentsSearch() + exitCommand();
}

Case columnsGarbage()
{
    // Each bad COLUMNS= or WIDTH value ends the opening with its error after
    // the title bar (and, when the count itself was fine, the columns before
    // the bad width) were set up; the view mode and the open topic stay.
    const QString stillTable = u"table „TEST - Kolumny %1”: 3 columns, 4 rows, row 4; row 1: 01 | #B#Produkty rolnictwa#B# | "_s;
    const QString notInteger = u"„%1” nie jest prawidłową liczbą całkowitą."_s;
    const QString badCount = u"Nieprawidłowa liczba kolumn tabeli: „%1” (dozwolone od 1 do 1000)."_s;
    QStringList t = startShowingWindows() + classification(16) + openGroup() + openText(u"000001"_s)
        + openTable(u"000002"_s);
    const auto bad = [&t](const QString &name, const QString &message, const QString &view) {
        t << u"open „%1”"_s.arg(name) << error(message) << shows(view);
    };
    bad(u"Kolumny 1"_s, notInteger.arg(u"abc"_s), stillTable.arg(1));
    bad(u"Kolumny 2"_s, notInteger.arg(QString()), stillTable.arg(2));
    bad(u"Kolumny 3"_s, badCount.arg(u"-3"_s), stillTable.arg(3));
    bad(u"Kolumny 4"_s, badCount.arg(u"0"_s), stillTable.arg(4));
    bad(u"Kolumny 5"_s, notInteger.arg(u"99999999999"_s), stillTable.arg(5));
    bad(u"Kolumny 6"_s, badCount.arg(u"1001"_s), stillTable.arg(6));
    // " 3" is three columns; the third has no width.
    bad(u"Kolumny 7"_s, notInteger.arg(QString()), u"table „TEST - Kolumny 7”: 3 columns, 1 rows, row 0; row 1:  |  | "_s);
    bad(u"Kolumny 8"_s, notInteger.arg(u"3x"_s), u"table „TEST - Kolumny 8”: 3 columns, 1 rows, row 0; row 1:  |  | "_s);
    bad(u"Kolumny 9"_s, notInteger.arg(u"xyz"_s), u"table „TEST - Kolumny 9”: 2 columns, 1 rows, row 0; row 1:  | "_s);
    // A negative width is a width all the same: the table opens.
    t << u"open „Kolumny 10”"_s
      << shows(u"table „TEST - Kolumny 10”: 2 columns, 4 rows, row 1; row 1: 01 | #B#Produkty rolnictwa#B#"_s)
      << u"Eksport"_s
      << shows(u"table.000003.xls: 5 lines: A|B| / 01|Produkty rolnictwa| / 01.1|Zboże i rośliny oleiste| / "
               "01.2|Zobacz stawki| / 02|Usługi|"_s);
    bad(u"Kolumny 11"_s, notInteger.arg(u"99999999999"_s), u"table „TEST - Kolumny 11”: 2 columns, 1 rows, row 0; row 1:  | "_s);
    bad(u"Kolumny 12"_s, notInteger.arg(QString()), u"table „TEST - Kolumny 12”: 2 columns, 1 rows, row 0; row 1:  | "_s);
    bad(u"Bez liczby kolumn"_s, notInteger.arg(QString()),
        u"table „TEST - Bez liczby kolumn”: 2 columns, 1 rows, row 0; row 1:  | "_s);
    // The contents search opens every topic in turn and stops at the first
    // one that cannot be opened, with its error.
    t += titleSearch();
    t << u"Znajdź „zboże” in contents"_s << shows(table(2)) << u"Znajdź następny"_s << error(notInteger.arg(u"abc"_s))
      << shows(u"table „TEST - Kolumny 1”: 3 columns, 4 rows, row 1; row 1: 01 | #B#Produkty rolnictwa#B# | "_s);
    return {t + exitCommand(), counterBytes(4)};
}

Case tenThousandColumns()
{
    // The line of 10,000 cells fills three columns; the rest of it, links
    // included, is left out. The topic of 1,000 columns gives only its first
    // column a width, so its opening ends at the second.
    const QString wide = u"table „TEST - Tysiąc kolumn”: 1000 columns, 1 rows, row 0; row 1:  |  | "_s;
    const QString noWidth = error(u"„” nie jest prawidłową liczbą całkowitą."_s);
    QStringList t = startShowingWindows() + classification(4) + openGroup() + openText(u"000001"_s);
    t << u"open „Tabela stawek”"_s
      << shows(u"table „TEST - Tabela stawek”: 3 columns, 3 rows, row 1; row 1: 01 | pierwszy | 1"_s) << u"Eksport"_s
      << shows(u"table.000002.xls: 4 lines: Symbol|Nazwa|Stawka| / 01|pierwszy|1| / k0|k1|k2| / 02|ostatni|23|"_s)
      << u"open „Tysiąc kolumn”"_s << noWidth << shows(wide);
    t += titleSearch();
    t << u"Znajdź „zboże” in contents"_s << noWidth << shows(wide) << u"Znajdź następny"_s << noWidth << shows(wide);
    return {t + exitCommand(), counterBytes(3)};
}

Case hugeTableLine()
{
    // One line of 50 MB: a key cell and one cell of bold words and links.
    // It opens as one row, paints the screenful that can be seen, exports
    // as plain text, its first link leads to row "02" of the intact table,
    // and the contents search finds "zboże" in it.
    const QString huge =
        u"table „TEST - Jeden wiersz 50 MB”: 3 columns, 1 rows, row 1; row 1: 01.1 | #B#Zboże#B# #L#stawki#L#… | "_s;
    QStringList t = startShowingWindows() + classification(4) + openGroup() + openText(u"000001"_s)
        + openTable(u"000002"_s);
    t << u"open „Jeden wiersz 50 MB”"_s << shows(huge) << u"Eksport"_s
      << shows(u"table.000003.xls: 2 lines: Symbol|Nazwa|Stawka| / "
               "01.1|Zboże stawki Zboże stawki Zboże stawki Zboże stawki Zboże stawki …"_s)
      << u"link 1 in column 1, row 1"_s << shows(table(4));
    t += titleSearch();
    t << u"Znajdź „zboże” in contents"_s << shows(table(2)) << u"Znajdź następny"_s << shows(huge);
    return {t + exitCommand(), counterBytes(4)};
}

Case rtfBraces()
{
    // 200 MB of "{" is no RTF; shown as text it would take the view minutes
    // and gigabytes to lay out, so the file is refused with a message. The
    // text topic then does not open, and every search that reaches it ends
    // with the same message.
    const QString tooLarge =
        error(u"Nie można wyświetlić pliku \"<dir>/opis.rtf\": ma 200 MB, a dokument może mieć najwyżej 8 MB."_s);
    QStringList t = startShowingWindows() + classification(3) + openGroup();
    t << u"open „Opis zbioru”"_s << tooLarge << shows(u"navigation"_s) << u"open „Tabela stawek”"_s << shows(table(1))
      << u"Eksport"_s << tableExport(u"000001"_s) << u"link 1 in column 1, row 3"_s << shows(table(4));
    for (const QString &find : {u"Znajdź „opis” in titles"_s, u"Znajdź „zboże” in contents"_s})
        t << find << tooLarge << shows(table(4)) << u"Znajdź następny"_s << tooLarge << shows(table(4));
    return {t + exitCommand(), counterBytes(2)};
}

Case rtfTopic(const QString &name)
{
    // A table of 5,000 rows, tables nested 8 deep and 30 pictures that
    // claim 1.7 GB each open in bounded time: the table up to the tables'
    // limit of cells and its other rows as lines, the nesting past 4 levels
    // as text in the deepest cell, the pictures not at all.
    const QString text = name == u"rtf-huge-table"_s ? u"Opis zbioru wiersz 1 stawka 8% wiersz 2 stawka 8% wiersz 3 s…"_s
        : name == u"rtf-nested-tables"_s             ? u"Opis zbioru poziom 8 nr 1 poziom 7 nr 2 poziom 6 nr 3 poziom…"_s
                                                     : u"Opis zbioru obrazek 1 obrazek 2 obrazek 3 obrazek 4 obrazek …"_s;
    QStringList t = startShowingWindows() + classification(3) + openGroup();
    t << u"open „Opis zbioru”"_s << shows(u"text „TEST - Opis zbioru”: "_s + text) << u"Eksport"_s
      << shows(u"rtf.000001.rtf: "_s + text);
    t += openTable(u"000002"_s);
    t << u"Znajdź „opis” in titles"_s << shows(u"text „TEST - Opis zbioru”: "_s + text) << u"Znajdź następny"_s
      << kNotFound << shows(u"text „TEST - Opis zbioru”: "_s + text);
    t << u"Znajdź „zboże” in contents"_s << shows(table(2)) << u"Znajdź następny"_s << kNotFound
      << shows(u"text „TEST - Opis zbioru”: "_s + text);
    return {t + exitCommand(), counterBytes(3)};
}

Case missingTopicFiles()
{
    // A missing topic file leaves the tree beside the start panel, silently;
    // missing documents leave the windows with the text they were built with.
    const QString design = u"Tu bedzie tekst pomocy ..."_s;
    QStringList t = startShowingWindows(design, design) + classification(3) + openGroup();
    t << u"open „Opis zbioru”"_s << shows(u"navigation"_s) << u"open „Tabela stawek”"_s << shows(u"navigation"_s);
    t << u"Znajdź „opis” in titles"_s << shows(u"navigation"_s) << u"Znajdź następny"_s << kNotFound
      << shows(u"navigation"_s);
    // Nothing can be searched; no topic was open, so the first one is opened
    // again (a group) and Find next is off.
    t << u"Znajdź „zboże” in contents"_s << kNotFound << shows(u"navigation"_s) << u"Znajdź następny"_s
      << u"  disabled"_s;
    return {t + exitCommand(), std::nullopt};
}

Case lfOnly()
{
    // A line feed alone ends no line: definition.global still names
    // definition.test, but that file is one line outside any block, so there
    // are no topics and the tree is empty. The documents are RTF, where line
    // ends do not matter.
    QStringList t = startShowingWindows() + classification(0);
    t << u"Znajdź „opis” in titles"_s << kNotFound << shows(u"navigation"_s) << u"Znajdź następny"_s << u"  disabled"_s;
    t << u"Znajdź „zboże” in contents"_s << kNotFound << shows(u"navigation"_s) << u"Znajdź następny"_s
      << u"  disabled"_s;
    return {t + exitCommand(), std::nullopt};
}

Case deepTree()
{
    // A chain of 30,000 groups under the intact set: the tree hangs every
    // 1,000th at the top level, so unfolding it all and selecting the
    // deepest one by a title search lay out no branch deeper than 1,000.
    QStringList t = startShowingWindows() + classification(30003);
    t << u"  (only the first 20 of 30003 nodes opened)"_s;
    t += openGroup() + openText(u"000001"_s) + openTable(u"000002"_s);
    for (int level = 1; level <= 17; ++level)
        t << u"open „Poziom %1”"_s.arg(level) << shows(u"navigation"_s);
    t << u"Znajdź „opis” in titles"_s << shows(kText) << u"Znajdź następny"_s << shows(u"navigation"_s);
    t += contentsSearch();
    return {t + exitCommand(), counterBytes(3)};
}

Case fifoFiles()
{
    // A FIFO is no file the program reads: the topics and the help window
    // behave as if their files were missing, and nothing waits for a writer.
    const QString design = u"Tu bedzie tekst pomocy ..."_s;
    Case missing = missingTopicFiles();
    missing.transcript[1] = u"  window „Pomoc”: "_s + design;
    missing.transcript[2] = u"  window „Wyjaśnienia”: Wyjaśnienia"_s;
    return missing;
}

Case endlessFiles()
{
    // The help document is /dev/zero: no regular file, so the window keeps
    // its text. The explanations and the text topic are a /proc file that
    // claims no size and never ends, the table file a sparse 3 GB: each is
    // read up to its cap at most and refused with a message.
    const QString design = u"Tu bedzie tekst pomocy ..."_s;
    const QString endless = error(
        u"Nie można wyświetlić pliku \"<dir>/opis.rtf\": ma ponad 8 MB, a dokument może mieć najwyżej 8 MB."_s);
    const QString sparse =
        error(u"Nie można wczytać pliku „<dir>/tabela.txt”: ma 3072 MB, a plik tabeli może mieć najwyżej 256 MB."_s);
    QStringList t{u"start"_s, u"  window „Pomoc”: "_s + design,
                  error(u"Nie można wyświetlić pliku \"<dir>/wexal.2010\": ma ponad 8 MB, a dokument może mieć najwyżej 8 MB."_s),
                  u"  window „Wyjaśnienia”: "_s, shows(u"start page"_s)};
    t += classification(3) + openGroup();
    t << u"open „Opis zbioru”"_s << endless << shows(u"navigation"_s) << u"open „Tabela stawek”"_s << sparse
      << shows(u"navigation"_s);
    for (const QString &find : {u"Znajdź „opis” in titles"_s, u"Znajdź „zboże” in contents"_s})
        t << find << endless << shows(u"navigation"_s) << u"Znajdź następny"_s << endless << shows(u"navigation"_s);
    return {t + exitCommand(), std::nullopt};
}

} // namespace

std::optional<Case> forCase(const QString &name)
{
    const QStringList normalStart = startShowingWindows();
    const QString badLine =
        u"Błąd wejścia/wyjścia: wiersz 2 pliku „<dir>/definition.global” nie zawiera nazwy pliku zakończonej znakiem „;”."_s;

    if (name == u"base"_s)
        return Case{intactSession(normalStart, u"000001"_s, u"000002"_s), counterBytes(3)};
    // A carriage return alone ends a line as CR LF does: nothing changes.
    if (name == u"cr-only"_s)
        return Case{intactSession(normalStart, u"000001"_s, u"000002"_s), counterBytes(3)};
    // The files read before the failure stay: the tree is whole.
    if (name == u"missing-definition-file"_s) {
        const QStringList start =
            startFailing(u"Błąd wejścia/wyjścia: nie można otworzyć pliku „<dir>/definition.brak”."_s);
        return Case{intactSession(start, u"000001"_s, u"000002"_s), counterBytes(3)};
    }
    if (name == u"line-without-semicolon"_s || name == u"empty-line-in-definition"_s)
        return Case{intactSession(startFailing(badLine), u"000001"_s, u"000002"_s), counterBytes(3)};
    // Bytes the counter does not have count as 0; bytes past the fourth stay.
    if (name == u"counter-0-bytes"_s)
        return Case{intactSession(normalStart, u"000000"_s, u"000001"_s), counterBytes(2)};
    if (name == u"counter-3-bytes"_s)
        return Case{intactSession(normalStart, u"000007"_s, u"000008"_s), counterBytes(9)};
    if (name == u"counter-9-bytes"_s)
        return Case{intactSession(normalStart, u"000007"_s, u"000008"_s), counterBytes(9, "ABCDE")};
    // No counter can be made beside the program: the user's own data
    // directory holds it, and the numbers start at 1 as on a first export.
    if (name == u"read-only-program-dir"_s)
        return Case{intactSession(normalStart, u"000001"_s, u"000002"_s), std::nullopt};
    if (name == u"missing-topic-files"_s)
        return missingTopicFiles();
    if (name == u"lf-only"_s)
        return lfOnly();
    if (name == u"columns-garbage"_s)
        return columnsGarbage();
    if (name == u"ten-thousand-columns"_s)
        return tenThousandColumns();
    if (name == u"huge-table-line"_s)
        return hugeTableLine();
    if (name == u"rtf-braces"_s)
        return rtfBraces();
    if (name == u"deep-tree"_s)
        return deepTree();
    if (name == u"fifo-files"_s)
        return fifoFiles();
    // A FIFO listed in definition.global is a file that cannot be opened.
    if (name == u"fifo-definition-file"_s) {
        const QStringList start =
            startFailing(u"Błąd wejścia/wyjścia: nie można otworzyć pliku „<dir>/definition.fifo”."_s);
        return Case{intactSession(start, u"000001"_s, u"000002"_s), counterBytes(3)};
    }
    if (name == u"endless-files"_s)
        return endlessFiles();
    if (name.startsWith(u"rtf-"_s))
        return rtfTopic(name);
    return std::nullopt;
}

} // namespace BrokenExpectations
