#include "benchdataset.h"

#include "core/cp1250.h"

#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace BenchDataSet {

namespace {

constexpr int kDefinitionFiles = 4;

const char16_t *const kWords[] = {u"wyroby", u"zbóż", u"mięsa", u"świeże", u"schłodzone", u"przetwory",
                                  u"owoców", u"warzyw", u"usługi", u"związane", u"z", u"uprawą",
                                  u"roślin", u"pozostałe", u"gdzie", u"indziej", u"niesklasyfikowane",
                                  u"żywność", u"napoje", u"łączne"};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "checkbench: cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

QString words(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += u' ';
        text += QString::fromUtf16(kWords[random.bounded(int(std::size(kWords)))]);
    }
    return text;
}

QString rowKey(int table, int row)
{
    return u"%1.%2.%3"_s.arg(table % 100, 2, 10, QChar(u'0')).arg(row / 10).arg(row % 10);
}

enum class Kind { Group, Table, Text };

// Each definition file holds a run of topics, a multiple of a hundred.
int fileOf(int topic, int topics)
{
    return int(qint64(topic) * kDefinitionFiles / topics);
}

Kind kindOf(int topic)
{
    if (topic % 10 == 0)
        return Kind::Group;
    return topic % 4 == 1 ? Kind::Text : Kind::Table;
}

QByteArray table(QRandomGenerator &random, int topic, int rows, int topics)
{
    QString text;
    for (int row = 0; row < rows; ++row) {
        text += rowKey(topic, row) + u'\t';
        if (row % 4 == 0)
            text += u"#B#"_s + words(random, 2) + u"#B# "_s;
        text += words(random, 6);
        if (row % 5 == 2) {
            // A link to a row that exists in another table topic.
            int target = random.bounded(topics);
            while (kindOf(target) != Kind::Table)
                target = (target + 1) % topics;
            text += u" #L#zob. %1#L#S%2@T%3@%4#"_s.arg(rowKey(target, 0)).arg(fileOf(target, topics)).arg(target).arg(
                rowKey(target, 0));
        }
        text += u"\t%1\t%2\r\n"_s.arg(random.bounded(4) == 0 ? u"zw."_s : u"23"_s).arg(row + 1);
    }
    return Wexal::Cp1250::encode(text);
}

QByteArray document(QRandomGenerator &random, int paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\r\n"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (int p = 0; p < paragraphs; ++p) {
        if (p % 7 == 3) {
            rtf += "\\trowd\\cellx3000\\cellx6000\\intbl Kod\\cell Opis\\cell\\row\\pard ";
            continue;
        }
        const QByteArray text = Wexal::Cp1250::encode(words(random, 18));
        QByteArray escaped;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x80)
                escaped += "\\'" + QByteArray::number(byte, 16);
            else
                escaped += c;
        }
        rtf += (p % 3 == 0 ? "{\\b " + escaped + "}" : escaped) + "\\par\r\n";
    }
    return rtf + "}\r\n";
}

} // namespace

Summary write(const QString &programDir, int topics, qint64 topicBytes)
{
    QRandomGenerator random(20110101);
    Summary summary;
    summary.topics = topics;
    int tables = 0;
    int texts = 0;
    for (int topic = 0; topic < topics; ++topic) {
        const Kind kind = kindOf(topic);
        tables += kind == Kind::Table;
        texts += kind == Kind::Text;
    }
    // Three quarters of the bytes in tables, the rest in documents; a row
    // takes about 72 bytes, a paragraph about 180.
    const int rowsPerTable = int(topicBytes * 3 / 4 / qMax(1, tables) / 72);
    const int paragraphsPerDocument = int(topicBytes / 4 / qMax(1, texts) / 180);

    QByteArray global;
    QByteArray definitions[kDefinitionFiles];
    for (int topic = 0; topic < topics; ++topic) {
        const int file = fileOf(topic, topics);
        // Every tenth topic is a group holding the nine after it; every
        // tenth group is top-level and holds the nine groups after it.
        const int group = topic - topic % 10;
        const int parent = kindOf(topic) != Kind::Group ? group : (topic % 100 == 0 ? -1 : topic - topic % 100);
        QString block = u"{\r\nNAME=Temat %1 %2\r\n"_s.arg(topic).arg(words(random, 3));
        block += parent < 0 ? u"PARENT=nil\r\n"_s : u"PARENT=T%1\r\n"_s.arg(parent);
        block += u"VIEW=SHOW\r\nSIGNATURE=S%1\r\nLINK=T%2\r\n"_s.arg(file).arg(topic);
        const QString name = u"t%1"_s.arg(topic);
        switch (kindOf(topic)) {
        case Kind::Group:
            block += u"MODE=GROUP\r\n"_s;
            break;
        case Kind::Text:
            block += u"MODE=RTF\r\nFILE=%1.rtf\r\n"_s.arg(name);
            writeFile(programDir + name + u".rtf"_s, document(random, paragraphsPerDocument));
            summary.documentFiles.append(name + u".rtf"_s);
            break;
        case Kind::Table:
            block += u"MODE=TABLE\r\nFILE=%1.txt\r\nCOLUMNS=4\r\n"
                     "NAME1=Kod\r\nWIDTH1=80\r\nALIGNMENT1=LEFT\r\n"
                     "NAME2=Nazwa\r\nWIDTH2=AUTO\r\nALIGNMENT2=LEFT\r\n"
                     "NAME3=Stawka\r\nWIDTH3=60\r\nALIGNMENT3=CENTER\r\n"
                     "NAME4=Poz.\r\nWIDTH4=50\r\nALIGNMENT4=RIGHT\r\n"_s.arg(name);
            writeFile(programDir + name + u".txt"_s, table(random, topic, rowsPerTable, topics));
            summary.textFiles.append(name + u".txt"_s);
            break;
        }
        block += u"}\r\n"_s;
        definitions[file] += Wexal::Cp1250::encode(block);
    }
    for (int file = 0; file < kDefinitionFiles; ++file) {
        const QString name = u"definition.s%1"_s.arg(file);
        writeFile(programDir + name, definitions[file]);
        summary.textFiles.prepend(name);
        global += Wexal::Cp1250::encode(name) + ";część " + QByteArray::number(file) + "\r\n";
    }
    writeFile(programDir + u"definition.global"_s, global);
    summary.textFiles.prepend(u"definition.global"_s);
    for (const char *doc : {"wexal.hlp", "wexal.2010", "wexal.update"}) {
        writeFile(programDir + QString::fromLatin1(doc), document(random, 40));
        summary.documentFiles.append(QString::fromLatin1(doc));
    }
    for (const QString &file : summary.textFiles + summary.documentFiles) {
        if (file.endsWith(u".txt") || file.endsWith(u".rtf"))
            summary.topicFileBytes += QFile(programDir + file).size();
    }
    return summary;
}

} // namespace BenchDataSet
