#include "core/textrules.h"
#include "data/linkindex.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

// The link index against a QHash keyed by the upper-cased pair: the same
// first topic for every pair stored or not, asked in any letter case, before
// the index's first resize and through several.
class LinkIndexTest : public QObject
{
    Q_OBJECT

private slots:
    void sameAsHashOfUpperCasedPairs_data();
    void sameAsHashOfUpperCasedPairs();
};

void LinkIndexTest::sameAsHashOfUpperCasedPairs_data()
{
    QTest::addColumn<int>("pairs");
    QTest::addColumn<int>("linkSize");
    QTest::newRow("before the first resize") << 700 << 6;
    QTest::newRow("many resizes, many repeats") << 6000 << 2;
    QTest::newRow("many resizes, long links") << 6000 << 12;
}

void LinkIndexTest::sameAsHashOfUpperCasedPairs()
{
    QFETCH(int, pairs);
    QFETCH(int, linkSize);
    const QString letters = u"abząćęłńóśźżABZĄĆĘŁŃÓŚŹŻ019 -."_s;
    const QStringList signatures = {u""_s, u"s1"_s, u"S2"_s, u"usługi"_s};
    QRandomGenerator random(quint32(pairs + linkSize));
    const auto text = [&](int maxSize) {
        QString made;
        for (int size = int(random.bounded(maxSize + 1)); size > 0; --size)
            made += letters.at(random.bounded(int(letters.size())));
        return made;
    };
    const auto anyCase = [&](const QString &from) {
        QString mixed;
        for (const QChar ch : from)
            mixed += random.bounded(2) ? ch.toLower() : ch.toUpper();
        return mixed;
    };
    const auto key = [](const QString &signature, const QString &link) -> QString {
        return Wexal::upperCase(signature) + u'\t' + Wexal::upperCase(link);
    };
    LinkIndex index;
    QHash<QString, int> expected;
    QList<std::pair<QString, QString>> asked;
    for (int topic = 0; topic < pairs; ++topic) {
        const QString signature = signatures.at(random.bounded(int(signatures.size())));
        const QString link = text(linkSize);
        index.insertFirst(anyCase(signature), anyCase(link), topic);
        expected.insert(key(signature, link), expected.value(key(signature, link), topic));
        asked << std::pair(signature, link) << std::pair(signature, text(linkSize + 3));
    }
    QCOMPARE(index.size(), int(expected.size()));
    for (const auto &[signature, link] : asked)
        QCOMPARE(index.find(anyCase(signature), anyCase(link)), expected.value(key(signature, link), -1));
}

QTEST_GUILESS_MAIN(LinkIndexTest)
#include "tst_linkindex.moc"
