#include "table/tablegridmodel.h"

#include <cstring>

#include "core/cp1250.h"
#include "table/cellmarkuptext.h"

#include <algorithm>

TableGridModel::TableGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TableGridModel::reset(int columns)
{
    beginResetModel();
    m_header = QStringList(qMax(0, columns));
    m_autoMark = QVector<int>(qMax(0, columns), 0);
    m_text.clear();
    m_text.squeeze();
    m_cellEnd = QVector<quint32>(qMax(0, columns), 0);
    m_linkCells.clear();
    m_linkIndexes.clear();
    m_rows = 1;
    endResetModel();
}

void TableGridModel::setHeader(int column, const QString &text, int autoMark)
{
    if (column < 0 || column >= m_header.size())
        return;
    m_header[column] = text;
    m_autoMark[column] = autoMark;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

bool TableGridModel::firstRowEmpty() const
{
    const int n = columns();
    return n == 0 || m_rows == 0 || m_cellEnd.value(n - 1) == 0;
}

void TableGridModel::reserve(qsizetype bytes)
{
    m_text.reserve(bytes);
    // A cell takes some 16 bytes of a typical file.
    m_cellEnd.reserve(bytes / 16 + columns());
}

void TableGridModel::beginLoading()
{
    beginResetModel();
    m_loading = true;
}

void TableGridModel::endLoading()
{
    m_loading = false;
    endResetModel();
}

void TableGridModel::appendRow(const QVector<QByteArrayView> &cells, const QVector<int> &linkIndexes)
{
    const int n = columns();
    if (n == 0)
        return;
    const bool replaceFirst = m_rows == 1 && firstRowEmpty();
    if (replaceFirst) {
        // Emptied, not freed: a load has reserved room for the whole table.
        m_text.resize(0);
        m_cellEnd.clear();
        m_linkCells.clear();
        m_linkIndexes.clear();
    } else if (!m_loading) {
        beginInsertRows(QModelIndex(), m_rows, m_rows);
    }
    const quint32 firstCell = quint32(m_cellEnd.size());
    // The row's cells go in with one resize and plain copies: rows are
    // appended by the hundred thousand when a large table is opened.
    qsizetype end = m_text.size();
    qsizetype rowBytes = 0;
    for (int c = 0; c < n; ++c)
        rowBytes += cells[c].size();
    m_text.resize(end + rowBytes);
    char *text = m_text.data();
    for (int c = 0; c < n; ++c) {
        if (!cells[c].isEmpty())
            std::memcpy(text + end, cells[c].data(), std::size_t(cells[c].size()));
        end += cells[c].size();
        m_cellEnd.push_back(quint32(end));
        if (linkIndexes[c] >= 0) {
            m_linkCells.push_back(firstCell + quint32(c));
            m_linkIndexes.push_back(linkIndexes[c]);
        }
    }
    if (replaceFirst) {
        if (!m_loading)
            emit dataChanged(index(0, 0), index(0, n - 1));
        return;
    }
    ++m_rows;
    if (!m_loading)
        endInsertRows();
}

qsizetype TableGridModel::cellIndex(int column, int gridRow) const
{
    const int n = columns();
    if (column < 0 || column >= n || gridRow < 1 || gridRow > m_rows)
        return -1;
    return qsizetype(gridRow - 1) * n + column;
}

QByteArrayView TableGridModel::cellBytes(int column, int gridRow) const
{
    const qsizetype cell = cellIndex(column, gridRow);
    if (cell < 0)
        return QByteArrayView();
    const quint32 begin = cell == 0 ? 0 : m_cellEnd[cell - 1];
    return QByteArrayView(m_text.constData() + begin, m_cellEnd[cell] - begin);
}

QString TableGridModel::cellText(int column, int gridRow) const
{
    return Wexal::Cp1250::decode(cellBytes(column, gridRow));
}

int TableGridModel::linkIndex(int column, int gridRow) const
{
    const qsizetype cell = cellIndex(column, gridRow);
    if (cell < 0)
        return -1;
    const auto it = std::lower_bound(m_linkCells.cbegin(), m_linkCells.cend(), quint32(cell));
    if (it == m_linkCells.cend() || *it != quint32(cell))
        return -1;
    return m_linkIndexes[it - m_linkCells.cbegin()];
}

QString TableGridModel::visibleText(int column, int gridRow) const
{
    if (m_markupColumns && !m_markupColumns(column))
        return cellText(column, gridRow);
    return CellMarkupText::plain(cellBytes(column, gridRow));
}

QString TableGridModel::visibleHtml(int column, int gridRow) const
{
    if (m_markupColumns && !m_markupColumns(column))
        return cellText(column, gridRow).toHtmlEscaped();
    return CellMarkupText::html(cellText(column, gridRow));
}

qsizetype TableGridModel::memoryBytes() const
{
    return m_text.capacity() + m_cellEnd.capacity() * qsizetype(sizeof(quint32))
        + m_linkCells.capacity() * qsizetype(sizeof(quint32)) + m_linkIndexes.capacity() * qsizetype(sizeof(int));
}

int TableGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TableGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant TableGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return cellText(index.column(), index.row() + 1);
    if (role == Qt::AccessibleTextRole)
        return visibleText(index.column(), index.row() + 1);
    if (role == LinkIndexRole)
        return linkIndex(index.column(), index.row() + 1);
    return QVariant();
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_header[section];
    if (role == AutoMarkRole)
        return m_autoMark[section];
    return QVariant();
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
