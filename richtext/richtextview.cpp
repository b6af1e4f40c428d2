#include "richtext/richtextview.h"

#include "richtext/displaylines.h"
#include "richtext/richtextloader.h"
#include "richtext/richtextprinter.h"
#include "richtext/rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QPrintDialog>
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
    RichTextLoader::loadFile(path, *document());
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
