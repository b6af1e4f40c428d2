#include "documenttext.h"

#include "richtext/richtextloader.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// The RTF files of other readers' test suites, read from the shared folder
// beside the repository (never copied into it). Each family's expected
// output is that reader's own rendering, compared after normalising white
// space and cell separators.
class RtfCorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyFileLoadsAndRoundTrips_data();
    void everyFileLoadsAndRoundTrips();
    void plainTextOracles_data();
    void plainTextOracles();
    void htmlOracles_data();
    void htmlOracles();
    void tikaAssertions_data();
    void tikaAssertions();
    void cleanupTestCase();

private:
    QString m_dir;
    int m_compared = 0;
    int m_agreed = 0;
};

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTextDocument *load(const QString &path, RichTextLoader::Format *format = nullptr)
{
    auto *doc = new QTextDocument;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !RichTextLoader::load(file, *doc, format)) {
        delete doc;
        return nullptr;
    }
    return doc;
}

// Files whose expected output differs from ours for a reason of its own.
const QHash<QString, QString> &knownDifferences()
{
    static const QHash<QString, QString> reasons = {
        {u"striprtf/encoding"_s,
         u"a second RTF document follows the first one's closing brace; the reader stops there"_s},
        {u"striprtf/hyperlinks"_s, u"that reader writes the link address after the link text"_s},
        {u"striprtf/mac_textedit_hyperlink"_s, u"that reader writes the link address after the link text"_s},
        {u"rtfpipe/phprtflite_image_from_strings"_s, u"the expected HTML belongs to another document"_s},
        {u"rtfpipe/rtf2xml_japanese"_s,
         u"the expected HTML has stray characters where that reader split double-byte pairs"_s},
    };
    return reasons;
}

} // namespace

void RtfCorpusTest::initTestCase()
{
    m_dir = qEnvironmentVariable("WEXAL_RTF_CORPUS", QStringLiteral(WEXAL_SHARED_DIR "/rtf-corpus"));
    if (!QFileInfo(m_dir).isDir())
        QSKIP(qPrintable(u"The RTF corpus is not at %1; the corpus tests need it."_s.arg(m_dir)));
}

void RtfCorpusTest::everyFileLoadsAndRoundTrips_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("rtf");
    QDir dir(m_dir);
    const QStringList families = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &family : families) {
        const QStringList files = QDir(dir.filePath(family)).entryList({u"*.rtf"_s}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            // The malformed samples 4 to 6 are not RTF at all (empty, "foobar",
            // "\foobar"), and 0 has a stray "/" before the header.
            const bool notRtf = file.startsWith(u"malformed_fail_"_s) && !file.startsWith(u"malformed_fail_3"_s);
            QTest::newRow(qPrintable(family + u'/' + file)) << dir.filePath(family + u'/' + file) << !notRtf;
        }
    }
}

void RtfCorpusTest::everyFileLoadsAndRoundTrips()
{
    QFETCH(QString, path);
    QFETCH(bool, rtf);
    RichTextLoader::Format format = RichTextLoader::Format::PlainText;
    std::unique_ptr<QTextDocument> doc(load(path, &format));
    QVERIFY(doc);
    QCOMPARE(format == RichTextLoader::Format::Rtf, rtf);
    if (!rtf)
        return;
    // Written and read again, the document has the same text and formats.
    QTextDocument again;
    QVERIFY(RtfReader::read(RtfWriter::write(*doc), again));
    QCOMPARE(DocumentText::dump(again), DocumentText::dump(*doc));
}

void RtfCorpusTest::plainTextOracles_data()
{
    QTest::addColumn<QString>("name");
    const QStringList expected = QDir(m_dir + u"/striprtf"_s).entryList({u"*.expected.txt"_s}, QDir::Files, QDir::Name);
    for (const QString &file : expected) {
        const QString name = u"striprtf/"_s + file.left(file.size() - int(sizeof(".expected.txt") - 1));
        QTest::newRow(qPrintable(name)) << name;
    }
}

void RtfCorpusTest::plainTextOracles()
{
    QFETCH(QString, name);
    std::unique_ptr<QTextDocument> doc(load(m_dir + u'/' + name + u".rtf"_s));
    QVERIFY(doc);
    const QString expected = QString::fromUtf8(readFile(m_dir + u'/' + name + u".expected.txt"_s));
    const bool agrees = DocumentText::normalised(DocumentText::plain(*doc)) == DocumentText::normalised(expected);
    ++m_compared;
    m_agreed += agrees ? 1 : 0;
    if (knownDifferences().contains(name))
        QEXPECT_FAIL("", qPrintable(knownDifferences().value(name)), Continue);
    QCOMPARE(DocumentText::normalised(DocumentText::plain(*doc)), DocumentText::normalised(expected));
}

void RtfCorpusTest::htmlOracles_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &family : {u"rtfpipe"_s, u"rtfjs"_s}) {
        const QStringList files = QDir(m_dir + u'/' + family).entryList({u"*.expected.html"_s}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            const QString name = family + u'/' + file.left(file.size() - int(sizeof(".expected.html") - 1));
            QTest::newRow(qPrintable(name)) << name;
        }
    }
}

void RtfCorpusTest::htmlOracles()
{
    QFETCH(QString, name);
    std::unique_ptr<QTextDocument> doc(load(m_dir + u'/' + name + u".rtf"_s));
    QVERIFY(doc);
    const QString html = QString::fromUtf8(readFile(m_dir + u'/' + name + u".expected.html"_s));
    const QString expected = DocumentText::normalised(DocumentText::htmlText(html));
    const QString actual = DocumentText::normalised(DocumentText::plain(*doc));
    ++m_compared;
    m_agreed += actual == expected ? 1 : 0;
    if (knownDifferences().contains(name))
        QEXPECT_FAIL("", qPrintable(knownDifferences().value(name)), Continue);
    QCOMPARE(actual, expected);
}

void RtfCorpusTest::tikaAssertions_data()
{
    // Transcribed from tika/EXPECTED.md. "dropped" holds what that reader
    // shows and this view leaves out on purpose: headers, footers, notes and
    // text boxes belong to a word processor's printed page, not to the text.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("contains");
    QTest::addColumn<QStringList>("collapsed");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("links"); // "address|text"
    QTest::addColumn<QStringList>("formatted"); // "text:b i": switches its run has
    auto row = [](const char *file, const QStringList &contains, const QStringList &collapsed = {},
                  const QStringList &absent = {}, const QStringList &links = {},
                  const QStringList &formatted = {}, const QStringList &dropped = {}) {
        QTest::newRow(file) << QString::fromLatin1(file) << contains << collapsed << absent << dropped << links
                            << formatted;
    };
    row("testRTFWindowsCodepage1250", {u"zażółć gęślą jaźń"_s, u"ZAŻÓŁĆ GĘŚLĄ JAŹŃ"_s});
    row("testRTFWordPadCzechCharacters", {u"Článek týdne"_s, u"starověké židovské náboženské texty"_s});
    row("testRTFWord2010CzechCharacters", {u"Článek týdne"_s, u"starověké židovské náboženské texty"_s});
    row("testRTFUmlautSpaces2", {}, {}, {}, {}, {});
    row("testRTFUnicodeUCNControlWordCharacterDoubling", {u"年"_s, u"念"_s, u"0 "_s, u"abc"_s}, {}, {u"年年"_s});
    row("testRTFHexEscapeInsideWord", {u"ESPÍRITO"_s});
    row("testRTFUnicodeGothic", {u"𐌲𐌿𐍄𐌹𐍃𐌺"_s});
    row("testRTFInvalidUnicode",
        {u"Unpaired hi \uFFFD here"_s, u"Unpaired lo \uFFFD here"_s, u"Mismatched pair \uFFFD\uFFFD here"_s});
    row("testRTFTableCellSeparation", {}, {u"a b c d ä ë ö ü"_s});
    row("testRTFTableCellSeparation2", {}, {u"Station Fax"_s});
    row("testRTFWithCurlyBraces", {u"{ some text inside curly brackets }"_s});
    row("testRTFControls",
        {u"Thiswordhasanem—dash"_s, u"Thiswordhasanen–dash"_s, u"Thiswordhasanon\u2011breakinghyphen"_s,
         u"Thiswordhasanonbreaking\u00A0space"_s, u"Thiswordhasanoptional\u00ADhyphen"_s,
         u"‘Single quoted text’"_s, u"“Double quoted text”"_s, u"“Double quoted text again”"_s});
    row("testRTFBoldPlain", {}, {}, {}, {}, {}, {u"Hank"_s, u"Anna Smith"_s});
    row("testRTFIgnoredControlWord", {u"\nThe quick brown fox jumps over the lazy dog\n"_s});
    row("testFontAfterBufferedText", {u"Уважаемый клиент!"_s});
    row("testRTFNewlines", {u"one\n\ntwo\n\n\nthree\n\n\n\nfour\n"_s});
    row("testRTF_parInsideHyperlink", {u"line1"_s, u"line2"_s}, {}, {}, {u"#target|line1"_s, u"#target|line2"_s});
    row("testRTF_nestedHyperlinkPageRef", {u"Before"_s, u"after."_s}, {}, {}, {u"#target|42"_s});
    row("testRTFHyperlinkAndStyles", {u"DIP: Dip, Caesar.doc"_s}, {}, {},
        {u"..\\..\\SAUCES\\Dips\\Dip, Caesar.doc|Dip, Caesar.doc"_s}, {u"DIP:b i"_s, u"Dip, Caesar.doc:b"_s});
    row("testBinControlWord", {}, {}, {u"}"_s, u"ÿ"_s});
    row("testRTFTIKA_2150", {u"TO\tFROM"_s});
    row("testRTF-ms932", {u"こんにちは"_s});
    row("testRTFVarious",
        {u"Footnote appears here"_s, u"Bold"_s, u"italic"_s, u"underline"_s, u"superscript"_s, u"subscript"_s,
         u"Here is a citation:"_s, u"Figure 1 This is a caption for Figure 1"_s, u"(Kramer)"_s,
         u"This is a hyperlink"_s, u"Here is a list:"_s, u"Bullet 1"_s, u"Bullet 2"_s, u"Bullet 3"_s,
         u"Here is a numbered list:"_s, u"Number bullet 1"_s, u"Number bullet 3"_s, u"Keyword1 Keyword2"_s,
         u"Subject is here"_s, u"Suddenly some Japanese text:"_s, u"（ＧＨＱ）"_s, u"And then some Gothic text:"_s,
         u"𐌲𐌿𐍄𐌹𐍃𐌺"_s},
        {u"Row 1 Col 1 Row 1 Col 2 Row 1 Col 3 Row 2 Col 1 Row 2 Col 2 Row 2 Col 3"_s}, {}, {}, {u"Bold:b"_s, u"italic:i"_s},
        {u"This is a footnote."_s, u"This is the header text."_s, u"This is the footer text."_s,
         u"Here is a text box"_s});
}

void RtfCorpusTest::tikaAssertions()
{
    QFETCH(QString, file);
    QFETCH(QStringList, contains);
    QFETCH(QStringList, collapsed);
    QFETCH(QStringList, absent);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, links);
    QFETCH(QStringList, formatted);
    std::unique_ptr<QTextDocument> doc(load(m_dir + u"/tika/"_s + file + u".rtf"_s));
    QVERIFY(doc);
    const QString plain = u'\n' + DocumentText::plain(*doc);
    bool agrees = true;
    for (const QString &text : contains) {
        agrees = agrees && plain.contains(text);
        QVERIFY2(plain.contains(text), qPrintable(text));
    }
    for (const QString &text : collapsed)
        QVERIFY2(DocumentText::normalised(plain).contains(text), qPrintable(text));
    for (const QString &text : absent)
        QVERIFY2(!plain.contains(text), qPrintable(text));
    for (const QString &text : dropped) {
        agrees = false;
        QVERIFY2(!plain.contains(text), qPrintable(text));
    }
    if (file == u"testRTFUmlautSpaces2"_s) {
        QString letters = plain;
        letters.remove(QRegularExpression(u"\\s"_s));
        QCOMPARE(letters, u"Übersicht"_s);
    }
    QStringList actualLinks;
    for (const DocumentText::Link &link : DocumentText::links(*doc))
        actualLinks << link.href + u'|' + link.text;
    for (const QString &link : links)
        QVERIFY2(actualLinks.contains(link), qPrintable(actualLinks.join(u", "_s)));
    for (const QString &item : formatted) {
        const qsizetype colon = item.lastIndexOf(u':');
        const QString text = item.left(colon);
        const QStringList format = DocumentText::charFormatOf(*doc, text).split(u' ');
        for (const QString &flag : item.mid(colon + 1).split(u' '))
            QVERIFY2(format.contains(flag), qPrintable(text + u": "_s + format.join(u' ')));
    }
    ++m_compared;
    m_agreed += agrees ? 1 : 0;
}

void RtfCorpusTest::cleanupTestCase()
{
    if (m_compared > 0)
        qInfo("%d of %d corpus files with an expected output agree with it", m_agreed, m_compared);
}

QTEST_MAIN(RtfCorpusTest)
#include "tst_rtfcorpus.moc"
