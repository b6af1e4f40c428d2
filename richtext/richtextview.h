#pragma once

#include <QStringList>
#include <QTextEdit>

class QPrinter;

// The read-only rich-text view of text topics and of the help, explanations
// and update windows: loads a file as RTF or plain text, gives its display
// lines to the search and selects one, saves its document as RTF and prints.
class RichTextView : public QTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RichTextView)

public:
    explicit RichTextView(QWidget *parent = nullptr);

    // Empties the view and loads the file by the loading rule (RTF, else
    // plain Windows-1250 text). Throws WexalError when the file cannot be
    // opened or read; the view is empty then.
    void loadFile(const QString &path);

    // The lines as the view lays them out at its current width (see
    // DisplayLines: table cells line by line in reading order).
    QStringList displayLines() const;
    // Selects the whole display line (its text, not its line break) and
    // scrolls it into view; an index out of range changes nothing.
    void selectDisplayLine(int line);

    // Writes the whole document as RTF, creating or replacing the file.
    bool saveRtf(const QString &path, QString *error) const;

    // One print job with the whole document, page after page.
    void printTo(QPrinter *printer, const QString &documentName);
    // Asks for a printer with the standard print dialog and prints; false when
    // the user cancels.
    bool printWithDialog(const QString &documentName);
};
