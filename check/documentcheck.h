#pragma once

#include "richtext/rtfobserver.h"

#include <QByteArray>
#include <QSet>
#include <QString>

class CheckReport;
class DataFile;

// Reads a document (a text topic's file, the help, explanations and update
// information) with the viewer's RTF reader and reports what it had to skip
// or repair, and a document that the viewer shows as plain text.
class DocumentCheck final : public RtfObserver
{
public:
    DocumentCheck(CheckReport &report, const QString &programDir);

    // Checks file once however many topics name it. ifMissing is reported
    // as a warning when the file does not exist or is no regular file
    // (nothing when empty). The file is read here (as a document) unless
    // read is given.
    void check(const QString &file, const QString &ifMissing = QString(), const DataFile *read = nullptr);

    void repaired(Repair what, qsizetype offset, qsizetype count) override;

private:
    static constexpr int kKinds = int(Repair::PictureNotShown) + 1;
    struct Occurrence
    {
        qsizetype offset = 0;
        qsizetype count = 0;
        int times = 0;
    };

    void report(Repair what, const Occurrence &occurrence);

    CheckReport &m_report;
    QString m_programDir;
    QSet<QString> m_checked;
    QString m_file;
    QByteArray m_bytes;
    Occurrence m_found[kKinds];
};
