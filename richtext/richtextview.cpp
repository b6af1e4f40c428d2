#include "richtext/richtextview.h"

#include <memory>

#include "richtext/displaylines.h"
#include "richtext/richtextloader.h"
#include "richtext/richtextprinter.h"
#include "richtext/rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPointer>
#include <QPrinter>
#include <QTextCursor>

using namespace Qt::StringLiterals;

RichTextView::RichTextView(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void RichTextView::loadFile(const QString &path)
{
    // The document is built apart from the view and handed over whole: built
    // in place, every insertion would lay the view's document out again.
    QTextDocument *old = document();
    auto fresh = std::make_unique<QTextDocument>(this);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setDefaultTextOption(old->defaultTextOption());
    try {
        RichTextLoader::loadFile(path, *fresh);
    } catch (...) {
        old->clear();
        throw;
    }
    // The view deletes a document it made itself; one it was given is ours.
    const QPointer<QTextDocument> previous(old);
    setDocument(fresh.release());
    if (previous && previous->parent() == this)
        delete previous.data();
    moveCursor(QTextCursor::Start);
}

QStringList RichTextView::displayLines() const
{
    return DisplayLines::texts(*document());
}

void RichTextView::selectDisplayLine(int line)
{
    const QList<DisplayLines::Line> lines = DisplayLines::compute(*document());
    if (line < 0 || line >= lines.size())
        return;
    QTextCursor cursor(document());
    cursor.setPosition(lines[line].position);
    cursor.setPosition(lines[line].position + lines[line].length, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool RichTextView::saveRtf(const QString &path, QString *error) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = u"Nie można utworzyć pliku \"%1\": %2"_s.arg(QDir::toNativeSeparators(path),
                                                                  file.errorString());
        return false;
    }
    const QByteArray rtf = RtfWriter::write(*document());
    if (file.write(rtf) != rtf.size() || !file.flush()) {
        if (error)
            *error = u"Nie można zapisać pliku \"%1\": %2"_s.arg(QDir::toNativeSeparators(path),
                                                                 file.errorString());
        return false;
    }
    return true;
}

void RichTextView::printTo(QPrinter *printer, const QString &documentName)
{
    RichTextPrinter::print(*document(), printer, documentName);
}

bool RichTextView::printWithDialog(const QString &documentName)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, window());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printTo(&printer, documentName);
    return true;
}
