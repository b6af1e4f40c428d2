#pragma once

#include <QSize>

#include <vector>

// The shape of the tables an RTF document builds, worked out from the same
// calls the document builder receives but without a document: which table
// the content is in (nesting level, row, column, whether a cell is open) and
// the size every table reaches, in the order the tables are opened. With the
// sizes known, each table is made once at its final size; growing a table
// row by row makes Qt rebuild its cell grid after every row, which costs
// time that grows with the square of the rows.
class RtfTableShape
{
public:
    static constexpr int MaxColumns = 63; // the most a word processor writes

    int level() const { return static_cast<int>(m_open.size()); }
    // True when content at the given nesting level goes into an open cell
    // (level 0: outside every table).
    bool isAt(int level) const;

    void moveToLevel(int level, int columnsHint);
    void endCell(int level, int columnsHint);
    void endRow(int level, int definedColumns);

    // Columns (width) and rows (height) of each table opened since the last
    // takeSizes(), in the order they were opened. Taken when every table is
    // closed or the document ends; the shape starts afresh.
    std::vector<QSize> takeSizes();

private:
    struct Open
    {
        std::size_t index = 0; // into m_sizes
        int row = 0;
        int column = 0;
        bool cellOpen = true;
        bool rowDone = false;
    };

    void openTable(int columns);
    void openCell(Open &open);

    std::vector<Open> m_open;
    std::vector<QSize> m_sizes;
};
