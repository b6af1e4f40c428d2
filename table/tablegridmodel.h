#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The cells of the open table. Row 0 of the grid is its fixed header, held
// here as the header texts with each column's auto mark; data rows 1.. are
// model rows 0.. . Cell texts are kept as the file's Windows-1250 bytes in one
// block with an offset per cell, so a table costs little more than its file;
// they are decoded when shown.
class TableGridModel : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableGridModel)

public:
    enum Role {
        AutoMarkRole = Qt::UserRole + 1, // header: 1 for an auto column, 0 otherwise
        LinkIndexRole,                   // data cell: index in the link cell list, or -1
    };

    explicit TableGridModel(QObject *parent = nullptr);

    // Sets n columns with empty headers and a single empty data row.
    void reset(int columns);
    int columns() const { return int(m_header.size()); }
    // Data rows, not counting the header.
    int dataRows() const { return m_rows; }

    void setHeader(int column, const QString &text, int autoMark);
    QString headerText(int column) const { return m_header.value(column); }
    int autoMark(int column) const { return m_autoMark.value(column); }
    QStringList headerTexts() const { return m_header; }

    // Appends a data row of trimmed cell bytes (exactly columns() of them).
    // While every cell of row 1 is empty, the next row replaces it.
    // linkIndexes gives each cell's link index (-1 for none).
    void appendRow(const QVector<QByteArrayView> &cells, const QVector<int> &linkIndexes);
    bool firstRowEmpty() const;
    // Room for this many bytes of cell text, before a bulk load.
    void reserve(qsizetype bytes);

    // Grid rows: 1 is the first data row.
    QString cellText(int column, int gridRow) const;
    QByteArrayView cellBytes(int column, int gridRow) const;
    int linkIndex(int column, int gridRow) const;

    // Whether a column's cells show their markup (left-aligned columns) or
    // their text as stored; until told, every column shows its markup.
    void setMarkupColumns(std::function<bool(int column)> markup) { m_markupColumns = std::move(markup); }
    // A cell's text as the grid shows it (also its accessible text), and the
    // same as HTML with its bold, italic and underline.
    QString visibleText(int column, int gridRow) const;
    QString visibleHtml(int column, int gridRow) const;

    // Signals the views once after rows were appended in bulk.
    void beginLoading();
    void endLoading();

    qsizetype memoryBytes() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    qsizetype cellIndex(int column, int gridRow) const;

    QStringList m_header;
    QVector<int> m_autoMark;
    QByteArray m_text;
    QVector<quint32> m_cellEnd; // end offset of each cell in m_text, row by row
    // Link cells in file order: their cell index and link index.
    QVector<quint32> m_linkCells;
    QVector<int> m_linkIndexes;
    int m_rows = 0;
    bool m_loading = false;
    std::function<bool(int)> m_markupColumns;
};
