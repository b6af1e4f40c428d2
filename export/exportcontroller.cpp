#include "export/exportcontroller.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "export/topicexporter.h"
#include "richtext/richtextview.h"
#include "richtext/rtfwriter.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/shellopen.h"

#include <QAction>
#include <QIODevice>
#include <QTextDocument>

ExportController::ExportController(Workspace &workspace)
    : QObject(workspace.window()), m_workspace(workspace)
{
    connect(workspace.commands().action(CommandSet::Export), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviExportMenuItemClick(); }); });
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
    ShellOpen::open(path);
}
