#include "search/documentparagraphs.h"

#include "core/datafile.h"
#include "richtext/richtextloader.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>

namespace Wexal {

bool readDocumentParagraphs(const QString &path, QStringList &paragraphs)
{
    // The view's own rule: a file that is missing, no regular file or beyond
    // a text topic's cap is not shown, so it holds nothing to find.
    const DataFile file = DataFile::read(path, DataFile::Kind::TextTopic);
    if (!file.isRead())
        return false;
    QBuffer buffer;
    buffer.setData(file.bytes());
    buffer.open(QIODevice::ReadOnly);
    QTextDocument doc;
    try {
        if (!RichTextLoader::load(buffer, doc))
            return false;
    } catch (const std::bad_alloc &) {
        return false;
    }
    paragraphs.clear();
    paragraphs.reserve(doc.blockCount());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        paragraphs.append(block.text());
    return true;
}

} // namespace Wexal
