#include "core/textrules.h"
#include "data/linkindex.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

// The link index against a QHash keyed by the upper-cased pair: the same
// first topic for every pair, asked in any letter case, while the index
// grows through several resizes.
class LinkIndexTest : public QObject
{
    Q_OBJECT

private slots:
    void sameAsHashOfUpperCasedPairs_data();
    void sameAsHashOfUpperCasedPairs();
};

namespace {

QString randomText(QRandomGenerator &random, const QString &letters, int maxSize)
{
    QString text;
    for (int size = int(random.bounded(maxSize + 1)); size > 0; --size)
        text += letters.at(random.bounded(int(letters.size())));
    return text;
}

// The same text with each letter in either case.
QString anyCase(QRandomGenerator &random, const QString &text)
{
    QString mixed;
    for (const QChar ch : text)
        mixed += random.bounded(2) ? ch.toLower() : ch.toUpper();
    return mixed;
}

} // namespace

void LinkIndexTest::sameAsHashOfUpperCasedPairs_data()
{
    QTest::addColumn<int>("pairs");
    QTest::addColumn<int>("linkSize");

    QTest::newRow("before the first resize") << 700 << 6;
    QTest::newRow("past several resizes, many repeats") << 6000 << 2;
    QTest::newRow("past several resizes, long links") << 6000 << 12;
}

void LinkIndexTest::sameAsHashOfUpperCasedPairs()
{
    QFETCH(int, pairs);
    QFETCH(int, linkSize);

    const QString letters = u"abząćęłńóśźżABZĄĆĘŁŃÓŚŹŻ019 -."_s;
    const QStringList signatures = {u""_s, u"s1"_s, u"S2"_s, u"Wyroby"_s, u"usługi"_s};
    QRandomGenerator random(quint32(pairs + linkSize));
    LinkIndex index;
    QHash<QString, int> expected;
    QList<std::pair<QString, QString>> asked;
    for (int topic = 0; topic < pairs; ++topic) {
        const QString signature = signatures.at(random.bounded(int(signatures.size())));
        const QString link = randomText(random, letters, linkSize);
        index.insertFirst(anyCase(random, signature), anyCase(random, link), topic);
        expected.insert(Wexal::upperCase(signature) + u'\t' + Wexal::upperCase(link),
                        expected.value(Wexal::upperCase(signature) + u'\t' + Wexal::upperCase(link), topic));
        asked.append({signature, link});
        // Pairs most likely never stored.
        asked.append({signature, randomText(random, letters, linkSize + 3)});
    }
    QCOMPARE(index.size(), int(expected.size()));
    for (const auto &[signature, link] : asked) {
        const QString key = Wexal::upperCase(signature) + u'\t' + Wexal::upperCase(link);
        QCOMPARE(index.find(anyCase(random, signature), anyCase(random, link)), expected.value(key, -1));
    }
}

QTEST_GUILESS_MAIN(LinkIndexTest)
#include "tst_linkindex.moc"
