#pragma once

#include <QString>

class QPrinter;
class QTextDocument;

// Prints a document as one job: each page is the printer's whole printable
// area with no margin added, the text is laid out page after page from the
// first character until all of it is placed.
class RichTextPrinter
{
public:
    // False when the printer cannot be started. With a page title, each page
    // carries it above the text and its number below (PageFrame).
    static bool print(const QTextDocument &doc, QPrinter *printer, const QString &documentName,
                      const QString &pageTitle = QString());
};
