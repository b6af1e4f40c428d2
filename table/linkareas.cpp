#include "table/linkareas.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kAreaMarker = u"#R#";

// The number after key, up to the next "#" (or the end).
bool numberAfter(QStringView text, QStringView key, int *value)
{
    const qsizetype at = text.indexOf(key);
    if (at < 0)
        return false;
    const QStringView tail = text.mid(at + key.size());
    const qsizetype hash = tail.indexOf(u'#');
    bool ok = false;
    *value = (hash < 0 ? tail : tail.left(hash)).toInt(&ok);
    return ok;
}

QString numberedKey(QChar letter, int link)
{
    return QString(letter) + QString::number(link) + u'=';
}

// The links n, ascending, for which text holds "L" n "=": only they can have
// an area. A damaged record may claim any count; the work follows the text.
QList<int> linksWithLeftEdge(QStringView text)
{
    QList<int> links;
    for (qsizetype at = text.indexOf(u'L'); at >= 0; at = text.indexOf(u'L', at + 1)) {
        const qsizetype digits = at + 1;
        qsizetype end = digits;
        while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
            ++end;
        if (end == digits || end == text.size() || text[end] != u'=' || text[digits] == u'0')
            continue;
        bool ok = false;
        const int link = text.mid(digits, end - digits).toInt(&ok);
        if (ok)
            links.append(link);
    }
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());
    return links;
}

} // namespace

namespace Wexal {

void cutLinkAreas(QString &record)
{
    const qsizetype marker = record.indexOf(kAreaMarker);
    if (marker < 0)
        record.append(kAreaMarker);
    else
        record.truncate(marker + kAreaMarker.size());
}

void appendLinkArea(QString &record, const LinkArea &area)
{
    const QString n = QString::number(area.link);
    record += u'L' + n + u'=' + QString::number(area.left) + u"#T"_s + n + u'='
              + QString::number(area.top) + u"#R"_s + n + u'=' + QString::number(area.right)
              + u"#B"_s + n + u'=' + QString::number(area.bottom) + u'#';
}

void appendLinkCount(QString &record, int count)
{
    record += u"C="_s + QString::number(count) + u'#';
}

QList<LinkArea> readLinkAreas(QStringView record)
{
    QList<LinkArea> areas;
    const qsizetype marker = record.indexOf(kAreaMarker);
    if (marker < 0)
        return areas;
    const QStringView text = record.mid(marker + kAreaMarker.size());
    int count = 0;
    if (!numberAfter(text, u"C=", &count))
        return areas;
    for (const int n : linksWithLeftEdge(text)) {
        if (n > count)
            break;
        LinkArea area;
        area.link = n;
        if (numberAfter(text, numberedKey(u'L', n), &area.left)
            && numberAfter(text, numberedKey(u'T', n), &area.top)
            && numberAfter(text, numberedKey(u'R', n), &area.right)
            && numberAfter(text, numberedKey(u'B', n), &area.bottom))
            areas.append(area);
    }
    return areas;
}

int linkAtPoint(QStringView record, int x, int y)
{
    const QList<LinkArea> areas = readLinkAreas(record);
    for (const LinkArea &area : areas) {
        if (area.contains(x, y))
            return area.link;
    }
    return 0;
}

} // namespace Wexal
