#include "recordingrunsink.h"

#include "table/drawmarkupcell.h"
#include "table/drawtextline.h"
#include "table/fontmetricsmeasure.h"
#include "table/painterrunsink.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QColor kBackground(255, 255, 215);

quint32 read32(const QByteArray &bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

void append32(QByteArray &bytes, quint32 value)
{
    bytes.append(4, 0);
    qToBigEndian(value, bytes.data() + bytes.size() - 4);
}

// Where the font file's record of a table is, in its table directory.
qsizetype recordOf(const QByteArray &font, const char *tag)
{
    qsizetype record = 12;
    while (font.mid(record, 4) != tag)
        record += 16;
    return record;
}

// The font less the characters of Latin Extended-A and -B (ą ę ł ś ź ż ć ń
// among them), its ascent lowered by a sixth of an em so that a line
// holding letters taken from another font is taller than its own. Its
// character map becomes its full-range map (format 12) with those cut out.
QByteArray withoutPolishLetters(QByteArray font)
{
    const qsizetype cmap = read32(font, recordOf(font, "cmap") + 8);
    qsizetype full = cmap + 4;
    while (read32(font, full) != 0x3000a) // platform 3, encoding 10
        full += 8;
    full = cmap + read32(font, full + 4);
    QByteArray groups;
    for (quint32 g = 0; g < read32(font, full + 12); ++g) {
        const quint32 first = read32(font, full + 16 + 12 * g);
        const quint32 last = read32(font, full + 20 + 12 * g);
        const quint32 glyph = read32(font, full + 24 + 12 * g);
        for (const auto &[from, to] : {std::pair{first, qMin(last, 0xffu)}, {qMax(first, 0x250u), last}}) {
            if (from <= to) {
                for (const quint32 value : {from, to, glyph + from - first})
                    append32(groups, value);
            }
        }
    }
    QByteArray table;
    for (const quint32 value : {0x1u, 0x3000au, 12u, 0xc0000u, 16u + quint32(groups.size()), 0u,
                                quint32(groups.size()) / 12})
        append32(table, value);
    qToBigEndian(quint32(font.size()), font.data() + recordOf(font, "cmap") + 8);
    qToBigEndian(quint32(table.size() + groups.size()), font.data() + recordOf(font, "cmap") + 12);
    font += table + groups;

    const qint16 lower = qFromBigEndian<qint16>(font.constData() + read32(font, recordOf(font, "head") + 8) + 18) / 6;
    for (const auto &[tag, at] : {std::pair{"hhea", 4}, {"OS/2", 68}, {"OS/2", 74}}) {
        char *field = font.data() + read32(font, recordOf(font, tag) + 8) + at;
        qToBigEndian(qint16(qFromBigEndian<qint16>(field) - lower), field);
    }
    return font;
}

// A font set-up of two fonts only: "DejaVu Sans" without Polish letters
// and a serif font the toolkit takes them from. Made before the
// application starts, which reads the set-up once.
bool setUpFonts(const QString &dir)
{
    const auto read = [](const char *name) {
        QFile file(QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                          u"fonts/truetype/dejavu/"_s + QLatin1StringView(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray sans = read("DejaVuSans.ttf");
    const QByteArray serif = read("DejaVuSerif.ttf");
    QFile main(dir + u"/main.ttf"_s);
    QFile fallback(dir + u"/fallback.ttf"_s);
    QFile config(dir + u"/fonts.conf"_s);
    if (sans.isEmpty() || serif.isEmpty() || !main.open(QIODevice::WriteOnly)
        || !fallback.open(QIODevice::WriteOnly) || !config.open(QIODevice::WriteOnly))
        return false;
    main.write(withoutPolishLetters(sans));
    fallback.write(serif);
    config.write("<?xml version=\"1.0\"?>\n<fontconfig><dir>" + dir.toUtf8() + "</dir><cachedir>" + dir.toUtf8()
                 + "/cache</cachedir></fontconfig>\n");
    qputenv("FONTCONFIG_FILE", config.fileName().toLocal8Bit());
    return true;
}

QFont tableFont(int pointSize)
{
    QFont font(u"DejaVu Sans"_s);
    font.setPointSize(pointSize);
    return font;
}

} // namespace

class FallbackFontTest : public QObject
{
    Q_OBJECT

public:
    explicit FallbackFontTest(bool ready) : m_ready(ready) {}

private slots:
    void runsShareBaselineAndUnderline_data();
    void runsShareBaselineAndUnderline();

private:
    bool m_ready;
};

void FallbackFontTest::runsShareBaselineAndUnderline_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QString>("cell");
    for (int size : {8, 11}) {
        QTest::addRow("leaning last letter at %d pt", size) << size << u"żółw #I#łoś ślif#I# #B#źle#B# ćma"_s;
        QTest::addRow("signs of other scripts at %d pt", size) << size << u"żółw #B#łoś → ćma#B# #I#źle#I#"_s;
    }
}

void FallbackFontTest::runsShareBaselineAndUnderline()
{
    QFETCH(int, pointSize);
    QFETCH(QString, cell);
    if (!m_ready)
        QSKIP("the fonts of the set-up are not installed");

    // Letters the font lacks come from the serif font, whose ascent is
    // taller. Every run of the line, whichever way it is drawn, must sit on
    // one baseline (the lowest ink of letters without descenders) with its
    // underline on the same rows.
    const FontMetricsMeasure measure(tableFont(pointSize));
    QVERIFY(QFontMetricsF(measure.font({})).ascent() + 1 < QFontMetricsF(QFont(u"DejaVu Serif"_s, pointSize)).ascent());
    RecordingRunSink runs;
    const auto draw = [&](const QString &text) {
        QImage image(600, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(kBackground);
        QPainter painter(&image);
        PainterRunSink sink(painter, measure, Qt::black, kBackground);
        Wexal::DrawMarkupCell(0, image.width(), 5, text, nullptr, false, measure.lineHeight(), measure, sink);
        return image;
    };
    Wexal::DrawMarkupCell(0, 600, 5, cell, nullptr, false, measure.lineHeight(), measure, runs);
    const QImage plain = draw(cell);
    const QImage underlined = draw(u"#U#"_s + cell + u" #U#"_s);
    QVERIFY(runs.runs.size() >= 4);
    const auto ink = [](const QImage &image, int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    QString expected;
    for (const QString &run : std::as_const(runs.runs)) {
        if (run.section(u':', 2).trimmed().isEmpty())
            continue;
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
            if (plainInk > 0)
                baseline = y;
            if (added * 2 >= width)
                underline += u' ' + QString::number(y);
        }
        const QString found = u"baseline %1, underline%2"_s.arg(baseline).arg(underline);
        if (expected.isEmpty())
            expected = found;
        QVERIFY2(found == expected && !underline.isEmpty(),
                 qPrintable(run + u": "_s + found + u", not "_s + expected));
    }
}

int main(int argc, char *argv[])
{
    QTemporaryDir fonts;
    const bool ready = fonts.isValid() && setUpFonts(fonts.path());
    QGuiApplication app(argc, argv);
    FallbackFontTest test(ready);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fallbackfont.moc"
