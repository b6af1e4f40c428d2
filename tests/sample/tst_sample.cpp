#include "sampledata.h"

#include "core/cp1250.h"
#include "core/textrules.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace Wexal;
using namespace Qt::StringLiterals;

namespace {

const QStringList kDocuments = {u"wexal.hlp"_s, u"wexal.2010"_s, u"wexal.update"_s};
const QStringList kMarkupTokens = {u"#B#"_s, u"#I#"_s, u"#U#"_s, u"#N#"_s, u"#L#"_s};

struct LinkTarget
{
    QString signature;
    QString key;
    QString rowKey;
};

// The targets of the links of a cell, read the way a click reads them: past
// the opening and the closing "#L#", up to the next "#", split at "@".
QList<LinkTarget> linkTargets(const QString &cell)
{
    QList<LinkTarget> targets;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = cell.indexOf(u"#L#", from);
        const qsizetype close = open < 0 ? -1 : cell.indexOf(u"#L#", open + 3);
        const qsizetype end = close < 0 ? -1 : cell.indexOf(u'#', close + 3);
        if (end < 0)
            return targets;
        const QStringList parts = cell.mid(close + 3, end - close - 3).split(u'@');
        targets.append({parts.value(0), parts.value(1), parts.mid(2).join(u'@')});
        from = end + 1;
    }
}

// Empty when every line ends in CR LF, the last one included, and the bytes
// are printable Windows-1250 text; otherwise what is wrong and where.
QString byteProblem(const QByteArray &data, bool asciiOnly)
{
    static const QByteArray undefined("\x81\x83\x88\x90\x98");
    if (data.isEmpty())
        return u"empty file"_s;
    if (!data.endsWith("\r\n"))
        return u"last line has no CR LF"_s;
    int line = 1;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto c = static_cast<unsigned char>(data.at(i));
        const auto where = [line] { return u" in line %1"_s.arg(line); };
        if (c == '\n') {
            if (i == 0 || data.at(i - 1) != '\r')
                return u"LF without CR"_s + where();
            ++line;
        } else if (c == '\r') {
            if (i + 1 >= data.size() || data.at(i + 1) != '\n')
                return u"CR without LF"_s + where();
        } else if ((c < 0x20 && c != '\t') || c == 0x7F || undefined.contains(char(c))) {
            return u"byte 0x%1"_s.arg(uint(c), 2, 16, QChar(u'0')) + where();
        } else if (asciiOnly && c >= 0x80) {
            return u"non-ASCII byte in RTF"_s + where();
        }
    }
    // Polish text only: anything else points at a file written in another encoding.
    static const QString allowed = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ„”–"_s;
    for (const QChar ch : Cp1250::decode(data)) {
        if (ch.unicode() >= 0x80 && !allowed.contains(ch))
            return u"unexpected character U+%1"_s.arg(uint(ch.unicode()), 4, 16, QChar(u'0'));
    }
    return {};
}

bool rtfBracesBalance(const QByteArray &data)
{
    int depth = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data.at(i) == '\\')
            ++i; // an escaped brace or backslash is text
        else if (data.at(i) == '{')
            ++depth;
        else if (data.at(i) == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

class SampleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void definitionFiles_data();
    void definitionFiles();
    void parents_data();
    void parents();
    void tableTopics_data();
    void tableTopics();
    void rtfFiles_data();
    void rtfFiles();
    void fileBytes_data();
    void fileBytes();
    void everyFileIsUsed();
    void coverage();

private:
    void addTopicRows(const QStringList &modes);
    QString topicName(qsizetype topic) const;

    SampleData m_data;
};

void SampleTest::initTestCase()
{
    QVERIFY2(m_data.load(QString::fromUtf8(WEXAL_SAMPLE_DIR)), qPrintable(m_data.error()));
}

QString SampleTest::topicName(qsizetype topic) const
{
    return m_data.field(topic, u"SIGNATURE=") + u'@' + m_data.field(topic, u"LINK=");
}

void SampleTest::addTopicRows(const QStringList &modes)
{
    QTest::addColumn<qsizetype>("topic");
    for (qsizetype i = 0; i < m_data.topics().size(); ++i) {
        if (modes.contains(m_data.mode(i)))
            QTest::addRow("%s", qPrintable(topicName(i))) << i;
    }
}

void SampleTest::definitionFiles_data()
{
    QTest::addColumn<QString>("line");
    for (const QString &line : m_data.definitionLines())
        QTest::addRow("%s", qPrintable(line.section(u';', 0, 0))) << line;
}

void SampleTest::definitionFiles()
{
    QFETCH(QString, line);
    const QString fileName = line.section(u';', 0, 0);
    QVERIFY(QFileInfo::exists(m_data.path(fileName)));
    QVERIFY2(!trimmed(line.section(u';', 1)).isEmpty(), "a comment follows the file name");
}

void SampleTest::parents_data()
{
    addTopicRows({u""_s, u"GROUP"_s, u"RTF"_s, u"TABLE"_s});
}

void SampleTest::parents()
{
    // Every parent is found when the block closes, so no topic falls back to
    // the top level by accident.
    QFETCH(qsizetype, topic);
    const QString parent = m_data.field(topic, u"PARENT=");
    if (parent == u"nil")
        return;
    const qsizetype found = m_data.findTopic(m_data.field(topic, u"SIGNATURE="), parent);
    QVERIFY2(found >= 0, qPrintable(u"no parent "_s + parent));
    QVERIFY(found < topic);
}

void SampleTest::tableTopics_data()
{
    addTopicRows({u"TABLE"_s});
}

void SampleTest::tableTopics()
{
    QFETCH(qsizetype, topic);
    bool ok = false;
    const int columns = m_data.field(topic, u"COLUMNS=").toInt(&ok);
    QVERIFY(ok && columns > 0);
    QVERIFY(QFileInfo::exists(m_data.path(m_data.field(topic, u"FILE="))));
    QList<bool> left;
    for (int k = 1; k <= columns; ++k) {
        const QString width = m_data.field(topic, u"WIDTH%1="_s.arg(k));
        width.toInt(&ok);
        QVERIFY2(ok || sameText(width, u"AUTO"), qPrintable(width));
        const QString alignment = upperCase(m_data.field(topic, u"ALIGNMENT%1="_s.arg(k)));
        QVERIFY2(QStringList({u"LEFT"_s, u"CENTER"_s, u"RIGHT"_s}).contains(alignment), qPrintable(alignment));
        QVERIFY(!m_data.field(topic, u"NAME%1="_s.arg(k)).isEmpty());
        left.append(alignment == u"LEFT");
    }
    const QList<QStringList> rows = m_data.tableRows(topic);
    QVERIFY(!rows.isEmpty());
    for (const QStringList &row : rows) {
        QVERIFY2(row.size() <= columns, qPrintable(row.join(u" | ")));
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (!row.at(c).contains(u"#L#"))
                continue;
            QVERIFY2(left.at(c), qPrintable(u"link in a column that does not follow links: "_s + row.at(c)));
            const QList<LinkTarget> targets = linkTargets(row.at(c));
            QVERIFY2(!targets.isEmpty(), qPrintable(row.at(c)));
            for (const LinkTarget &target : targets) {
                const QString text = target.signature + u'@' + target.key + u'@' + target.rowKey;
                const qsizetype dest = m_data.findTopic(target.signature, target.key);
                QVERIFY2(dest >= 0, qPrintable(u"no topic for "_s + text));
                QCOMPARE(m_data.mode(dest), u"TABLE"_s);
                const QList<QStringList> destRows = m_data.tableRows(dest);
                const bool rowFound = std::any_of(destRows.cbegin(), destRows.cend(),
                    [&target](const QStringList &r) { return r.value(0) == target.rowKey; });
                QVERIFY2(rowFound, qPrintable(u"no row for "_s + text));
            }
        }
    }
}

void SampleTest::rtfFiles_data()
{
    QTest::addColumn<QString>("fileName");
    for (qsizetype i = 0; i < m_data.topics().size(); ++i) {
        if (m_data.mode(i) == u"RTF")
            QTest::addRow("%s", qPrintable(topicName(i))) << m_data.field(i, u"FILE=");
    }
    for (const QString &document : kDocuments)
        QTest::addRow("%s", qPrintable(document)) << document;
}

void SampleTest::rtfFiles()
{
    QFETCH(QString, fileName);
    const QByteArray data = m_data.bytes(fileName);
    QVERIFY2(data.startsWith("{\\rtf1\\ansi\\ansicpg1250"), qPrintable(fileName));
    QVERIFY(data.contains("\\fcharset238"));
    QVERIFY(rtfBracesBalance(data));
}

void SampleTest::fileBytes_data()
{
    QTest::addColumn<QString>("fileName");
    const QStringList files = QDir(m_data.path({})).entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (file != u"CMakeLists.txt")
            QTest::addRow("%s", qPrintable(file)) << file;
    }
}

void SampleTest::fileBytes()
{
    QFETCH(QString, fileName);
    const QByteArray data = m_data.bytes(fileName);
    const QString problem = byteProblem(data, data.startsWith("{\\rtf"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void SampleTest::everyFileIsUsed()
{
    // Everything in the folder is staged beside the program, so nothing stray.
    QSet<QString> used(kDocuments.cbegin(), kDocuments.cend());
    used << u"definition.global"_s << u"CMakeLists.txt"_s;
    for (const QString &line : m_data.definitionLines())
        used << line.section(u';', 0, 0);
    for (qsizetype i = 0; i < m_data.topics().size(); ++i)
        used << m_data.field(i, u"FILE=");
    const QStringList files = QDir(m_data.path({})).entryList(QDir::Files);
    for (const QString &file : files)
        QVERIFY2(used.contains(file), qPrintable(file));
}

void SampleTest::coverage()
{
    // What other tests and the screenshots rely on the sample to contain.
    QSet<QString> signatures;
    QSet<QString> alignments;
    QSet<QString> tokens;
    int tables = 0, texts = 0, groups = 0, hidden = 0, autoWidths = 0, fixedWidths = 0;
    qsizetype largest = 0;
    bool linkColumn = false;
    for (qsizetype i = 0; i < m_data.topics().size(); ++i) {
        signatures << upperCase(m_data.field(i, u"SIGNATURE="));
        hidden += !sameText(m_data.field(i, u"VIEW="), u"SHOW");
        const QString mode = m_data.mode(i);
        groups += mode.isEmpty() || mode == u"GROUP";
        texts += mode == u"RTF";
        if (mode != u"TABLE")
            continue;
        ++tables;
        linkColumn = linkColumn || sameText(m_data.field(i, u"NAME1="), u"LINK");
        const int columns = m_data.field(i, u"COLUMNS=").toInt();
        for (int k = 1; k <= columns; ++k) {
            const bool isAuto = sameText(m_data.field(i, u"WIDTH%1="_s.arg(k)), u"AUTO");
            autoWidths += isAuto;
            fixedWidths += !isAuto;
            alignments << upperCase(m_data.field(i, u"ALIGNMENT%1="_s.arg(k)));
        }
        const QList<QStringList> rows = m_data.tableRows(i);
        largest = std::max(largest, rows.size());
        for (const QStringList &row : rows) {
            for (const QString &token : kMarkupTokens) {
                if (row.join(u'\t').contains(token))
                    tokens << token;
            }
        }
    }
    QVERIFY(m_data.definitionLines().size() >= 3);
    QVERIFY(m_data.topics().size() >= 40);
    QVERIFY(signatures.size() >= 2);
    QVERIFY(tables >= 10);
    QVERIFY(texts >= 4);
    QVERIFY(groups >= 10);
    QVERIFY(hidden >= 2);
    QVERIFY(largest >= 300);
    QVERIFY(autoWidths > 0 && fixedWidths > 0);
    QCOMPARE(alignments, QSet<QString>({u"LEFT"_s, u"CENTER"_s, u"RIGHT"_s}));
    QCOMPARE(tokens, QSet<QString>(kMarkupTokens.cbegin(), kMarkupTokens.cend()));
    QVERIFY2(linkColumn, "a table whose first column is LINK");
}

QTEST_GUILESS_MAIN(SampleTest)
#include "tst_sample.moc"
