#pragma once

#include "search/instantquery.h"

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <memory>

class SearchIndex;

// The search page's list: one row per hit of the last answer, in its order.
// A row of a table shows the row as the table does: its code (the first
// shown column), its texts, and its figures (the narrow centred or
// right-aligned columns such as a rate), each column's header at hand; a
// paragraph or a title shows its text. The match is marked where it lies.
class SearchResultModel : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultModel)

public:
    struct Entry
    {
        InstantHit::Kind kind = InstantHit::Item;
        QString title; // the topic's title (for a title hit: where it stands)
        QString code;  // the row's first shown cell; empty for a paragraph or title
        QString text;  // the row's other text cells, the paragraph, or the title
        // The figure cells of the row, shown whole at its end, and their
        // columns' headers.
        QStringList figures;
        QStringList figureHeaders;
        // Every shown column's header and cell, in column order (tables only),
        // as far as the row was split; a stretch of the row whose column is
        // not known has an empty header.
        QStringList headers;
        QStringList cells;
        // The match, in code or in text (length 0 where it is not), or the
        // figure cell that holds it (-1 for none).
        int codeMatchStart = 0;
        int codeMatchLength = 0;
        int textMatchStart = 0;
        int textMatchLength = 0;
        int figureMatch = -1;
    };

    explicit SearchResultModel(QObject *parent = nullptr);

    // topicList: the record of every topic by its index.
    void setIndex(std::shared_ptr<const SearchIndex> index, const QStringList &topicList);
    void setAnswer(InstantAnswer answer);
    void clear();

    const InstantAnswer &answer() const { return m_answer; }
    const SearchIndex *searchIndex() const { return m_index.get(); }
    Entry entry(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // DisplayRole: code, text, figures and title in one line (for readers of
    // the list); ToolTipRole: the topic, then every column as "header: cell"
    // (a stretch whose column is not known without its own header).
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The longest stretch of text shown before a match, in characters.
    static constexpr int LeadBefore = 40;
    // The most characters of one text shown.
    static constexpr int LongestText = 400;
    // A centred or right-aligned column at most this wide in the table is a
    // figure column.
    static constexpr int WidestFigureColumn = 150;
    // A row is split into cells from its start, and again after the cell
    // that holds its match, no further than this many bytes each time; its
    // later cells are not shown. A cell keeps at most CellBytes bytes (a
    // longer one ends in an ellipsis), so a row of hundreds of megabytes
    // costs a few kilobytes to show.
    static constexpr int RowBytes = 8192;
    static constexpr int CellBytes = 2048;

private:
    // The shown columns of a table topic (those the index keeps, in order).
    struct Columns
    {
        QStringList headers;
        QVector<bool> figure;
    };
    const Columns &columnsOf(int topic) const;

    std::shared_ptr<const SearchIndex> m_index;
    QStringList m_topicList;
    QStringList m_topicTitles;
    mutable QHash<int, Columns> m_columns;
    InstantAnswer m_answer;
};
