// A value looked up in a topic record. Byte 0 gives the key's length (0 to
// 15), the next bytes the key, the rest the record, both in Windows-1250.

#include "fuzzcheck.h"

#include "core/cp1250.h"
#include "core/textrules.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

// The lookup the plain way: field by field, the first that holds the key
// once upper-cased gives its text after the key's length.
QString fieldByField(const QString &record, const QString &key)
{
    if (key.isEmpty())
        return record.section(u'\t', 0, 0);
    const QString upperKey = Wexal::upperCase(key);
    for (const QString &field : record.split(u'\t')) {
        if (Wexal::upperCase(field).contains(upperKey))
            return field.mid(key.size());
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const qsizetype keyLength = qMin<qsizetype>(data[0] % 16, qsizetype(size - 1));
    const char *bytes = reinterpret_cast<const char *>(data) + 1;
    const QString key = Wexal::Cp1250::decode(QByteArrayView(bytes, keyLength));
    const QString record = Wexal::Cp1250::decode(
        QByteArrayView(bytes + keyLength, qsizetype(size - 1) - keyLength));

    const QString value = Wexal::GetTabField(record, key);
    FUZZ_CHECK(value == fieldByField(record, key));
    // A value is part of one field of the record.
    FUZZ_CHECK(record.contains(value));
    FUZZ_CHECK(!value.contains(u'\t'));
    if (!value.isEmpty())
        FUZZ_CHECK(Wexal::upperCase(record).contains(Wexal::upperCase(key)));
    // A record asked for many values gives the same.
    FUZZ_CHECK(Wexal::TabFieldLookup(record).value(key) == value);
    // The key's letter case does not matter.
    FUZZ_CHECK(Wexal::GetTabField(record, Wexal::upperCase(key)) == value);
    return 0;
}
