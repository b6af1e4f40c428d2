#include "core/programdirectory.h"
#include "core/wexalerror.h"
#include "check/datachecker.h"
#include "check/reportformat.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>
#include <new>

using namespace Qt::StringLiterals;

namespace {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

QString usage()
{
    return u"Użycie: wexal-check [--json] [katalog]\n"
           "Sprawdza pliki danych klasyfikacji w katalogu programu (domyślnie w katalogu,\n"
           "w którym leży wexal-check) i wypisuje każdy problem w postaci\n"
           "plik:wiersz: error|warning|note: opis.\n"
           "  --json   wypisuje wyniki jako JSON\n"
           "Kod wyjścia: 0 bez błędów, 1 są błędy, 2 katalogu nie da się odczytać.\n"_s;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"wexal-check"_s);

    bool json = false;
    QString directory;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString &argument : arguments) {
        if (argument == u"--json") {
            json = true;
        } else if (argument == u"--help" || argument == u"-h") {
            write(stdout, usage());
            return 0;
        } else if (argument.startsWith(u'-') || !directory.isEmpty()) {
            write(stderr, u"wexal-check: nieznany argument „%1”\n"_s.arg(argument) + usage());
            return DataChecker::Unreadable;
        } else {
            directory = argument;
        }
    }
    QString programDir;
    try {
        programDir = directory.isEmpty() ? Wexal::runningProgramDir() : QDir(directory).absolutePath() + u'/';
    } catch (const WexalError &error) {
        write(stderr, u"wexal-check: "_s + error.message() + u'\n');
        return DataChecker::Unreadable;
    }

    // Each file that needs more memory than there is is reported as it
    // comes; should the check as a whole run out, it still ends with one of
    // the statuses it promises.
    try {
        DataChecker checker(programDir);
        const DataChecker::Status status = checker.run();
        if (status == DataChecker::Unreadable) {
            write(stderr, u"wexal-check: nie można odczytać katalogu „%1”\n"_s.arg(QDir::toNativeSeparators(programDir)));
            return status;
        }
        if (json) {
            const QByteArray text = Wexal::Check::reportJson(checker.report(), programDir);
            std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        } else {
            write(stdout, Wexal::Check::formatReport(checker.report()));
        }
        std::fflush(stdout);
        write(stderr, u"wexal-check: %1\n"_s.arg(Wexal::Check::reportSummary(checker.report())));
        return status;
    } catch (const std::bad_alloc &) {
        std::fputs("wexal-check: za mało pamięci, aby dokończyć sprawdzanie\n", stderr);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "wexal-check: %s\n", error.what());
    }
    return DataChecker::Errors;
}
