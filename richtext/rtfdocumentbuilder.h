#pragma once

#include "richtext/rtfstate.h"
#include "richtext/rtftableshape.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextCursor>
#include <QTextFormat>

#include <vector>

class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextLength;
class QTextTable;

// Writes what the RTF reader finds into a QTextDocument: runs of text,
// paragraph ends, pictures and tables. Tables are built as the cells arrive:
// a table starts with the first content of its first cell, gains a row when
// content follows a row end and a column when a row has more cells than the
// table, so that rows described before or after their cells (both occur) and
// nested tables read the same way. What arrives while a table is open is
// kept until the outermost table closes; then every table in it is made once
// at its final size (see RtfTableShape) and the content placed in it, so
// that loading stays linear in the rows.
class RtfDocumentBuilder
{
public:
    explicit RtfDocumentBuilder(QTextDocument &document);

    // False, placing nothing, when the text would take the tables past
    // their limit (RtfTableShape::addText()); outside tables always true.
    [[nodiscard]] bool insertText(const QString &text, const QTextCharFormat &format);
    void insertImage(const QImage &image, const QSizeF &size);
    // Ends the current paragraph with the given formats and starts a new one.
    void endParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);
    // Sets the formats of the current paragraph (for one that ends otherwise).
    void formatParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);

    // True when the cursor stands in an open cell of a table nested level
    // deep (level 0: outside every table).
    bool isAt(int level) const;
    // Closes deeper tables and opens missing ones until the cursor stands in
    // a cell at the given nesting level. columnsHint sizes a new table.
    // These three do nothing and return false when the step would take the
    // tables past RtfLimits::MaxTableCells (see RtfTableShape); moving to
    // level 0 always succeeds.
    [[nodiscard]] bool moveToLevel(int level, int columnsHint);
    [[nodiscard]] bool endCell(int level, int columnsHint);
    [[nodiscard]] bool endRow(int level, const RtfRowDefinition &row);
    // Places what is still kept back (a document may end inside a table).
    void finish();

private:
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int row = 0;
        int column = 0;
        int columns = 0; // as the table would have grown: the widths cover these
        bool cellOpen = true;
        bool rowDone = false;
        bool widthsSet = false;
    };

    // A call kept back while a table is open: its formats are in m_formats
    // from index on, its text, picture or row definition at item.
    struct Step
    {
        enum Kind : quint8 { Text, Image, EndParagraph, FormatParagraph, MoveToLevel, EndCell, EndRow };
        Kind kind;
        int level = 0;
        int columnsHint = 0;
        qsizetype index = 0;
        qsizetype item = 0;
    };

    bool keepingBack() const { return !m_steps.empty(); }
    void keep(const Step &step);
    void placeKept();
    void applyText(const QString &text, const QTextCharFormat &format);
    void applyImage(const QImage &image, const QSizeF &size);
    void applyEndParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);
    void applyFormatParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);
    void applyMoveToLevel(int level, int columnsHint);
    void applyEndCell(int level, int columnsHint);
    void applyEndRow(int level, const RtfRowDefinition &row);
    int tableLevel() const { return static_cast<int>(m_tables.size()); }
    bool paragraphIsEmpty() const;

    void openTable(int columns);
    void growColumns(OpenTable &open, int columns);
    static QList<QTextLength> columnWidths(const RtfRowDefinition &row, int columns);
    void openCell(OpenTable &open);
    bool previousBlockIsSibling() const;

    QTextDocument &m_document;
    QTextCursor m_cursor;
    std::vector<OpenTable> m_tables;
    int m_imageCount = 0;

    RtfTableShape m_shape; // where the calls received so far stand
    std::vector<Step> m_steps;
    std::vector<QString> m_texts;
    std::vector<QTextFormat> m_formats;
    std::vector<std::pair<QImage, QSizeF>> m_images;
    std::vector<RtfRowDefinition> m_rows;
    std::vector<QSize> m_sizes; // of the tables being placed, in order
    std::size_t m_nextSize = 0;
};
