#include "tst_cellmarkup.h"

#include "fixedwidthmeasure.h"
#include "recordingrunsink.h"

#include "table/drawmarkupcell.h"
#include "table/drawtextline.h"
#include "table/fontmetricsmeasure.h"
#include "table/measurecelllines.h"
#include "table/wordshapes.h"

#include "core/cp1250.h"
#include "core/textrules.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QFont gridFont(int pointSize)
{
    QFont font(u"Sans Serif"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

// Every distinct cell of the bundled tables that carries markup or is long
// enough to wrap.
QStringList sampleCells()
{
    QSet<QString> seen;
    QStringList cells;
    const QDir dir(QStringLiteral(WEXAL_SAMPLE_DIR));
    const QStringList files = dir.entryList({u"*.txt"_s}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = Wexal::Cp1250::decode(file.readAll());
        for (const QString &line : text.split(u'\n')) {
            for (const QString &field : line.split(u'\t')) {
                const QString cell = Wexal::trimmed(field);
                if ((cell.contains(u'#') || cell.size() > 30) && !seen.contains(cell)) {
                    seen.insert(cell);
                    cells << cell;
                }
            }
        }
    }
    return cells;
}

// Shapes as FontShaper does, but gives the digit 1 the glyph of 2 and moves
// 3 a pixel right.
struct PlantedShaper final : FontShaper
{
    using FontShaper::FontShaper;
    bool shape(QStringView text, std::vector<Glyph> &glyphs) override
    {
        const QList<quint32> digits = rawFont().glyphIndexesForString(u"123"_s);
        const bool shaped = FontShaper::shape(text, glyphs);
        for (Glyph &glyph : glyphs) {
            glyph.xOffset += glyph.index == digits.at(2) ? 64 : 0;
            glyph.index = glyph.index == digits.at(0) ? digits.at(1) : glyph.index;
        }
        return shaped;
    }
};

} // namespace

void TestCellMarkup::realFontWidths()
{
    const QFont font = gridFont(8);
    const FontMetricsMeasure measure(font);
    QCOMPARE(measure.lineHeight(), QFontMetrics(font).height());

    const QString text = u"Wyroby z żelaza, AV Ta fi"_s;
    for (int i = 0; i < 8; ++i) {
        const CellStyle style = CellStyle::fromInt(i);
        QFont styled(font);
        styled.setBold(style.testFlag(CellStyleFlag::Bold));
        styled.setItalic(style.testFlag(CellStyleFlag::Italic));
        styled.setUnderline(style.testFlag(CellStyleFlag::Underline));
        QCOMPARE(measure.font(style), styled);
        QCOMPARE(measure.width(text, style), QFontMetrics(styled).horizontalAdvance(text));
    }
    QVERIFY(measure.width(text, CellStyleFlag::Bold) > measure.width(text, {}));
}

void TestCellMarkup::realFontWordWidths_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QString>("text");

    QByteArray codePage;
    for (int byte = 0x80; byte <= 0xff; ++byte) {
        codePage += char(byte);
        if (byte % 7 == 0)
            codePage += ' ';
    }
    const QString upper = Wexal::Cp1250::decode(codePage);
    const QList<QPair<const char *, QString>> texts = {
        {"kerning pairs", u"AVATAR Tę fiołkową waffle ŁÓDŹ „cytat” – 5 € ™ Wały, Tory, Yacht, Ławy"_s},
        {"spaces", u"  wyroby  usługi   AV  To "_s},
        {"a word in other company", u"wyroby wyroby, wyroby.wyroby (wyroby) fi ffi fl To T o"_s},
        {"no-break spaces", u"10\u00a0% VAT\u00a0AV 8\u00a0%"_s},
        {"code page 0x80-0xFF", upper},
        {"other scripts and controls", u"Ωmega AV ω\ttab za\u00adłącznik אב AV"_s},
        {"a word wider than any column", u"Bardzo_długie_słowo_bez_żadnej_spacji_AVATAR_fiołkową_"_s.repeated(3)},
    };
    for (int size : {8, 11}) {
        for (const auto &[name, text] : texts)
            QTest::addRow("%s at %d pt", name, size) << size << text;
    }
}

void TestCellMarkup::realFontWordWidths()
{
    QFETCH(int, pointSize);
    QFETCH(QString, text);

    // Widths put together from words must be the whole string's width, for
    // every prefix (as the wrap search asks) and every suffix (the same
    // words met again after other ones were remembered).
    const QFont font = gridFont(pointSize);
    const FontMetricsMeasure measure(font);
    for (int i = 0; i < 8; ++i) {
        const CellStyle style = CellStyle::fromInt(i);
        const QFontMetrics metrics(measure.font(style));
        for (qsizetype k = 1; k <= text.size(); ++k) {
            const QString prefix = text.left(k);
            const QString suffix = text.right(k);
            if (measure.width(prefix, style) != metrics.horizontalAdvance(prefix)
                || measure.width(suffix, style) != metrics.horizontalAdvance(suffix))
                QFAIL(qPrintable(u"style %1: \"%2\" or \"%3\""_s.arg(i).arg(prefix, suffix)));
        }
    }
}

void TestCellMarkup::realFontLineDrawsAsText_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("drawnBefore");
    QTest::addColumn<int>("styleBefore"); // -1: the same style

    const int bold = int(CellStyleFlag::Bold);
    const int italic = int(CellStyleFlag::Italic);
    const int underlined = int(CellStyleFlag::Underline);
    QTest::newRow("plain") << 8 << 0 << false << u"Wyroby z żelaza, AV Ta fi"_s << QString() << -1;
    QTest::newRow("trailing spaces") << 8 << 0 << false << u"zob. wyroby  "_s << QString() << -1;
    QTest::newRow("italic overhang") << 8 << italic << false << u"(obniżona stawka) fff"_s << QString() << -1;
    QTest::newRow("italic overhang at the end") << 8 << italic << false << u"fff (obniżona stawka) fff łff"_s
                                                << QString() << -1;
    QTest::newRow("italic link overhang") << 11 << italic << true << u"zob. fiołkową ff"_s << QString() << -1;
    QTest::newRow("bold italic") << 11 << (bold | italic) << false << u"ŁÓDŹ „cytat” – 5 € ™"_s << QString() << -1;
    QTest::newRow("underline style") << 8 << underlined << false << u"usługi ryżu "_s << QString() << -1;
    QTest::newRow("link") << 8 << 0 << true << u"zob. pieczywo gipsu"_s << QString() << -1;
    QTest::newRow("bold link") << 11 << bold << true << u"Tę fiołkową waffle"_s << QString() << -1;
    QTest::newRow("other scripts") << 8 << 0 << true << u"Ωmega AV ω"_s << QString() << -1;
    QTest::newRow("control") << 8 << 0 << false << u"a\tb"_s << QString() << -1;
    // Words drawn twice before (their glyphs kept) among words never drawn.
    QTest::newRow("known among new") << 8 << 0 << false << u"wyroby ryżu, AVATAR gipsu fiołkową Ta"_s
                                     << u"ryżu, Ta wyroby fiołkową"_s << -1;
    QTest::newRow("new among known") << 11 << 0 << false << u"wyroby ryżu, AVATAR gipsu fiołkową Ta"_s
                                     << u"AVATAR gipsu Ta"_s << -1;
    QTest::newRow("link mixed") << 8 << 0 << true << u"zob. pieczywo gipsu wyroby Tę"_s << u"gipsu Tę"_s << -1;
    QTest::newRow("bold underlined mixed") << 11 << (bold | underlined) << false << u"ŁÓDŹ „cytat” – 5 € ™"_s
                                           << u"„cytat” 5 ™"_s << -1;
    // Underlining moves no glyph: words met without it are drawn from what
    // was kept of them.
    QTest::newRow("underlined after the same words plain") << 8 << underlined << false << u"wyroby ryżu, AVATAR Ta"_s
                                                           << u"ryżu, AVATAR wyroby"_s << 0;
    QTest::newRow("bold underlined after bold") << 11 << (bold | underlined) << false << u"Tę fiołkową waffle"_s
                                                << u"fiołkową Tę"_s << bold;
}

void TestCellMarkup::realFontLineDrawsAsText()
{
    QFETCH(int, pointSize);
    QFETCH(int, style);
    QFETCH(bool, underline);
    QFETCH(QString, text);
    QFETCH(QString, drawnBefore);
    QFETCH(int, styleBefore);

    // A run drawn as the grid draws it must give the very pixels of the
    // text drawn into its area: the first time (as text) and later (from
    // remembered glyphs, some of them kept from other texts drawn before),
    // fitting its area and cut by it.
    const FontMetricsMeasure measure(gridFont(pointSize));
    const CellStyle cellStyle = CellStyle::fromInt(style);
    QFont font = measure.font(cellStyle);
    if (underline)
        font.setUnderline(true);
    if (!drawnBefore.isEmpty()) {
        const CellStyle before = styleBefore < 0 ? cellStyle : CellStyle::fromInt(styleBefore);
        QImage scratch(400, 40, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&scratch);
        painter.setFont(styleBefore < 0 ? font : measure.font(before));
        for (int time = 0; time < 2; ++time)
            Wexal::DrawTextLine(painter, measure, QRect(0, 0, 400, 40), drawnBefore, before);
    }
    const int width = measure.width(text, cellStyle);
    const auto paint = [&](const QRect &area, bool asText) {
        QImage image(width + 40, measure.lineHeight() + 20, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(255, 255, 215));
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(underline ? QColor(0, 0, 255) : QColor(Qt::black));
        if (asText)
            painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        else
            Wexal::DrawTextLine(painter, measure, area, text, cellStyle);
        return image;
    };
    for (const int cut : {0, 1, 3}) {
        const QRect area(5, 4, width - cut, measure.lineHeight());
        const QImage expected = paint(area, true);
        for (int time = 1; time <= 3; ++time) {
            if (paint(area, false) != expected)
                QFAIL(qPrintable(u"differs %1 pixels narrower, drawing %2"_s.arg(cut).arg(time)));
        }
    }
}

void TestCellMarkup::realFontShortcutMatchesLiteralSearch_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QString>("text");

    const QStringList cells = {
        u"#B#Usługi#B# w zakresie naprawy i konserwacji wyrobów metalowych gotowych, "
        "z wyłączeniem maszyn i urządzeń"_s,
        u"Zob. #L#dział 25#L#KWU@25@25.11# oraz #I#wyjaśnienia#I# do #L#grupy "
        "25.99#L#KWU@25@25.99.1#; stawka #B#8%#B# lub #B##U#23%#U##B#"_s,
        u"AVATAR Tę fiołkową waffle ŁÓDŹ „cytat” – 5 € ™ Wały, Tory, Yacht, Ławy"_s,
        u"#I#wyłącznie#I#:#N#- #B#ex#B# 01.11.1#N#- usługi związane z uprawą zbóż, "
        "roślin strączkowych i oleistych (bez ryżu)"_s,
        u"Bardzo_długie_słowo_bez_żadnej_spacji_które_musi_się_łamać_w_środku"_s,
        u"aaaa #B#bbbb cccc#B# dddd #I#eeee ffff#I# gggg  hhhh   iiii"_s,
    };
    for (int size : {8, 11}) {
        for (qsizetype i = 0; i < cells.size(); ++i)
            QTest::addRow("cell %d at %d pt", int(i), size) << size << cells.at(i);
    }
}

void TestCellMarkup::realFontSampleCells()
{
    const QStringList cells = sampleCells();
    QVERIFY(cells.size() > 100);
    const FontMetricsMeasure shortcut(gridFont(8));
    const LiteralMeasure literal(shortcut);
    for (const QString &text : cells) {
        for (int width = 40; width <= 480; width += 37) {
            QString fastRecord = text + u"#R#"_s;
            QString slowRecord = fastRecord;
            RecordingRunSink fastSink;
            RecordingRunSink slowSink;
            Wexal::DrawMarkupCell(0, width, 0, text, &fastRecord, false, 13, shortcut, fastSink);
            Wexal::DrawMarkupCell(0, width, 0, text, &slowRecord, false, 13, literal, slowSink);
            if (Wexal::MeasureCellLines(width, text, shortcut)
                    != Wexal::MeasureCellLines(width, text, literal)
                || fastSink.runs != slowSink.runs || fastRecord != slowRecord)
                QFAIL(qPrintable(u"differs for \""_s + text + u"\" at width "_s
                                 + QString::number(width)));
        }
    }
}

void TestCellMarkup::realFontShortcutMatchesLiteralSearch()
{
    QFETCH(int, pointSize);
    QFETCH(QString, text);

    // The search that starts from the single advances must find the same
    // breaks as asking the whole-string width of every prefix.
    const FontMetricsMeasure shortcut(gridFont(pointSize));
    const LiteralMeasure literal(shortcut);
    for (int width = 8; width <= 520; width += 3) {
        const int fastLines = Wexal::MeasureCellLines(width, text, shortcut);
        const int slowLines = Wexal::MeasureCellLines(width, text, literal);
        QString fastRecord = text + u"#R#"_s;
        QString slowRecord = fastRecord;
        RecordingRunSink fastSink;
        RecordingRunSink slowSink;
        Wexal::DrawMarkupCell(3, width, 40, text, &fastRecord, false, 13, shortcut, fastSink);
        Wexal::DrawMarkupCell(3, width, 40, text, &slowRecord, false, 13, literal, slowSink);
        if (fastLines != slowLines || fastSink.runs != slowSink.runs || fastRecord != slowRecord)
            QFAIL(qPrintable(u"differs at width "_s + QString::number(width)));
    }
}

void TestCellMarkup::realFontOwnShaping_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("letterSpacing");
    QTest::addColumn<bool>("kerning");
    QTest::addColumn<bool>("switchedOff"); // WEXAL_NO_OWN_SHAPING=1
    // A word asked first of a shaper that gives 1 the glyph of 2 and moves 3
    // a pixel right; empty: the font's own shaper.
    QTest::addColumn<QString>("planted");
    for (int size : {8, 11}) {
        for (int style : {0, 1, 2, 3})
            QTest::addRow("style %d at %d pt", style, size) << size << style << 0 << true << false << QString();
    }
    // Left to the layout, which spaces or shapes them its own way.
    QTest::newRow("letter spacing") << 8 << 0 << 1 << true << false << QString();
    QTest::newRow("no kerning") << 8 << 1 << 0 << false << false << QString();
    QTest::newRow("switched off") << 8 << 0 << 0 << true << true << QString();
    // Digits share one advance: only the glyphs or their places tell.
    QTest::newRow("planted glyph difference") << 8 << 0 << 0 << true << false << u"2021"_s;
    QTest::newRow("planted position difference") << 11 << 0 << 0 << true << false << u"2023"_s;
}

void TestCellMarkup::realFontOwnShaping()
{
    QFETCH(int, pointSize);
    QFETCH(int, style);
    QFETCH(int, letterSpacing);
    QFETCH(bool, kerning);
    QFETCH(bool, switchedOff);
    QFETCH(QString, planted);

    // New words are shaped without the toolkit's layout: every word of the
    // sample tables and every pair of letters that kern must get the width
    // and the glyphs the layout gives, and the shaper must stay in use for
    // a font the layout shapes plainly.
    QStringList words;
    QSet<QString> seen;
    for (const QString &cell : sampleCells()) {
        for (const QString &word : cell.split(u' ', Qt::SkipEmptyParts)) {
            for (const QString &form : {word, QString(word + u' ')}) {
                if (FontMetricsMeasure::monotonicText(form) && !seen.contains(form)) {
                    seen.insert(form);
                    words << form;
                }
            }
        }
    }
    const QString letters = u"AVTWYLPFfrvyo.,-„”ąęóŁŚŻ7"_s;
    for (const QChar a : letters) {
        for (const QChar b : letters)
            words << QString(a) + b;
    }
    // Every character of the code page, alone and among letters that kern.
    QByteArray codePage;
    for (int byte = 0x20; byte <= 0xff; ++byte)
        codePage += char(byte);
    for (const QChar ch : Wexal::Cp1250::decode(codePage)) {
        const QString alone(ch);
        if (FontMetricsMeasure::monotonicText(alone))
            words << alone << u"T"_s + ch + u"Ay"_s << u"f"_s + ch + u"V."_s;
    }
    QVERIFY(words.size() > 1500);
    if (!planted.isEmpty())
        words.prepend(planted);

    QFont font = gridFont(pointSize);
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    font.setKerning(kerning);
    const bool own = letterSpacing == 0 && kerning && !switchedOff;
    if (switchedOff)
        qputenv("WEXAL_NO_OWN_SHAPING", "1");
    const WordShapes::MakeShaper plantOne = [](const QRawFont &raw, const QFont &f) -> std::unique_ptr<FontShaper> {
        return std::make_unique<PlantedShaper>(raw, f.stretch(), f.pointSizeF());
    };
    WordShapes shapes(font, planted.isEmpty() ? nullptr : plantOne);
    qunsetenv("WEXAL_NO_OWN_SHAPING");
    QCOMPARE(shapes.shapesOwn(), own);
    const QFontMetricsF metrics(font);
    for (const QString &word : std::as_const(words)) {
        QTextLayout layout(word, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        QCOMPARE(runs.size(), 1);
        QList<QPointF> expected = runs.front().positions();
        for (QPointF &position : expected)
            position.ry() -= line.ascent();

        const int width = shapes.wordWidth(word);
        QGlyphRun run;
        if (width != qRound(metrics.horizontalAdvance(word) * 64)
            || (shapes.shapesOwn() && (!shapes.glyphs(word, run) || run.glyphIndexes() != runs.front().glyphIndexes()
                        || run.positions() != expected)))
            QFAIL(qPrintable(u"differs for \""_s + word + u"\""_s));
    }
    QCOMPARE(shapes.shapesOwn(), own && planted.isEmpty());
}
