#include "table/tablefileloader.h"

#include "core/cp1250.h"
#include "core/datafilereader.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "table/tablefileobserver.h"
#include "table/tablegridmodel.h"

#include <QIODevice>
#include <QVector>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Whether a cell holds "#L#". Cells are short, where a plain scan for "#"
// beats a general substring search.
bool hasLinkToken(QByteArrayView cell)
{
    const char *data = cell.data();
    const qsizetype size = cell.size();
    for (qsizetype i = 0; i + 2 < size; ++i) {
        if (data[i] == '#' && data[i + 1] == 'L' && data[i + 2] == '#')
            return true;
    }
    return false;
}

// Cuts lines into cells and appends them as rows to the model.
class RowAppender
{
public:
    RowAppender(TableGridModel &model, QStringList &linkCellList)
        : m_model(model), m_linkCellList(linkCellList), m_columns(model.columns()), m_cells(m_columns),
          m_links(m_columns, -1)
    {
    }

    // Appends the line's row unless its trimmed form is empty; returns
    // whether it did, and in rest what follows the last column's cell.
    bool appendLine(QByteArrayView line, QByteArrayView &rest)
    {
        if (Wexal::trimmedBytes(line).isEmpty())
            return false;
        rest = line;
        for (int c = 0; c < m_columns; ++c) {
            const qsizetype tab = rest.indexOf('\t');
            if (tab >= 0) {
                m_cells[c] = Wexal::trimmedBytes(rest.first(tab));
                rest = rest.sliced(tab + 1);
            } else {
                m_cells[c] = Wexal::trimmedBytes(rest);
                rest = QByteArrayView();
            }
            if (hasLinkToken(m_cells[c])) {
                m_links[c] = int(m_linkCellList.size());
                m_linkCellList.append(Wexal::Cp1250::decode(m_cells[c]) + u"#R#"_s);
            } else {
                m_links[c] = -1;
            }
        }
        m_model.appendRow(m_cells, m_links);
        return true;
    }

private:
    TableGridModel &m_model;
    QStringList &m_linkCellList;
    const int m_columns;
    QVector<QByteArrayView> m_cells;
    QVector<int> m_links;
};

// Holds the model in one bulk load for as long as it lives.
class Loading
{
public:
    explicit Loading(TableGridModel &model) : m_model(model) { m_model.beginLoading(); }
    ~Loading() { m_model.endLoading(); }
    Loading(const Loading &) = delete;
    Loading &operator=(const Loading &) = delete;

private:
    TableGridModel &m_model;
};

constexpr char kCtrlZ = 26;

} // namespace

void loadTableBytes(QByteArrayView bytes, TableGridModel &model, QStringList &linkCellList)
{
    RowAppender rows(model, linkCellList);
    const Loading loading(model);
    // The cells take about the file's size; reserving it once avoids regrowing.
    model.reserve(bytes.size());
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        const void *cr = std::memchr(data + pos, '\r', std::size_t(size - pos));
        const qsizetype limit = cr ? static_cast<const char *>(cr) - data : size;
        const void *ctrlZ = std::memchr(data + pos, kCtrlZ, std::size_t(limit - pos));
        const qsizetype end = ctrlZ ? static_cast<const char *>(ctrlZ) - data : limit;
        QByteArrayView rest;
        rows.appendLine(QByteArrayView(data + pos, end - pos), rest);
        if (ctrlZ || !cr)
            break;
        pos = end + 1;
        if (pos < size && data[pos] == '\n')
            ++pos;
    }
}

void loadTableFile(QIODevice &device, TableGridModel &model, QStringList &linkCellList, const QString &fileName,
                   TableFileObserver *observer)
{
    RowAppender rows(model, linkCellList);
    DataFileReader reader(device);
    reader.setObserver(observer);
    const Loading loading(model);
    // The cells take about the file's size; reserving it once avoids regrowing.
    if (device.size() > 0)
        model.reserve(device.size());

    while (!reader.atEnd()) {
        const QByteArray line = reader.readLineBytes();
        QByteArrayView rest;
        if (rows.appendLine(line, rest) && observer)
            observer->rowLoaded(reader.lineNumber(), model.dataRows(), rest);
    }
    if (reader.hasError())
        throw WexalError(u"Błąd wejścia/wyjścia podczas czytania pliku „%1”: %2"_s.arg(fileName, reader.errorString()));
}
