#pragma once

#include "check/checkreport.h"

#include <QByteArray>
#include <QString>

// How a report is written out: as lines in the form compilers use, so that
// an editor can jump to each place, or as JSON for other tools.
namespace Wexal::Check {

// "file:line: error: message"; "file: error: message" for a whole file.
QString formatFinding(const CheckFinding &finding);
// Every finding, one line each, each ended by "\n".
QString formatReport(const CheckReport &report);

// {"directory": ..., "errors": n, "warnings": n, "notes": n,
//  "findings": [{"file", "line", "severity", "message"}, ...]}
QByteArray reportJson(const CheckReport &report, const QString &directory);

// "2 błędy, 1 ostrzeżenie, 5 uwag"
QString reportSummary(const CheckReport &report);

// The Polish form of a count: one for 1, few for 2-4 (not 12-14), many else.
QString countForm(int count, const QString &one, const QString &few, const QString &many);

} // namespace Wexal::Check
