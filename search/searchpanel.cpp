#include "search/searchpanel.h"

#include "search/searchresultdelegate.h"
#include "search/searchresultmodel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
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

SearchPanel::SearchPanel(SearchResultModel *model, QWidget *parent) : QDockWidget(u"Szukaj"_s, parent)
{
    setObjectName(u"WexalSearchPanel"_s);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    auto *body = new QWidget(this);
    body->setObjectName(u"WexalSearchPanelBody"_s);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    m_input = new QLineEdit(body);
    m_input->setObjectName(u"WexalSearchInputEdit"_s);
    m_input->setPlaceholderText(u"Szukaj w tytułach i treści tematów"_s);
    m_input->setClearButtonEnabled(true);
    setCream(m_input);
    m_input->installEventFilter(this);

    m_count = new QLabel(body);
    m_count->setObjectName(u"WexalSearchCountLabel"_s);
    m_count->setWordWrap(true);

    m_list = new QListView(body);
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
    setWidget(body);
    setMinimumWidth(280);

    m_typing = new QTimer(this);
    m_typing->setObjectName(u"WexalSearchTypingTimer"_s);
    m_typing->setSingleShot(true);
    m_typing->setInterval(TypingPauseMs);
    connect(m_input, &QLineEdit::textChanged, m_typing, [this] { m_typing->start(); });
    connect(m_typing, &QTimer::timeout, this, [this] { emit queryChanged(m_input->text()); });
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex &index) { emit openRequested(index.row()); });
    connect(m_list, &QListView::activated, this,
            [this](const QModelIndex &index) { emit openRequested(index.row()); });
}

void SearchPanel::activate()
{
    show();
    raise();
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

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDockWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Escape) {
        emit escapePressed();
        return true;
    }
    if (watched != m_input)
        return QDockWidget::eventFilter(watched, event);
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        moveCurrent(key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A query typed and at once confirmed is asked first.
        if (m_typing->isActive()) {
            m_typing->stop();
            emit queryChanged(m_input->text());
        }
        emit enterPressed();
        return true;
    default:
        return QDockWidget::eventFilter(watched, event);
    }
}
