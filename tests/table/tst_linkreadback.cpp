#include "tst_cellmarkup.h"

#include "fixedwidthmeasure.h"
#include "recordingrunsink.h"

#include "table/drawmarkupcell.h"
#include "table/linkareas.h"
#include "table/linktarget.h"

#include <QTest>

using namespace Qt::StringLiterals;

void TestCellMarkup::linkAtPoint_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("link");

    const QString example = u"a #L#b#L#S@K@R##R#L1=304#T1=65#R1=371#B1=78#C=1#"_s;
    QTest::newRow("inside") << example << 330 << 70 << 1;
    QTest::newRow("left top corner") << example << 304 << 65 << 1;
    QTest::newRow("right bottom corner") << example << 371 << 78 << 1;
    QTest::newRow("left of the area") << example << 303 << 70 << 0;
    QTest::newRow("right of the area") << example << 372 << 70 << 0;
    QTest::newRow("above the area") << example << 330 << 64 << 0;
    QTest::newRow("below the area") << example << 330 << 79 << 0;

    QTest::newRow("never painted: no count") << u"#L#b#L#S@K@R##R#"_s << 0 << 0 << 0;
    QTest::newRow("areas without count") << u"x#R#L1=0#T1=0#R1=9#B1=9#"_s << 5 << 5 << 0;
    QTest::newRow("no marker") << u"xL1=0#T1=0#R1=9#B1=9#C=1#"_s << 5 << 5 << 0;
    QTest::newRow("link beyond the count") << u"#R#L2=0#T2=0#R2=9#B2=9#C=1#"_s << 5 << 5 << 0;
    QTest::newRow("area missing its bottom") << u"#R#L1=0#T1=0#R1=9#C=1#"_s << 5 << 5 << 0;
    QTest::newRow("first link only counted, no area")
        << u"#R#L2=0#T2=0#R2=9#B2=9#C=2#"_s << 5 << 5 << 2;
    const QString overlapping = u"#R#L1=0#T1=0#R1=10#B1=10#L2=5#T2=5#R2=20#B2=20#C=2#"_s;
    QTest::newRow("overlap: lower number wins") << overlapping << 7 << 7 << 1;
    QTest::newRow("overlap: only the second") << overlapping << 15 << 15 << 2;
    QTest::newRow("link 11 is not link 1") << u"#R#L11=0#T11=0#R11=9#B11=9#C=11#"_s << 5 << 5
                                           << 11;
    QTest::newRow("cell text before the marker ignored")
        << u"C=1#L1=0#T1=0#R1=9#B1=9##R#C=0#"_s << 5 << 5 << 0;
    QTest::newRow("row partly scrolled away") << u"#R#L1=2#T1=-5#R1=20#B1=8#C=1#"_s << 3 << 0
                                              << 1;
}

void TestCellMarkup::linkAtPoint()
{
    QFETCH(QString, record);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, link);

    QCOMPARE(Wexal::linkAtPoint(record, x, y), link);
}

void TestCellMarkup::readLinkAreasInOrder()
{
    QString record = u"t#R#"_s;
    Wexal::appendLinkArea(record, LinkArea{3, 30, 31, 32, 33});
    Wexal::appendLinkArea(record, LinkArea{1, 10, 11, 12, 13});
    Wexal::appendLinkCount(record, 3);
    QCOMPARE(record, u"t#R#L3=30#T3=31#R3=32#B3=33#L1=10#T1=11#R1=12#B1=13#C=3#"_s);

    // Read back by link number, not by the order written.
    const QList<LinkArea> areas = Wexal::readLinkAreas(record);
    QCOMPARE(areas.size(), 2);
    QCOMPARE(areas.at(0).link, 1);
    QCOMPARE(areas.at(0).left, 10);
    QCOMPARE(areas.at(0).top, 11);
    QCOMPARE(areas.at(0).right, 12);
    QCOMPARE(areas.at(0).bottom, 13);
    QCOMPARE(areas.at(1).link, 3);
    QCOMPARE(areas.at(1).bottom, 33);

    Wexal::cutLinkAreas(record);
    QCOMPARE(record, u"t#R#"_s);
    QVERIFY(Wexal::readLinkAreas(record).isEmpty());
}

void TestCellMarkup::hitTestOverManyLinks_data()
{
    // One cell of 100,000 links, ten to a line, as the painting records
    // them: link i at column (i - 1) % 10, line (i - 1) / 10, 40 by 12
    // pixels, with gaps between. A hit test that went through the record
    // once for every link would take hours over it; the suite's timeout
    // stops that long before.
    constexpr int kLinks = 100000;
    QString record;
    for (int i = 1; i <= kLinks; ++i)
        record += u"#L#s%1#L#S@K@%1# "_s.arg(i);
    Wexal::cutLinkAreas(record);
    for (int i = 1; i <= kLinks; ++i) {
        const int left = 10 + (i - 1) % 10 * 50;
        const int top = 20 + (i - 1) / 10 * 14;
        Wexal::appendLinkArea(record, LinkArea{i, left, top, left + 40, top + 12});
    }
    Wexal::appendLinkCount(record, kLinks);

    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("link");
    QTest::newRow("first link") << record << 30 << 26 << 1;
    QTest::newRow("a link in the middle") << record << 10 + 4 * 50 << 20 + 4999 * 14 + 12 << 49995;
    QTest::newRow("last link") << record << 10 + 9 * 50 + 40 << 20 + 9999 * 14 << kLinks;
    QTest::newRow("between two links") << record << 55 << 26 << 0;
    QTest::newRow("below every link") << record << 30 << 20 + 10000 * 14 << 0;
}

void TestCellMarkup::hitTestOverManyLinks()
{
    QFETCH(QString, record);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, link);

    QCOMPARE(Wexal::linkAtPoint(record, x, y), link);
}

void TestCellMarkup::drawnAreasHitOnlyTheLastRun()
{
    // "aaaa" ends the first line (x 36 to 60), "bbbb" starts the second
    // (x 12 to 36, y 33 to 46) and closes the link.
    const QString text = u"see #L#aaaa bbbb#L#SIG@K@R# end"_s;
    QString record = text + u"#R#"_s;
    const FixedWidthMeasure measure;
    RecordingRunSink sink;
    Wexal::DrawMarkupCell(10, 60, 20, text, &record, false, 13, measure, sink);

    QCOMPARE(Wexal::linkAtPoint(record, 40, 25), 0);
    QCOMPARE(Wexal::linkAtPoint(record, 12, 33), 1);
    QCOMPARE(Wexal::linkAtPoint(record, 36, 46), 1);
    QCOMPARE(Wexal::linkAtPoint(record, 37, 40), 0);
    const std::optional<LinkTarget> target = Wexal::readLinkTarget(record, 1);
    QVERIFY(target);
    QCOMPARE(target->signature, u"SIG"_s);
    QCOMPARE(target->key, u"K"_s);
    QCOMPARE(target->rowKey, u"R"_s);
}

void TestCellMarkup::linkTarget_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("link");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("signature");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("rowKey");

    QTest::newRow("first link") << u"see #L#text#L#KWU@DZ5@01.01#more"_s << 1 << true
                                << u"KWU"_s << u"DZ5"_s << u"01.01"_s;
    const QString two = u"#L#a#L#S1@K1@R1# and #L#b#L#S2@K2@R2#"_s;
    QTest::newRow("second link") << two << 2 << true << u"S2"_s << u"K2"_s << u"R2"_s;
    QTest::newRow("only two links") << two << 3 << false << QString() << QString() << QString();
    QTest::newRow("no link zero") << two << 0 << false << QString() << QString() << QString();
    QTest::newRow("without @: all row key")
        << u"#L#a#L#0101#"_s << 1 << true << QString() << QString() << u"0101"_s;
    QTest::newRow("without @, later text has @")
        << u"#L#a#L#0101# x@y@z"_s << 1 << true << QString() << QString() << u"0101"_s;
    QTest::newRow("one @: no key") << u"#L#a#L#SIG@0101#"_s << 1 << true << u"SIG"_s << QString()
                                   << u"0101"_s;
    QTest::newRow("third @ belongs to the row key")
        << u"#L#a#L#S@K@R@X#"_s << 1 << true << u"S"_s << u"K"_s << u"R@X"_s;
    QTest::newRow("target runs to the end") << u"#L#a#L#S@K@R"_s << 1 << true << u"S"_s << u"K"_s
                                            << u"R"_s;
    QTest::newRow("read from the record")
        << u"#L#a#L#S@K@R##R#L1=2#T1=0#R1=8#B1=13#C=1#"_s << 1 << true << u"S"_s << u"K"_s
        << u"R"_s;
    QTest::newRow("empty target") << u"#L#a#L##x"_s << 1 << true << QString() << QString()
                                  << QString();
    QTest::newRow("unclosed link") << u"#L#abc"_s << 1 << false << QString() << QString()
                                   << QString();
    QTest::newRow("letter case kept") << u"#L#a#L#kwu@Dz@ab#"_s << 1 << true << u"kwu"_s
                                      << u"Dz"_s << u"ab"_s;
}

void TestCellMarkup::linkTarget()
{
    QFETCH(QString, cell);
    QFETCH(int, link);
    QFETCH(bool, found);
    QFETCH(QString, signature);
    QFETCH(QString, key);
    QFETCH(QString, rowKey);

    const std::optional<LinkTarget> target = Wexal::readLinkTarget(cell, link);
    QCOMPARE(target.has_value(), found);
    if (!found)
        return;
    QCOMPARE(target->signature, signature);
    QCOMPARE(target->key, key);
    QCOMPARE(target->rowKey, rowKey);
}
