#include "check/topicfields.h"

#include "core/textrules.h"

#include <algorithm>

TopicFields::TopicFields(const QString &record) : m_record(record), m_upper(Wexal::upperCase(record))
{
    // Fields end at a tab; a last field without one ends the record.
    qsizetype start = 0;
    while (start < m_record.size()) {
        m_starts.append(start);
        const qsizetype tab = m_record.indexOf(u'\t', start);
        start = tab < 0 ? m_record.size() + 1 : tab + 1;
    }
    m_starts.append(start);
    m_equals = Wexal::placesOf(m_upper, u'=');
}

TopicFields::Hit TopicFields::find(QStringView key) const
{
    Hit hit;
    if (m_starts.size() < 2)
        return hit; // no field at all
    // The program's keys are upper case already: no copy for them.
    bool upper = true;
    for (const QChar ch : key)
        upper = upper && Wexal::upperChar(ch) == ch;
    const QString copy = upper ? QString() : Wexal::upperCase(key);
    const QStringView upperKey = upper ? key : QStringView(copy);
    // A key holds no tab, so its first place in the record lies in the first
    // field that holds it.
    qsizetype found = -1;
    if (upperKey.contains(u'\t')) {
        // No field holds it.
    } else if (upperKey.endsWith(u'=')) {
        // Most keys end in "=": the places of one are the only places such a
        // key can end, asked in order.
        for (const qsizetype end : m_equals) {
            const qsizetype at = end + 1 - upperKey.size();
            if (at >= 0 && QStringView(m_upper).sliced(at, upperKey.size()) == upperKey) {
                found = at;
                break;
            }
        }
    } else {
        found = m_upper.indexOf(upperKey);
    }
    if (found < 0)
        return hit;
    const int i = int(std::upper_bound(m_starts.cbegin(), m_starts.cend(), found) - m_starts.cbegin()) - 1;
    const qsizetype start = m_starts[i];
    hit.field = i;
    hit.at = found - start;
    hit.text = QStringView(m_record).mid(start, m_starts[i + 1] - 1 - start);
    hit.value = hit.text.mid(key.size());
    return hit;
}
