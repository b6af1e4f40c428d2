#include "richtext/richtextprinter.h"

#include "richtext/pageframe.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>

bool RichTextPrinter::print(const QTextDocument &doc, QPrinter *printer, const QString &documentName,
                            const QString &pageTitle)
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
    std::unique_ptr<PageFrame> pageFrame;
    if (!pageTitle.isEmpty())
        pageFrame = std::make_unique<PageFrame>(pageTitle, copy->defaultFont(), *printer);
    const int band = pageFrame ? pageFrame->bandHeight() : 0;
    const QSizeF page(printer->width(), printer->height() - 2 * band);
    copy->setPageSize(page);

    const int pages = copy->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        if (pageFrame)
            pageFrame->draw(painter, printer->width(), printer->height(), i + 1, pages);
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, band - view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}
