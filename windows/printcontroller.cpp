#include "windows/printcontroller.h"

#include "richtext/richtextview.h"
#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "table/tableprinter.h"

#include <QAction>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

PrintController::PrintController(Workspace &workspace)
    : QObject(workspace.window()),
      m_workspace(workspace),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(u"WexalPrintController"_s);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    connect(workspace.commands().action(CommandSet::Print), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalProgramPrintMenuItemClick(); }); });
}

PrintController::~PrintController() = default;

bool PrintController::printTopic(QPrinter *printer)
{
    const int mode = m_workspace.state().ViewMode;
    if (!printer || (mode != ViewText && mode != ViewTable))
        return false;
    if (mode == ViewText) {
        const QString title = m_workspace.textTitle()->text();
        RichTextView *view = m_workspace.textView();
        view->printTo(printer, title, title);
        return true;
    }
    const TableGrid *grid = m_workspace.grid();
    TablePrinter::Table table;
    table.model = grid->gridModel();
    for (int column = 0; column < table.model->columns(); ++column)
        table.columnWidths << (grid->isColumnHidden(column) ? 0 : grid->columnWidth(column));
    table.leftColumns = m_workspace.state().LeftColumns;
    table.centerColumns = m_workspace.state().CenterColumns;
    table.rightColumns = m_workspace.state().RightColumns;
    table.font = grid->font();
    table.title = m_workspace.tableTitle()->text();
    printer->setDocName(table.title);
    return TablePrinter(table).print(printer) > 0;
}

void PrintController::WexalProgramPrintMenuItemClick()
{
    const int mode = m_workspace.state().ViewMode;
    if (mode != ViewText && mode != ViewTable)
        return;
    m_printer->setDocName(mode == ViewText ? m_workspace.textTitle()->text() : m_workspace.tableTitle()->text());
    m_workspace.RunModalWindow([this] {
        auto preview = std::make_unique<QPrintPreviewDialog>(m_printer.get(), m_workspace.window());
        preview->setObjectName(u"WexalPrintPreviewDialog"_s);
        preview->resize(900, 700);
        connect(preview.get(), &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter *printer) { printTopic(printer); });
        return std::unique_ptr<QDialog>(std::move(preview));
    });
}
