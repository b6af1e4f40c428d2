// Usage: tablebench [rows]   (QT_QPA_PLATFORM=offscreen for a headless run)
//
// Writes a table file of the given number of rows (default 100,000) and five
// columns, then measures in the same run:
//   split   reading the file line by line and cutting each line into
//           trimmed cells (the floor),
//   open    opening the topic in the main window, from the call to the
//           first rows painted,
// and the memory the open table's cells take against the file's size.

#include "core/cp1250.h"
#include "core/datafilereader.h"
#include "app/twexalmainform.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

void generate(const QString &dir, int rows)
{
    writeFile(dir + u"/definition.global"_s, "tabela.def;\r\n");
    writeFile(dir + u"/tabela.def"_s,
              "{\r\nNAME=Tabela\r\nPARENT=nil\r\nVIEW=SHOW\r\nSIGNATURE=B\r\nLINK=T\r\nMODE=TABLE\r\n"
              "FILE=tabela.txt\r\nCOLUMNS=5\r\nNAME1=Kod\r\nWIDTH1=80\r\nALIGNMENT1=LEFT\r\nNAME2=Nazwa\r\n"
              "WIDTH2=AUTO\r\nALIGNMENT2=LEFT\r\nNAME3=Stawka\r\nWIDTH3=60\r\nALIGNMENT3=CENTER\r\n"
              "NAME4=Uwagi\r\nWIDTH4=200\r\nALIGNMENT4=LEFT\r\nNAME5=Poz.\r\nWIDTH5=50\r\nALIGNMENT5=RIGHT\r\n}\r\n");
    QString text;
    const char16_t *rates[] = {u"23", u"8", u"5", u"0", u"zw."};
    for (int r = 0; r < rows; ++r) {
        text += u"%1.%2.%3\t#B#Wyroby%4#B# z mięsa i podrobów, świeże lub schłodzone\t%5\t"_s.arg(r / 1000)
                    .arg(r / 10 % 100)
                    .arg(r % 10)
                    .arg(r % 7 ? QString() : u" (łączne)"_s)
                    .arg(QString::fromUtf16(rates[r % 5]));
        text += r % 3 ? u"bez uwag"_s : u"#L#Zob. zał.#L#B@T@%1.0.0#"_s.arg(r / 1000);
        text += u"\t%1\r\n"_s.arg(r + 1);
    }
    writeFile(dir + u"/tabela.txt"_s, Wexal::Cp1250::encode(text));
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    qsizetype begin = 0, end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    return bytes.sliced(begin, end - begin);
}

qint64 splitFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    DataFileReader reader(file);
    qint64 cells = 0;
    while (!reader.atEnd()) {
        const QByteArray line = reader.readLineBytes();
        QByteArrayView rest(line);
        for (qsizetype tab = rest.indexOf('\t'); tab >= 0; tab = rest.indexOf('\t')) {
            cells += !trimmed(rest.first(tab)).isEmpty();
            rest = rest.sliced(tab + 1);
        }
        cells += !trimmed(rest).isEmpty();
    }
    return cells;
}

double medianMs(int runs, const std::function<void()> &run)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[runs / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    generate(dir.path(), rows);
    const qint64 fileSize = QFileInfo(dir.path() + u"/tabela.txt"_s).size();

    qint64 cells = 0;
    const double split = medianMs(5, [&] { cells = splitFile(dir.path() + u"/tabela.txt"_s); });

    TWexalMainForm form(dir.path() + u"/wexal"_s);
    form.show();
    QCoreApplication::processEvents();
    const double open = medianMs(5, [&] {
        form.OpenTopic(0, true, QString(), -1);
        form.grid()->repaintNow();
    });

    // One full screen painted, scrolled to a new place each time so that
    // rows are measured afresh.
    int place = 0;
    const double paint = medianMs(21, [&] {
        place = (place + 7919) % (rows - 100);
        form.grid()->scrollRowToTop(place + 1);
        form.grid()->repaintNow();
    });
    const double plainPaint = medianMs(21, [&] {
        place = (place + 7919) % (rows - 100);
        form.grid()->scrollRowToTop(place + 1);
        form.grid()->viewport()->repaint();
    });

    const qsizetype model = form.grid()->gridModel()->memoryBytes();
    qsizetype links = 0;
    for (const QString &entry : form.state().LinkCellList)
        links += entry.capacity() * 2 + 32;
    std::printf("rows %d, file %.1f MB, cells %lld\n", form.grid()->gridModel()->dataRows(), fileSize / 1e6,
                static_cast<long long>(cells));
    std::printf("read and split     %8.1f ms  1.00\n", split);
    std::printf("open and paint     %8.1f ms  %.2f\n", open, open / split);
    std::printf("paint one screen   %8.2f ms (%d rows visible; repeat %.2f ms)\n", paint,
                form.grid()->rowAt(form.grid()->viewport()->height() - 1) - form.grid()->rowAt(0) + 1, plainPaint);
    std::printf("table memory       %8.1f MB  %.2f of the file (cells %.1f MB, link entries %.1f MB)\n",
                (model + links) / 1e6, double(model + links) / double(fileSize), model / 1e6, links / 1e6);
    return 0;
}
