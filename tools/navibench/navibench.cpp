// Usage: navibench [topics | program directory] [rounds]
//        (QT_QPA_PLATFORM=offscreen for a headless run)
//
// Writes a classification of the given number of topics (default 20,000) in
// 20 topic definition files, or takes an existing program directory (one
// with definition.global), and measures in the same run, floor and program
// rounds alternating:
//   load    reading the definitions into the topic list and the tree model,
//           against the bare read (open, read, decode from Windows-1250
//           through a 256-entry table) of the same definition files;
//   start   constructing and showing the main window until it is painted
//           (QWidget::grab), against a minimal window with a menu, a tool
//           bar and a tree view over a QStandardItemModel of the same titles
//           read the same bare way, painted the same way.

#include "tools/benchfloor.h"
#include "tools/benchtiming.h"

#include "app/twexalmainform.h"
#include "core/cp1250.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <cstdio>

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

// The titles of the definitions, read the bare way.
QStringList readTitles(const QString &dir, const QStringList &files)
{
    QStringList titles;
    for (const QString &name : files) {
        const QString text = BenchFloor::readFile(dir + u'/' + name);
        for (qsizetype at = text.indexOf(u"NAME="_s); at >= 0; at = text.indexOf(u"NAME="_s, at + 5)) {
            if (at > 0 && text.at(at - 1) != u'\n')
                continue;
            const qsizetype end = text.indexOf(u'\r', at);
            QString title = text.mid(at + 5, end < 0 ? -1 : end - at - 5);
            if (title.endsWith(u';'))
                title.chop(1);
            titles << title;
        }
    }
    return titles;
}

// A plain Qt Widgets window of the same size: a menu, a tool bar and a tree
// of the titles.
void minimalWindow(const QString &dir, const QStringList &files)
{
    QMainWindow window;
    for (const QString &title : {u"&Plik"_s, u"&Widok"_s, u"&Szukaj"_s, u"Pomo&c"_s})
        window.menuBar()->addMenu(title)->addAction(u"Polecenie"_s);
    QToolBar *tools = window.addToolBar(u"Narzędzia"_s);
    for (int i = 0; i < 8; ++i)
        tools->addAction(u"Polecenie %1"_s.arg(i));
    auto *model = new QStandardItemModel(&window);
    const QStringList titles = readTitles(dir, files);
    for (const QString &title : titles)
        model->appendRow(new QStandardItem(title));
    auto *tree = new QTreeView;
    tree->setHeaderHidden(true);
    tree->setModel(model);
    window.setCentralWidget(tree);
    window.resize(1004, 728);
    window.show();
    QCoreApplication::processEvents();
    window.grab();
}

int g_topics = 0;

void mainWindow(const QString &dir)
{
    TWexalMainForm form(dir + u"/wexal"_s);
    form.show();
    QCoreApplication::processEvents();
    form.grab();
    // The windows offered a second after start-up wait for no one here.
    if (auto *timer = form.findChild<QTimer *>(u"WexalStartTimer"_s))
        timer->stop();
    g_topics = int(form.state().TopicList.size());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 7;
    QTemporaryDir temporary;
    QString dir;
    if (!argument.isEmpty() && BenchFloor::isProgramDir(argument)) {
        dir = argument;
    } else {
        dir = temporary.path();
        generate(dir, argument.isEmpty() ? 20000 : argument.toInt());
    }
    const QStringList files = BenchFloor::definitionFiles(dir);
    const QString base = dir + u'/';

    qint64 characters = 0;
    int loaded = 0;
    const auto load = BenchTiming::interleaved(
        {[&] { characters = BenchFloor::readFiles(dir, files); },
         [&] {
             QStringList list;
             NaviTreeModel tree;
             DefinitionReader reader(list, tree);
             reader.LoadDefinition(base);
             loaded = int(list.size());
         }},
        rounds);

    const auto start = BenchTiming::interleaved({[&] { minimalWindow(dir, files); }, [&] { mainWindow(dir); }},
                                                std::max(3, rounds / 2));

    std::printf("navibench: %s, %d topics, %d definition files, %.1f MB, %lld characters\n",
                dir == temporary.path() ? "generated" : qPrintable(dir), loaded, int(files.size()),
                BenchFloor::totalBytes(dir, files) / 1e6, static_cast<long long>(characters));
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE ", platform %s\n\n", qPrintable(QGuiApplication::platformName()));
    BenchTiming::printFigure("load the definitions into the tree model", load[1],
                             "bare read and decode of the definition files", load[0], "<= 5 x");
    BenchTiming::printFigure("start to the first painted main window (grab)", start[1],
                             "minimal window: menu, tool bar, tree of the same titles, grab", start[0], "<= 2 x");
    return g_topics == loaded ? 0 : 1;
}
