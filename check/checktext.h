#pragma once

#include <QString>
#include <QStringView>

// How findings quote the data they talk about.
namespace Wexal::Check {

// The text in Polish quotation marks, cut to about 60 characters with "…";
// control characters, tabs and line feeds included, are shown as spaces.
QString quoted(QStringView text);

} // namespace Wexal::Check
