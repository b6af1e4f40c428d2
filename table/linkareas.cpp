#include "table/linkareas.h"

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
    for (int n = 1; n <= count; ++n) {
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
