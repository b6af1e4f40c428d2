#include "realdocuments.h"

#include "richtext/richtextloader.h"

#include <QBuffer>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// The paragraphs the search reads from a document file without building a
// QTextDocument are the blocks the view holds after loading it, character
// for character, whichever way they were read.
class RtfParagraphsTest : public QObject
{
    Q_OBJECT

private slots:
    void sameAsTheDocumentsBlocks_data();
    void sameAsTheDocumentsBlocks();
};

namespace {

QStringList blocksOfView(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QTextDocument doc;
    if (!RichTextLoader::load(buffer, doc))
        return {u"<not loaded>"_s};
    QStringList blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks;
}

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0 Arial;}}" + body + "}";
}

} // namespace

void RtfParagraphsTest::sameAsTheDocumentsBlocks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const auto &[name, path] : RealDocuments::list({u"*.rtf"_s, u"*.txt"_s})) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QTest::newRow(qPrintable(name)) << file.readAll();
    }

    const QByteArray longWord(2500, 'x');
    QTest::newRow("long runs broken") << rtf("a " + longWord + "\\par " + longWord + " b " + longWord);
    QTest::newRow("long plain line") << QByteArray("z\r\n" + longWord + "\r\n");
    static const char plainWithNul[] = "a\r\nb\rc\nd\r\n\r\ne\0f\r\n";
    QTest::newRow("plain line ends and NUL") << QByteArray(plainWithNul, sizeof plainWithNul - 1);
    QTest::newRow("empty document") << rtf("");
    QTest::newRow("last paragraph without par") << rtf("one\\par two");
    QTest::newRow("document ends with par") << rtf("one\\par two\\par ");
    QTest::newRow("line, page and section") << rtf("a\\line b\\page c\\sect\\sect d\\page ");
    QTest::newRow("hex line ends in text") << rtf("a\\'0db\\'0a c\\par d");
    // Block ends deep in long runs, where eight characters are checked at once.
    QTest::newRow("paragraph separator in a long run") << rtf("abcdefghijkl\\u8233?mnopqrstuvwxyz\\par end");
    QTest::newRow("hex LF in a long run") << rtf("0123456789abcdef\\'0aghijklmnopqrstu\\par end");
    QTest::newRow("hex CR at a run's tail") << rtf("first\\par 0123456789\\'0dx");
    QTest::newRow("unicode and surrogates") << rtf("\\u380?\\u-10179?\\u-8192?x\\u-10179?\\par \\u-10179?");
    QTest::newRow("table") << rtf("before\\par\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row after");
    QTest::newRow("text after a row") << rtf("\\trowd\\cellx1000 a\\intbl\\cell\\row\\pard tail\\par end");
    QTest::newRow("hidden and field") << rtf("{\\v hidden}shown {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\par");
    // A lead byte of a double-byte code page alone in its run: the run
    // decodes without its partner, whatever text follows in another format.
    const QByteArray japanese = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f1\\fcharset128 Mincho;}}";
    QTest::newRow("lead byte before a format change") << japanese + "{\\f1 \\'83}{\\f1\\b Ala ma kota}\\par}";
    QTest::newRow("lead byte before a font change") << japanese + "{\\f1 x\\'83}{\\f0 \\'41}\\par}";
    QTest::newRow("damaged: unclosed groups") << QByteArray("{\\rtf1 {\\b one\\par {two");
}

void RtfParagraphsTest::sameAsTheDocumentsBlocks()
{
    QFETCH(QByteArray, bytes);
    QStringList paragraphs{u"stale"_s};
    RichTextLoader::loadParagraphs(bytes, paragraphs);
    QCOMPARE(paragraphs, blocksOfView(bytes));
}

QTEST_MAIN(RtfParagraphsTest)
#include "tst_rtfparagraphs.moc"
