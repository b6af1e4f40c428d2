#include "richtext/richtextprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>

bool RichTextPrinter::print(const QTextDocument &doc, QPrinter *printer, const QString &documentName)
{
    if (!printer)
        return false;
    printer->setDocName(documentName);
    QPainter painter;
    if (!painter.begin(printer))
        return false;

    // A copy laid out for the printer: fonts measured at its resolution,
    // lengths in screen pixels scaled to it, pages as big as its printable area.
    std::unique_ptr<QTextDocument> copy(doc.clone());
    QAbstractTextDocumentLayout *layout = copy->documentLayout();
    layout->setPaintDevice(printer);
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(0);
    copy->rootFrame()->setFrameFormat(frame);
    const QSizeF page(printer->width(), printer->height());
    copy->setPageSize(page);

    const int pages = copy->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}
