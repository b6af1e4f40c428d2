#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class Workspace;
class TableGridModel;

// The Export command ("Eksport"): writes the topic on screen to a new
// numbered file in the export directory and hands the file to the desktop's
// associated application. A text topic becomes an RTF document of the text
// view's whole document, a table topic a tab-separated ".xls" file of the
// grid's header and data rows. It opens no window and leaves the other
// commands alone; a file that cannot be created or written ends the command
// in the general error report, with its number already used.
//
// Beside it: "Eksport do arkusza" writes the open table as an .xlsx workbook
// (SheetWriter) numbered from the same counter, and "Pokaż folder eksportu"
// opens the export directory in the desktop's file manager. After every
// export the status line names the file written.
class ExportController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExportController)

public:
    // Connects itself to the Export command of the workspace.
    explicit ExportController(Workspace &workspace);
    ~ExportController() override;

    // Does nothing unless a text or table topic is on screen. Throws
    // WexalError when the export file cannot be created or written.
    void WexalNaviExportMenuItemClick();
    // Does nothing unless a table topic is on screen; throws as above.
    void WexalNaviSheetExportMenuItemClick();
    // Throws WexalError when the export directory is not usable.
    void WexalNaviExportFolderMenuItemClick();

    // What the status line says after an export to path.
    static QString writtenMessage(const QString &path);

    // The grid's row 0 and its data rows 1 to the last, as the cells hold them.
    static QStringList headerOf(const TableGridModel &model);
    static QList<QStringList> rowsOf(const TableGridModel &model);

private:
    void exported(const QString &path);

    Workspace &m_workspace;
};
