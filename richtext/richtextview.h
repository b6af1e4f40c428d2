#pragma once

#include "core/datafile.h"

#include <QStringList>
#include <QTextEdit>

#include <memory>

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
    ~RichTextView() override;

    // While a hold lives, a loaded document is kept apart from the view
    // instead of being laid out at the view's width: a scan that opens
    // topic after topic and shows only where it stops lays out only what it
    // shows. The view takes the last document loaded when it needs the
    // layout (display lines, selection) or when the last hold ends.
    class LoadHold
    {
    public:
        explicit LoadHold(RichTextView &view);
        ~LoadHold();
        Q_DISABLE_COPY_MOVE(LoadHold)

    private:
        RichTextView &m_view;
    };

    // The document last loaded, whether the view shows it yet or not. Its
    // text can be read; its layout is the view's only once shown.
    const QTextDocument &loadedDocument() const;

    // Empties the view and loads the file by the loading rule (RTF, else
    // plain Windows-1250 text). Throws WexalError when the file cannot be
    // opened or read; the view is empty then. kind picks the file's cap.
    void loadFile(const QString &path, DataFile::Kind kind = DataFile::Kind::TextTopic);

    // Under a hold, does to the view on screen what loading a file does (it
    // shows an empty document until the hold ends) without loading one: for
    // a scan that passes documents by and loads only the last one passed,
    // once it stops. Does nothing without a hold.
    void passFileOver();

    // The lines as the view lays them out at its current width (see
    // DisplayLines: table cells line by line in reading order). A document
    // held back is shown first.
    QStringList displayLines();
    // Selects the whole display line (its text, not its line break) and
    // scrolls it into view; an index out of range changes nothing.
    void selectDisplayLine(int line);

    // The zoom in percent (100: the document's own sizes): the view's font
    // and every size the document sets follow it, this document's and every
    // one loaded after it.
    void setZoom(int percent);
    int zoom() const { return m_zoom; }

    // Writes the whole document as RTF, creating or replacing the file.
    bool saveRtf(const QString &path, QString *error) const;

    // One print job with the whole document, page after page; with a page
    // title above the text of each page and the page's number below.
    void printTo(QPrinter *printer, const QString &documentName, const QString &pageTitle = QString());
    // Asks for a printer with the standard print dialog and prints; false when
    // the user cancels.
    bool printWithDialog(const QString &documentName);

private:
    // Hands a held document to the view, if one is held.
    void showHeldDocument();
    void showDocument(std::unique_ptr<QTextDocument> fresh);
    // A document with the view's defaults and nothing in it.
    std::unique_ptr<QTextDocument> emptyDocument();

    int m_holds = 0;
    int m_zoom = 100;
    std::unique_ptr<QTextDocument> m_held;
};
