#include "tst_cellmarkup.h"

#include "fixedwidthmeasure.h"
#include "recordingrunsink.h"

#include "table/drawmarkupcell.h"
#include "table/measurecelllines.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;


namespace {

constexpr int kLineHeight = 13;

QStringList drawnRuns(const QString &text, int left, int width, int top,
                      const CellTextMeasure &measure, QString *record = nullptr)
{
    RecordingRunSink sink;
    Wexal::DrawMarkupCell(left, width, top, text, record, false, kLineHeight, measure, sink);
    return sink.runs;
}

} // namespace

void TestCellMarkup::measureLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("lines");

    QTest::newRow("empty cell") << QString() << 100 << 1;
    QTest::newRow("spaces only") << u"   "_s << 100 << 1;
    QTest::newRow("bold then plain, fits") << u"#B#bold#B# plain"_s << 200 << 1;
    // Measured as one string in the regular font at the end: 10 x 6 + 4 = 64.
    QTest::newRow("bold then plain, exact width") << u"#B#bold#B# plain"_s << 64 << 1;
    QTest::newRow("bold then plain, one pixel less") << u"#B#bold#B# plain"_s << 63 << 2;
    // "#B#xy" in italic overflows 40 at y, leaving z: as bold italic "xyz" would fit.
    QTest::newRow("italic, then bold token shown") << u"#I##B#xyz"_s << 40 << 2;
    // Bold italic "xyz" is 27 + 4 > 30; bold alone would fit "xyzw" up to w.
    QTest::newRow("bold and italic in one step") << u"#B##I#xyzw"_s << 30 << 2;
    QTest::newRow("forced line break") << u"first#N#second"_s << 200 << 2;
    QTest::newRow("two breaks first") << u"#N##N#x"_s << 200 << 3;
    QTest::newRow("break at the end") << u"first#N#"_s << 200 << 1;
    QTest::newRow("break then spaces") << u"first#N#   "_s << 200 << 1;
    // 16 characters at 40 pixels: 7 per line (the seventh overflows 36).
    QTest::newRow("word longer than the cell") << u"abcdefghijklmnop"_s << 40 << 3;
    QTest::newRow("wrap at last space") << u"aaaa bbbb cccc dddd eeee"_s << 100 << 2;
    QTest::newRow("wrap after two spaces") << u"aaaa bbbb cccc  dddd"_s << 100 << 2;
    QTest::newRow("whole-line measure: 3 lines") << u"aaaa #B#bbbb cccc#B#"_s << 60 << 3;
    QTest::newRow("link over two lines") << u"see #L#aaaa bbbb#L#SIG@K@R# end"_s << 60 << 2;
    QTest::newRow("link target takes no room") << u"#L#ab#L#VERYLONGSIGNATURE@KEY@ROW#"_s << 30
                                               << 1;
    QTest::newRow("unmatched bold") << u"#B#abcde"_s << 30 << 2;
    QTest::newRow("same text plain") << u"abcde"_s << 30 << 1;
    QTest::newRow("unmatched italic") << u"#I#abcdef"_s << 40 << 2;
    // Nothing is swallowed: "abcdefgh" overflows 40 at g.
    QTest::newRow("closing link without #") << u"#L#abc#L#defgh"_s << 40 << 2;
    // The target eats the "#" of "#B#", so "B#cdefgh" stays regular text.
    QTest::newRow("target swallows a token's #") << u"#L#ab#L#S@K@R#B#cdefgh"_s << 55 << 2;
    // "#N#" ends the line in the step that made it bold; measured in bold the
    // line overflows, so it still wraps at its last space.
    QTest::newRow("break after style change wraps") << u"aaaaaa aaaaaa#B##N#bbbbbbbb"_s << 90
                                                    << 3;
    QTest::newRow("negative width") << u"abc"_s << -10 << 3;
    QTest::newRow("lower-case token is text") << u"#b#abcde"_s << 30 << 2;
}

void TestCellMarkup::measureLines()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, lines);

    const FixedWidthMeasure measure;
    QCOMPARE(Wexal::MeasureCellLines(width, text, measure), lines);
}

void TestCellMarkup::drawRuns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("runs");

    // Cell left 10, top 20: text starts at x 12; lines at 20, 33, 46.
    QTest::newRow("empty cell") << QString() << 100 << QStringList();
    QTest::newRow("bold then plain: two runs")
        << u"#B#bold#B# plain"_s << 200 << QStringList{u"12,20,28:B:bold"_s, u"40,20,36:: plain"_s};
    QTest::newRow("italic, then bold token shown")
        << u"#I##B#x"_s << 200 << QStringList{u"12,20,32:I:#B#x"_s};
    QTest::newRow("bold and italic in one step")
        << u"#B##I#x"_s << 200 << QStringList{u"12,20,9:BI:x"_s};
    QTest::newRow("underline, then bold token shown")
        << u"#U##B#x"_s << 200 << QStringList{u"12,20,24:U:#B#x"_s};
    QTest::newRow("forced line break")
        << u"first#N#second"_s << 200 << QStringList{u"12,20,30::first"_s, u"12,33,36::second"_s};
    QTest::newRow("two breaks first") << u"#N##N#x"_s << 200 << QStringList{u"12,46,6::x"_s};
    QTest::newRow("rest trimmed between lines")
        << u"first#N#   second   "_s << 200
        << QStringList{u"12,20,30::first"_s, u"12,33,36::second"_s};
    QTest::newRow("first line keeps its leading spaces")
        << u"  x"_s << 200 << QStringList{u"12,20,18::  x"_s};
    QTest::newRow("word longer than the cell")
        << u"abcdefghijklmnop"_s << 40
        << QStringList{u"12,20,42::abcdefg"_s, u"12,33,42::hijklmn"_s, u"12,46,12::op"_s};
    QTest::newRow("wrap at last space")
        << u"aaaa bbbb cccc dddd eeee"_s << 100
        << QStringList{u"12,20,84::aaaa bbbb cccc"_s, u"12,33,54::dddd eeee"_s};
    QTest::newRow("wrap after two spaces keeps one")
        << u"aaaa bbbb cccc  dddd"_s << 100
        << QStringList{u"12,20,90::aaaa bbbb cccc "_s, u"12,33,24::dddd"_s};
    QTest::newRow("style carries to the next line")
        << u"#B#aaaa bbbb"_s << 40 << QStringList{u"12,20,28:B:aaaa"_s, u"12,33,28:B:bbbb"_s};
    // Drawn runs never move: "bbbb" stays on the first line.
    QTest::newRow("run by run: 2 lines")
        << u"aaaa #B#bbbb cccc#B#"_s << 60
        << QStringList{u"12,20,30::aaaa "_s, u"42,20,28:B:bbbb"_s, u"12,33,28:B:cccc"_s};
    QTest::newRow("link over two lines")
        << u"see #L#aaaa bbbb#L#SIG@K@R# end"_s << 60
        << QStringList{u"12,20,24::see "_s, u"36,20,24:UL:aaaa"_s, u"12,33,24:UL:bbbb"_s,
                       u"36,33,24:: end"_s};
    QTest::newRow("style change before closing link")
        << u"#L#x#B##L#S@K@R#y"_s << 200 << QStringList{u"12,20,6:UL:x"_s, u"18,20,7:B:y"_s};
    QTest::newRow("unmatched link") << u"#L#abc"_s << 200 << QStringList{u"12,20,18:UL:abc"_s};
    QTest::newRow("unmatched underline") << u"ab#U#cd"_s << 200
                                         << QStringList{u"12,20,12::ab"_s, u"24,20,12:U:cd"_s};
    QTest::newRow("closing link without #")
        << u"#L#abc#L#def"_s << 200 << QStringList{u"12,20,18:UL:abc"_s, u"30,20,18::def"_s};
    QTest::newRow("target swallows a token's #")
        << u"#L#ab#L#S@K@R#B#xy"_s << 200 << QStringList{u"12,20,12:UL:ab"_s, u"24,20,24::B#xy"_s};
    QTest::newRow("break right after a target")
        << u"#L#a#L#S@K@R##N#b"_s << 200 << QStringList{u"12,20,6:UL:a"_s, u"12,33,6::b"_s};
    QTest::newRow("underline toggled off inside a link")
        << u"#L#a#U#b#U#c#L#S@K@R#d"_s << 200
        << QStringList{u"12,20,6:UL:a"_s, u"18,20,6:UL:b"_s, u"24,20,6:L:c"_s, u"30,20,6::d"_s};
    QTest::newRow("closing link ends underline")
        << u"#U#a#L#b#L#S@K@R#c"_s << 200
        << QStringList{u"12,20,6:U:a"_s, u"18,20,6:UL:b"_s, u"24,20,6::c"_s};
    QTest::newRow("unknown token is text") << u"a#X#b"_s << 200 << QStringList{u"12,20,30::a#X#b"_s};
    QTest::newRow("lower-case token is text") << u"a#b#c"_s << 200
                                              << QStringList{u"12,20,30::a#b#c"_s};
}

void TestCellMarkup::drawRuns()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, runs);

    const FixedWidthMeasure measure;
    QCOMPARE(drawnRuns(text, 10, width, 20, measure), runs);
}

void TestCellMarkup::drawRunsCarryRowState()
{
    const FixedWidthMeasure measure;
    RecordingRunSink sink;
    Wexal::DrawMarkupCell(0, 200, 0, u"a#L#b#L#S@K@R#"_s, nullptr, true, 17, measure, sink);
    QCOMPARE(sink.runs, (QStringList{u"2,0,6:C:a"_s, u"8,0,6:ULC:b"_s}));
    QCOMPARE(sink.heights, (QList<int>{17, 17}));
    // Two lines of "first#N#second" take 2 x 13 = 26 pixels.
    QCOMPARE(Wexal::MeasureCellLines(200, u"first#N#second"_s, measure) * kLineHeight, 26);
}

void TestCellMarkup::linkRecord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("recordBefore");
    QTest::addColumn<QString>("recordAfter");

    // "link" ends the first line; only "text", on the second line (row top
    // 52, so 65 to 78), gets the area.
    const QString twoLines = u"abcdef ghijkl #L#link text#L#S@K@R#"_s;
    QTest::newRow("area on the second line") << twoLines << 290 << 52 << 120
                                             << twoLines + u"#R#"_s
                                             << twoLines + u"#R#L1=292#T1=65#R1=316#B1=78#C=1#"_s;

    const QString one = u"X#L#a#L#S@K@R#"_s;
    QTest::newRow("old areas replaced") << one << 0 << 0 << 100
                                        << one + u"#R#L1=1#T1=2#R1=3#B1=4#C=1#"_s
                                        << one + u"#R#L1=8#T1=0#R1=14#B1=13#C=1#"_s;

    const QString emptyLastRun = u"#L#x#B##L#S@K@R#y"_s;
    QTest::newRow("empty last run: counted, no area") << emptyLastRun << 10 << 20 << 200
                                                      << emptyLastRun + u"#R#"_s
                                                      << emptyLastRun + u"#R#C=1#"_s;

    const QString second = u"#L#x#B##L#S@K@R#y #L#z#L#T@K@R#"_s;
    QTest::newRow("area numbered by the count") << second << 10 << 20 << 200
                                                << second + u"#R#"_s
                                                << second + u"#R#L2=32#T2=20#R2=39#B2=33#C=2#"_s;

    const QString twoLinks = u"#L#ab#L#S@K@1#, #L#cd#L#S@K@2#"_s;
    QTest::newRow("two links on one line")
        << twoLinks << 0 << 0 << 200 << twoLinks + u"#R#"_s
        << twoLinks + u"#R#L1=2#T1=0#R1=14#B1=13#L2=26#T2=0#R2=38#B2=13#C=2#"_s;

    QTest::newRow("unmatched link: counted, no area") << u"ab#L#cd"_s << 0 << 0 << 200
                                                      << u"ab#L#cd#R#"_s << u"ab#L#cd#R#C=1#"_s;

    QTest::newRow("record without the marker gets it")
        << one << 0 << 0 << 100 << one << one + u"#R#L1=8#T1=0#R1=14#B1=13#C=1#"_s;

    QTest::newRow("empty cell leaves the record")
        << QString() << 0 << 0 << 100 << u"#R#L1=1#T1=1#R1=1#B1=1#C=1#"_s
        << u"#R#L1=1#T1=1#R1=1#B1=1#C=1#"_s;
}

void TestCellMarkup::linkRecord()
{
    QFETCH(QString, text);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(QString, recordBefore);
    QFETCH(QString, recordAfter);

    const FixedWidthMeasure measure;
    QString record = recordBefore;
    drawnRuns(text, left, width, top, measure, &record);
    QCOMPARE(record, recordAfter);
    // Every paint writes the same again.
    drawnRuns(text, left, width, top, measure, &record);
    QCOMPARE(record, recordAfter);
}

void TestCellMarkup::shortcutMatchesLiteralSearch()
{
    // Random markup, tokens cut in half and stray "#" included, at every
    // width from hidden to comfortable: the one-step answer of the fixed
    // metrics must match asking every prefix.
    static const QStringList pieces = {
        u"a"_s,   u"bb"_s,  u"ccc"_s,    u" "_s,   u"  "_s, u"#B#"_s, u"#I#"_s, u"#U#"_s,
        u"#N#"_s, u"#L#"_s, u"S@K@R#"_s, u"#"_s,   u"@"_s,  u"B#"_s,  u"#L"_s,  u"dddddddddd"_s,
    };
    QRandomGenerator random(20100);
    const FixedWidthMeasure shortcut;
    const FixedWidthMeasure literal(true);
    for (int sample = 0; sample < 300; ++sample) {
        QString text;
        const int count = random.bounded(1, 30);
        for (int i = 0; i < count; ++i)
            text += pieces.at(random.bounded(int(pieces.size())));
        for (int width = -6; width <= 130; ++width) {
            const int fastLines = Wexal::MeasureCellLines(width, text, shortcut);
            const int slowLines = Wexal::MeasureCellLines(width, text, literal);
            QString fastRecord = text + u"#R#"_s;
            QString slowRecord = fastRecord;
            const QStringList fastRuns = drawnRuns(text, 5, width, 7, shortcut, &fastRecord);
            const QStringList slowRuns = drawnRuns(text, 5, width, 7, literal, &slowRecord);
            if (fastLines != slowLines || fastRuns != slowRuns || fastRecord != slowRecord)
                QFAIL(qPrintable(u"differs for \""_s + text + u"\" at width "_s
                                 + QString::number(width)));
        }
    }
}
QTEST_MAIN(TestCellMarkup)
