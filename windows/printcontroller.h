#pragma once

#include <QObject>

#include <memory>

class QPrinter;
class Workspace;

// The Print command ("Drukuj…"): a print preview of the open topic, from
// which the print dialog prints it or saves it as PDF. A text topic prints
// as the text view holds it, a table as the grid shows it (TablePrinter),
// under the topic's title. The printer and its settings last for the run.
class PrintController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintController)

public:
    explicit PrintController(Workspace &workspace);
    ~PrintController() override;

    // Prints the open text or table topic on printer as one job named after
    // the topic; false when none is open or the printer cannot start.
    bool printTopic(QPrinter *printer);

    // The preview, run as every modal window is.
    void WexalProgramPrintMenuItemClick();

private:
    Workspace &m_workspace;
    std::unique_ptr<QPrinter> m_printer;
};
