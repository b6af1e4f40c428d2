#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class SearchResultList;
class SearchResultModel;

// The search page of the side bar: a query field, the count of results and
// the list of results. Every change of the field asks for an answer at once;
// Up, Down and the page keys in the field move in the list, Enter (in the
// field or the list) or a double click opens the current result and hands
// the keyboard to the view, a click opens it and leaves the keyboard in the
// list, Escape hands the keyboard back to the view. The window's command
// keys work from the field too, all but the field's own editing keys. The
// panel only reports; its controller searches and opens.
class SearchPanel : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchPanel)

public:
    explicit SearchPanel(SearchResultModel *model, QWidget *parent = nullptr);

    QLineEdit *input() const { return m_input; }
    QListView *list() const;
    QLabel *countLabel() const { return m_count; }

    // Gives the field the keyboard with its text selected; the list stays as
    // it is.
    void activate();
    // What the count line says.
    void setStatus(const QString &text);
    // After a new answer: the first result becomes current.
    void resetCurrent();

    // Whether a key is one of the field's own editing keys, which stay with
    // the field even when a command of the window has the same key.
    static bool isEditingKey(const QKeyEvent &key);

signals:
    void queryChanged(const QString &query);
    // focusView: the keyboard goes to the view the result opens in.
    void openRequested(int row, bool focusView);
    // Enter in the field: the current result is to open (the first of the
    // answer to come, when the query is still being asked).
    void enterPressed();
    void escapePressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveCurrent(int key);
    // Whether a command of the window has the key.
    bool isCommandKey(const QKeyEvent &key) const;

    QLineEdit *m_input = nullptr;
    QLabel *m_count = nullptr;
    SearchResultList *m_list = nullptr;
};
