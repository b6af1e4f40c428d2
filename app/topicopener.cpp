#include "app/topicopener.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "core/wexalstate.h"
#include "data/navitreemodel.h"
#include "richtext/richtextview.h"
#include "table/tablecolumns.h"
#include "table/tablefileloader.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QLabel>

#include <new>

using namespace Qt::StringLiterals;
using Wexal::GetTabField;
using Wexal::upperCase;

namespace {

// A topic whose file is missing (or no regular file) opens nothing.
bool fileExists(const QString &path)
{
    return DataFile::isPresent(path);
}

} // namespace

TopicOpener::TopicOpener(WexalState &state, const NaviTreeModel &tree, Views views)
    : m_state(state), m_tree(tree), m_views(std::move(views))
{
}

QString TopicOpener::titleOf(const QString &record)
{
    return Wexal::asciiUpperCase(GetTabField(record, u"SIGNATURE=")) + u" - "_s + GetTabField(record, u"NAME=");
}

void TopicOpener::setViewMode(int mode)
{
    m_state.ViewMode = mode;
    if (m_views.applyViewLayout)
        m_views.applyViewLayout();
}

void TopicOpener::OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row)
{
    if (topicIndex < 0 || topicIndex >= m_state.TopicList.size())
        return;

    // The entry of the topic being left records its present state, and a new
    // leaf opening cuts off what Next would have reached.
    if (recordInHistory && !m_state.HistoryList.isEmpty() && m_state.CurrentTopic >= 0) {
        const int node = m_tree.FindTreeNodeByTopic(topicIndex);
        if (node >= 0 && !m_tree.nodeHasChildren(node) && m_state.HistoryPos >= 0
            && m_state.HistoryPos < m_state.HistoryList.size()) {
            m_state.HistoryList.erase(m_state.HistoryList.begin() + m_state.HistoryPos + 1, m_state.HistoryList.end());
            m_state.HistoryList[m_state.HistoryPos] = m_state.CurrentEntry;
        }
    }

    const QString record = m_state.TopicList.at(topicIndex);
    const QString mode = upperCase(GetTabField(record, u"MODE="));
    if (mode.isEmpty() || mode == u"GROUP") {
        setViewMode(ViewNavigation);
        return;
    }
    if (mode == u"RTF") {
        openText(topicIndex, record, recordInHistory);
        return;
    }
    if (mode == u"TABLE")
        openTable(topicIndex, record, recordInHistory, keyText, row);
}

void TopicOpener::openText(int topicIndex, const QString &record, bool recordInHistory)
{
    const QString path = m_state.ProgramDir + GetTabField(record, u"FILE=");
    if (!fileExists(path)) {
        setViewMode(ViewNavigation);
        return;
    }
    m_views.textTitle->setText(titleOf(record));
    m_views.text->loadFile(path);
    setViewMode(ViewText);
    const QString entry = QString::number(topicIndex) + u'\t';
    if (recordInHistory) {
        m_state.HistoryList.append(entry);
        m_state.HistoryPos = int(m_state.HistoryList.size()) - 1;
    }
    m_state.CurrentEntry = entry;
    m_state.CurrentTopic = topicIndex;
}

void TopicOpener::setupColumns(const QString &record, int columns)
{
    TableGrid *grid = m_views.grid;
    TableGridModel *model = grid->gridModel();
    for (int k = 1; k <= columns; ++k) {
        const int c = k - 1;
        const QString number = QString::number(k);
        const QString name = GetTabField(record, QString(u"NAME"_s + number + u'='));
        QString error;
        const std::optional<Wexal::TableColumns::Width> width = Wexal::TableColumns::width(record, k, &error);
        if (!width)
            throw WexalError(error);
        model->setHeader(c, name, width->automatic ? 1 : 0);
        grid->setColumnSpec(c, width->automatic ? 50 : width->pixels, width->automatic);
        const QString alignment = upperCase(GetTabField(record, QString(u"ALIGNMENT"_s + number + u'=')));
        const QString entry = QString::number(c) + u'#';
        if (alignment == u"LEFT")
            m_state.LeftColumns += entry;
        else if (alignment == u"CENTER")
            m_state.CenterColumns += entry;
        else if (alignment == u"RIGHT")
            m_state.RightColumns += entry;
    }
}

void TopicOpener::openTable(int topicIndex, const QString &record, bool recordInHistory, const QString &keyText,
                            int row)
{
    m_state.LinkCellList.clear();
    const QString path = m_state.ProgramDir + GetTabField(record, u"FILE=");
    if (!fileExists(path)) {
        setViewMode(ViewNavigation);
        return;
    }
    m_views.tableTitle->setText(titleOf(record));

    QString error;
    const int columns = Wexal::TableColumns::count(record, &error);
    if (columns == 0)
        throw WexalError(error);

    TableGrid *grid = m_views.grid;
    TableGridModel *model = grid->gridModel();
    model->reset(columns);
    grid->setDefaultRowHeight(16);
    m_state.LeftColumns = u"#"_s;
    m_state.CenterColumns = u"#"_s;
    m_state.RightColumns = u"#"_s;

    setupColumns(record, columns);

    const DataFile file = DataFile::read(path, DataFile::Kind::TableTopic);
    // A file gone since the look above fails with the system's reason.
    if (file.isAbsent() || file.status() == DataFile::Status::Unreadable)
        throw WexalError(u"Błąd wejścia/wyjścia: nie można otworzyć pliku „%1”: %2"_s.arg(path, file.reason()));
    if (!file.isRead())
        throw WexalError(file.problem(path));
    try {
        loadTableBytes(file.bytes(), *model, m_state.LinkCellList);
    } catch (const std::bad_alloc &) {
        throw WexalError(DataFile::outOfMemory(path));
    }

    setViewMode(ViewTable);
    grid->FitAutoColumn();

    grid->setRow(1);
    grid->scrollRowToTop(1);
    if (!keyText.isEmpty()) {
        const QString key = keyText;
        bool encodable = true;
        for (const QChar ch : key)
            encodable = encodable && Wexal::Cp1250::canEncode(ch);
        if (encodable) {
            const QByteArray keyBytes = Wexal::Cp1250::encode(key);
            for (int r = 1; r <= model->dataRows(); ++r) {
                if (model->cellBytes(0, r) == QByteArrayView(keyBytes)) {
                    grid->setRow(r);
                    grid->scrollRowToTop(r);
                    break;
                }
            }
        }
    }
    if (row >= 0) {
        grid->setRow(row);
        grid->scrollRowToTop(row);
    }
    const QString entry = QString::number(topicIndex) + u"\t1\t"_s;
    if (recordInHistory) {
        m_state.HistoryList.append(entry);
        m_state.HistoryPos = int(m_state.HistoryList.size()) - 1;
    }
    m_state.CurrentEntry = entry;
    m_state.CurrentTopic = topicIndex;
}
