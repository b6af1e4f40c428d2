// The stems of words from the system's Polish dictionary and from small
// dictionaries written here in either encoding it may come in; a dictionary
// that cannot be used is no dictionary; the distinct words of texts.

#include "core/cp1250.h"
#include "search/distinctwords.h"
#include "search/wordstems.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QByteArray cp1250(const QString &text)
{
    return Wexal::Cp1250::encode(text);
}

QStringList folded(const std::vector<std::string> &stems)
{
    QStringList list;
    for (const std::string &stem : stems)
        list << Wexal::Cp1250::decode(QByteArrayView(stem.data(), qsizetype(stem.size())));
    return list;
}

// A dictionary of one word with one suffix rule ("-a" becomes "-i"), its
// files in the given encoding.
void writeDictionary(const QString &dir, const QByteArray &encoding, const QString &word)
{
    const auto bytes = [&encoding](const QString &text) {
        if (encoding == "UTF-8")
            return text.toUtf8();
        QByteArray latin2;
        for (const QChar ch : text) {
            // The letters used here: ż, ó and ł in ISO 8859-2.
            latin2.append(ch == u'ż' ? '\xBF' : ch == u'ó' ? '\xF3' : ch == u'ł' ? '\xB3' : char(ch.unicode()));
        }
        return latin2;
    };
    QFile aff(dir + u"/pl_PL.aff"_s);
    QVERIFY(aff.open(QIODevice::WriteOnly));
    aff.write("SET " + encoding + "\nSFX A Y 1\nSFX A a i a\n");
    QFile dic(dir + u"/pl_PL.dic"_s);
    QVERIFY(dic.open(QIODevice::WriteOnly));
    dic.write("1\n" + bytes(word) + "/A\n");
}

} // namespace

class WordStemsTest : public QObject
{
    Q_OBJECT

private slots:
    void polishDictionary_data();
    void polishDictionary();
    void encodings_data();
    void encodings();
    void unusableDictionary_data();
    void unusableDictionary();
    void twoThreadsAtOnce();
    void distinctWords_data();
    void distinctWords();
};

void WordStemsTest::polishDictionary_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("stems");
    QTest::newRow("genitive of a noun") << u"chleba"_s << QStringList{u"CHLEB"_s};
    QTest::newRow("capitalised") << u"Chleba"_s << QStringList{u"CHLEB"_s};
    QTest::newRow("capitals with diacritics") << u"STOŁÓWEK"_s << QStringList{u"STOLOWEK"_s, u"STOLOWKA"_s};
    QTest::newRow("a form that is two words' form") << u"kawiarni"_s << QStringList{u"KAWIARNI"_s, u"KAWIARNIA"_s};
    QTest::newRow("adjective") << u"szkolne"_s << QStringList{u"SZKOLNY"_s};
    QTest::newRow("unknown word") << u"qxzwyrbl"_s << QStringList{};
    QTest::newRow("a code is never stemmed") << u"a10"_s << QStringList{};
    QTest::newRow("not one word") << u"chleb żytni"_s << QStringList{};
    QTest::newRow("longer than any word") << QString(80, u'a') << QStringList{};
}

void WordStemsTest::polishDictionary()
{
    QFETCH(QString, word);
    QFETCH(QStringList, stems);
    const std::shared_ptr<const WordStems> dictionary = WordStems::shared(WordStems::dictionaryDir());
    QVERIFY2(dictionary, "the Polish dictionary is not installed (build.sh installs it)");
    QCOMPARE(folded(dictionary->stems(cp1250(word))), stems);
    // Asked again, from the cache.
    QCOMPARE(folded(dictionary->stems(cp1250(word))), stems);
}

void WordStemsTest::encodings_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("UTF-8") << QByteArray("UTF-8");
    QTest::newRow("ISO 8859-2") << QByteArray("ISO8859-2");
}

void WordStemsTest::encodings()
{
    QFETCH(QByteArray, encoding);
    QTemporaryDir dir;
    writeDictionary(dir.path(), encoding, u"żółwia"_s);
    const std::unique_ptr<WordStems> dictionary = WordStems::load(dir.path());
    QVERIFY(dictionary);
    QCOMPARE(folded(dictionary->stems(cp1250(u"ŻÓŁWII"_s))), QStringList{u"ZOLWIA"_s});
    QCOMPARE(folded(dictionary->stems(cp1250(u"żółwia"_s))), QStringList{u"ZOLWIA"_s});
    // Without its diacritics the word is not the dictionary's.
    QCOMPARE(folded(dictionary->stems(cp1250(u"zolwii"_s))), QStringList());
}

void WordStemsTest::unusableDictionary_data()
{
    QTest::addColumn<QString>("broken");
    QTest::newRow("no files") << u"none"_s;
    QTest::newRow("a directory for the word list") << u"directory"_s;
    QTest::newRow("an encoding neither UTF-8 nor ISO 8859-2") << u"encoding"_s;
}

void WordStemsTest::unusableDictionary()
{
    QFETCH(QString, broken);
    QTemporaryDir dir;
    if (broken == u"directory"_s) {
        writeDictionary(dir.path(), "UTF-8", u"żaba"_s);
        QVERIFY(QFile::remove(dir.path() + u"/pl_PL.dic"_s));
        QVERIFY(QDir(dir.path()).mkdir(u"pl_PL.dic"_s));
    } else if (broken == u"encoding"_s) {
        writeDictionary(dir.path(), "ISO8859-1", u"zaba"_s);
    }
    QVERIFY(!WordStems::load(dir.path()));
    QVERIFY(!WordStems::shared(dir.path()));
}

void WordStemsTest::twoThreadsAtOnce()
{
    const std::shared_ptr<const WordStems> dictionary = WordStems::shared(WordStems::dictionaryDir());
    QVERIFY(dictionary);
    QCOMPARE(WordStems::shared(WordStems::dictionaryDir()), dictionary);
    const QStringList words{u"chleba"_s, u"stołówki"_s, u"szkolnej"_s, u"usługami"_s, u"mięsa"_s, u"pieczywa"_s};
    QList<QStringList> alone;
    const std::unique_ptr<WordStems> own = WordStems::load(WordStems::dictionaryDir());
    for (const QString &word : words)
        alone << folded(own->stems(cp1250(word)));
    QList<QStringList> first, second;
    const auto ask = [&dictionary, &words](QList<QStringList> &out) {
        for (int round = 0; round < 50; ++round) {
            for (const QString &word : words)
                out << folded(dictionary->stems(cp1250(word + QString(round % 3, u'a'))));
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
    QTest::addColumn<QString>("text"); // items parted by "|", each one text
    QTest::addColumn<QStringList>("words");
    QTest::newRow("each once, case apart") << u"Chleb chleb|CHLEB chleb"_s << QStringList{u"Chleb"_s, u"chleb"_s, u"CHLEB"_s};
    QTest::newRow("Polish letters in words, dashes between")
        << u"Żółć – źdźbło„łąk”"_s << QStringList{u"Żółć"_s, u"źdźbło"_s, u"łąk"_s};
    QTest::newRow("codes and single letters left out")
        << u"10.71.11 i Chleb a1 1a żytni"_s << QStringList{u"Chleb"_s, u"żytni"_s};
    QTest::newRow("long words alike in their first 16 bytes")
        << u"przedsiębiorstwami przedsiębiorstwach|przedsiębiorstwami"_s
        << QStringList{u"przedsiębiorstwami"_s, u"przedsiębiorstwach"_s};
    QTest::newRow("longer than a word") << QString(u"ab "_s + QString(65, u'x') + u" cd"_s)
                                        << QStringList{u"ab"_s, u"cd"_s};
    QStringList many;
    QString text;
    for (int i = 0; i < 3000; ++i) {
        many << u"słowo"_s + QString(QChar(u'a' + i % 26)) + QString(QChar(u'a' + i / 26 % 26))
                    + QString(QChar(u'a' + i / 676));
        text += many.back() + u' ';
    }
    QTest::newRow("thousands, the table grown") << text + text << many;
}

void WordStemsTest::distinctWords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    DistinctWords distinct;
    for (const QString &item : text.split(u'|')) {
        // Each text ends where the next byte could be read: a copy of its own.
        const QByteArray bytes = cp1250(item);
        const std::unique_ptr<char[]> copy(new char[std::size_t(bytes.size())]);
        std::memcpy(copy.get(), bytes.constData(), std::size_t(bytes.size()));
        distinct.addText(copy.get(), copy.get() + bytes.size());
    }
    QStringList found;
    for (std::size_t i = 0; i < distinct.count(); ++i)
        found << Wexal::Cp1250::decode(distinct.word(i));
    QCOMPARE(found, words);
}

QTEST_GUILESS_MAIN(WordStemsTest)
#include "tst_wordstems.moc"
