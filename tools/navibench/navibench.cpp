// Usage: navibench [topics]   (QT_QPA_PLATFORM=offscreen for a headless run)
//
// Writes a classification of the given number of topics (default 20,000) in
// 20 topic definition files and measures, in the same run:
//   read     reading every file line by line and decoding it (the floor),
//   load     reading it into the topic list and the tree model,
//   view     the same with the tree shown in a tree view.
// Prints the median of five runs of each and the ratios to "read".

#include "core/cp1250.h"
#include "core/datafilereader.h"
#include "core/textrules.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFiles = 20;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

// Sections of divisions of groups of classes, each file one signature.
void generate(const QString &dir, int topics)
{
    QByteArray definition;
    const int perFile = topics / kFiles;
    for (int f = 0; f < kFiles; ++f) {
        const QString name = u"tematy%1.def"_s.arg(f, 2, 10, QLatin1Char('0'));
        definition += Wexal::Cp1250::encode(name) + "; plik " + QByteArray::number(f) + "\r\n";
        QString text;
        text += u"; klasyfikacja wygenerowana\r\n"_s;
        int section = -1, division = -1, group = -1;
        for (int i = 0; i < perFile; ++i) {
            QString parent;
            QString link = u"T%1"_s.arg(i);
            QString mode;
            if (i % 200 == 0) {
                section = i;
                parent = u"nil"_s;
                mode = u"GROUP"_s;
            } else if (i % 40 == 1) {
                division = i;
                parent = u"T%1"_s.arg(section);
                mode = u"GROUP"_s;
            } else if (i % 8 == 2) {
                group = i;
                parent = u"T%1"_s.arg(division);
                mode = u"GROUP"_s;
            } else {
                parent = u"T%1"_s.arg(group < 0 ? division : group);
                mode = i % 2 ? u"TABLE"_s : u"RTF"_s;
            }
            text += u"{\r\nNAME=Pozycja %1.%2 – wyroby i usługi (łączne)\r\nPARENT=%3\r\nVIEW=%4\r\n"_s.arg(f).arg(i).arg(
                parent, i % 97 == 5 ? u"HIDE"_s : u"SHOW"_s);
            if (i == 0)
                text += u"SIGNATURE=S%1\r\n"_s.arg(f);
            text += u"LINK=%1\r\nMODE=%2\r\nFILE=t%3_%4.txt\r\nCOLUMNS=3\r\nNAME1=Kod\r\nWIDTH1=80\r\n"
                    u"NAME2=Nazwa\r\nWIDTH2=AUTO\r\nNAME3=Stawka\r\nWIDTH3=60\r\nALIGNMENT3=RIGHT\r\n}\r\n"_s
                        .arg(link, mode)
                        .arg(f)
                        .arg(i);
        }
        writeFile(dir + u'/' + name, Wexal::Cp1250::encode(text));
    }
    writeFile(dir + u"/definition.global"_s, definition);
}

qint64 readAndDecode(const QString &dir)
{
    qint64 lines = 0;
    QFile definition(dir + u"/definition.global"_s);
    definition.open(QIODevice::ReadOnly);
    DataFileReader names(definition);
    while (!names.atEnd()) {
        const QString line = names.readLine();
        QFile file(dir + u'/' + line.left(line.indexOf(u';')));
        file.open(QIODevice::ReadOnly);
        DataFileReader reader(file);
        while (!reader.atEnd()) {
            lines += !reader.readLine().isEmpty();
        }
    }
    return lines;
}

double medianMs(const std::function<void()> &run)
{
    QVector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int topics = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;
    QTemporaryDir dir;
    generate(dir.path(), topics);
    const QString base = dir.path() + u'/';

    qint64 lines = 0;
    const double read = medianMs([&] { lines = readAndDecode(dir.path()); });

    int loaded = 0;
    const double load = medianMs([&] {
        QStringList list;
        NaviTreeModel tree;
        DefinitionReader reader(list, tree);
        reader.LoadDefinition(base);
        loaded = int(list.size());
    });

    const double view = medianMs([&] {
        QStringList list;
        NaviTreeModel tree;
        NaviTreeView treeView;
        treeView.setModel(&tree);
        treeView.resize(300, 600);
        treeView.show();
        DefinitionReader reader(list, tree);
        reader.setProcessEvents([] { QCoreApplication::processEvents(); });
        reader.LoadDefinition(base);
        treeView.collapseAll();
        QCoreApplication::processEvents();
    });

    std::printf("topics %d, non-empty lines %lld\n", loaded, static_cast<long long>(lines));
    std::printf("read and decode   %8.1f ms  1.00\n", read);
    std::printf("load (model)      %8.1f ms  %.2f\n", load, load / read);
    std::printf("load (tree view)  %8.1f ms  %.2f\n", view, view / read);
    return 0;
}
