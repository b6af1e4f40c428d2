#include "core/cp1250.h"
#include "data/definitionkeys.h"
#include "data/markedline.h"

#include <QRandomGenerator>
#include <QTest>

using namespace DefinitionKeys;

// Where the keys of a field line stand is found the plain way, on its
// upper-cased characters, and the fast ways: on its bytes, and sixteen bytes
// at a time on a short line, in place, from a copy, or while finding its end
// and decoding it. Every fast way must give the plain answers.

namespace {

QString describe(const Positions &p)
{
    QString text = QString::number(p.firstEquals);
    for (const qsizetype at : p.at)
        text += u' ' + QString::number(at);
    return text + (p.signatureWord ? u" word" : u" -");
}

// Each way compared with the plain one on a line's bytes.
void compareWays(const QByteArray &bytes)
{
    const QString characters = Wexal::Cp1250::decode(bytes);
    for (const bool look : {true, false}) {
        const Positions plain(QStringView(characters), look);
        QCOMPARE(describe(Positions(QByteArrayView(bytes), look)), describe(plain));
#if defined(__SSE2__)
        if (bytes.size() > ShortLine::kMax)
            continue;
        // Read in place, sixteens reaching past the line into other bytes,
        // and copied, when the bytes holding it end with it.
        const QByteArray held = bytes + QByteArray(16, 'E');
        const QByteArrayView inPlace(held.constData(), bytes.size());
        QCOMPARE(describe(Positions(ShortLine(inPlace, held.constData() + held.size()), look)), describe(plain));
        QCOMPARE(describe(Positions(ShortLine(inPlace, held.constData() + bytes.size()), look)), describe(plain));
#endif
    }
#if defined(__SSE2__)
    // Found up to its first CR, decoded and marked in one pass, behind bytes
    // where keys would end at an "=" the line starts with.
    const QByteArray read = "xxxLINK\tSIGNATUR" + bytes + '\r' + QByteArray(MarkedLine::kReach, 'E');
    const qsizetype size = bytes.contains('\r') ? bytes.indexOf('\r') : bytes.size();
    MarkedLine marked;
    char16_t decoded[MarkedLine::kReach];
    QCOMPARE(marked.readLine(read.constData() + 16, decoded), size <= MarkedLine::kMax);
    if (size > MarkedLine::kMax)
        return;
    QCOMPARE(marked.size(), size);
    QCOMPARE(QStringView(decoded, size), QStringView(characters).first(size));
    const Positions plain(QStringView(characters).first(size), true);
    QCOMPARE(describe(marked.keys(size, true)), describe(plain));
    const MarkedLine::KeyBits bits = marked.keyBits();
    unsigned found = 0;
    for (int key = 0; key < KeyCount; ++key)
        found |= plain.at[key] >= 0 ? 1u << key : 0u;
    QCOMPARE(bits.found, found);
    QCOMPARE(bits.firstEquals, plain.firstEquals);
    QCOMPARE(marked.hasSignatureWord(), plain.signatureWord);
#endif
}

} // namespace

class DefinitionKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void allWaysAgree_data();
    void allWaysAgree();
    void allWaysAgreeOnRandomLines();
};

void DefinitionKeysTest::allWaysAgree_data()
{
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("name") << QByteArray("NAME=Pozycja 1.2");
    QTest::newRow("every key, lower case") << QByteArray("name=a\tparent=b\tview=c\tsignature=d\tlink=e");
    QTest::newRow("key in a value") << QByteArray("X=LINK=q");
    QTest::newRow("equals first") << QByteArray("=NAME=x");
    QTest::newRow("no equals") << QByteArray("SIGNATURE");
    QTest::newRow("word split by a tab") << QByteArray("SIGNATUR\tE=x signaturex");
    QTest::newRow("word among near misses") << QByteArray("s-------e SIGNATURESignature=");
    QTest::newRow("near misses only") << QByteArray("SIGNATUREX= sIGNATURe=S1 S2345678E");
    QTest::newRow("near misses without the word") << QByteArray("S2345678E=SIGNATUR=E SIGNATURxE sIGNAT-RE");
    QTest::newRow("high bytes before keys") << QByteArray("\xa3\xb9\x8c\xff=\xd3VIEW=\x9c\x8aLINK=");
    QTest::newRow("bytes a letter apart by 0x20") << QByteArray("NAM\x05=\x0e\x01\x0d\x05= \xce\xc1\xcd\xc5=name=");
    QTest::newRow("empty value, semicolon") << QByteArray("PARENT=;");
}

void DefinitionKeysTest::allWaysAgree()
{
    QFETCH(QByteArray, line);

    // Behind every number of filler bytes that keeps it short and a few
    // that do not, so that keys, the word SIGNATURE and high bytes fall on
    // every place in and across the sixteens.
    for (int filler = 0; filler <= 64 + 2 && !QTest::currentTestFailed(); ++filler)
        compareWays(QByteArray(filler, 'e') + line);
}

void DefinitionKeysTest::allWaysAgreeOnRandomLines()
{
    // Lines of up to about 90 bytes put together from keys in any case, their
    // pieces, near misses and bytes of other letters.
    const QList<QByteArray> pieces = {"NAME=",  "name=", "NaMe=",  "PARENT=",   "parenT=",   "VIEW=", "view=",
                                      "LINK=",  "link=", "INK=",   "SIGNATURE=", "Signature=", "SIGNATURE",
                                      "signatur", "ATURE", "=",   "\t",         "s",         "E",     "e",
                                      "x",      " ",     ";",      "\xa3",      "\xb9",      "\xd3",  "\x05"};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 20000 && !QTest::currentTestFailed(); ++round) {
        QByteArray line;
        const int length = int(random.bounded(90));
        while (line.size() < length)
            line += pieces.at(random.bounded(int(pieces.size())));
        compareWays(line);
    }
}

QTEST_GUILESS_MAIN(DefinitionKeysTest)
#include "tst_definitionkeys.moc"
