#include "../broken/brokendata.h"
#include "../common/testfiles.h"

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
#include "search/searchresultmodel.h"
#include "table/visiblecelltext.h"
#include "table/tablefileloader.h"
#include "table/tablegridmodel.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The search panel's index over the damaged data sets of tests/broken: every
// one is built, without a crash or a hang, from what can be read, reading
// each file it indexes once and no other; what cannot be read or opened is
// left out, and so is what does not fit in memory. The index's rows are the
// grid's rows as shown, and its search finds exactly where the folded text
// holds the folded query, in work bounded by the text's length, in slices it
// can be stopped between. A result shows only a stretch around its match.
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
    void indexLeavesOutWhatDoesNotFit();
    void tableStopsWhenCancelled();
    void queryStopsBetweenSlices_data();
    void queryStopsBetweenSlices();
    void resultShowsStretchAroundMatch_data();
    void resultShowsStretchAroundMatch();
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

// An index of one topic whose one item is fill bytes of filler with
// stretch at position at (when at >= 0) and between head and tail.
std::shared_ptr<SearchIndex> oneItemIndex(SearchIndex::TopicKind kind, const QByteArray &head, qint64 fill,
                                          qint64 at, const QByteArray &stretch, const QByteArray &tail)
{
    auto index = std::make_shared<SearchIndex>();
    index->beginTopic(0, kind);
    index->beginItem();
    const std::size_t length = std::size_t(head.size() + fill + tail.size());
    char *out = index->itemText(length);
    std::memcpy(out, head.constData(), std::size_t(head.size()));
    std::memset(out + head.size(), 'x', std::size_t(fill));
    if (at >= 0)
        std::memcpy(out + head.size() + at, stretch.constData(), std::size_t(stretch.size()));
    std::memcpy(out + head.size() + fill, tail.constData(), std::size_t(tail.size()));
    index->endItemText(length);
    index->finish();
    return index;
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
    QTest::newRow("code of more than 64 KB") << QByteArray("12" + QByteArray(70000, 'x') + "34" + QByteArray(70000, '5'))
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
    // Every position a candidate whose comparing fails late.
    QTest::newRow("long query over its own ends") << QByteArray(5000, 'a')
                                                  << QByteArray(100, 'A') + 'B' + QByteArray(99, 'A');
    QTest::newRow("periodic, found at the end") << QByteArray("ab").repeated(1500) + "abac"
                                                << QByteArray("AB").repeated(40) + "AC";
    std::mt19937 random(7);
    QByteArray few;
    for (int i = 0; i < 4000; ++i)
        few += "aA\xb9\xa5" "b"[random() % 5];
    QTest::newRow("random over few letters") << few << foldedBytes(few.mid(1234, 30));
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
            std::size_t work = 0;
            const char *found = search.find(begin + from, end, &work);
            QCOMPARE(found ? found - begin : -1, expected);
            QVERIFY(work <= 6 * (std::size_t(text.size() - from) + needle.size()));
        }
    }
}

void SearchIndexTest::indexLeavesOutWhatDoesNotFit()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address sanitizer's shadow memory and quarantine do not fit under an address-space limit; "
          "the ordinary build runs this test");
#endif
    // A table named by eight topics is indexed once and fits; a table twice
    // its size does not fit beside it under the limit the helper process
    // sets, and its two topics are left out; the small table after them is
    // indexed.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray row = "01.23\tpozycja towaru opisana do\x9c\xe6 d\xb3ugo\r\n";
    writeRawFile(dir.filePath(u"a.txt"_s), row.repeated((qint64(24) << 20) / row.size()));
    writeRawFile(dir.filePath(u"b.txt"_s), row.repeated((qint64(48) << 20) / row.size()));
    writeRawFile(dir.filePath(u"c.txt"_s), "99.9\t\xbf\xf3\xb3w\r\n");
    QProcess helper;
    helper.start(QCoreApplication::applicationFilePath(), {u"--index-under-limit"_s, dir.path()});
    QVERIFY(helper.waitForFinished(120000));
    QVERIFY2(helper.exitStatus() == QProcess::NormalExit,
             qPrintable(u"the index build ended the program: "_s + QString::fromLocal8Bit(helper.readAllStandardError())));
    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(helper.readAllStandardOutput(), QByteArray("8 9 | 1"));
}

void SearchIndexTest::tableStopsWhenCancelled()
{
    // Cancelling is looked at within a table, not only between topics.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray row = "01\tmleko\r\n";
    writeRawFile(dir.filePath(u"a.txt"_s), row.repeated((qint64(4) << 20) / row.size()));
    const std::atomic<bool> cancel{true};
    SearchIndex index;
    index.beginTopic(0, SearchIndex::TopicKind::Table);
    QVERIFY(SearchIndexBuilder::addTableFile(dir.filePath(u"a.txt"_s), 2, {0, 1}, index, &cancel));
    QCOMPARE(index.itemCount(), 0);
}

namespace {

// The helper process of indexLeavesOutWhatDoesNotFit(), started afresh so
// that its address space holds nothing of the tests before: it allows
// itself a little more than the first table read and indexed once.
int indexUnderLimit(const QString &dir)
{
    QFile statm(u"/proc/self/statm"_s);
    const qint64 pages = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(0).toLongLong() : 0;
    const rlim_t room = rlim_t(pages * sysconf(_SC_PAGESIZE) + (qint64(100) << 20));
    const rlimit limit{room, room};
    if (pages == 0 || setrlimit(RLIMIT_AS, &limit) != 0)
        return 2;
    SearchIndexBuilder::Source source;
    source.programDir = dir + u'/';
    for (const char *file : {"a", "a", "a", "a", "a", "a", "a", "a", "b", "b", "c"})
        source.topicList << u"MODE=TABLE\tFILE=%1.txt\tCOLUMNS=2\tWIDTH1=60\tWIDTH2=AUTO\t"_s.arg(QLatin1String(file));
    const std::unique_ptr<SearchIndex> index = SearchIndexBuilder(source, {}).build();
    QByteArray answer;
    for (const int topic : index->unindexedTopics())
        answer += QByteArray::number(topic) + ' ';
    answer += "| " + QByteArray::number(runInstantQuery(*index, u"zolw"_s).hits.size());
    std::fwrite(answer.constData(), 1, std::size_t(answer.size()), stdout);
    return 0;
}

} // namespace

void SearchIndexTest::queryStopsBetweenSlices_data()
{
    QTest::addColumn<qint64>("rowBytes");
    QTest::addColumn<qint64>("matchAt");   // where the query stands in the row, -1 nowhere
    QTest::addColumn<qint64>("stopAfter"); // the query is stopped once this much is read, -1 never

    const qint64 slice = InstantQuerySliceBytes;
    QTest::newRow("long row, stopped") << 24 * slice << qint64(-1) << 5 * slice + 7;
    QTest::newRow("match across a slice boundary") << 3 * slice << slice - 100 << qint64(-1);
    QTest::newRow("match at the end") << 3 * slice << 3 * slice - 200 << qint64(-1);
}

void SearchIndexTest::queryStopsBetweenSlices()
{
    QFETCH(qint64, rowBytes);
    QFETCH(qint64, matchAt);
    QFETCH(qint64, stopAfter);

    // Both ends of the query stand at every position of the row.
    const QByteArray query = QByteArray(100, 'x') + 'y' + QByteArray(99, 'x');
    const auto index = oneItemIndex(SearchIndex::TopicKind::Text, {}, rowBytes, matchAt, query, {});
    QList<qint64> asked;
    const InstantAnswer answer =
        runInstantQuery(*index, QString::fromLatin1(query), [&asked, stopAfter](qint64 scanned) {
            asked << scanned;
            return stopAfter >= 0 && scanned >= stopAfter;
        });
    QCOMPARE(answer.cancelled, stopAfter >= 0);
    for (qsizetype k = 0; k < asked.size(); ++k)
        QVERIFY(asked[k] - (k > 0 ? asked[k - 1] : 0) <= InstantQuerySliceBytes);
    if (stopAfter >= 0) {
        QVERIFY(!asked.isEmpty() && asked.back() >= stopAfter && asked.back() < stopAfter + InstantQuerySliceBytes);
        return;
    }
    QCOMPARE(answer.hits.size(), std::size_t(matchAt >= 0 ? 1 : 0));
    QCOMPARE(answer.hits.front().start, int(matchAt));
}

void SearchIndexTest::resultShowsStretchAroundMatch_data()
{
    QTest::addColumn<bool>("table");
    QTest::addColumn<QByteArray>("head"); // before the long stretch of the row
    QTest::addColumn<qint64>("matchAt");  // where "mleko" stands in the long stretch
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("inCode");

    const qint64 megabyte = qint64(1) << 20;
    QTest::newRow("deep in a long code") << true << QByteArray() << 5 * megabyte << QByteArray("\tOpis") << true;
    QTest::newRow("deep in a long cell") << true << QByteArray("01.1\t") << 6 * megabyte << QByteArray("\t\t")
                                         << false;
    QTest::newRow("near a long cell's start") << true << QByteArray("01.1\t") << qint64(10) << QByteArray() << false;
    QTest::newRow("deep in a long paragraph") << false << QByteArray() << 7 * megabyte << QByteArray() << false;
}

void SearchIndexTest::resultShowsStretchAroundMatch()
{
    QFETCH(bool, table);
    QFETCH(QByteArray, head);
    QFETCH(qint64, matchAt);
    QFETCH(QByteArray, tail);
    QFETCH(bool, inCode);

    const auto kind = table ? SearchIndex::TopicKind::Table : SearchIndex::TopicKind::Text;
    const auto index = oneItemIndex(kind, head, 8 << 20, matchAt, "mleko", tail);
    SearchResultModel model;
    model.setIndex(index, {u"Temat"_s});
    model.setAnswer(runInstantQuery(*index, u"Mleko"_s));
    QCOMPARE(model.rowCount(), 1);
    const SearchResultModel::Entry entry = model.entry(0);
    // The stretch shown and the ellipses around it.
    QVERIFY(entry.code.size() <= SearchResultModel::LongestText + 2);
    QVERIFY(entry.text.size() <= SearchResultModel::LongestText + 2);
    const QString marked = inCode ? entry.code.mid(entry.codeMatchStart, entry.codeMatchLength)
                                  : entry.text.mid(entry.textMatchStart, entry.textMatchLength);
    QCOMPARE(marked, u"mleko"_s);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--index-under-limit") == 0)
        return indexUnderLimit(QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    SearchIndexTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_searchindex.moc"
