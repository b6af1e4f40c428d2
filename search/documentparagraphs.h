#pragma once

#include <QString>
#include <QStringList>

namespace Wexal {

// The paragraphs of a document file as the text view holds them: read by the
// view's loading rule (RTF, else plain Windows-1250 text), one entry per
// text block in document order (table cells included). False when the file
// cannot be opened or read, or is larger than the view shows. Usable on any
// thread: the document is never laid out.
bool readDocumentParagraphs(const QString &path, QStringList &paragraphs);

} // namespace Wexal
