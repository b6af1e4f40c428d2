#include "tools/searchbench/benchdata.h"

#include "core/cp1250.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace SearchBenchData {

namespace {

// A small deterministic generator: the same data set at every run.
quint32 nextRandom(quint32 &seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

QByteArray tableFile(int topic, qint64 size, quint32 &seed)
{
    static const char16_t *const names[] = {
        u"Wyroby z mięsa i podrobów, świeże lub schłodzone", u"Ryby słodkowodne, żywe",
        u"Mleko i śmietana, nieskondensowane", u"Pieczywo, ciasta i wyroby ciastkarskie, świeże",
        u"Usługi w zakresie zakwaterowania, gastronomii", u"Zboża, nasiona roślin strączkowych",
        u"Drewno surowe nieobrobione, łącznie z kłodami", u"Kamień łamany, żwir i piasek",
    };
    static const char16_t *const rates[] = {u"23", u"8", u"5", u"0", u"zw."};
    QString text;
    for (int r = 0; text.size() < size; ++r) {
        const quint32 pick = nextRandom(seed);
        text += u"%1.%2.%3\t"_s.arg(topic % 100, 2, 10, QLatin1Char('0')).arg(r / 10 % 100).arg(r % 10);
        text += pick % 3 ? QString::fromUtf16(names[pick % 8]) : u"#B#"_s + QString::fromUtf16(names[pick % 8]) + u"#B#"_s;
        text += u" – pozycja "_s + QString::number(r + 1) + u'\t' + QString::fromUtf16(rates[pick % 5]) + u'\t';
        text += pick % 4 ? u"bez uwag"_s : u"#L#Zob. objaśnienia#L#B@T%1@%2#"_s.arg(pick % 50).arg(r);
        text += u"\r\n"_s;
    }
    return Wexal::Cp1250::encode(text);
}

QByteArray textFile(qint64 size, quint32 &seed)
{
    static const char *const sentences[] = {
        "Do grupowania stosuje si\\'ea zasady klasyfikowania wyrob\\'f3w i us\\'b3ug. ",
        "{\\b Uwaga:} pozycja obejmuje tak\\'bfe wyroby podobne, je\\'bfeli nie wymieniono ich gdzie indziej. ",
        "Stawk\\'ea obni\\'bfon\\'b9 stosuje si\\'ea wy\\'b3\\'b9cznie do towar\\'f3w wymienionych w za\\'b3\\'b9czniku. ",
        "Grupowanie nie obejmuje us\\'b3ug zwi\\'b9zanych z napraw\\'b9 i konserwacj\\'b9. ",
    };
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
    while (rtf.size() < size) {
        const int length = 3 + int(nextRandom(seed) % 6);
        for (int s = 0; s < length; ++s)
            rtf += sentences[nextRandom(seed) % 4];
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

} // namespace

DataSet generate(const QString &dir, int topics, qint64 totalBytes, int textShare)
{
    DataSet set;
    QByteArray definitions;
    quint32 seed = 12345;
    const qint64 mean = totalBytes / topics + 1;
    for (int t = 0; t < topics; ++t) {
        if (t % TopicsPerGroup == 0) {
            definitions += "{\r\nNAME=Dział " + QByteArray::number(t / TopicsPerGroup)
                           + "\r\nPARENT=nil\r\nVIEW=SHOW\r\nSIGNATURE=B\r\nLINK=G"
                           + QByteArray::number(t / TopicsPerGroup) + "\r\nMODE=GROUP\r\n}\r\n";
        }
        // Sizes from half to one and a half times the mean.
        const qint64 size = mean / 2 + qint64(nextRandom(seed) % quint32(mean));
        const bool text = int(nextRandom(seed) % 100) < textShare;
        const QString file = u"t%1.%2"_s.arg(t, 4, 10, QLatin1Char('0')).arg(text ? u"rtf"_s : u"txt"_s);
        const QByteArray bytes = text ? textFile(size, seed) : tableFile(t, size, seed);
        writeFile(dir + u'/' + file, bytes);
        set.files << file;
        set.bytes += bytes.size();
        (text ? set.texts : set.tables) += 1;
        definitions += "{\r\nNAME=Temat " + QByteArray::number(t) + "\r\nPARENT=G"
                       + QByteArray::number(t / TopicsPerGroup) + "\r\nVIEW=SHOW\r\nLINK=T" + QByteArray::number(t)
                       + "\r\nFILE=" + file.toLatin1();
        if (text) {
            definitions += "\r\nMODE=RTF\r\n}\r\n";
        } else {
            definitions += "\r\nMODE=TABLE\r\nCOLUMNS=4\r\nNAME1=Kod\r\nWIDTH1=80\r\nALIGNMENT1=LEFT\r\n"
                           "NAME2=Nazwa\r\nWIDTH2=AUTO\r\nALIGNMENT2=LEFT\r\nNAME3=Stawka\r\nWIDTH3=60\r\n"
                           "ALIGNMENT3=CENTER\r\nNAME4=Uwagi\r\nWIDTH4=200\r\nALIGNMENT4=LEFT\r\n}\r\n";
        }
    }
    writeFile(dir + u"/bench.def"_s, Wexal::Cp1250::encode(QString::fromUtf8(definitions)));
    writeFile(dir + u"/definition.global"_s, "bench.def;\r\n");
    return set;
}


} // namespace SearchBenchData
