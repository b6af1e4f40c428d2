#include "core/cp1250.h"
#include "data/definitionkeys.h"
#include "data/markedline.h"

#include <QTest>

using namespace DefinitionKeys;

// Where the keys of a field line stand is found five ways: on its decoded
// characters, on its bytes, and sixteen bytes at a time on a short line, in
// place, from a copy, or while finding its end and decoding it. Each line is tried behind every number of filler
// bytes that keeps it short and a few that do not, so that keys, the word
// SIGNATURE and high bytes fall on every place in and across the sixteens;
// all five ways must agree.

namespace {

QString describe(const Positions &p)
{
    QString text = QString::number(p.firstEquals);
    for (const qsizetype at : p.at)
        text += u' ' + QString::number(at);
    return text + (p.signatureWord ? u" word" : u" -");
}

} // namespace

class DefinitionKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void allWaysAgree_data();
    void allWaysAgree();
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

    for (int filler = 0; filler <= ShortLine::kMax + 2; ++filler) {
        const QByteArray bytes = QByteArray(filler, 'e') + line;
        const QString characters = Wexal::Cp1250::decode(bytes);
        const QString expected = describe(Positions(QStringView(characters), true));
        QCOMPARE(describe(Positions(QByteArrayView(bytes), true)), expected);
        QCOMPARE(describe(Positions(QByteArrayView(bytes), false)),
                 describe(Positions(QStringView(characters), false)));
        // Found up to its first CR, decoded and marked in one pass, behind
        // bytes where keys would end at an "=" the line starts with.
        const QByteArray read = "xxxLINK\tSIGNATUR" + bytes + '\r' + QByteArray(MarkedLine::kReach, 'E');
        const char *const line = read.constData() + 16;
        const qsizetype found = bytes.contains('\r') ? bytes.indexOf('\r') : bytes.size();
        MarkedLine marked;
        char16_t decoded[MarkedLine::kReach];
        QCOMPARE(marked.readLine(line, decoded), found <= MarkedLine::kMax);
        if (found <= MarkedLine::kMax) {
            QCOMPARE(marked.size(), found);
            QCOMPARE(QStringView(decoded, found), QStringView(characters).first(found));
            QCOMPARE(describe(marked.keys(found, true)), describe(Positions(QStringView(characters).first(found), true)));
        }
        if (bytes.size() > ShortLine::kMax)
            continue;
        // Read in place, sixteens reaching past the line into other bytes,
        // and copied, when the bytes holding it end with it.
        const QByteArray held = bytes + QByteArray(16, 'E');
        const QByteArrayView inPlace(held.constData(), bytes.size());
        QCOMPARE(describe(Positions(ShortLine(inPlace, held.constData() + held.size()), true)), expected);
        QCOMPARE(describe(Positions(ShortLine(inPlace, held.constData() + bytes.size()), true)), expected);
        QCOMPARE(describe(Positions(ShortLine(inPlace, held.constData() + held.size()), false)),
                 describe(Positions(QStringView(characters), false)));
    }
}

QTEST_GUILESS_MAIN(DefinitionKeysTest)
#include "tst_definitionkeys.moc"
