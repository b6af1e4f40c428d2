#include "recordingrunsink.h"

#include "table/drawmarkupcell.h"
#include "table/fontmetricsmeasure.h"
#include "table/painterrunsink.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// The font's map of characters cut after U+00FF (Polish letters and all
// beyond come from another font) and its ascent lowered by a sixth of an
// em: a line holding letters from elsewhere is taller than its own. The
// toolkit reads the map for the full Unicode range (platform 3, encoding 10).
QByteArray cutFont(QByteArray font)
{
    const auto at = [&font](qsizetype offset) { return qFromBigEndian<quint32>(font.constData() + offset); };
    const auto table = [&](const char *tag) {
        qsizetype record = 12;
        while (font.mid(record, 4) != tag)
            record += 16;
        return at(record + 8);
    };
    qsizetype map = table("cmap") + 4;
    while (at(map) != 0x3000a)
        map += 8;
    map = table("cmap") + at(map + 4);
    quint32 groups = 0;
    while (at(map + 16 + 12 * groups) < 0x100)
        ++groups;
    qToBigEndian(groups, font.data() + map + 12);
    qToBigEndian(qMin(at(map + 8 + 12 * groups), 0xffu), font.data() + map + 8 + 12 * groups);
    const qint16 lower = qFromBigEndian<qint16>(font.constData() + table("head") + 18) / 6;
    for (const auto &[tag, offset] : {std::pair{"hhea", 4}, {"OS/2", 68}, {"OS/2", 74}}) {
        char *field = font.data() + table(tag) + offset;
        qToBigEndian(qint16(qFromBigEndian<qint16>(field) - lower), field);
    }
    return font;
}

// The system's fonts and the cut DejaVu Sans named "Cut Sans": the toolkit
// takes the letters it lacks from one of the others, all of them taller.
bool setUpFonts(const QString &dir)
{
    QFile sans(QStandardPaths::locate(QStandardPaths::GenericDataLocation, u"fonts/truetype/dejavu/DejaVuSans.ttf"_s));
    QFile cut(dir + u"/cut.ttf"_s);
    QFile config(dir + u"/fonts.conf"_s);
    if (!sans.open(QIODevice::ReadOnly) || !cut.open(QIODevice::WriteOnly) || !config.open(QIODevice::WriteOnly))
        return false;
    cut.write(cutFont(sans.readAll()));
    const QByteArray here = QFile::encodeName(dir);
    config.write("<?xml version=\"1.0\"?>\n<fontconfig><dir>" + QFile::encodeName(QFileInfo(sans).absolutePath())
                 + "</dir><dir>" + here + "</dir><cachedir>" + here + "/cache</cachedir><match target=\"scan\"><test "
                 "name=\"file\"><string>" + here + "/cut.ttf</string></test><edit name=\"family\" mode=\"assign\">"
                 "<string>Cut Sans</string></edit></match></fontconfig>\n");
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config.fileName()));
    return cut.error() == QFile::NoError && config.error() == QFile::NoError;
}

} // namespace

class FallbackFontTest : public QObject
{
    Q_OBJECT

private slots:
    void runsShareBaselineAndUnderline_data();
    void runsShareBaselineAndUnderline();
};

void FallbackFontTest::runsShareBaselineAndUnderline_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QString>("cell");
    for (int size : {8, 11}) {
        QTest::addRow("leaning last letter at %d pt", size) << size << u"tak #I#łoś ślif#I# #B#źle#B# ćma"_s;
        QTest::addRow("signs of other scripts at %d pt", size) << size << u"żółw #B#łoś → ćma#B# #I#źle#I#"_s;
    }
}

void FallbackFontTest::runsShareBaselineAndUnderline()
{
    QFETCH(int, pointSize);
    QFETCH(QString, cell);

    // Every run of the line, whichever way it is drawn, must sit on one
    // baseline (the lowest ink of letters without descenders) with its
    // underline on the same rows.
    const FontMetricsMeasure measure(QFont(u"Cut Sans"_s, pointSize));
    QVERIFY(!QRawFont::fromFont(measure.font({})).supportsCharacter(u'ł'));
    QVERIFY(QFontMetricsF(measure.font({})).ascent() + 1 < QFontMetricsF(QFont(u"DejaVu Sans"_s, pointSize)).ascent());
    const QColor background(255, 255, 215);
    const auto draw = [&](const QString &text) {
        QImage image(600, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(background);
        QPainter painter(&image);
        PainterRunSink sink(painter, measure, Qt::black, background);
        Wexal::DrawMarkupCell(0, image.width(), 5, text, nullptr, false, measure.lineHeight(), measure, sink);
        return image;
    };
    const QImage plain = draw(cell);
    const QImage underlined = draw(u"#U#"_s + cell + u" #U#"_s); // "#I##U#" would leave "#U#" as text
    RecordingRunSink runs;
    Wexal::DrawMarkupCell(0, 600, 5, cell, nullptr, false, measure.lineHeight(), measure, runs);
    QVERIFY(runs.runs.size() >= 4);
    const auto ink = [](const QImage &image, int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    QString expected;
    for (const QString &run : std::as_const(runs.runs)) {
        const QStringList place = run.section(u':', 0, 0).split(u',');
        const int left = place.at(0).toInt();
        const int width = place.at(2).toInt();
        int baseline = -1;
        QString underline;
        for (int y = 0; y < plain.height(); ++y) {
            int plainInk = 0;
            int added = 0;
            for (int x = left; x < left + width; ++x) {
                plainInk += ink(plain, x, y);
                added += ink(underlined, x, y) && !ink(plain, x, y);
            }
            baseline = plainInk > 0 ? y : baseline;
            if (added * 2 >= width)
                underline += u' ' + QString::number(y);
        }
        const QString found = u"baseline %1, underline%2"_s.arg(baseline).arg(underline);
        if (run.section(u':', 2).trimmed().isEmpty())
            continue; // a space between styles
        expected = expected.isEmpty() ? found : expected;
        QVERIFY2(found == expected && !underline.isEmpty(), qPrintable(run + u": "_s + found + u", not "_s + expected));
    }
}

int main(int argc, char *argv[])
{
    // Before the application starts, which reads the font set-up once.
    QTemporaryDir fonts;
    if (!fonts.isValid() || !setUpFonts(fonts.path()))
        qFatal("cannot set up the fonts (DejaVu Sans is needed)");
    QGuiApplication app(argc, argv);
    FallbackFontTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fallbackfont.moc"
