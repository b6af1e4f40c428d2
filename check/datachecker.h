#pragma once

#include "check/checkreport.h"

#include <QString>

// Checks the data files of a program directory the way the viewer reads
// them: the definitions, every text and table topic, the links in the
// tables and the three documents.
class DataChecker
{
public:
    // Exit statuses of wexal-check.
    enum Status { Clean = 0, Errors = 1, Unreadable = 2 };

    // programDir ends in "/". The topic files are read on threads threads
    // (0: one per processor core); the report is the same for any number.
    explicit DataChecker(const QString &programDir, int threads = 0);

    Status run();

    const CheckReport &report() const { return m_report; }

private:
    QString m_programDir;
    int m_threads;
    CheckReport m_report;
};
