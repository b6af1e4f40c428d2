// Takes export numbers from the counter of a program directory in a loop and
// prints each on its own line ("-" for the empty number). It waits for one
// line on its standard input before it starts, so that the test can let two
// copies loose on the same counter at the same moment.
//
// Usage: export_counterworker <program directory ending in "/"> <count>

#include "export/exportcounter.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool countOk = false;
    const int count = args.size() == 3 ? args.at(2).toInt(&countOk) : 0;
    if (!countOk || count < 0) {
        std::fputs("usage: export_counterworker <program directory> <count>\n", stderr);
        return 2;
    }

    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return 2;
    in.readLine();

    QTextStream out(stdout);
    for (int i = 0; i < count; ++i) {
        const QString number = Wexal::NextExportNumber(args.at(1));
        out << (number.isEmpty() ? QStringLiteral("-") : number) << '\n';
    }
    out.flush();
    return 0;
}
