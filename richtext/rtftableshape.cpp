#include "richtext/rtftableshape.h"

#include "richtext/rtflimits.h"

#include <algorithm>

namespace {

constexpr qint64 kMaxWork = RtfLimits::MaxTableCells * RtfLimits::TableCharactersPerCell;

} // namespace

// Mirrors RtfDocumentBuilder's table logic step for step; the two must
// agree on when a row or column starts.

bool RtfTableShape::isAt(int level) const
{
    return level == this->level() && (level == 0 || m_open.back().cellOpen);
}

template <typename Step>
bool RtfTableShape::withinLimit(Step step)
{
    // A step changes a few open tables and sizes; what it changed is put
    // back when it takes the cells past the limit.
    const std::vector<Open> open = m_open;
    const std::size_t tables = m_sizes.size();
    const qint64 work = m_work;
    m_grown.clear();
    step();
    if (m_work <= kMaxWork)
        return true;
    for (auto it = m_grown.crbegin(); it != m_grown.crend(); ++it) {
        if (it->first < tables)
            m_sizes[it->first] = it->second;
    }
    m_sizes.resize(tables);
    m_open = open;
    m_work = work;
    return false;
}

bool RtfTableShape::addText(qsizetype characters)
{
    const qint64 weight = m_open.empty() ? 1 : m_open.back().weight;
    if (m_work + weight * characters > kMaxWork)
        return false;
    m_work += weight * characters;
    return true;
}

bool RtfTableShape::moveToLevel(int level, int columnsHint)
{
    return withinLimit([this, level, columnsHint] { doMoveToLevel(level, columnsHint); });
}

void RtfTableShape::doMoveToLevel(int level, int columnsHint)
{
    while (this->level() > level)
        m_open.pop_back();
    while (this->level() < level) {
        if (!m_open.empty())
            openCell(m_open.back());
        openTable(this->level() + 1 == level ? columnsHint : 1);
    }
    if (!m_open.empty())
        openCell(m_open.back());
}

bool RtfTableShape::endCell(int level, int columnsHint)
{
    return withinLimit([this, level, columnsHint] {
        doMoveToLevel(level, columnsHint);
        Open &open = m_open.back();
        open.cellOpen = false;
        if (open.column + 1 < RtfLimits::MaxColumns)
            ++open.column;
    });
}

bool RtfTableShape::endRow(int level, int definedColumns)
{
    return withinLimit([this, level, definedColumns] {
        if (this->level() < level)
            return;
        while (this->level() > level)
            m_open.pop_back();
        Open &open = m_open.back();
        if (open.rowDone)
            return;
        grow(open, std::min(definedColumns, RtfLimits::MaxColumns), 0);
        open.rowDone = true;
        open.cellOpen = false;
    });
}

std::vector<QSize> RtfTableShape::takeSizes()
{
    std::vector<QSize> sizes;
    sizes.swap(m_sizes);
    m_open.clear();
    return sizes;
}

void RtfTableShape::openTable(int columns)
{
    const int weight = 1 << std::min(level(), 16);
    m_sizes.emplace_back(std::clamp(columns, 1, RtfLimits::MaxColumns), 1);
    m_open.push_back(Open{m_sizes.size() - 1, weight});
    m_work += qint64(weight) * m_sizes.back().width() * RtfLimits::TableCharactersPerCell;
}

void RtfTableShape::openCell(Open &open)
{
    if (open.cellOpen)
        return;
    if (open.rowDone) {
        ++open.row;
        open.column = 0;
        open.rowDone = false;
    }
    grow(open, open.column + 1, open.row + 1);
    open.cellOpen = true;
}

void RtfTableShape::grow(const Open &open, int columns, int rows)
{
    QSize &size = m_sizes[open.index];
    const QSize grown(std::max(size.width(), columns), std::max(size.height(), rows));
    if (grown == size)
        return;
    m_grown.emplace_back(open.index, size);
    const qint64 cells = qint64(grown.width()) * grown.height() - qint64(size.width()) * size.height();
    m_work += open.weight * cells * RtfLimits::TableCharactersPerCell;
    size = grown;
}
