#include "check/checkreport.h"

#include <algorithm>

void CheckReport::noteFile(const QString &file)
{
    fileOrder(file);
}

int CheckReport::fileOrder(const QString &file)
{
    const auto found = m_fileOrder.constFind(file);
    if (found != m_fileOrder.constEnd())
        return found.value();
    const int order = int(m_fileOrder.size());
    m_fileOrder.insert(file, order);
    m_files.append(file);
    return order;
}

void CheckReport::add(const QString &file, int line, CheckFinding::Severity severity, const QString &message)
{
    const QString key = file + u'\t' + QString::number(line) + u'\t' + QString::number(int(severity)) + u'\t' + message;
    if (m_seen.contains(key))
        return;
    m_seen.insert(key);
    Entry entry;
    entry.finding.file = file;
    entry.finding.line = line;
    entry.finding.severity = severity;
    entry.finding.message = message;
    entry.fileOrder = fileOrder(file);
    entry.sequence = int(m_entries.size());
    m_entries.append(entry);
    ++m_counts[int(severity)];
}

void CheckReport::error(const QString &file, int line, const QString &message)
{
    add(file, line, CheckFinding::Severity::Error, message);
}

void CheckReport::warning(const QString &file, int line, const QString &message)
{
    add(file, line, CheckFinding::Severity::Warning, message);
}

void CheckReport::note(const QString &file, int line, const QString &message)
{
    add(file, line, CheckFinding::Severity::Note, message);
}

void CheckReport::append(const CheckReport &other)
{
    for (const QString &file : other.m_files)
        noteFile(file);
    for (const Entry &entry : other.m_entries)
        add(entry.finding.file, entry.finding.line, entry.finding.severity, entry.finding.message);
}

QVector<CheckFinding> CheckReport::findings() const
{
    QVector<Entry> sorted = m_entries;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry &a, const Entry &b) {
        if (a.fileOrder != b.fileOrder)
            return a.fileOrder < b.fileOrder;
        return a.finding.line < b.finding.line;
    });
    QVector<CheckFinding> result;
    result.reserve(sorted.size());
    for (const Entry &entry : sorted)
        result.append(entry.finding);
    return result;
}

int CheckReport::count(CheckFinding::Severity severity) const
{
    return m_counts[int(severity)];
}
