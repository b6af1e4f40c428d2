#include "table/linkareas.h"

#include <QHash>

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

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The characters a number read with toInt() may hold. A NUL ends what it
// reads; any other character makes it fail.
bool isNumberChar(QChar c)
{
    return isAsciiDigit(c) || c == u'+' || c == u'-' || c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The quick way to what toInt() makes of the usual "123" or "-45": up to
// nine digits, at most a minus before them. False for anything else, which
// toInt() must judge.
bool smallNumber(QStringView text, int *value)
{
    const bool negative = !text.isEmpty() && text.front() == u'-';
    const QStringView digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || digits.size() > 9)
        return false;
    int number = 0;
    for (const QChar c : digits) {
        if (!isAsciiDigit(c))
            return false;
        number = number * 10 + (c.unicode() - u'0');
    }
    *value = negative ? -number : number;
    return true;
}

// The four edges of an area, in the order of their keys' letters.
enum Edge { Left, Top, Right, Bottom, EdgeCount };

int edgeOfLetter(QChar c)
{
    switch (c.unicode()) {
    case u'L': return Left;
    case u'T': return Top;
    case u'R': return Right;
    case u'B': return Bottom;
    default: return -1;
    }
}

struct EdgeValue
{
    bool ok = false;
    int value = 0;
};

// For each edge letter and link n, the value after the first "letter n =" in
// text, read up to the next "#" as numberAfter() reads it: the place a
// search for each key in turn would find, found in one pass. Two facts keep
// it linear: a key is a letter, digits and "=", so the places of keys only
// grow; and a value is read only while it holds number characters, which no
// key does, so the values read never overlap.
class EdgeScan
{
public:
    EdgeScan(QStringView text, int count)
    {
        const qsizetype size = text.size();
        qsizetype numberEnd = 0; // the first non-number character from the last value's start
        for (qsizetype at = 0; at < size; ++at) {
            const int edge = edgeOfLetter(text[at]);
            if (edge < 0)
                continue;
            const qsizetype digits = at + 1;
            qsizetype end = digits;
            while (end < size && isAsciiDigit(text[end]))
                ++end;
            // No key has a leading zero.
            if (end == digits || end == size || text[end] != u'=' || text[digits] == u'0')
                continue;
            const QStringView number = text.mid(digits, end - digits);
            bool ok = true;
            int link = 0;
            if (!smallNumber(number, &link))
                link = number.toInt(&ok);
            if (!ok || link > count || m_values[edge].contains(link))
                continue;
            const qsizetype start = end + 1;
            if (numberEnd < start) {
                numberEnd = start;
                while (numberEnd < size && isNumberChar(text[numberEnd]))
                    ++numberEnd;
            }
            // Up to the next "#" (or the end): a character other than those
            // of a number before it fails the reading; a "#" or NUL ends it.
            EdgeValue value;
            if (numberEnd == size || text[numberEnd] == u'#' || text[numberEnd].isNull()) {
                const QStringView number = text.mid(start, numberEnd - start);
                value.ok = smallNumber(number, &value.value);
                if (!value.ok)
                    value.value = number.toInt(&value.ok);
            }
            m_values[edge].insert(link, value);
        }
    }

    // The links with a left edge, ascending.
    QList<int> links() const
    {
        QList<int> links = m_values[Left].keys();
        std::sort(links.begin(), links.end());
        return links;
    }

    bool read(int edge, int link, int *value) const
    {
        const auto it = m_values[edge].constFind(link);
        if (it == m_values[edge].cend() || !it->ok)
            return false;
        *value = it->value;
        return true;
    }

private:
    QHash<int, EdgeValue> m_values[EdgeCount];
};

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
    const EdgeScan scan(text, count);
    for (const int n : scan.links()) {
        LinkArea area;
        area.link = n;
        if (scan.read(Left, n, &area.left) && scan.read(Top, n, &area.top) && scan.read(Right, n, &area.right)
            && scan.read(Bottom, n, &area.bottom))
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
