#include "core/cp1250.h"
#include "data/navitreemodel.h"
#include "search/findparameters.h"
#include "search/normalizeforsearch.h"
#include "search/searchitems.h"
#include "search/searchmatcher.h"
#include "table/tablegridmodel.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using Wexal::NormalizeForSearch;
namespace Items = Wexal::SearchItems;

namespace {

// A grid model with the given headers and rows, cells stored as the table
// file loader stores them: Windows-1250 bytes.
std::unique_ptr<TableGridModel> makeTable(const QStringList &headers, const QList<QStringList> &rows)
{
    auto model = std::make_unique<TableGridModel>();
    model->reset(int(headers.size()));
    for (int c = 0; c < headers.size(); ++c)
        model->setHeader(c, headers.at(c), 0);
    for (const QStringList &row : rows) {
        QList<QByteArray> bytes;
        for (const QString &cell : row)
            bytes << Wexal::Cp1250::encode(cell);
        QVector<QByteArrayView> views;
        for (const QByteArray &b : std::as_const(bytes))
            views << QByteArrayView(b);
        model->appendRow(views, QVector<int>(views.size(), -1));
    }
    return model;
}

int findRow(const TableGridModel &model, const QString &query, int searchColumn, int fromRow = 1)
{
    SearchMatcher matcher(NormalizeForSearch(query));
    return Items::findRow(model, Items::rowColumns(model.headerTexts(), searchColumn), matcher, fromRow);
}

} // namespace

class TestSearchEngine : public QObject
{
    Q_OBJECT

private slots:
    void textMatching_data();
    void textMatching();
    void byteItemsAgreeWithText_data();
    void byteItemsAgreeWithText();
    void everyByteNormalisesLikeItsCharacter();
    void paragraphsAgreeWithText_data();
    void paragraphsAgreeWithText();
    void queryOutsideCodePageNeverMatchesCells();
    void itemsSearchedInOnePass_data();
    void itemsSearchedInOnePass();
    void foldedBytesAgreeWithByteTable_data();
    void foldedBytesAgreeWithByteTable();
    void rowColumns_data();
    void rowColumns();
    void rowSearch_data();
    void rowSearch();
    void rowBeyondTableColumns();
    void lineSearch_data();
    void lineSearch();
    void documentMayMatch_data();
    void documentMayMatch();
    void titlesInTreeOrder();
    void topicKind_data();
    void topicKind();
};

void TestSearchEngine::textMatching_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("matches");

    QTest::newRow("ząb in Ząb") << u"ząb"_s << u"Ząb trzonowy"_s << true;
    QTest::newRow("ząb in ZĄB") << u"ząb"_s << u"ZĄB mądrości"_s << true;
    QTest::newRow("ząb in zab") << u"ząb"_s << u"mleczny zab"_s << true;
    QTest::newRow("ząb in Zab") << u"ząb"_s << u"Zab"_s << true;
    QTest::newRow("zab in ząbek") << u"zab"_s << u"ząbek"_s << true;
    QTest::newRow("ź and ż both Z") << u"żaba"_s << u"ŹABA"_s << true;
    QTest::newRow("ząb not in Zęby") << u"ząb"_s << u"Zęby"_s << false;
    QTest::newRow("bold token") << u"#b#"_s << u"#B#Ząb#B# wyraz"_s << true;
    QTest::newRow("query longer than item") << u"zęby trzonowe"_s << u"zęby"_s << false;
    QTest::newRow("empty query") << QString() << u"cokolwiek"_s << false;
    QTest::newRow("empty item") << u"a"_s << QString() << false;
    QTest::newRow("whole item") << u"korona"_s << u"KORONA"_s << true;
    QTest::newRow("letter outside code page") << u"ω"_s << u"αωβ"_s << true;
}

void TestSearchEngine::textMatching()
{
    QFETCH(QString, query);
    QFETCH(QString, item);
    QFETCH(bool, matches);
    SearchMatcher matcher(NormalizeForSearch(query));
    QCOMPARE(matcher.matches(item), matches);
    // The matcher keeps no trace of an item: asking twice gives the same.
    QCOMPARE(matcher.matches(item), matches);
}

void TestSearchEngine::byteItemsAgreeWithText_data()
{
    textMatching_data();
}

void TestSearchEngine::byteItemsAgreeWithText()
{
    QFETCH(QString, query);
    QFETCH(QString, item);
    QFETCH(bool, matches);
    if (!std::all_of(item.cbegin(), item.cend(), [](QChar ch) { return Wexal::Cp1250::canEncode(ch); }))
        QSKIP("cells hold Windows-1250 bytes only");
    SearchMatcher matcher(NormalizeForSearch(query));
    // Built in two pieces, split inside the item, as a row is built cell by cell.
    const QByteArray bytes = Wexal::Cp1250::encode(item);
    matcher.beginItems();
    matcher.appendBytes(QByteArrayView(bytes).first(bytes.size() / 2));
    matcher.appendBytes(QByteArrayView(bytes).sliced(bytes.size() / 2));
    matcher.endItem();
    QCOMPARE(matcher.firstMatchingItem(), matches ? 0 : -1);
}

void TestSearchEngine::paragraphsAgreeWithText_data()
{
    textMatching_data();
    // Every character below U+0180 and some beyond, between the letters of
    // the query and in its place.
    QString every;
    for (char16_t c = 1; c < 0x180; ++c)
        every += QChar(c);
    every += u"\u2013\u201e\u201d\u200b\u0391\u03c9\U0001F600"_s;
    for (const QString &query : {u"AB"_s, u"ąB"_s, u"ω"_s, u"a\u2013b"_s, QString(QChar(0) + u"a"_s)}) {
        QTest::addRow("%s between", qPrintable(query)) << query << QString(every + u'a' + every + u'b' + every) << false;
        QTest::addRow("%s among", qPrintable(query)) << query << QString(every + query + every) << true;
    }
    // The code page's last byte stands for U+02D9, which ω is not.
    QTest::newRow("last byte of the code page") << u"x\u02d9"_s << u"xω x˙"_s << true;
    QTest::newRow("last byte, a stranger in its place") << u"x\u02d9"_s << u"xω"_s << false;
}

void TestSearchEngine::paragraphsAgreeWithText()
{
    QFETCH(QString, query);
    QFETCH(QString, item);
    SearchMatcher matcher(NormalizeForSearch(query));
    const bool expected = matcher.matches(item);
    QCOMPARE(matcher.anyMatches({item}), expected);
    QCOMPARE(matcher.anyMatches({u"x"_s, item, QString()}), expected);
    QCOMPARE(matcher.anyMatches({}), false);
}

void TestSearchEngine::everyByteNormalisesLikeItsCharacter()
{
    for (int b = 0; b < 256; ++b) {
        const QChar ch = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(b));
        const QString expected = NormalizeForSearch(QString(ch));
        const QChar got = Wexal::Cp1250::toUnicode(SearchMatcher::normalizeByte(static_cast<unsigned char>(b)));
        QVERIFY2(got == expected.at(0), qPrintable(u"byte %1"_s.arg(b, 2, 16)));
    }
}

void TestSearchEngine::queryOutsideCodePageNeverMatchesCells()
{
    // The code page would write ω as "?", which must not match a "?" in a cell.
    SearchMatcher matcher(NormalizeForSearch(u"ω"_s));
    matcher.beginItems();
    matcher.appendBytes("co?");
    matcher.endItem();
    QCOMPARE(matcher.firstMatchingItem(), -1);
}

void TestSearchEngine::itemsSearchedInOnePass_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("expected");

    QTest::newRow("first item") << u"ala"_s << 0;
    QTest::newRow("later item") << u"kot"_s << 2;
    QTest::newRow("not across items") << u"ma#ko"_s << -1;
    QTest::newRow("end of one, start of next") << u"ala#ma"_s << -1;
    QTest::newRow("empty item passed") << u"#"_s << 0;
    // A NUL in the query finds its own item, not the gap between two.
    QTest::newRow("NUL between items") << QString(u"a#"_s + QChar(0) + u"m"_s) << -1;
    QTest::newRow("NUL inside an item") << QString(QChar(0) + u"x"_s) << 3;
}

void TestSearchEngine::itemsSearchedInOnePass()
{
    QFETCH(QString, query);
    QFETCH(int, expected);
    SearchMatcher matcher(NormalizeForSearch(query));
    const QList<QByteArray> items{"ala#", "ma#", "kota#", QByteArray("\0x#", 3)};
    matcher.beginItems();
    for (const QByteArray &item : items) {
        matcher.appendBytes(item);
        matcher.endItem();
    }
    QCOMPARE(matcher.firstMatchingItem(), expected);
    // Gathering again starts afresh.
    matcher.beginItems();
    matcher.appendBytes("nic");
    matcher.endItem();
    QCOMPARE(matcher.firstMatchingItem(), -1);
}

void TestSearchEngine::foldedBytesAgreeWithByteTable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("query");

    const auto cp = [](const QString &text) { return Wexal::Cp1250::encode(text); };
    QByteArray everyByte;
    for (int i = 0; i < 70000; ++i)
        everyByte += char((i * 7 + i / 256) % 256);
    // Bytes around the letters, where a word-wide upper-casing could slip,
    // and letters beyond ASCII among them, at every offset within a word.
    const QByteArray tail(16, ' ');
    for (int shift = 0; shift < 8; ++shift) {
        const QByteArray lead(shift, ' ');
        QTest::addRow("ASCII edges at offset %d", shift) << lead + "@AZ[`az{~\x7f" + tail << u"`aZ{~"_s;
        QTest::addRow("ASCII edges at offset %d, no match", shift) << lead + "@`z{" + tail << u"@@"_s;
        QTest::addRow("Polish letters at offset %d", shift)
            << lead + cp(u"Żółw ŻÓŁW żółw, źdźbło ŚWIĘTE"_s) + tail << u"zolw zolw, zdzblo swiete"_s;
    }
    QTest::newRow("every byte, found") << everyByte << Wexal::Cp1250::decode(everyByte.mid(40000, 6));
    QTest::newRow("every byte, not found") << everyByte << u"żółwiowy"_s;
    const QByteArray filler(65536 - 3, 'x');
    QTest::newRow("across the slice cut") << filler + cp(u" żółwiowy "_s) + filler << u"ŻÓŁWIOWY"_s;
    QTest::newRow("at the very end") << filler + filler + cp(u"żółwiowy"_s) << u"zolwiowy"_s;
    QTest::newRow("cut by a tab") << filler + cp(u"żółw\tiowy"_s) << u"zolwiowy"_s;
    QTest::newRow("separator in the query") << QByteArray("01\tKorona") << u"01#korona"_s;
    QTest::newRow("NUL in the query") << QByteArray("ab\0cd", 5) << QString(u"b"_s + QChar(0) + u"c"_s);
    QTest::newRow("shorter than a word") << cp(u"ząb"_s) << u"ZAB"_s;
    // Its first and last letters at every place, the whole only once, late.
    QByteArray nearMisses;
    for (int i = 0; i < 300; ++i)
        nearMisses += i % 3 ? "zeby zabkowane " : "ZAB ZAZ Z B ZB ";
    QTest::newRow("near misses, then found") << nearMisses + cp(u"ząb zębowy"_s) << u"zab ZEB"_s;
    QTest::newRow("near misses only") << nearMisses << u"zab zeb"_s;
    QTest::newRow("one letter") << nearMisses + "q" << u"Q"_s;
    QTest::newRow("query of two") << nearMisses + "qu" << u"Qu"_s;
    QTest::newRow("empty") << QByteArray() << u"a"_s;
}

void TestSearchEngine::foldedBytesAgreeWithByteTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, query);
    const QString normalized = NormalizeForSearch(query);
    QByteArray folded = bytes;
    for (char &b : folded)
        b = char(SearchMatcher::normalizeByte(static_cast<unsigned char>(b)));
    const QByteArray queryBytes = Wexal::Cp1250::encode(normalized);
    const bool inBytes = folded.contains(queryBytes);
    const bool acrossPieces = queryBytes.contains('#') || queryBytes.contains('\0');

    SearchMatcher matcher(normalized);
    // One item gathered from three pieces of uneven length.
    matcher.beginItems();
    matcher.appendBytes(QByteArrayView(bytes).first(bytes.size() / 3));
    matcher.appendBytes(QByteArrayView(bytes).sliced(bytes.size() / 3, bytes.size() / 3));
    matcher.appendBytes(QByteArrayView(bytes).sliced(2 * (bytes.size() / 3)));
    matcher.endItem();
    QCOMPARE(matcher.firstMatchingItem(), inBytes ? 0 : -1);
    // Rows cut from these bytes may match exactly when the query is in
    // them, or may span two cells.
    QCOMPARE(matcher.piecesMayMatch(bytes, '#'), inBytes || acrossPieces);
}

void TestSearchEngine::rowColumns_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<int>("searchColumn");
    QTest::addColumn<QVector<int>>("expected");

    const QStringList headers{u"Kod"_s, u"link"_s, u"Nazwa"_s, u"LINK"_s, u"Stawka"_s};
    QTest::newRow("all but link columns") << headers << -1 << QVector<int>{0, 2, 4};
    QTest::newRow("restricted") << headers << 2 << QVector<int>{2};
    QTest::newRow("restriction wins over link name") << headers << 1 << QVector<int>{1};
    QTest::newRow("only link columns") << QStringList{u"Link"_s} << -1 << QVector<int>{};
    QTest::newRow("link as part of a name") << QStringList{u"Linki"_s} << -1 << QVector<int>{0};
}

void TestSearchEngine::rowColumns()
{
    QFETCH(QStringList, headers);
    QFETCH(int, searchColumn);
    QFETCH(QVector<int>, expected);
    QCOMPARE(Items::rowColumns(headers, searchColumn), expected);
}

void TestSearchEngine::rowSearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("searchColumn");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("expected");

    QTest::newRow("across a cell boundary") << u"b#c"_s << -1 << 1 << 2;
    QTest::newRow("boundary, second column only") << u"b#c"_s << 2 << 1 << -1;
    QTest::newRow("first column with its #") << u"ab#"_s << 0 << 1 << 2;
    QTest::newRow("link column not searched") << u"ukryty"_s << -1 << 1 << -1;
    QTest::newRow("link column when chosen") << u"ukryty"_s << 1 << 1 << 1;
    QTest::newRow("bold token") << u"#b#"_s << -1 << 1 << 3;
    QTest::newRow("Polish spelling") << u"ząb"_s << -1 << 1 << 3;
    QTest::newRow("after a row holding it twice") << u"ząb"_s << -1 << 4 << 5;
    QTest::newRow("from the header row") << u"ząb"_s << -1 << 0 << 3;
    QTest::newRow("from before the table") << u"ząb"_s << -1 << -1 << 3;
    QTest::newRow("last row") << u"ostatni"_s << -1 << 1 << 5;
    QTest::newRow("beyond the last row") << u"ostatni"_s << -1 << 6 << -1;
    QTest::newRow("header text is no row") << u"nazwa"_s << -1 << 1 << -1;
    QTest::newRow("empty query") << QString() << -1 << 1 << -1;
}

void TestSearchEngine::rowSearch()
{
    QFETCH(QString, query);
    QFETCH(int, searchColumn);
    QFETCH(int, fromRow);
    QFETCH(int, expected);
    const auto model = makeTable({u"Kod"_s, u"Link"_s, u"Nazwa"_s},
                                 {{u"01"_s, u"ukryty"_s, u"Korona"_s},
                                  {u"ab"_s, QString(), u"cd"_s},
                                  {u"03"_s, QString(), u"#B#Ząb#B# i zab"_s},
                                  {u"04"_s, QString(), u"nic"_s},
                                  {u"05"_s, QString(), u"ZĄBEK ostatni"_s}});
    QCOMPARE(findRow(*model, query, searchColumn, fromRow), expected);
}

void TestSearchEngine::rowBeyondTableColumns()
{
    // A restriction kept from another table: the column is not there, its
    // cells read empty, and the row's text is "#" alone.
    const auto model = makeTable({u"A"_s}, {{u"x"_s}});
    QCOMPARE(findRow(*model, u"#"_s, 3), 1);
    QCOMPARE(findRow(*model, u"x"_s, 3), -1);
}

void TestSearchEngine::lineSearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("fromLine");
    QTest::addColumn<int>("expected");

    QTest::newRow("first line") << u"pierwsza"_s << 0 << 0;
    QTest::newRow("from before the text") << u"pierwsza"_s << -3 << 0;
    QTest::newRow("later line") << u"zab"_s << 0 << 1;
    QTest::newRow("skip to the next") << u"zab"_s << 2 << 3;
    QTest::newRow("nothing after") << u"zab"_s << 4 << -1;
    QTest::newRow("beyond the last") << u"pierwsza"_s << 9 << -1;
}

void TestSearchEngine::lineSearch()
{
    QFETCH(QString, query);
    QFETCH(int, fromLine);
    QFETCH(int, expected);
    const QStringList lines{u"Linia pierwsza"_s, u"Ząb"_s, QString(), u"znów ZĄB"_s};
    SearchMatcher matcher(NormalizeForSearch(query));
    QCOMPARE(Items::findLine(lines, matcher, fromLine), expected);
}

void TestSearchEngine::documentMayMatch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("mayMatch");

    QTest::newRow("in a paragraph") << u"ząb"_s << true;
    QTest::newRow("in a table cell") << u"komórka"_s << true;
    QTest::newRow("after a forced line break") << u"druga"_s << true;
    QTest::newRow("across paragraphs") << u"akapit drugi"_s << false;
    QTest::newRow("nowhere") << u"żółw"_s << false;
    QTest::newRow("empty query") << QString() << false;
}

void TestSearchEngine::documentMayMatch()
{
    QFETCH(QString, query);
    QFETCH(bool, mayMatch);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"Pierwszy akapit"_s);
    cursor.insertBlock();
    cursor.insertText(u"drugi, a w nim ZĄB"_s + QChar(QChar::LineSeparator) + u"linia druga"_s);
    cursor.insertTable(1, 2);
    cursor.insertText(u"Komórka"_s);
    SearchMatcher matcher(NormalizeForSearch(query));
    QCOMPARE(Items::documentMayMatch(doc, matcher), mayMatch);
}

void TestSearchEngine::titlesInTreeOrder()
{
    NaviTreeModel tree;
    const int sectionA = tree.addNode(-1, u"Sekcja A"_s, 0);
    tree.addNode(-1, u"Sekcja B – dział"_s, 1);
    // Added last, but in tree order it comes right after its parent.
    tree.addNode(sectionA, u"Dział 01"_s, 2);
    const QVector<int> order = tree.nodesInTreeOrder();
    QCOMPARE(order.size(), 3);

    SearchMatcher matcher(NormalizeForSearch(u"DZIAŁ"_s));
    const int first = Items::findNode(tree, order, matcher, 0);
    QCOMPARE(first, 1);
    QCOMPARE(tree.topicOfNode(order.at(first)), 2);
    const int second = Items::findNode(tree, order, matcher, first + 1);
    QCOMPARE(second, 2);
    QCOMPARE(tree.topicOfNode(order.at(second)), 1);
    QCOMPARE(Items::findNode(tree, order, matcher, second + 1), -1);
}

void TestSearchEngine::topicKind_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("kind");

    QTest::newRow("table") << u"NAME=a\tMODE=TABLE\t"_s << int(Items::TopicKind::Table);
    QTest::newRow("table, mixed case") << u"NAME=a\tMODE=Table\t"_s << int(Items::TopicKind::Table);
    QTest::newRow("text") << u"MODE=rtf\tFILE=a.rtf\t"_s << int(Items::TopicKind::Text);
    QTest::newRow("group") << u"MODE=group\t"_s << int(Items::TopicKind::Group);
    QTest::newRow("no mode") << u"NAME=a\t"_s << int(Items::TopicKind::Other);
    QTest::newRow("trailing space") << u"MODE=TABLE \t"_s << int(Items::TopicKind::Other);
    QTest::newRow("unknown") << u"MODE=HTML\t"_s << int(Items::TopicKind::Other);
}

void TestSearchEngine::topicKind()
{
    QFETCH(QString, record);
    QFETCH(int, kind);
    QCOMPARE(int(Items::topicKind(record)), kind);
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "tst_searchengine.moc"
