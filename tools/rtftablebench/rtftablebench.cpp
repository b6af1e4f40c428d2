// Times loading generated RTF tables through the program's loader and then
// laying them out at a window's width: tables of 2,500 to 150,000 rows, and
// tables nested 8 deep. Usage: rtftablebench [rows...] [nested:BYTES...]
// [view:rows:N | view:nested:BYTES | view:cell:BYTES | view:text:BYTES]
// (default: 2500 10000 nested:137000, to stay within a minute; 20000 and
// 150000 rows show the growth further).
//
// view: shows the document as the program does, written to a file and
// loaded into the rich-text view at the main window's size, and reports the
// longest the window stays frozen (loading and the first paint, then each
// pass of the event loop while the layout goes on), then what the contents
// search does with it: its paragraphs read as the search reads them, and
// the view's display lines (which lay the whole document out). "cell" is
// one table cell holding paragraphs of text, "text" the same paragraphs
// outside any table. The tables of a document are bounded by
// RtfLimits::MaxTableCells, so the figures here are what its worst case
// costs.
// Each long table is set against the same table written as HTML, loaded
// through QTextDocument::setHtml and laid out at the same width, in rounds
// alternating with the program's (three of each; the best counts).

#include "tools/benchtiming.h"

#include "richtext/richtextloader.h"
#include "richtext/richtextview.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QElapsedTimer>
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cstdio>
#include <ctime>

namespace {

QByteArray header()
{
    return R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fswiss\fcharset238 Arial;}}\pard\f0\fs20 Tabela\par)"
           "\r\n";
}

QByteArray longTable(int rows)
{
    QByteArray rtf = header();
    for (int r = 0; r < rows; ++r) {
        const QByteArray n = QByteArray::number(r);
        rtf += R"(\trowd\trgaph70\cellx1500\cellx6000\cellx7500\pard\intbl 01.)" + n
            + R"(\cell Zbo\'bfe i ro\'9cliny oleiste )" + n + R"(\cell 8%\cell\row)" "\r\n";
    }
    return rtf + "\\pard Koniec\\par}";
}

// The same table as HTML.
QString longTableHtml(int rows)
{
    QString html = QStringLiteral("<html><body style=\"font-family:Arial; font-size:10pt\"><p>Tabela</p>\n"
                                  "<table border=\"0\" cellspacing=\"0\" cellpadding=\"2\">\n");
    for (int r = 0; r < rows; ++r) {
        const QString n = QString::number(r);
        html += QStringLiteral("<tr><td width=\"100\">01.") + n
            + QStringLiteral("</td><td width=\"300\">Zboże i rośliny oleiste ") + n
            + QStringLiteral("</td><td width=\"100\">8%</td></tr>\n");
    }
    return html + QStringLiteral("</table><p>Koniec</p></body></html>");
}

// A cell holding a table nested depth - 1 levels deeper, and so on, repeated
// until the document has about the given size.
QByteArray nestedTables(int depth, qsizetype bytes)
{
    QByteArray rtf = header();
    int n = 0;
    while (rtf.size() < bytes) {
        for (int level = depth; level >= 1; --level) {
            const QByteArray itap = QByteArray::number(level);
            const QByteArray text = "poziom " + itap + " nr " + QByteArray::number(++n);
            if (level == 1) {
                rtf += R"(\pard\intbl\itap1 )" + text + R"(\cell\trowd\cellx4000\row)" "\r\n";
            } else {
                rtf += R"(\pard\intbl\itap)" + itap + ' ' + text + R"(\nestcell{\*\nesttableprops\trowd\cellx)"
                    + QByteArray::number(level * 400) + R"(\nestrow}{\nonesttables\par})" "\r\n";
            }
        }
    }
    return rtf + "\\pard Koniec\\par}";
}

// Paragraphs of text in one cell of a one-cell table, or outside tables.
QByteArray textDocument(bool inCell, qsizetype bytes)
{
    QByteArray rtf = header();
    const QByteArray par = inCell ? R"(\pard\intbl )" : R"(\pard )";
    for (int n = 0; rtf.size() < bytes; ++n) {
        rtf += par + "Akapit " + QByteArray::number(n)
            + R"( ziarno zb\'f3\'bf, nasiona ro\'9clin oleistych, owoce i warzywa \'9cwie\'bfe lub sch\'b3odzone)";
        rtf += "\\par\r\n";
    }
    if (inCell)
        rtf += R"(\cell\trowd\cellx9000\row)";
    return rtf + "\\pard Koniec\\par}";
}

// What this process has run on the processors: on a busy machine the wall
// clock also counts the time others had them.
double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void measureView(const char *what, const QByteArray &rtf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(rtf) != rtf.size() || !file.flush())
        return;
    RichTextView view;
    view.resize(1004 - 250, 728 - 120); // the main window's text area beside the tree
    view.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = cpuMilliseconds();
    view.loadFile(file.fileName());
    view.viewport()->repaint();
    const double shown = timer.nsecsElapsed() / 1e6;
    const double shownCpu = cpuMilliseconds() - cpuBefore;
    // The layout goes on in passes of the event loop; the window answers
    // between them. Until the scroll range stays put for half a second.
    double longest = 0;
    int range = -1;
    QElapsedTimer still;
    still.start();
    QElapsedTimer total;
    total.start();
    while (still.elapsed() < 500 && total.elapsed() < 120000) {
        QElapsedTimer pass;
        pass.start();
        QCoreApplication::processEvents();
        longest = std::max(longest, pass.nsecsElapsed() / 1e6);
        if (view.verticalScrollBar()->maximum() != range) {
            range = view.verticalScrollBar()->maximum();
            still.restart();
        }
    }
    // The contents search: the paragraphs tell whether the topic may hold
    // the text; it is then opened and its display lines read.
    timer.restart();
    const double cpuSearch = cpuMilliseconds();
    QStringList paragraphs;
    RichTextLoader::loadParagraphs(rtf, paragraphs);
    const double read = timer.nsecsElapsed() / 1e6;
    view.loadFile(file.fileName());
    const QStringList lines = view.displayLines();
    const double searched = timer.nsecsElapsed() / 1e6;
    const double searchedCpu = cpuMilliseconds() - cpuSearch;
    std::printf("%-22s %5.2f MB  shown %7.1f ms (CPU %7.1f), longest pass after %6.1f ms  |  "
                "search %7.1f ms (CPU %7.1f; paragraphs %6.1f ms), %lld lines\n",
                what, rtf.size() / 1048576.0, shown, shownCpu, longest, searched, searchedCpu, read,
                static_cast<long long>(lines.size()));
    std::fflush(stdout);
}

void measure(const char *what, const QByteArray &rtf)
{
    QTextDocument doc;
    QBuffer buffer;
    buffer.setData(rtf);
    buffer.open(QIODevice::ReadOnly);
    QElapsedTimer timer;
    timer.start();
    RichTextLoader::load(buffer, doc);
    const double load = timer.nsecsElapsed() / 1e6;
    timer.restart();
    doc.setTextWidth(900);
    const QSizeF size = doc.documentLayout()->documentSize();
    const double layout = timer.nsecsElapsed() / 1e6;
    int tables = 0;
    int rows = 0;
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            ++tables;
            rows += table->rows();
        }
    }
    std::printf("%-28s %8.2f MB  load %9.1f ms  layout %9.1f ms  (%.2f us/byte)  top tables %d, rows %d, height %.0f\n",
                what, rtf.size() / 1048576.0, load, layout, (load + layout) * 1000.0 / rtf.size(), tables, rows,
                size.height());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        args = {QStringLiteral("2500"), QStringLiteral("10000"), QStringLiteral("nested:137000")};
    for (const QString &arg : std::as_const(args)) {
        if (arg.startsWith(QStringLiteral("view:"))) {
            const QStringList parts = arg.split(u':');
            const qsizetype n = parts.value(2).toLongLong();
            const QString kind = parts.value(1);
            const QByteArray rtf = kind == QStringLiteral("rows") ? longTable(int(n))
                : kind == QStringLiteral("nested")                ? nestedTables(8, n)
                                                                  : textDocument(kind == QStringLiteral("cell"), n);
            measureView(qPrintable(arg), rtf);
        } else if (arg.startsWith(QStringLiteral("nested"))) {
            // nested:BYTES or nestedD:BYTES for D levels (default 8)
            const qsizetype colon = arg.indexOf(u':');
            const int depth = colon > 6 ? arg.mid(6, colon - 6).toInt() : 8;
            const qsizetype bytes = arg.mid(colon + 1).toLongLong();
            measure(qPrintable(QStringLiteral("nested %1 deep").arg(depth)), nestedTables(depth, bytes));
        } else {
            const int rows = arg.toInt();
            const QByteArray rtf = longTable(rows);
            measure(qPrintable(QStringLiteral("%1 rows").arg(rows)), rtf);
            const QString html = longTableHtml(rows);
            const auto times = BenchTiming::interleaved(
                {[&html] {
                     QTextDocument doc;
                     doc.setHtml(html);
                     doc.setTextWidth(900);
                     doc.documentLayout()->documentSize();
                 },
                 [&rtf] {
                     QTextDocument doc;
                     QBuffer buffer;
                     buffer.setData(rtf);
                     buffer.open(QIODevice::ReadOnly);
                     RichTextLoader::load(buffer, doc);
                     doc.setTextWidth(900);
                     doc.documentLayout()->documentSize();
                 }},
                3, false);
            BenchTiming::printFigure(qPrintable(QStringLiteral("  load and lay out %1 rows").arg(rows)), times[1],
                                     "the same table as HTML, setHtml and the same layout", times[0], "none named");
            std::fflush(stdout);
        }
    }
    return 0;
}
