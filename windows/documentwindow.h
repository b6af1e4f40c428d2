#pragma once

#include "windows/auxiliarydialog.h"

class QFrame;
class QPushButton;
class RichTextView;

// A reading window for one document that lies in the program directory: the
// read-only text view on light yellow, a separator line and the default
// button "Zamknij" that closes with the cancel result. The client area is
// 592 x 446 pixels. The document is read anew at every opening; until then,
// and for good when the file does not exist, the view shows the text it was
// designed with.
class DocumentWindow : public AuxiliaryDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentWindow)

public:
    ~DocumentWindow() override;

    // The text the view shows when there is no document.
    static QString designTimeText();

    RichTextView *richEdit() const { return m_richEdit; }
    QPushButton *exitButton() const { return m_exitButton; }
    QString documentPath() const { return m_documentPath; }

protected:
    // controlPrefix names the controls: prefix + "RichEdit", "Bevel",
    // "ExitButton". documentPath is the program directory + the file name.
    DocumentWindow(const QString &controlPrefix, const QString &caption,
                   const QString &documentPath, QWidget *parent);

    // The view turns light yellow and the document, when its file exists,
    // replaces the design-time text. A file that exists but cannot be read
    // is shown in the general error report and the window opens all the same.
    void showDocument();

    QString controlPrefix() const { return m_controlPrefix; }

private:
    QString m_controlPrefix;
    QString m_documentPath;
    RichTextView *m_richEdit;
    QPushButton *m_exitButton;
};
