#include "export/exportcontroller.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "export/exportdirectory.h"
#include "export/sheettable.h"
#include "export/topicexporter.h"
#include "core/textrules.h"
#include "richtext/richtextview.h"
#include "richtext/rtfwriter.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/shellopen.h"

#include <QAction>
#include <QDir>
#include <QIODevice>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTextDocument>

using namespace Qt::StringLiterals;

ExportController::ExportController(Workspace &workspace)
    : QObject(workspace.window()), m_workspace(workspace)
{
    connect(workspace.commands().action(CommandSet::Export), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviExportMenuItemClick(); }); });
    connect(workspace.commands().action(CommandSet::SheetExport), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviSheetExportMenuItemClick(); }); });
    connect(workspace.commands().action(CommandSet::ExportFolder), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviExportFolderMenuItemClick(); }); });
}

ExportController::~ExportController() = default;

QStringList ExportController::headerOf(const TableGridModel &model)
{
    QStringList header;
    header.reserve(model.columns());
    for (int column = 0; column < model.columns(); ++column)
        header << model.headerText(column);
    return header;
}

QList<QStringList> ExportController::rowsOf(const TableGridModel &model)
{
    QList<QStringList> rows;
    rows.reserve(model.dataRows());
    for (int gridRow = 1; gridRow <= model.dataRows(); ++gridRow) {
        QStringList cells;
        cells.reserve(model.columns());
        for (int column = 0; column < model.columns(); ++column)
            cells << model.cellText(column, gridRow);
        rows << cells;
    }
    return rows;
}

void ExportController::WexalNaviExportMenuItemClick()
{
    const WexalState &state = m_workspace.state();
    const TopicExporter exporter(state.ProgramDir);
    QString path;
    if (state.ViewMode == ViewText) {
        const QTextDocument *document = &m_workspace.textView()->loadedDocument();
        path = exporter.exportText([document](QIODevice &device, QString *errorText) {
            const QByteArray rtf = RtfWriter::write(*document);
            if (device.write(rtf) == rtf.size())
                return true;
            *errorText = device.errorString();
            return false;
        });
    } else if (state.ViewMode == ViewTable) {
        const TableGridModel &model = *m_workspace.grid()->gridModel();
        path = exporter.exportTable(headerOf(model), rowsOf(model));
    } else {
        return;
    }
    exported(path);
}

void ExportController::WexalNaviSheetExportMenuItemClick()
{
    const WexalState &state = m_workspace.state();
    if (state.ViewMode != ViewTable)
        return;
    const TableGrid &grid = *m_workspace.grid();
    const TableGridModel &model = *grid.gridModel();
    QList<int> widths;
    for (int column = 0; column < model.columns(); ++column)
        widths << grid.columnWidth(column);
    SheetTable table = SheetTable::fromGrid(headerOf(model), rowsOf(model), widths, state.LeftColumns,
                                            state.CenterColumns, state.RightColumns);
    if (state.CurrentTopic >= 0 && state.CurrentTopic < state.TopicList.size())
        table.topicName = Wexal::GetTabField(state.TopicList.at(state.CurrentTopic), u"NAME=");
    table.title = m_workspace.tableTitle()->text();
    exported(TopicExporter(state.ProgramDir).exportSheet(table));
}

void ExportController::WexalNaviExportFolderMenuItemClick()
{
    ShellOpen::open(ExportDirectory::path());
}

QString ExportController::writtenMessage(const QString &path)
{
    return u"Zapisano plik %1"_s.arg(QDir::toNativeSeparators(path));
}

void ExportController::exported(const QString &path)
{
    if (auto *window = qobject_cast<QMainWindow *>(m_workspace.window()))
        window->statusBar()->showMessage(writtenMessage(path));
    ShellOpen::open(path);
}
