// A table file read into the grid's model as opening a table topic reads it.
// The first byte gives the column count (1 to 256), the rest is the file.

#include "fuzzcheck.h"

#include "core/wexalerror.h"
#include "table/linktarget.h"
#include "table/tablefileloader.h"
#include "table/tablegridmodel.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(char byte)
{
    return static_cast<unsigned char>(byte) <= 32;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int columns = 1 + data[0];
    QByteArray file(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);

    TableGridModel model;
    model.reset(columns);
    QStringList linkCells;
    try {
        loadTableFile(buffer, model, linkCells, u"fuzz.txt"_s);
    } catch (const WexalError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }

    FUZZ_CHECK(model.columns() == columns);
    FUZZ_CHECK(model.dataRows() >= 1);
    FUZZ_CHECK(model.rowCount() == model.dataRows());
    qsizetype cellBytes = 0;
    int linkCount = 0;
    for (int row = 1; row <= model.dataRows(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const QByteArrayView cell = model.cellBytes(column, row);
            cellBytes += cell.size();
            FUZZ_CHECK(cell.isEmpty() || (!isBlank(cell.front()) && !isBlank(cell.back())));
            FUZZ_CHECK(!cell.contains('\t'));
            const int link = model.linkIndex(column, row);
            FUZZ_CHECK(link == -1 || link == linkCount);
            FUZZ_CHECK((link >= 0) == cell.contains("#L#"));
            if (link < 0)
                continue;
            ++linkCount;
            // The link cell's record: its text and the area marker.
            const QString &record = linkCells.at(link);
            FUZZ_CHECK(record.endsWith(u"#R#"_s));
            FUZZ_CHECK(record.chopped(3) == model.cellText(column, row));
            for (int k = 1; k <= 3; ++k) {
                if (!Wexal::readLinkTarget(record, k))
                    break;
            }
        }
    }
    FUZZ_CHECK(linkCount == linkCells.size());
    // Cells are parts of the file: together never more than it.
    FUZZ_CHECK(cellBytes <= file.size());
    return 0;
}
