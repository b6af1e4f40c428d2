#include "../broken/brokendata.h"

#include "core/textrules.h"
#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "search/documentparagraphs.h"
#include "search/foldedsearch.h"
#include "search/instantquery.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"
#include "search/searchitems.h"
#include "search/visiblecelltext.h"
#include "table/tablefileloader.h"
#include "table/tablegridmodel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

using namespace Qt::StringLiterals;

// The search panel's index over the damaged data sets of tests/broken: every
// one is built without a crash from what can be read, reading each file it
// indexes once and no other; what cannot be read or opened is left out. The index's rows are the grid's rows
// as shown, and its search finds exactly where the folded text holds the
// folded query.
class SearchIndexTest : public QObject
{
    Q_OBJECT

private slots:
    void brokenDataBuildsIndex_data();
    void brokenDataBuildsIndex();
    void rowsAsTheGridShowsThem_data();
    void rowsAsTheGridShowsThem();
    void searchFindsWhereFoldedTextHoldsQuery_data();
    void searchFindsWhereFoldedTextHoldsQuery();
};

namespace {

QByteArray foldedBytes(QByteArrayView text)
{
    QByteArray folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        folded[i] = static_cast<char>(FoldedSearch::foldMap()[static_cast<unsigned char>(text[i])]);
    return folded;
}

// The bytes this process has read so far, from files and pipes alike; -1
// when the kernel does not say.
qint64 bytesRead()
{
    QFile io(u"/proc/self/io"_s);
    const QByteArray counts = io.open(QIODevice::ReadOnly) ? io.readAll() : QByteArray();
    const qsizetype at = counts.indexOf("rchar: ");
    return at < 0 ? -1 : counts.mid(at + 7, counts.indexOf('\n', at) - at - 7).toLongLong();
}

template<std::size_t N>
QByteArray withNuls(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

// Every byte but NUL: Polish letters of both cases, the other letters of the
// code page, marks and controls.
QByteArray everyByte()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

} // namespace

void SearchIndexTest::brokenDataBuildsIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("topics"); // FILE= of each topic indexed, in order
    QTest::addColumn<int>("zbozeHits");      // hits of "zboże" (shown text only)
    QTest::addColumn<int>("targetHits");     // hits of "TEST@TABELA", a link's hidden target

    const QStringList both = {u"opis.rtf"_s, u"tabela.txt"_s};
    QTest::newRow("base") << u"base"_s << both << 1 << 0;
    QTest::newRow("cr-only") << u"cr-only"_s << both << 1 << 0;
    // LF ends no line: each definition file is one line and holds no topic.
    QTest::newRow("lf-only") << u"lf-only"_s << QStringList() << 0 << 0;
    QTest::newRow("missing-topic-files") << u"missing-topic-files"_s << QStringList() << 0 << 0;
    // Topics read before the missing file are indexed.
    QTest::newRow("missing-definition-file") << u"missing-definition-file"_s << both << 1 << 0;
    QTest::newRow("empty-line-in-definition") << u"empty-line-in-definition"_s << both << 1 << 0;
    QTest::newRow("line-without-semicolon") << u"line-without-semicolon"_s << both << 1 << 0;
    // Of the damaged tables only "Kolumny 10" opens: its count and both
    // widths are numbers (-50 and AUTO); the others lack a number or a width.
    QTest::newRow("columns-garbage") << u"columns-garbage"_s
                                     << QStringList{u"opis.rtf"_s, u"tabela.txt"_s, u"tabela.txt"_s} << 2 << 0;
    // The table of 1,000 columns has no width for column 2: it does not open.
    // The table's own rows hold no "zboże".
    QTest::newRow("ten-thousand-columns") << u"ten-thousand-columns"_s << both << 0 << 0;
    // 50 MB in one line: one row. The file is made of 1 MB pieces, each cut
    // inside a link, so at the cuts a closing "#L#" takes the wrong text as
    // its target and the grid shows "TEST@TABELA" as text: found once there.
    QTest::newRow("huge-table-line") << u"huge-table-line"_s
                                     << QStringList{u"opis.rtf"_s, u"tabela.txt"_s, u"ogromna.txt"_s} << 2 << 1;
    // 200 MB of "{": larger than the text view shows, left out.
    QTest::newRow("rtf-braces") << u"rtf-braces"_s << QStringList{u"tabela.txt"_s} << 1 << 0;
}

void SearchIndexTest::brokenDataBuildsIndex()
{
    QFETCH(QString, name);
    QFETCH(QStringList, topics);
    QFETCH(int, zbozeHits);
    QFETCH(int, targetHits);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(BrokenData::materialise(QStringLiteral(WEXAL_TEST_DATA_DIR "/../broken"), name, dir.path(), &error),
             qPrintable(error));
    SearchIndexBuilder::Source source;
    source.programDir = dir.path() + u'/';
    NaviTreeModel tree;
    try {
        DefinitionReader(source.topicList, tree).LoadDefinition(source.programDir);
    } catch (const WexalError &) {
        // The window reports it and goes on with the topics read.
    }
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});

    const qint64 before = bytesRead();
    QVERIFY(before >= 0);
    const std::unique_ptr<SearchIndex> index =
        SearchIndexBuilder(source, &Wexal::readDocumentParagraphs).build();
    const qint64 read = bytesRead() - before;
    QStringList indexed;
    qint64 bound = 4096; // the reading of the count itself
    for (const SearchIndex::Topic &topic : index->topics()) {
        indexed << Wexal::GetTabField(source.topicList.at(topic.topic), u"FILE=");
        bound += QFileInfo(source.programDir + indexed.constLast()).size();
    }
    QCOMPARE(indexed, topics);
    QVERIFY2(read <= bound, qPrintable(u"%1 bytes read, at most %2"_s.arg(read).arg(bound)));
    QCOMPARE(int(runInstantQuery(*index, u"zboże"_s).hits.size()), zbozeHits);
    QCOMPARE(int(runInstantQuery(*index, u"TEST@TABELA"_s).hits.size()), targetHits);
}

void SearchIndexTest::rowsAsTheGridShowsThem_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("headers");

    const QStringList four = {u"Kod"_s, u"Nazwa"_s, u"Stawka"_s, u"Uwagi"_s};
    const QStringList withLink = {u"Kod"_s, u"LINK"_s, u"Nazwa"_s, u"Stawka"_s};
    QTest::newRow("plain") << QByteArray("01.1\tMleko\t5\tbez uwag\r\n01.2\tChleb\t8\t\r\n") << four;
    QTest::newRow("blanks around cells") << QByteArray(" 01.1 \t  Mleko i \x9cmietana \x01\t 5\t \t\r\n") << four;
    QTest::newRow("blank lines and empty first rows")
        << QByteArray("\r\n \t \t\r\n\t\t\t\r\n\t\tx\r\n02\tb\r\n") << four;
    QTest::newRow("fewer and more fields") << QByteArray("01\r\n02\ta\r\n03\ta\tb\tc\td\te\tf\r\n") << four;
    QTest::newRow("markup and links")
        << QByteArray("#B#01.1#B#\t#L#Zob. 02#L#B@T1@2#\t#I#5#N#%#I#\tx#U#y#U#z##\r\n#L#\t#L##L#a\t#N#\t#\r\n")
        << four;
    QTest::newRow("hidden link column") << QByteArray("10.71\tT@10.71\tPieczywo\t5\r\n10.7\tT@10.7\tCiasta\t8\r\n")
                                        << withLink;
    QTest::newRow("bytes 0x80-0xFF and NUL")
        << QByteArray("\xa5\xb9\xc6\xe6\xca\xea\xa3\xb3\xd1\xf1\xd3\xf3\x8c\x9c\x8f\x9f\xaf\xbf\t" + everyByte().mid(32)
                      + withNuls("\t\0z\0\0a\t\0\r\n"))
        << four;
    QTest::newRow("CR alone, LF alone, Ctrl-Z")
        << QByteArray("01\ta\rb\n02\tc\nd\r\n\n03\te\r\x1a""04\tf\r\n") << four;
    QTest::newRow("long cells") << QByteArray(QByteArray(100, 'x') + "\t" + QByteArray(40, ' ') + "#B#" + QByteArray(70, 'y')
                                              + "\t" + QByteArray(33, '#') + "\t" + QByteArray(17, '9') + "\r\n")
                                << four;
    QTest::newRow("empty file") << QByteArray() << four;
}

void SearchIndexTest::rowsAsTheGridShowsThem()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, headers);
    const int columns = int(headers.size());

    TableGridModel grid;
    grid.reset(columns);
    QStringList links;
    loadTableBytes(file, grid, links);
    const QVector<int> shown = Wexal::SearchItems::rowColumns(headers, -1);
    QList<QByteArray> expected;
    QList<QByteArray> expectedCodes;
    for (int row = 1; row <= grid.dataRows(); ++row) {
        QByteArray text;
        for (const int c : shown) {
            const QByteArrayView cell = grid.cellBytes(c, row);
            QByteArray visible(cell.size(), Qt::Uninitialized);
            visible.truncate(Wexal::appendVisibleCellText(cell, visible.data()) - visible.data());
            if (c == shown.front()) {
                QByteArray digits;
                for (const char ch : std::as_const(visible)) {
                    if (ch >= '0' && ch <= '9')
                        digits.append(ch);
                }
                expectedCodes << digits;
            } else {
                text.append('\t');
            }
            text.append(visible);
        }
        expected << text.replace('\0', SearchIndex::NoByte);
    }

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile out(dir.filePath(u"tabela.txt"_s));
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    out.close();
    SearchIndex index;
    index.beginTopic(0, SearchIndex::TopicKind::Table);
    QVERIFY(SearchIndexBuilder::addTableFile(out.fileName(), columns, shown, index));
    index.finish();
    QList<QByteArray> rows;
    QList<QByteArray> codes;
    for (int item = 0; item < index.itemCount(); ++item) {
        rows << index.shownText(item).toByteArray();
        codes << index.codeDigits(item).toByteArray();
    }
    QCOMPARE(rows, expected);
    QCOMPARE(codes, expectedCodes);
}

void SearchIndexTest::searchFindsWhereFoldedTextHoldsQuery_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("query"); // folded

    const QByteArray polish = "Z\xbf\xf3\xb3w \x8fr\xf3" "d\xb3o \xafYTNI \xaf\xf3\xb3wiowy zolwiowY \xa5\xb9ka \x8c\x9cl\xeaZA";
    QByteArray repeated;
    for (int i = 0; i < 40; ++i)
        repeated += polish;
    QTest::newRow("diacritics, every alignment") << repeated << QByteArray("ZOLWIOWY");
    QTest::newRow("one byte") << repeated << QByteArray("S");
    QTest::newRow("letters with four forms") << repeated << QByteArray("ZA");
    QTest::newRow("near misses") << QByteArray(200, 'z') + "zy" + QByteArray(70, 'Z') << QByteArray("ZZZY");
    QTest::newRow("at the very end") << QByteArray(93, 'a') + "\xaf\xbf" << QByteArray("ZZ");
    QTest::newRow("nowhere") << repeated << QByteArray("ZOLWIE");
    QTest::newRow("every byte") << everyByte() + everyByte() + everyByte() << foldedBytes(everyByte().mid(150, 40));
    QTest::newRow("longer than the text") << QByteArray("abc") << QByteArray("ABCD");
}

void SearchIndexTest::searchFindsWhereFoldedTextHoldsQuery()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, query);

    const std::string folded = foldedBytes(text).toStdString();
    const std::string needle = query.toStdString();
    const char *const begin = text.constData();
    const char *const end = begin + text.size();
    using Scan = FoldedSearch::Scan;
    for (const Scan scan : {Scan::Widest, Scan::Sse2, Scan::Bytes}) {
        const FoldedSearch search(needle, scan);
        // From every start, as a scan resumes after each hit.
        for (qsizetype from = 0; from <= text.size(); ++from) {
            const std::size_t at = folded.find(needle, std::size_t(from));
            const qsizetype expected = at == std::string::npos ? -1 : qsizetype(at);
            const char *found = search.find(begin + from, end);
            QCOMPARE(found ? found - begin : -1, expected);
        }
    }
}

QTEST_MAIN(SearchIndexTest)
#include "tst_searchindex.moc"
