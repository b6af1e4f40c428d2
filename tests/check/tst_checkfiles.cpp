#include "tst_check.h"

#include "checkdataset.h"

#include "core/datafileobserver.h"
#include "core/datafilereader.h"
#include "core/textrules.h"
#include "check/datachecker.h"
#include "check/reportformat.h"
#include "check/topicfields.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using CheckDataSet::Files;
using CheckDataSet::text;

namespace {

void addColumns()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("report");
}

QByteArray pngHex()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// Writes down what DataFileReader tells its observer.
class RecordingObserver final : public DataFileObserver
{
public:
    QStringList events;

    void lineRead(int lineNumber, QByteArrayView bytes, LineEnd end) override
    {
        QString shown = bytes.size() > 20 ? u"<%1 bytes>"_s.arg(bytes.size()) : QString::fromLatin1(bytes);
        shown.replace(u'\n', u"\\n"_s);
        const char *ends[] = {"CRLF", "CR", "none"};
        events.append(u"%1:%2:%3"_s.arg(lineNumber).arg(shown, QString::fromLatin1(ends[int(end)])));
    }
    void ctrlZ(int lineNumber, bool dataFollows) override
    {
        events.append(u"Z%1:%2"_s.arg(lineNumber).arg(dataFollows ? u"more"_s : u"end"_s));
    }
};

} // namespace

void TestCheck::documents_data()
{
    addColumns();
    const QString opis = u"opis.rtf:"_s;
    QTest::newRow("not RTF: shown as plain text")
        << Files{{u"opis.rtf"_s, text({u"Zwykły tekst"_s})}}
        << QStringList{opis + u"1: warning: plik nie zaczyna się nagłówkiem RTF „{\\rtf”: program pokazuje go jako zwykły tekst"_s};
    QTest::newRow("a byte-order mark before the header")
        << Files{{u"opis.rtf"_s, "\xEF\xBB\xBF{\\rtf1 Opis}"}}
        << QStringList{opis + u"1: warning: plik nie zaczyna się nagłówkiem RTF „{\\rtf”: program pokazuje go jako zwykły tekst (na początku stoi znacznik BOM)"_s};
    QTest::newRow("plain text with an undefined byte")
        << Files{{u"opis.rtf"_s, "Opis\r\nz\x98le\r\n"}}
        << QStringList{opis + u"1: warning: plik nie zaczyna się nagłówkiem RTF „{\\rtf”: program pokazuje go jako zwykły tekst"_s,
                       opis + u"2: warning: bajt 0x98 nie oznacza żadnego znaku w kodowaniu Windows-1250"_s};
    // Past sixteen bytes, among letters of 0x80-0x9F (ś, ź, Ś, Ź): the first gap.
    QTest::newRow("an undefined byte deep in a long line")
        << Files{{u"opis.rtf"_s, "Opis\r\n\x9c\x9f\x8c\x8fwi\x9cnie i \x9f\x9c" "d\x9f" "b\x9f" "a\x90 z\x81le\r\n"}}
        << QStringList{opis + u"1: warning: plik nie zaczyna się nagłówkiem RTF „{\\rtf”: program pokazuje go jako zwykły tekst"_s,
                       opis + u"2: warning: bajt 0x90 nie oznacza żadnego znaku w kodowaniu Windows-1250"_s};
    QTest::newRow("a brace that closes the document early")
        << Files{{u"opis.rtf"_s, "{\\rtf1 Opis}\r\ndalszy tekst}\r\n"}}
        << QStringList{opis + u"1: error: nawias „}” zamyka tu cały dokument: program nie czyta dalszej treści (od wiersza 2)"_s};
    QTest::newRow("line ends and a NUL after the document are fine")
        << Files{{u"opis.rtf"_s, QByteArray("{\\rtf1 Opis}\r\n\r\n\0", 17)}} << QStringList();
    QTest::newRow("closing braces missing")
        << Files{{u"opis.rtf"_s, "{\\rtf1 {\\b Opis}\r\n{\\i dalej\r\n"}}
        << QStringList{opis + u"2: warning: na końcu dokumentu brakuje 2 nawiasów „}”: program zamyka grupy sam"_s};
    QTest::newRow("one closing brace missing")
        << Files{{u"opis.rtf"_s, "{\\rtf1 Opis"}}
        << QStringList{opis + u"1: warning: na końcu dokumentu brakuje 1 nawiasu „}”: program zamyka grupy sam"_s};
    QTest::newRow("incomplete hex escapes")
        << Files{{u"opis.rtf"_s, "{\\rtf1\r\nZ\\'b3y \\'4x i \\'zz}"}}
        << QStringList{opis + u"2: warning: niepełne „\\'hh” (potrzebne dwie cyfry szesnastkowe): program je pomija (i jeszcze 1 raz)"_s};
    QTest::newRow("a number too large")
        << Files{{u"opis.rtf"_s, "{\\rtf1\\fs99999999999 Opis}"}}
        << QStringList{opis + u"1: warning: liczba w słowie sterującym jest większa niż 1000000000: program ją obcina"_s};
    QTest::newRow("binary data past the end")
        << Files{{u"opis.rtf"_s, "{\\rtf1 \\bin100 ab}"}}
        << QStringList{opis + u"1: warning: na końcu dokumentu brakuje 1 nawiasu „}”: program zamyka grupy sam"_s,
                       opis + u"1: warning: „\\bin” zapowiada o 97 B więcej danych, niż ma plik: program czyta do końca pliku"_s};
    QTest::newRow("groups nested too deep")
        << Files{{u"opis.rtf"_s, "{\\rtf1 " + QByteArray(1001, '{') + "x" + QByteArray(1001, '}') + "}"}}
        << QStringList{opis + u"1: warning: grupa zagnieżdżona głębiej niż 1000 poziomów: program pomija ją w całości"_s};
    QTest::newRow("a picture the viewer cannot show")
        << Files{{u"opis.rtf"_s, "{\\rtf1 {\\pict\\wmetafile8 0102}}"}}
        << QStringList{opis + u"1: warning: obraz nie jest w formacie PNG ani JPEG albo jest uszkodzony: program go nie pokazuje"_s};
    QTest::newRow("a PNG picture is fine")
        << Files{{u"opis.rtf"_s, "{\\rtf1 {\\pict\\pngblip " + pngHex() + "}}"}} << QStringList();
    QTest::newRow("the help, explanations and update documents missing")
        << Files{{u"wexal.hlp"_s, QByteArray()}, {u"wexal.2010"_s, QByteArray()}, {u"wexal.update"_s, QByteArray()}}
        << QStringList{u"wexal.hlp: warning: brak pliku pomocy: okno pomocy nie ma czego pokazać"_s,
                       u"wexal.2010: warning: brak pliku objaśnień: okno objaśnień nie ma czego pokazać"_s,
                       u"wexal.update: warning: brak pliku informacji o aktualizacji: okno aktualizacji nie ma czego pokazać"_s};
    QTest::newRow("a damaged help document")
        << Files{{u"wexal.hlp"_s, "{\\rtf1 Pomoc}}"}}
        << QStringList{u"wexal.hlp:1: error: nawias „}” zamyka tu cały dokument: program nie czyta dalszej treści (od wiersza 1)"_s};
}

void TestCheck::documents()
{
    CheckDataSet::verifyRow();
}

void TestCheck::textFiles_data()
{
    addColumns();
    QTest::newRow("a LF without CR is part of the line; later lines count as an editor shows them")
        << Files{{u"tabela.txt"_s, "01\tZbo\n\xbf" "a\r\n02\t#B#x\r\n"}}
        << QStringList{u"tabela.txt:1: warning: znak LF bez CR przed nim nie kończy wiersza: program czyta go jako część wiersza"_s,
                       u"tabela.txt:3: warning: kolumna 2: „#B#” nie jest zamknięty: pogrubienie trwa do końca komórki"_s};
    QTest::newRow("a CR alone")
        << Files{{u"tabela.txt"_s, "01\tZbo\xbf" "a\r02\tOwies\r03\tJ\xea" "c\r\n"}}
        << QStringList{u"tabela.txt:1: warning: wiersz kończy się samym znakiem CR zamiast pary CR LF (także w 1 dalszym wierszu)"_s};
    QTest::newRow("LF line ends in a topic definition file")
        << Files{{u"tematy.def"_s, "{\nNAME=Grupa;\nPARENT=nil;\n}\n"}}
        << QStringList{u"tematy.def:1: warning: wiersz pola „{ NAME=Grupa; PARENT=nil; }” leży poza blokiem „{ … }”: program go pomija"_s,
                       u"tematy.def:1: warning: znak LF bez CR przed nim nie kończy wiersza: program czyta go jako część wiersza"_s};
    QTest::newRow("bytes Windows-1250 leaves undefined")
        << Files{{u"definition.global"_s, "tematy.def;uwaga\x81\r\n"},
                 {u"tabela.txt"_s, "01\tZbo\x83\r\n02\t\x88\r\n03\tOwies\r\n04\t\x90\r\n"}}
        << QStringList{u"definition.global:1: warning: bajt 0x81 nie oznacza żadnego znaku w kodowaniu Windows-1250"_s,
                       u"tabela.txt:1: warning: bajt 0x83 nie oznacza żadnego znaku w kodowaniu Windows-1250 (także w 2 dalszych wierszach)"_s};
    QTest::newRow("a Ctrl-Z at the start of a line")
        << Files{{u"tabela.txt"_s, "01\tZbo\xbf" "a\r\n\x1a" "02\tOwies\r\n"}}
        << QStringList{u"tabela.txt:2: warning: znak Ctrl-Z (bajt 26) kończy tu czytanie pliku: program nie czyta dalszej części"_s};
    QTest::newRow("a Ctrl-Z inside a line")
        << Files{{u"definition.global"_s, "tematy.def;x\x1a" "druga.def;x\r\n"}}
        << QStringList{u"definition.global:1: warning: znak Ctrl-Z (bajt 26) kończy tu czytanie pliku: program nie czyta dalszej części"_s};
    QTest::newRow("a Ctrl-Z as the last byte is fine")
        << Files{{u"tabela.txt"_s, "01\tZbo\xbf" "a\r\n02\t#L#x#L#T@TAB@01#\r\n\x1a"}} << QStringList();
}

void TestCheck::textFiles()
{
    CheckDataSet::verifyRow();
}

void TestCheck::lineReaderObserver_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{u"1:a:CRLF"_s, u"2:b:CRLF"_s};
    QTest::newRow("CR alone, last line without an end")
        << QByteArray("a\rb\r\nc") << QStringList{u"1:a:CR"_s, u"2:b:CRLF"_s, u"3:c:none"_s};
    QTest::newRow("LF inside a line") << QByteArray("a\nb\r\n") << QStringList{u"1:a\\nb:CRLF"_s};
    QTest::newRow("Ctrl-Z inside a line")
        << QByteArray("ab\x1a" "cd\r\n") << QStringList{u"1:ab:none"_s, u"Z1:more"_s};
    QTest::newRow("Ctrl-Z starting a line")
        << QByteArray("a\r\n\x1a" "b") << QStringList{u"1:a:CRLF"_s, u"Z2:more"_s};
    QTest::newRow("Ctrl-Z as the last byte") << QByteArray("a\r\n\x1a") << QStringList{u"1:a:CRLF"_s, u"Z2:end"_s};
    const qsizetype chunk = 256 * 1024;
    QTest::newRow("CR and LF in different chunks")
        << QByteArray(QByteArray(chunk - 1, 'x') + "\r\ny")
        << QStringList{u"1:<%1 bytes>:CRLF"_s.arg(chunk - 1), u"2:y:none"_s};
}

void TestCheck::lineReaderObserver()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, events);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    DataFileReader reader(buffer);
    RecordingObserver observer;
    reader.setObserver(&observer);
    QStringList lines;
    while (!reader.atEnd())
        lines.append(QString::number(reader.lineNumber() + 1) + u':' + QString::fromLatin1(reader.readLineBytes()));
    QCOMPARE(observer.events, events);
    QCOMPARE(reader.lineNumber(), int(lines.size()));
}

void TestCheck::topicFieldsAgreeWithGetTabField_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("at");
    QTest::newRow("key at the start, any case") << u"MODE=TABLE\tFILE=kody.txt\t"_s << u"file="_s << 1 << 0;
    QTest::newRow("NAME= is not in NAME1=") << u"NAME1=Kod\tNAME=Tytuł\t"_s << u"NAME="_s << 1 << 0;
    QTest::newRow("the first field holding the key wins") << u"XLINK=A\tLINK=B\t"_s << u"LINK="_s << 0 << 1;
    QTest::newRow("Polish letters upper-cased") << u"ŻNAME=źdźbło\t"_s << u"żname="_s << 0 << 0;
    QTest::newRow("no field") << u"NAME=A\t"_s << u"LINK="_s << -1 << -1;
    QTest::newRow("empty record") << QString() << u"NAME="_s << -1 << -1;
    QTest::newRow("empty fields before") << u"a\t\tNAME=x\t"_s << u"NAME="_s << 2 << 0;
    QTest::newRow("a last field without its tab") << u"A=1\tLINK=Z"_s << u"LINK="_s << 1 << 0;
    QTest::newRow("equals signs within the key") << u"X=A=B=1\tA=B=2\t"_s << u"a=b="_s << 0 << 2;
    QTest::newRow("a key holding a tab") << u"A=1\tB=2\t"_s << u"1\tB="_s << -1 << -1;
}

void TestCheck::topicFieldsAgreeWithGetTabField()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    QFETCH(int, field);
    QFETCH(int, at);
    const TopicFields::Hit hit = TopicFields(record).find(key);
    QCOMPARE(hit.value, Wexal::GetTabField(record, key));
    QCOMPARE(hit.field, field);
    QCOMPARE(int(hit.at), at);
}

void TestCheck::jsonReport()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString programDir = dir.path() + u'/';
    QVERIFY(CheckDataSet::write(programDir, {{u"tabela.txt"_s, text({u"01\t#B#Zboża"_s})}, {u"opis.rtf"_s, QByteArray()}}));
    DataChecker checker(programDir);
    QCOMPARE(checker.run(), DataChecker::Errors);

    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(Wexal::Check::reportJson(checker.report(), programDir), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject root = json.object();
    QCOMPARE(root.value(u"directory"_s).toString(), programDir);
    QCOMPARE(root.value(u"errors"_s).toInt(), 1);
    QCOMPARE(root.value(u"warnings"_s).toInt(), 1);
    QCOMPARE(root.value(u"notes"_s).toInt(), 0);
    const QJsonArray findings = root.value(u"findings"_s).toArray();
    QCOMPARE(findings.size(), 2);
    const QJsonObject first = findings.at(0).toObject();
    QCOMPARE(first.value(u"file"_s).toString(), u"tematy.def"_s);
    QCOMPARE(first.value(u"line"_s).toInt(), 35);
    QCOMPARE(first.value(u"severity"_s).toString(), u"error"_s);
    QVERIFY(first.value(u"message"_s).toString().startsWith(u"plik tematu „opis.rtf” nie istnieje"));
    const QJsonObject second = findings.at(1).toObject();
    QCOMPARE(second.value(u"file"_s).toString(), u"tabela.txt"_s);
    QCOMPARE(second.value(u"line"_s).toInt(), 1);
    QCOMPARE(second.value(u"severity"_s).toString(), u"warning"_s);
    QCOMPARE(Wexal::Check::reportSummary(checker.report()), u"1 błąd, 1 ostrzeżenie, 0 uwag"_s);
}

void TestCheck::reportDoesNotDependOnThreads()
{
    // Many topic files, each with findings of its own and links into the
    // others, read on one thread and on several.
    QStringList definitions = CheckDataSet::groupBlock();
    CheckDataSet::Files files;
    for (int t = 0; t < 40; ++t) {
        const QString name = u"t%1.txt"_s.arg(t);
        definitions += {u"{"_s, u"NAME=Tabela %1;"_s.arg(t), u"PARENT=G;"_s, u"VIEW=SHOW;"_s, u"SIGNATURE=T;"_s,
                        u"LINK=T%1;"_s.arg(t), u"MODE=TABLE;"_s, u"FILE=%1;"_s.arg(name), u"COLUMNS=2;"_s,
                        u"NAME1=Kod;"_s, u"WIDTH1=60;"_s, u"ALIGNMENT1=LEFT;"_s, u"NAME2=Nazwa;"_s,
                        u"WIDTH2=AUTO;"_s, u"ALIGNMENT2=%1;"_s.arg(t % 7 ? u"LEFT"_s : u"RIGHT"_s), u"}"_s};
        files.insert(name, text({u"01	#B#x"_s, u"02	#L#a#L#T@T%1@0%2#"_s.arg((t + 1) % 45).arg(t % 3),
                                 u"03	b	nadmiar"_s}));
    }
    files.insert(u"tematy.def"_s, text(definitions));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(CheckDataSet::write(dir.path() + u'/', files));

    QStringList first;
    for (const int threads : {1, 2, 5}) {
        DataChecker checker(dir.path() + u'/', threads);
        QCOMPARE(checker.run(), DataChecker::Errors);
        QStringList lines;
        for (const CheckFinding &finding : checker.report().findings())
            lines.append(Wexal::Check::formatFinding(finding));
        if (first.isEmpty())
            first = lines;
        QCOMPARE(lines, first);
    }
    // Each table: an extra field, and a "#B#" left open or a link in a
    // right-aligned column (every seventh); links to row 00 miss (every
    // third left one but the last), and the last one's topic is missing.
    QCOMPARE(first.size(), 34 * 2 + 6 * 2 + 11 + 1);
}

void TestCheck::program_data()
{
    QTest::addColumn<QStringList>("arguments"); // "DIR" stands for the data set's directory
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errorOutput");
    QTest::newRow("clean") << QStringList{u"DIR"_s} << Files() << 0 << QString()
                           << u"wexal-check: 0 błędów, 0 ostrzeżeń, 0 uwag\n"_s;
    QTest::newRow("errors")
        << QStringList{u"DIR"_s} << Files{{u"opis.rtf"_s, QByteArray()}, {u"tabela.txt"_s, QByteArray()}} << 1
        << u"tematy.def:18: error: plik tematu „tabela.txt” nie istnieje: temat „Tabela” się nie otwiera (program pokazuje samo drzewo)\n"
           "tematy.def:35: error: plik tematu „opis.rtf” nie istnieje: temat „Opis” się nie otwiera (program pokazuje samo drzewo)\n"_s
        << u"wexal-check: 2 błędy, 0 ostrzeżeń, 0 uwag\n"_s;
    QTest::newRow("as JSON")
        << QStringList{u"--json"_s, u"DIR"_s} << Files{{u"wexal.hlp"_s, QByteArray()}} << 0
        << u"\"warnings\": 1"_s << u"wexal-check: 0 błędów, 1 ostrzeżenie, 0 uwag\n"_s;
    QTest::newRow("a directory that cannot be read")
        << QStringList{u"DIR/brak"_s} << Files() << 2 << QString() << u"wexal-check: nie można odczytać katalogu „DIR/brak/”\n"_s;
    QTest::newRow("an unknown option")
        << QStringList{u"--szybko"_s} << Files() << 2 << QString() << u"wexal-check: nieznany argument „--szybko”\n"_s;
    QTest::newRow("help") << QStringList{u"--help"_s} << Files() << 0 << u"Użycie: wexal-check [--json] [katalog]\n"_s
                          << QString();
}

void TestCheck::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(Files, files);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errorOutput);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(CheckDataSet::write(dir.path() + u'/', files));
    for (QString &argument : arguments)
        argument.replace(u"DIR"_s, dir.path());
    output.replace(u"DIR"_s, dir.path());
    errorOutput.replace(u"DIR"_s, dir.path());

    QProcess process;
    process.start(QStringLiteral(WEXAL_CHECK_EXE), arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    // Output: the whole of it, or for JSON and help a part that shows the form.
    if (output.startsWith(u'"') || output.startsWith(u"Użycie"))
        QVERIFY2(out.contains(output), qPrintable(out));
    else
        QCOMPARE(out, output);
    if (errorOutput.contains(u"nieznany"))
        QVERIFY2(err.startsWith(errorOutput), qPrintable(err));
    else
        QCOMPARE(err, errorOutput);
}
