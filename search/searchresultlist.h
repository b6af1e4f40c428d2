#pragma once

#include <QListView>

// The list of the search page. It tells when it has painted, so that the
// time from a key to the results on screen can be measured. The right
// button, the menu key and Shift+F10 offer to copy a result's row, its code
// or the cell that holds the match.
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
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showCopyMenu(const QModelIndex &index, const QPoint &position);
};
