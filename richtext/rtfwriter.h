#pragma once

#include "richtext/rtfwritertables.h"

#include <QByteArray>
#include <QList>
#include <QTextBlock>

class QTextDocument;
class QTextFrame;
class QTextTable;
class QTextTableCell;

// Writes a QTextDocument as RTF 1.x for word processors: Windows-1250 text
// with \uN for other characters, a font and a colour table, character and
// paragraph formats, hyperlinks as HYPERLINK fields, tables (nested ones as
// \itap/\nestcell) and pictures as PNG. RtfReader reads the result back to
// the same text and formats.
class RtfWriter
{
public:
    static QByteArray write(const QTextDocument &doc);

    // One piece of a frame or cell: a paragraph or a child frame (a table).
    struct Item
    {
        QTextBlock block;
        QTextFrame *frame = nullptr;
    };

private:
    explicit RtfWriter(const QTextDocument &doc);

    QByteArray run();
    void writeItems(const QList<Item> &items, int level);
    void writeBlock(const QTextBlock &block, int level);
    void writeBlockFormat(const QTextBlock &block, int level);
    void writeFragments(const QTextBlock &block);
    void writePicture(const QTextCharFormat &format);
    void writeTable(QTextTable *table, int level);
    QByteArray rowDefinition(QTextTable *table, int row);
    QList<int> columnEdges(QTextTable *table) const;
    void openLink(const QString &href);

    const QTextDocument &m_doc;
    RtfWriterTables m_tables;
    QByteArray m_body;
};
