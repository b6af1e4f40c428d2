#include "table/tablecolumns.h"

#include "core/textrules.h"
#include "table/tablefileloader.h"

using namespace Qt::StringLiterals;

namespace Wexal::TableColumns {

namespace {

QString notInteger(const QString &text)
{
    return u"„%1” nie jest prawidłową liczbą całkowitą."_s.arg(text);
}

int countOf(const QString &text, QString *error)
{
    int columns = 0;
    if (!parseInteger(text, &columns)) {
        if (error)
            *error = notInteger(text);
        return 0;
    }
    if (columns < 1 || columns > kMaxTableColumns) {
        if (error)
            *error = u"Nieprawidłowa liczba kolumn tabeli: „%1” (dozwolone od 1 do %2)."_s.arg(text).arg(kMaxTableColumns);
        return 0;
    }
    return columns;
}

std::optional<Width> widthOf(const QString &text, QString *error)
{
    if (upperCase(text) == u"AUTO")
        return Width{true, 0};
    int pixels = 0;
    if (parseInteger(text, &pixels))
        return Width{false, pixels};
    if (error)
        *error = notInteger(text);
    return std::nullopt;
}

QString widthKey(int k)
{
    return u"WIDTH"_s + QString::number(k) + u'=';
}

} // namespace

int count(QStringView record, QString *error)
{
    return countOf(GetTabField(record, u"COLUMNS="), error);
}

std::optional<Width> width(QStringView record, int k, QString *error)
{
    return widthOf(GetTabField(record, widthKey(k)), error);
}

int countWhenOpening(QStringView record)
{
    const TabFieldLookup fields(record);
    const int columns = countOf(fields.value(u"COLUMNS="), nullptr);
    for (int k = 1; k <= columns; ++k) {
        if (!widthOf(fields.value(widthKey(k)), nullptr))
            return 0;
    }
    return columns;
}

} // namespace Wexal::TableColumns
