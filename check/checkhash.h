#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

// 64-bit hashes that stand for texts the check compares many times (link
// targets against topics, row keys against first cells), made without
// copying the texts. Two different texts of the data do not share one in
// practice (FNV-1a over 64 bits).
namespace Wexal::Check {

// A topic's signature and LINK=, compared without regard to letter case.
quint64 linkHash(QStringView signature, QStringView link);

// A cell's bytes, and a text as the same bytes in Windows-1250 ("?" for a
// character the code page lacks; a row key read from the data has none).
quint64 bytesHash(QByteArrayView bytes);
quint64 encodedHash(QStringView text);

} // namespace Wexal::Check
