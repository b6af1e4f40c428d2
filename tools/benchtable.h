#pragma once

#include "core/cp1250.h"
#include "core/textrules.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// Generated tables for the table benchmarks: five columns of rows whose
// texts are drawn from a vocabulary of 30,000 word forms by a seeded
// generator, so that no two rows are alike and every run writes the same file.
namespace BenchTable {

class Random
{
public:
    explicit Random(quint32 seed) : m_seed(seed) {}
    quint32 next()
    {
        m_seed = m_seed * 1664525u + 1013904223u;
        return m_seed >> 8;
    }
    int below(int n) { return int(next() % quint32(n)); }

private:
    quint32 m_seed;
};

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

inline const QStringList &words()
{
    static const QStringList list = QStringLiteral(
        "wyroby usługi mięsa podrobów świeże schłodzone ryby mleko śmietana pieczywo ciasta zboża nasiona "
        "drewno kamień żwir piasek meble części akcesoria pojazdów silnikowych naprawa konserwacja maszyn "
        "urządzeń betonu cementu gipsu elementów prefabrykowanych roślin strączkowych oleistych ryżu "
        "zakwaterowania gastronomii budowlane towary załącznika obniżona stawka pozostałe gdzie indziej "
        "niesklasyfikowane łącznie wyłączeniem przetworzone konserwowane suszone solone wędzone owoce "
        "warzywa orzechy przyprawy herbata kawa kakao cukier wyroby cukiernicze napoje soki woda lód")
                                           .split(u' ');
    return list;
}

// The words a classification's texts are made of: the list above as the
// most frequent ones, then made-up word forms, 30,000 in all, so that a
// screen of rows holds words never drawn before as real tables do.
inline const QStringList &vocabulary()
{
    static const QStringList list = [] {
        static const char16_t *const syllables[] = {
            u"ka", u"prze", u"wy", u"ło", u"ść", u"rzo", u"dę", u"mi", u"sta", u"no", u"we", u"ży",
            u"cie", u"ra", u"ko", u"pa", u"ni", u"go", u"tu", u"ję", u"szcz", u"ól", u"ań", u"ze",
            u"bo", u"dzi", u"lu", u"ma", u"śl", u"ne", u"chro", u"wią", u"ąt", u"źd", u"fi", u"ge"};
        static const char16_t *const endings[] = {u"", u"y", u"ego", u"ami", u"ych", u"ów", u"ie", u"ą"};
        QStringList list = words();
        Random random(977u);
        while (list.size() < 30000) {
            QString word;
            for (int s = 2 + random.below(3); s > 0; --s)
                word += QString::fromUtf16(syllables[random.below(int(std::size(syllables)))]);
            list.append(word + QString::fromUtf16(endings[random.below(int(std::size(endings)))]));
        }
        return list;
    }();
    return list;
}

// Words drawn by rank with a falling frequency (log-uniform ranks, close to
// the frequencies of words in text): about half are the common words.
inline QString phrase(Random &random, int minimum, int maximum)
{
    const QStringList &vocabulary = BenchTable::vocabulary();
    const double logSize = std::log(double(vocabulary.size()));
    const int count = minimum + random.below(maximum - minimum + 1);
    QString text;
    for (int w = 0; w < count; ++w) {
        if (w)
            text += w % 5 == 4 ? QStringLiteral(", ") : QStringLiteral(" ");
        const double u = double(random.next()) / double(1u << 24);
        const int rank = std::clamp(int(std::exp(u * logSize)) - 1, 0, int(vocabulary.size()) - 1);
        text += vocabulary.at(rank);
    }
    return text;
}

// A row's five cells: code, name, rate, remarks, position. With markup the
// name and remarks carry bold, italic, underlined runs, forced breaks and
// links as the classification's tables do, in most rows.
inline QString row(Random &random, int r, bool markup)
{
    static const char16_t *const rates[] = {u"23", u"8", u"5", u"0", u"zw."};
    QString text = QStringLiteral("%1.%2.%3\t").arg(r / 1000).arg(r / 10 % 100).arg(r % 10);
    QString name = phrase(random, 4, 14);
    QString remark = random.below(3) ? phrase(random, 1, 4) : QString();
    if (markup) {
        const int kind = random.below(6);
        if (kind == 0)
            name = QStringLiteral("#B#") + phrase(random, 1, 3) + QStringLiteral("#B# ") + name;
        else if (kind == 1)
            name += QStringLiteral(" #I#(") + phrase(random, 2, 5) + QStringLiteral(")#I#");
        else if (kind == 2)
            name += QStringLiteral("#N#") + phrase(random, 3, 8);
        else if (kind == 3)
            name = QStringLiteral("#U#") + phrase(random, 1, 2) + QStringLiteral("#U# ") + name;
        if (random.below(2))
            remark += QStringLiteral(" #L#zob. ") + phrase(random, 1, 3) + QStringLiteral("#L#B@T@%1.0.0#").arg(r / 1000);
    } else if (!random.below(4)) {
        remark += QStringLiteral(" #L#Zob. zał.#L#B@T@%1.0.0#").arg(r / 1000);
    }
    text += name + u'\t' + QString::fromUtf16(rates[random.below(5)]) + u'\t' + remark.trimmed()
            + QStringLiteral("\t%1\r\n").arg(r + 1);
    return text;
}

// Writes definition.global, tabela.def and tabela.txt of the given rows into
// dir; the table file's path.
inline QString generate(const QString &dir, int rows, bool markup)
{
    writeFile(dir + QStringLiteral("/definition.global"), "tabela.def;\r\n");
    writeFile(dir + QStringLiteral("/tabela.def"),
              "{\r\nNAME=Tabela\r\nPARENT=nil\r\nVIEW=SHOW\r\nSIGNATURE=B\r\nLINK=T\r\nMODE=TABLE\r\n"
              "FILE=tabela.txt\r\nCOLUMNS=5\r\nNAME1=Kod\r\nWIDTH1=80\r\nALIGNMENT1=LEFT\r\nNAME2=Nazwa\r\n"
              "WIDTH2=AUTO\r\nALIGNMENT2=LEFT\r\nNAME3=Stawka\r\nWIDTH3=60\r\nALIGNMENT3=CENTER\r\n"
              "NAME4=Uwagi\r\nWIDTH4=200\r\nALIGNMENT4=LEFT\r\nNAME5=Poz.\r\nWIDTH5=50\r\nALIGNMENT5=RIGHT\r\n}\r\n");
    Random random(markup ? 4242u : 1717u);
    QString text;
    text.reserve(qsizetype(rows) * 120);
    for (int r = 0; r < rows; ++r)
        text += row(random, r, markup);
    const QString path = dir + QStringLiteral("/tabela.txt");
    writeFile(path, Wexal::Cp1250::encode(text));
    return path;
}

// The table topic with the largest file among the loaded topics, -1 if none;
// its file's path in *path.
inline int largestTable(const QStringList &topics, const QString &programDir, QString *path)
{
    int best = -1;
    qint64 bestSize = -1;
    for (int t = 0; t < topics.size(); ++t) {
        if (Wexal::upperCase(Wexal::GetTabField(topics.at(t), u"MODE=")) != u"TABLE")
            continue;
        const QString file = programDir + Wexal::GetTabField(topics.at(t), u"FILE=");
        const qint64 size = QFileInfo(file).size();
        if (size > bestSize) {
            best = t;
            bestSize = size;
            *path = file;
        }
    }
    return best;
}

} // namespace BenchTable
