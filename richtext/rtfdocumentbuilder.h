#pragma once

#include "richtext/rtfstate.h"

#include <QTextCursor>

#include <vector>

class QImage;
class QSizeF;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextLength;
class QTextTable;

// Writes what the RTF reader finds into a QTextDocument: runs of text,
// paragraph ends, pictures and tables. Tables are built as the cells arrive:
// a table is created with the first content of its first cell, grows a row
// when content follows a row end and a column when a row has more cells than
// the table, so that rows described before or after their cells (both occur)
// and nested tables read the same way.
class RtfDocumentBuilder
{
public:
    static constexpr int MaxColumns = 63; // the most a word processor writes

    explicit RtfDocumentBuilder(QTextDocument &document);

    void insertText(const QString &text, const QTextCharFormat &format);
    void insertImage(const QImage &image, const QSizeF &size);
    // Ends the current paragraph with the given formats and starts a new one.
    void endParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);
    // Sets the formats of the current paragraph (for one that ends otherwise).
    void formatParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);
    bool paragraphIsEmpty() const;

    // True when the cursor stands in an open cell of a table nested level
    // deep (level 0: outside every table).
    bool isAt(int level) const;
    // Closes deeper tables and opens missing ones until the cursor stands in
    // a cell at the given nesting level. columnsHint sizes a new table.
    void moveToLevel(int level, int columnsHint);
    void endCell(int level, int columnsHint);
    void endRow(int level, const RtfRowDefinition &row);
    int level() const { return static_cast<int>(m_tables.size()); }

private:
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int row = 0;
        int column = 0;
        bool cellOpen = true;
        bool rowDone = false;
        bool widthsSet = false;
    };

    void openTable(int columns);
    static QList<QTextLength> columnWidths(const RtfRowDefinition &row, int columns);
    void openCell(OpenTable &open);
    bool previousBlockIsSibling() const;

    QTextDocument &m_document;
    QTextCursor m_cursor;
    std::vector<OpenTable> m_tables;
    int m_imageCount = 0;
};
