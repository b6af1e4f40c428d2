#pragma once

#include <QSize>

#include <utility>
#include <vector>

// The shape of the tables an RTF document builds, worked out from the same
// calls the document builder receives but without a document: which table
// the content is in (nesting level, row, column, whether a cell is open) and
// the size every table reaches, in the order the tables are opened. With the
// sizes known, each table is made once at its final size; growing a table
// row by row makes Qt rebuild its cell grid after every row, which costs
// time that grows with the square of the rows.
//
// The shape also keeps the tables within RtfLimits::MaxTableCells: the view
// lays a table out whole, so its cells and their text bound how long
// showing a document freezes the window. Every cell of a table's grid
// counts (empty ones too), and each character of text placed in a table
// RtfLimits::TableCharactersPerCell times less; what is in a nested table
// twice per level of nesting, as the layout works a nested table out about
// twice per level. A step that would pass the limit is refused and changes
// nothing.
class RtfTableShape
{
public:
    int level() const { return static_cast<int>(m_open.size()); }
    // True when content at the given nesting level goes into an open cell
    // (level 0: outside every table).
    bool isAt(int level) const;

    // False, with the shape unchanged, when the step would make the tables'
    // cells more than the limit allows.
    [[nodiscard]] bool moveToLevel(int level, int columnsHint);
    [[nodiscard]] bool endCell(int level, int columnsHint);
    [[nodiscard]] bool endRow(int level, int definedColumns);
    // Text of the given length placed in the innermost open table.
    [[nodiscard]] bool addText(qsizetype characters);

    // Columns (width) and rows (height) of each table opened since the last
    // takeSizes(), in the order they were opened. Taken when every table is
    // closed or the document ends; the shape starts afresh.
    std::vector<QSize> takeSizes();

private:
    struct Open
    {
        std::size_t index = 0; // into m_sizes
        int weight = 1;        // what each of its cells counts
        int row = 0;
        int column = 0;
        bool cellOpen = true;
        bool rowDone = false;
    };

    template <typename Step>
    bool withinLimit(Step step);
    void doMoveToLevel(int level, int columnsHint);
    void openTable(int columns);
    void openCell(Open &open);
    void grow(const Open &open, int columns, int rows);

    std::vector<Open> m_open;
    std::vector<QSize> m_sizes;
    qint64 m_work = 0; // in characters: cells count RtfLimits::TableCharactersPerCell
    std::vector<std::pair<std::size_t, QSize>> m_grown; // sizes before the step under way
};
