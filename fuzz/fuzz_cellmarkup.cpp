// The cell markup as the grid paints a left-aligned cell: the measuring pass
// for the row height, the drawing pass with a link cell's record, and the
// link areas and targets read back from that record by the pointer.
// Byte 0 is the column width, byte 1 the line height, the rest the cell text
// in Windows-1250.

#include "tests/table/fixedwidthmeasure.h"
#include "fuzzcheck.h"

#include "core/cp1250.h"
#include "table/drawmarkupcell.h"
#include "table/linkareas.h"
#include "table/linktarget.h"
#include "table/markuprunsink.h"
#include "table/measurecelllines.h"

#include <QList>

#include <optional>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

// Checks each run against the measure and counts the lines drawn on.
class CheckingSink final : public MarkupRunSink
{
public:
    CheckingSink(const CellTextMeasure &measure, int left, int top, int lineHeight)
        : m_measure(measure), m_left(left), m_top(top), m_lineHeight(lineHeight)
    {
    }

    void drawRun(const MarkupRun &run) override
    {
        FUZZ_CHECK(!run.text.isEmpty());
        FUZZ_CHECK(run.width == m_measure.width(run.text, run.style));
        FUZZ_CHECK(run.height == m_lineHeight);
        FUZZ_CHECK(run.x >= m_left + 2);
        FUZZ_CHECK(run.y >= m_top && (run.y - m_top) % m_lineHeight == 0);
        ++runs;
    }

    int runs = 0;

private:
    const CellTextMeasure &m_measure;
    const int m_left;
    const int m_top;
    const int m_lineHeight;
};

// The areas read back by asking for every link from 1 to the count in turn,
// for records whose count is small enough for that.
std::optional<QList<LinkArea>> areasLinkByLink(QStringView record)
{
    const qsizetype marker = record.indexOf(u"#R#");
    if (marker < 0)
        return QList<LinkArea>();
    const QStringView text = record.mid(marker + 3);
    const auto numberAfter = [text](const QString &key, int *value) {
        const qsizetype at = text.indexOf(key);
        if (at < 0)
            return false;
        const QStringView tail = text.mid(at + key.size());
        const qsizetype hash = tail.indexOf(u'#');
        bool ok = false;
        *value = (hash < 0 ? tail : tail.left(hash)).toInt(&ok);
        return ok;
    };
    int count = 0;
    if (!numberAfter(u"C="_s, &count))
        return QList<LinkArea>();
    if (count > 2000)
        return std::nullopt;
    QList<LinkArea> areas;
    for (int n = 1; n <= count; ++n) {
        const QString k = QString::number(n) + u'=';
        LinkArea area;
        area.link = n;
        if (numberAfter(u'L' + k, &area.left) && numberAfter(u'T' + k, &area.top)
            && numberAfter(u'R' + k, &area.right) && numberAfter(u'B' + k, &area.bottom))
            areas.append(area);
    }
    return areas;
}

bool sameAreas(const QList<LinkArea> &a, const QList<LinkArea> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].link != b[i].link || a[i].left != b[i].left || a[i].top != b[i].top
            || a[i].right != b[i].right || a[i].bottom != b[i].bottom)
            return false;
    }
    return true;
}

// Areas written for links 1 to n in any order read back by link number.
void checkAreaRoundTrip(QString record, const std::uint8_t *data, std::size_t size)
{
    Wexal::cutLinkAreas(record);
    FUZZ_CHECK(record.endsWith(u"#R#"_s));
    const int n = int(size % 12);
    QList<LinkArea> written;
    for (int i = 0; i < n; ++i) {
        const auto value = [&](int k) { return int(data[(i * 4 + k) % size]) * 37 - 4000; };
        written.append(LinkArea{i + 1, value(0), value(1), value(2), value(3)});
    }
    // Written back to front: the order must not matter.
    for (qsizetype i = written.size() - 1; i >= 0; --i)
        Wexal::appendLinkArea(record, written.at(i));
    Wexal::appendLinkCount(record, n);
    FUZZ_CHECK(sameAreas(Wexal::readLinkAreas(record), written));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int width = data[0];
    const int lineHeight = 1 + data[1] % 32;
    const QString text = Wexal::Cp1250::decode(
        QByteArrayView(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2)));

    const FixedWidthMeasure measure(false);
    const int lines = Wexal::MeasureCellLines(width, text, measure);
    FUZZ_CHECK(lines >= 1);
    if (text.size() <= 200) {
        // The one-question shortcut and asking every prefix agree.
        const FixedWidthMeasure literal(true);
        FUZZ_CHECK(Wexal::MeasureCellLines(width, text, literal) == lines);
    }

    const int left = 100;
    const int top = 50;
    QString record = text + u"#R#"_s;
    CheckingSink sink(measure, left, top, lineHeight);
    Wexal::DrawMarkupCell(left, width, top, text, &record, (data[1] & 0x80) != 0, lineHeight,
                          measure, sink);
    FUZZ_CHECK(text.isEmpty() || record.contains(u"C="_s));

    // Painting again writes the same record.
    QString again = record;
    CheckingSink sink2(measure, left, top, lineHeight);
    Wexal::DrawMarkupCell(left, width, top, text, &again, false, lineHeight, measure, sink2);
    FUZZ_CHECK(again == record);
    FUZZ_CHECK(sink2.runs == sink.runs);

    const QList<LinkArea> areas = Wexal::readLinkAreas(record);
    // Each hit test reads the whole record: a cell of thousands of links is
    // pointed at in some 8 of them, the last one included.
    const qsizetype step = qMax<qsizetype>(1, areas.size() / 8);
    for (qsizetype i = 0; i < areas.size(); ++i) {
        const LinkArea &area = areas.at(i);
        FUZZ_CHECK(area.link >= 1);
        FUZZ_CHECK(area.left <= area.right && area.top < area.bottom);
        if (i % step != 0 && i != areas.size() - 1)
            continue;
        // The first link holding the point wins, so the hit is at most this link.
        const int hit = Wexal::linkAtPoint(record, area.left, area.top);
        FUZZ_CHECK(hit >= 1 && hit <= area.link);
        (void)Wexal::readLinkTarget(record, area.link);
    }
    for (int k = 0; k <= 3; ++k)
        (void)Wexal::readLinkTarget(text, k);

    // The text itself read as a record, as a damaged one would be (a link
    // cell that is not painted through the markup keeps its text).
    const QList<LinkArea> damaged = Wexal::readLinkAreas(text);
    if (const std::optional<QList<LinkArea>> expected = areasLinkByLink(text))
        FUZZ_CHECK(sameAreas(damaged, *expected));
    (void)Wexal::linkAtPoint(text, data[0], data[1]);

    checkAreaRoundTrip(text, data, size);
    return 0;
}
