#include "search/codelocator.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "core/textrules.h"
#include "search/searchitems.h"
#include "search/visiblecelltext.h"
#include "table/tablefileloader.h"
#include "table/tablegridmodel.h"

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The headers of a table topic's columns, as its record names them; empty
// when the column count is no number or out of range.
QStringList headersOf(const QString &record)
{
    int columns = 0;
    if (!Wexal::parseInteger(Wexal::GetTabField(record, u"COLUMNS="), &columns) || columns < 1
        || columns > Wexal::kMaxTableColumns)
        return {};
    const Wexal::TabFieldLookup fields(record);
    QStringList headers;
    for (int k = 1; k <= columns; ++k)
        headers << fields.value(QString(u"NAME"_s + QString::number(k) + u'='));
    return headers;
}

QString shownText(QByteArrayView cell)
{
    std::vector<char> shown(std::size_t(cell.size()) + 1);
    const char *end = Wexal::appendVisibleCellText(cell, shown.data());
    return Wexal::trimmed(Wexal::Cp1250::decode(QByteArrayView(shown.data(), end - shown.data())));
}

} // namespace

CodeLocator::Place CodeLocator::find(const QString &programDir, const QStringList &topicList, const QString &code)
{
    const QString wanted = Wexal::trimmed(code);
    if (wanted.isEmpty())
        return {};
    // A code without letters is looked for in a file's bytes first: a file
    // without it is not read as a table.
    const bool caseless = std::all_of(wanted.begin(), wanted.end(),
                                      [](QChar ch) { return !ch.isLetter() && Wexal::Cp1250::canEncode(ch); });
    const QByteArray bytesOfCode = caseless ? Wexal::Cp1250::encode(wanted) : QByteArray();
    for (int topic = 0; topic < topicList.size(); ++topic) {
        const QString &record = topicList.at(topic);
        if (Wexal::SearchItems::topicKind(record) != Wexal::SearchItems::TopicKind::Table)
            continue;
        const QStringList headers = headersOf(record);
        const QVector<int> shown = Wexal::SearchItems::rowColumns(headers, -1);
        if (shown.isEmpty())
            continue;
        const DataFile file = DataFile::read(programDir + Wexal::GetTabField(record, u"FILE="), DataFile::Kind::TableTopic);
        if (!file.isRead())
            continue;
        const QByteArray &bytes = file.bytes();
        if (caseless && !bytes.contains(bytesOfCode))
            continue;
        // Read as the grid reads it, so the row is the one the grid will show.
        TableGridModel model;
        model.reset(int(headers.size()));
        QStringList linkCells;
        try {
            loadTableBytes(bytes, model, linkCells);
        } catch (...) {
            continue;
        }
        const int column = shown.front();
        for (int row = 1; row <= model.dataRows(); ++row) {
            if (Wexal::sameText(shownText(model.cellBytes(column, row)), wanted))
                return {topic, row};
        }
    }
    return {};
}
