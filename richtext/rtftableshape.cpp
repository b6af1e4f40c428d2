#include "richtext/rtftableshape.h"

#include <algorithm>

// Mirrors RtfDocumentBuilder's table logic step for step; the two must
// agree on when a row or column starts.

bool RtfTableShape::isAt(int level) const
{
    return level == this->level() && (level == 0 || m_open.back().cellOpen);
}

void RtfTableShape::moveToLevel(int level, int columnsHint)
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

void RtfTableShape::endCell(int level, int columnsHint)
{
    moveToLevel(level, columnsHint);
    Open &open = m_open.back();
    open.cellOpen = false;
    if (open.column + 1 < MaxColumns)
        ++open.column;
}

void RtfTableShape::endRow(int level, int definedColumns)
{
    if (this->level() < level)
        return;
    while (this->level() > level)
        m_open.pop_back();
    Open &open = m_open.back();
    if (open.rowDone)
        return;
    QSize &size = m_sizes[open.index];
    size.setWidth(std::max(size.width(), std::min(definedColumns, MaxColumns)));
    open.rowDone = true;
    open.cellOpen = false;
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
    m_sizes.emplace_back(std::clamp(columns, 1, MaxColumns), 1);
    m_open.push_back(Open{m_sizes.size() - 1});
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
    QSize &size = m_sizes[open.index];
    size.setHeight(std::max(size.height(), open.row + 1));
    size.setWidth(std::max(size.width(), open.column + 1));
    open.cellOpen = true;
}
