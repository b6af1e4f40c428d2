// Word stems from the system's Polish dictionary and from one-word
// dictionaries in either encoding it may come in (an unusable one is none),
// asked from two threads; the distinct words of texts.

#include "core/cp1250.h"
#include "search/distinctwords.h"
#include "search/wordstems.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

QStringList folded(const std::vector<std::string> &stems)
{
    QStringList list;
    for (const std::string &stem : stems)
        list << Wexal::Cp1250::decode(QByteArrayView(stem.data(), qsizetype(stem.size())));
    return list;
}

} // namespace

class WordStemsTest : public QObject
{
    Q_OBJECT

private slots:
    void stems_data();
    void stems();
    void twoThreadsAtOnce();
    void distinctWords_data();
    void distinctWords();
};

void WordStemsTest::stems_data()
{
    QTest::addColumn<QByteArray>("aff"); // empty: the system's dictionary
    QTest::addColumn<QByteArray>("dic"); // "/": a directory in its place
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("stems"); // {"-"}: no dictionary
    const QByteArray none;
    QTest::newRow("genitive") << none << none << u"chleba"_s << QStringList{u"CHLEB"_s};
    QTest::newRow("capitalised") << none << none << u"Chleba"_s << QStringList{u"CHLEB"_s};
    QTest::newRow("capitals, diacritics") << none << none << u"STOŁÓWEK"_s << QStringList{u"STOLOWEK"_s, u"STOLOWKA"_s};
    QTest::newRow("two words' form") << none << none << u"kawiarni"_s << QStringList{u"KAWIARNI"_s, u"KAWIARNIA"_s};
    QTest::newRow("adjective") << none << none << u"szkolne"_s << QStringList{u"SZKOLNY"_s};
    QTest::newRow("unknown") << none << none << u"qxzwyrbl"_s << QStringList{};
    QTest::newRow("a code is never stemmed") << none << none << u"a10"_s << QStringList{};
    QTest::newRow("not one word") << none << none << u"chleb żytni"_s << QStringList{};
    QTest::newRow("too long") << none << none << QString(80, u'a') << QStringList{};
    // One word, one rule: "-a" becomes "-i".
    const QByteArray rule = "\nSFX A Y 1\nSFX A a i a\n";
    const QByteArray utf8 = u"1\nżółwia/A\n"_s.toUtf8();
    const QByteArray latin2 = "1\n\xBF\xF3\xB3wia/A\n";
    QTest::newRow("UTF-8") << QByteArray("SET UTF-8" + rule) << utf8 << u"ŻÓŁWII"_s << QStringList{u"ZOLWIA"_s};
    QTest::newRow("ISO 8859-2") << QByteArray("SET ISO8859-2" + rule) << latin2 << u"żółwia"_s << QStringList{u"ZOLWIA"_s};
    QTest::newRow("ISO 8859-2, no diacritics") << QByteArray("SET ISO8859-2" + rule) << latin2 << u"zolwii"_s << QStringList{};
    QTest::newRow("other encoding") << QByteArray("SET ISO8859-1" + rule) << latin2 << u"zolwii"_s << QStringList{u"-"_s};
    QTest::newRow("no word list") << QByteArray("SET UTF-8" + rule) << QByteArray() << u"zolwii"_s << QStringList{u"-"_s};
    QTest::newRow("a directory for it") << QByteArray("SET UTF-8" + rule) << QByteArray("/") << u"zolwii"_s << QStringList{u"-"_s};
}

void WordStemsTest::stems()
{
    QFETCH(QByteArray, aff);
    QFETCH(QByteArray, dic);
    QFETCH(QString, word);
    QFETCH(QStringList, stems);
    QTemporaryDir dir;
    if (!aff.isEmpty()) {
        QFile file(dir.filePath(u"pl_PL.aff"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(aff) == aff.size());
        file.close();
        file.setFileName(dir.filePath(u"pl_PL.dic"_s));
        QVERIFY(dic == "/" ? QDir(dir.path()).mkdir(u"pl_PL.dic"_s)
                           : dic.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(dic) == dic.size()));
    }
    const std::shared_ptr<const WordStems> dictionary =
        WordStems::shared(aff.isEmpty() ? WordStems::dictionaryDir() : dir.path());
    if (stems == QStringList{u"-"_s}) {
        QVERIFY(!dictionary);
        return;
    }
    QVERIFY2(dictionary, "no Polish dictionary (build.sh installs it)");
    QCOMPARE(folded(dictionary->stems(Wexal::Cp1250::encode(word))), stems);
    // Asked again, from the cache.
    QCOMPARE(folded(dictionary->stems(Wexal::Cp1250::encode(word))), stems);
}

void WordStemsTest::twoThreadsAtOnce()
{
    const std::shared_ptr<const WordStems> dictionary = WordStems::shared(WordStems::dictionaryDir());
    QVERIFY(dictionary);
    const std::unique_ptr<WordStems> own = WordStems::load(WordStems::dictionaryDir());
    const QStringList words{u"chleba"_s, u"stołówki"_s, u"szkolnej"_s, u"usługami"_s, u"mięsa"_s, u"pieczywa"_s};
    QList<QStringList> alone, first, second;
    for (const QString &word : words)
        alone << folded(own->stems(Wexal::Cp1250::encode(word)));
    const auto ask = [&dictionary, &words](QList<QStringList> &out) {
        for (int round = 0; round < 50; ++round) {
            for (const QString &word : words)
                out << folded(dictionary->stems(Wexal::Cp1250::encode(QString(word + QString(round % 3, u'a')))));
        }
    };
    std::thread other([&ask, &second] { ask(second); });
    ask(first);
    other.join();
    QCOMPARE(first, second);
    QCOMPARE(first.mid(0, words.size()), alone);
}

void WordStemsTest::distinctWords_data()
{
    QTest::addColumn<QString>("text"); // texts parted by "|"
    QTest::addColumn<QStringList>("words");
    QTest::newRow("each once, case apart") << u"Chleb chleb|CHLEB chleb"_s << QStringList{u"Chleb"_s, u"chleb"_s, u"CHLEB"_s};
    QTest::newRow("Polish letters, dashes and quotes between")
        << u"Żółć – źdźbło„łąk”"_s << QStringList{u"Żółć"_s, u"źdźbło"_s, u"łąk"_s};
    QTest::newRow("codes and single letters left out") << u"10.71.11 i Chleb 1a żytni a1"_s
                                                       << QStringList{u"Chleb"_s, u"żytni"_s};
    QTest::newRow("alike in their first 16 bytes") << u"przedsiębiorstwami przedsiębiorstwach|przedsiębiorstwami"_s
                                                   << QStringList{u"przedsiębiorstwami"_s, u"przedsiębiorstwach"_s};
    QTest::newRow("too long") << QString(u"ab "_s + QString(65, u'x') + u" cd"_s) << QStringList{u"ab"_s, u"cd"_s};
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << u"słowo"_s + QChar(u'a' + i % 26) + QChar(u'a' + i / 26 % 26) + QChar(u'a' + i / 676);
    QTest::newRow("thousands: the table grown") << QString(many.join(u' ') + u'|' + many.join(u' ')) << many;
}

void WordStemsTest::distinctWords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    DistinctWords distinct;
    QList<QByteArray> texts; // each ends where its bytes end
    for (const QString &part : text.split(u'|')) {
        texts << Wexal::Cp1250::encode(part);
        distinct.addText(texts.back().constData(), texts.back().constData() + texts.back().size());
    }
    QStringList found;
    for (std::size_t i = 0; i < distinct.count(); ++i)
        found << Wexal::Cp1250::decode(distinct.word(i));
    QCOMPARE(found, words);
}

QTEST_GUILESS_MAIN(WordStemsTest)
#include "tst_wordstems.moc"
