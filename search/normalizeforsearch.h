#pragma once

#include <QString>
#include <QStringView>

namespace Wexal {

// The form in which queries and searched texts are compared: upper-cased by
// the Windows-1250 rule, then the Polish letters folded to their base
// capitals (Ą to A, Ł to L, Ź and Ż to Z, ...), so "ząb", "ZĄB" and "Zab"
// all read "ZAB". The result is exactly as long as the text.
QString NormalizeForSearch(QStringView text);

// The same into a buffer the caller keeps, so that scanning many rows does
// not allocate for each of them.
void NormalizeForSearchInto(QStringView text, QString &out);

} // namespace Wexal
