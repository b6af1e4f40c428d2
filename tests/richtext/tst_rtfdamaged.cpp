#include "tst_rtfreader.h"

#include "documenttext.h"

#include "richtext/rtfreader.h"

#include <QTest>
#include <QTextDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

void RtfReaderTest::damagedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing final brace") << QByteArray(R"({\rtf1 one\par two)") << u"one\ntwo\n"_s;
    QTest::newRow("many missing braces") << QByteArray(R"({\rtf1 {\b {\i one)") << u"one\n"_s;
    QTest::newRow("extra closing brace ends the document")
        << QByteArray(R"({\rtf1 one}} two})") << u"one\n"_s;
    QTest::newRow("text after the document") << QByteArray(R"({\rtf1 one}garbage)") << u"one\n"_s;
    QTest::newRow("truncated hex escape") << QByteArray(R"({\rtf1 a\'4)") << u"a\n"_s;
    QTest::newRow("bad hex escape") << QByteArray(R"({\rtf1 a\'zzb})") << u"azzb\n"_s;
    QTest::newRow("truncated control word") << QByteArray(R"({\rtf1 a\)") << u"a\n"_s;
    QTest::newRow("truncated unicode") << QByteArray(R"({\rtf1 a\u)") << u"a\n"_s;
    QTest::newRow("absurd numbers")
        << QByteArray(R"({\rtf1\uc99999999999 \fs99999999999999999999 a\u99999999999 ?b\f-99999999999 c})")
        << u"a\uFFFD\n"_s;
    QTest::newRow("absurd negative unicode") << QByteArray(R"({\rtf1 \u-99999 x})") << u"\uFFFD\n"_s;
    QTest::newRow("dash without digits") << QByteArray(R"({\rtf1 \fi- x})") << u"- x\n"_s;
    QTest::newRow("nul and control bytes") << QByteArray("{\\rtf1 a\0b\x01""c}", 14) << u"abc\n"_s;
    QTest::newRow("unclosed picture") << QByteArray(R"({\rtf1 a{\pict\pngblip 89504e47)") << u"a\n"_s;
    QTest::newRow("unclosed field") << QByteArray(R"({\rtf1 {\field{\*\fldinst HYPERLINK "x")") << u"\n"_s;
    // A cell end makes its paragraph a cell, \intbl or not.
    QTest::newRow("cell outside a table") << QByteArray(R"({\rtf1 a\cell b\row c})") << u"\na|b|\nc\n"_s;
}

void RtfReaderTest::damagedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::deepNestingIsCapped()
{
    const int depth = 100000;
    const QByteArray deep = R"({\rtf1 before)" + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + " after}";
    QTextDocument doc;
    QVERIFY(RtfReader::read(deep, doc));
    // Text deeper than the cap is dropped; what surrounds it is not.
    QCOMPARE(DocumentText::plain(doc), u"before after\n"_s);

    const QByteArray unclosed = R"({\rtf1 x)" + QByteArray(depth, '{') + "y";
    QVERIFY(RtfReader::read(unclosed, doc));
    QCOMPARE(DocumentText::plain(doc), u"x\n"_s);

    const QByteArray shallow = R"({\rtf1 )" + QByteArray(500, '{') + "inside" + QByteArray(500, '}') + "}";
    QVERIFY(RtfReader::read(shallow, doc));
    QCOMPARE(DocumentText::plain(doc), u"inside\n"_s);
}

void RtfReaderTest::hugeCountsStayInsideTheBuffer()
{
    // The data ends inside the payload: reading stops there, not past it.
    for (const QByteArray &count : {QByteArray("2147483647"), QByteArray("99999999999999"), QByteArray("10")}) {
        QByteArray data = R"({\rtf1 kept{\pict\pngblip\bin)" + count + " ";
        data.append("\x89PNG", 4);
        QTextDocument doc;
        QVERIFY(RtfReader::read(data, doc));
        QCOMPARE(DocumentText::plain(doc), u"kept\n"_s);
    }
}

void RtfReaderTest::mutatedDocumentsNeverFail()
{
    const QByteArray original = readFile(QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/word_polish.rtf"));
    QVERIFY(!original.isEmpty());
    static const char specials[] = "{}\\'*0123456789abcu- \r\n";
    // A fixed seed: a failure reproduces.
    quint32 state = 12345;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 300; ++round) {
        QByteArray data = original;
        const int edits = 1 + int(next() % 20);
        for (int e = 0; e < edits && data.size() > 8; ++e) {
            const qsizetype at = qsizetype(next() % quint32(data.size()));
            switch (next() % 4) {
            case 0: data[at] = specials[next() % (sizeof(specials) - 1)]; break;
            case 1: data.remove(at, qsizetype(next() % 64)); break;
            case 2: data.insert(at, specials[next() % (sizeof(specials) - 1)]); break;
            default: data.truncate(std::max<qsizetype>(at, 6)); break;
            }
        }
        data.prepend("{\\rtf1 ");
        QTextDocument doc;
        QVERIFY2(RtfReader::read(data, doc), qPrintable(u"round %1"_s.arg(round)));
    }
}
