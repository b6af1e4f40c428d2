#pragma once

#include <QDockWidget>

class QLabel;
class QLineEdit;
class QListView;
class QTimer;
class SearchResultModel;

// The search panel "Szukaj" beside the tree: a query field, the count of
// results and the list of results. Typing asks for an answer after a short
// pause; Up and Down in the field move in the list, Enter (in the field or
// the list), a click or a double click on a result opens it, Escape hands
// the keyboard back to the view. The panel only reports; its controller
// searches and opens.
class SearchPanel : public QDockWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchPanel)

public:
    explicit SearchPanel(SearchResultModel *model, QWidget *parent = nullptr);

    QLineEdit *input() const { return m_input; }
    QListView *list() const { return m_list; }
    QLabel *countLabel() const { return m_count; }

    // Shows the panel with the keyboard in the field, its text selected.
    void activate();
    // What the count line says.
    void setStatus(const QString &text);
    // After a new answer: the first result becomes current.
    void resetCurrent();

    // The pause after the last key before the query is asked.
    static constexpr int TypingPauseMs = 150;

signals:
    void queryChanged(const QString &query);
    void openRequested(int row);
    // Enter in the field: the current result is to open (the first of the
    // answer to come, when the query is still being asked).
    void enterPressed();
    void escapePressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveCurrent(int key);

    QLineEdit *m_input = nullptr;
    QLabel *m_count = nullptr;
    QListView *m_list = nullptr;
    QTimer *m_typing = nullptr;
};
