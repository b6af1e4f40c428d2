#pragma once

#include "app/twexalmainform.h"
#include "search/searchpanelcontroller.h"
#include "tools/benchtable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

// The main window of the table benchmarks, started as a user starts it and
// settled before anything is measured.
namespace BenchWindow {

// Shows form, stops its start page from opening and lets the instant
// search's index, built in the background after the start, finish first:
// it is its own figure (searchpanelbench), and running beside a table
// benchmark it would add its memory and its CPU to the table's. The largest
// table topic, its path in *path; exits when there is none.
inline int startOnLargestTable(TWexalMainForm &form, const char *bench, QString *path)
{
    form.show();
    QCoreApplication::processEvents();
    if (auto *timer = form.findChild<QTimer *>(QStringLiteral("WexalStartTimer")))
        timer->stop();
    if (const auto *search = form.findChild<SearchPanelController *>()) {
        QElapsedTimer waited;
        waited.start();
        while (!search->indexReady() && waited.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    const int topic = BenchTable::largestTable(form.state().TopicList, form.state().ProgramDir, path);
    if (topic < 0) {
        std::fprintf(stderr, "%s: no table topic in %s\n", bench, qPrintable(form.state().ProgramDir));
        std::exit(2);
    }
    return topic;
}

} // namespace BenchWindow
