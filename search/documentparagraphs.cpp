#include "search/documentparagraphs.h"

#include "richtext/richtextloader.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

namespace Wexal {

bool readDocumentParagraphs(const QString &path, QStringList &paragraphs)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > RichTextLoader::MaxFileBytes)
        return false;
    QTextDocument doc;
    if (!RichTextLoader::load(file, doc))
        return false;
    paragraphs.clear();
    paragraphs.reserve(doc.blockCount());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        paragraphs.append(block.text());
    return true;
}

} // namespace Wexal
