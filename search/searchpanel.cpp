#include "search/searchpanel.h"

#include "search/searchresultdelegate.h"
#include "search/searchresultlist.h"
#include "search/searchresultmodel.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QColor kCream(255, 255, 215);

void setCream(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, kCream);
    widget->setPalette(palette);
}

} // namespace

SearchPanel::SearchPanel(SearchResultModel *model, QWidget *parent) : QWidget(parent)
{
    setObjectName(u"WexalSearchPanel"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    m_input = new QLineEdit(this);
    m_input->setObjectName(u"WexalSearchInputEdit"_s);
    m_input->setPlaceholderText(u"Szukaj w tytułach i treści tematów"_s);
    m_input->setClearButtonEnabled(true);
    setCream(m_input);
    m_input->installEventFilter(this);

    m_count = new QLabel(this);
    m_count->setObjectName(u"WexalSearchCountLabel"_s);
    m_count->setWordWrap(true);

    m_list = new SearchResultList(this);
    m_list->setObjectName(u"WexalSearchResultList"_s);
    m_list->setModel(model);
    m_list->setItemDelegate(new SearchResultDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCream(m_list);
    m_list->installEventFilter(this);

    layout->addWidget(m_input);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);

    connect(m_input, &QLineEdit::textChanged, this, [this](const QString &text) { emit queryChanged(text); });
    connect(m_list, &QListView::clicked, this,
            [this](const QModelIndex &index) { emit openRequested(index.row(), false); });
    connect(m_list, &QListView::activated, this,
            [this](const QModelIndex &index) { emit openRequested(index.row(), true); });
}

QListView *SearchPanel::list() const
{
    return m_list;
}

void SearchPanel::activate()
{
    m_input->setFocus(Qt::ShortcutFocusReason);
    m_input->selectAll();
}

void SearchPanel::setStatus(const QString &text)
{
    m_count->setText(text);
}

void SearchPanel::resetCurrent()
{
    QAbstractItemModel *model = m_list->model();
    if (model->rowCount() > 0) {
        m_list->setCurrentIndex(model->index(0, 0));
        m_list->scrollToTop();
    }
}

void SearchPanel::moveCurrent(int key)
{
    QAbstractItemModel *model = m_list->model();
    const int rows = model->rowCount();
    if (rows == 0)
        return;
    const int page = qMax(1, m_list->viewport()->height() / qMax(1, m_list->sizeHintForRow(0)));
    int row = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    switch (key) {
    case Qt::Key_Up:
        row = qMax(0, row - 1);
        break;
    case Qt::Key_Down:
        row = qMin(rows - 1, row + 1);
        break;
    case Qt::Key_PageUp:
        row = qMax(0, row - page);
        break;
    default:
        row = qMin(rows - 1, row + page);
        break;
    }
    m_list->setCurrentIndex(model->index(row, 0));
}

bool SearchPanel::isEditingKey(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Moving and selecting: with Shift, Ctrl or neither, never with Alt.
        return (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier)) == Qt::NoModifier;
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
    case Qt::Key_Z:
    case Qt::Key_Y:
        return modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    default:
        return false;
    }
}

bool SearchPanel::isCommandKey(const QKeyEvent &key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction *action : window()->actions()) {
        if (action->shortcuts().contains(pressed))
            return true;
    }
    return false;
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_input && event->type() == QEvent::ShortcutOverride) {
        // The field takes every key it has a use for (Ctrl+E, say, as the end
        // of the line) before the window's shortcuts see it; a command's key
        // passes it by, so the command runs, unless it edits the field.
        const auto &key = *static_cast<QKeyEvent *>(event);
        if (!isEditingKey(key) && isCommandKey(key)) {
            event->ignore();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto &key = *static_cast<QKeyEvent *>(event);
    if (key.key() == Qt::Key_Escape) {
        emit escapePressed();
        return true;
    }
    if (watched != m_input)
        return QWidget::eventFilter(watched, event);
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        moveCurrent(key.key());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
