#include "table/tablefileloader.h"

#include "core/cp1250.h"
#include "core/datafilereader.h"
#include "core/wexalerror.h"
#include "table/tablefileobserver.h"
#include "table/tablegridmodel.h"

#include <QIODevice>
#include <QVector>

using namespace Qt::StringLiterals;

namespace {

// Characters 0 to 32 are blanks in the code page as in ASCII.
QByteArrayView trimmedBytes(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    return bytes.sliced(begin, end - begin);
}

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

} // namespace

void loadTableFile(QIODevice &device, TableGridModel &model, QStringList &linkCellList, const QString &fileName,
                   TableFileObserver *observer)
{
    const int n = model.columns();
    QVector<QByteArrayView> cells(n);
    QVector<int> links(n, -1);
    DataFileReader reader(device);
    reader.setObserver(observer);
    struct Loading {
        TableGridModel &model;
        explicit Loading(TableGridModel &m) : model(m) { model.beginLoading(); }
        ~Loading() { model.endLoading(); }
    } loading(model);
    // The cells take about the file's size; reserving it once avoids regrowing.
    if (device.size() > 0)
        model.reserve(device.size());

    while (!reader.atEnd()) {
        const QByteArray line = reader.readLineBytes();
        if (trimmedBytes(line).isEmpty())
            continue;
        QByteArrayView rest(line);
        for (int c = 0; c < n; ++c) {
            const qsizetype tab = rest.indexOf('\t');
            if (tab >= 0) {
                cells[c] = trimmedBytes(rest.first(tab));
                rest = rest.sliced(tab + 1);
            } else {
                cells[c] = trimmedBytes(rest);
                rest = QByteArrayView();
            }
            if (hasLinkToken(cells[c])) {
                links[c] = int(linkCellList.size());
                linkCellList.append(Wexal::Cp1250::decode(cells[c]) + u"#R#"_s);
            } else {
                links[c] = -1;
            }
        }
        model.appendRow(cells, links);
        if (observer)
            observer->rowLoaded(reader.lineNumber(), model.dataRows(), rest);
    }
    if (reader.hasError())
        throw WexalError(u"Błąd wejścia/wyjścia podczas czytania pliku „%1”: %2"_s.arg(fileName, reader.errorString()));
}
