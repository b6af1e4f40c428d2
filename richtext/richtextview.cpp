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
#include <QTextBlock>
#include <QTextCursor>
#include <QVariant>

#include "core/zoomlevel.h"

using namespace Qt::StringLiterals;

namespace {

// A text's own point size, kept beside the zoomed one.
constexpr int kNormalSize = QTextFormat::UserProperty + 1;
constexpr char kZoomProperty[] = "wexalZoom";

// Sets every size the document gives its text to that size at the zoom.
// Text without a size of its own follows the view's font.
void zoomDocument(QTextDocument &document, int percent)
{
    if (document.property(kZoomProperty).toInt() == percent
        || (percent == ZoomLevel::Normal && !document.property(kZoomProperty).isValid()))
        return;
    struct Piece
    {
        int position;
        int length;
        qreal normal;
    };
    // Gathered first: changing a format while walking the fragments would
    // join or split them under the walk.
    QVector<Piece> pieces;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const qreal normal =
                format.hasProperty(kNormalSize) ? format.doubleProperty(kNormalSize) : format.fontPointSize();
            if (normal > 0)
                pieces.push_back({fragment.position(), fragment.length(), normal});
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const Piece &piece : std::as_const(pieces)) {
        QTextCharFormat change;
        change.setProperty(kNormalSize, piece.normal);
        change.setFontPointSize(ZoomLevel::scaled(piece.normal, percent));
        cursor.setPosition(piece.position);
        cursor.setPosition(piece.position + piece.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(change);
    }
    cursor.endEditBlock();
    document.setProperty(kZoomProperty, percent);
}

} // namespace

RichTextView::RichTextView(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

RichTextView::~RichTextView() = default;

RichTextView::LoadHold::LoadHold(RichTextView &view) : m_view(view)
{
    ++m_view.m_holds;
}

RichTextView::LoadHold::~LoadHold()
{
    if (--m_view.m_holds == 0)
        m_view.showHeldDocument();
}

void RichTextView::loadFile(const QString &path, DataFile::Kind kind)
{
    // The document is built apart from the view and handed over whole: built
    // in place, every insertion would lay the view's document out again.
    QTextDocument *old = document();
    std::unique_ptr<QTextDocument> fresh = emptyDocument();
    try {
        RichTextLoader::loadFile(path, *fresh, kind);
    } catch (...) {
        m_held.reset();
        old->clear();
        throw;
    }
    if (m_holds == 0) {
        showDocument(std::move(fresh));
        return;
    }
    m_held = std::move(fresh);
    // What the view shows is stale until the hold ends; an empty document
    // makes resizing the view on the way (switching between text and table
    // topics) cost nothing.
    if (!old->isEmpty())
        showDocument(emptyDocument());
}

void RichTextView::passFileOver()
{
    if (m_holds > 0 && !document()->isEmpty())
        showDocument(emptyDocument());
}

std::unique_ptr<QTextDocument> RichTextView::emptyDocument()
{
    const QTextDocument *current = document();
    auto fresh = std::make_unique<QTextDocument>(this);
    fresh->setDefaultFont(current->defaultFont());
    fresh->setDocumentMargin(current->documentMargin());
    fresh->setDefaultTextOption(current->defaultTextOption());
    return fresh;
}

void RichTextView::showDocument(std::unique_ptr<QTextDocument> fresh)
{
    // The view deletes a document it made itself; one it was given is ours.
    const QPointer<QTextDocument> previous(document());
    zoomDocument(*fresh, m_zoom);
    setDocument(fresh.release());
    if (previous && previous->parent() == this)
        delete previous.data();
    moveCursor(QTextCursor::Start);
}

void RichTextView::setZoom(int percent)
{
    percent = ZoomLevel::bounded(percent);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    setFont(ZoomLevel::widgetFont(parentWidget() ? parentWidget()->font() : QFont(), percent));
    zoomDocument(*document(), percent);
}

void RichTextView::showHeldDocument()
{
    if (m_held)
        showDocument(std::move(m_held));
}

const QTextDocument &RichTextView::loadedDocument() const
{
    return m_held ? *m_held : *document();
}

QStringList RichTextView::displayLines()
{
    showHeldDocument();
    return DisplayLines::texts(*document());
}

void RichTextView::selectDisplayLine(int line)
{
    showHeldDocument();
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
    const QByteArray rtf = RtfWriter::write(loadedDocument());
    if (file.write(rtf) != rtf.size() || !file.flush()) {
        if (error)
            *error = u"Nie można zapisać pliku \"%1\": %2"_s.arg(QDir::toNativeSeparators(path),
                                                                 file.errorString());
        return false;
    }
    return true;
}

void RichTextView::printTo(QPrinter *printer, const QString &documentName, const QString &pageTitle)
{
    showHeldDocument();
    RichTextPrinter::print(*document(), printer, documentName, pageTitle);
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
