#include "check/reportformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace Wexal::Check {

namespace {

// Kept in English: editors and build tools recognise these words.
QString severityWord(CheckFinding::Severity severity)
{
    switch (severity) {
    case CheckFinding::Severity::Error: return u"error"_s;
    case CheckFinding::Severity::Warning: return u"warning"_s;
    case CheckFinding::Severity::Note: break;
    }
    return u"note"_s;
}

} // namespace

QString formatFinding(const CheckFinding &finding)
{
    QString place = finding.file;
    if (finding.line > 0)
        place += u':' + QString::number(finding.line);
    return place + u": "_s + severityWord(finding.severity) + u": "_s + finding.message;
}

QString formatReport(const CheckReport &report)
{
    QString text;
    for (const CheckFinding &finding : report.findings())
        text += formatFinding(finding) + u'\n';
    return text;
}

QByteArray reportJson(const CheckReport &report, const QString &directory)
{
    QJsonArray findings;
    for (const CheckFinding &finding : report.findings()) {
        QJsonObject item;
        item.insert(u"file"_s, finding.file);
        item.insert(u"line"_s, finding.line);
        item.insert(u"severity"_s, severityWord(finding.severity));
        item.insert(u"message"_s, finding.message);
        findings.append(item);
    }
    QJsonObject root;
    root.insert(u"directory"_s, directory);
    root.insert(u"errors"_s, report.count(CheckFinding::Severity::Error));
    root.insert(u"warnings"_s, report.count(CheckFinding::Severity::Warning));
    root.insert(u"notes"_s, report.count(CheckFinding::Severity::Note));
    root.insert(u"findings"_s, findings);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString countForm(int count, const QString &one, const QString &few, const QString &many)
{
    if (count == 1)
        return one;
    const int lastTwo = count % 100;
    const int last = count % 10;
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        return few;
    return many;
}

QString reportSummary(const CheckReport &report)
{
    const int errors = report.count(CheckFinding::Severity::Error);
    const int warnings = report.count(CheckFinding::Severity::Warning);
    const int notes = report.count(CheckFinding::Severity::Note);
    return u"%1 %2, %3 %4, %5 %6"_s.arg(errors)
        .arg(countForm(errors, u"błąd"_s, u"błędy"_s, u"błędów"_s))
        .arg(warnings)
        .arg(countForm(warnings, u"ostrzeżenie"_s, u"ostrzeżenia"_s, u"ostrzeżeń"_s))
        .arg(notes)
        .arg(countForm(notes, u"uwaga"_s, u"uwagi"_s, u"uwag"_s));
}

} // namespace Wexal::Check
