#pragma once

#include "search/instantquery.h"

#include <QAbstractListModel>
#include <QStringList>

#include <memory>

class SearchIndex;

// The search panel's list: one row per hit of the last answer, in its order.
// Each row shows the topic's title, the row's code and the matched text with
// where the match lies in it.
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
        QString text;  // the rest of the row, the paragraph, or the title
        // The match, in code or in text (length 0 where it is not).
        int codeMatchStart = 0;
        int codeMatchLength = 0;
        int textMatchStart = 0;
        int textMatchLength = 0;
    };

    explicit SearchResultModel(QObject *parent = nullptr);

    // topicTitles: the title of every topic by its index.
    void setIndex(std::shared_ptr<const SearchIndex> index, QStringList topicTitles);
    void setAnswer(InstantAnswer answer);
    void clear();

    const InstantAnswer &answer() const { return m_answer; }
    const SearchIndex *searchIndex() const { return m_index.get(); }
    Entry entry(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // DisplayRole: code, text and title in one line (for readers of the list).
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The longest stretch of text shown before a match, in characters.
    static constexpr int LeadBefore = 40;
    // The most characters of one text shown.
    static constexpr int LongestText = 400;

private:
    std::shared_ptr<const SearchIndex> m_index;
    QStringList m_topicTitles;
    InstantAnswer m_answer;
};
