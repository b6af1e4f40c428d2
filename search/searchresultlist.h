#pragma once

#include <QListView>

// The list of the search page. It tells when it has painted, so that the
// time from a key to the results on screen can be measured.
class SearchResultList : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultList)

public:
    explicit SearchResultList(QWidget *parent = nullptr);

signals:
    // The viewport has been painted.
    void painted();

protected:
    void paintEvent(QPaintEvent *event) override;
};
