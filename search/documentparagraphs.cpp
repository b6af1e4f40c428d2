#include "search/documentparagraphs.h"

#include "core/datafile.h"
#include "richtext/richtextloader.h"

namespace Wexal {

bool readDocumentParagraphs(const QString &path, QStringList &paragraphs)
{
    // The view's own rule: a file that is missing, no regular file or beyond
    // a text topic's cap is not shown, so it holds nothing to find.
    const DataFile file = DataFile::read(path, DataFile::Kind::TextTopic);
    if (!file.isRead())
        return false;
    try {
        RichTextLoader::loadParagraphs(file.bytes(), paragraphs);
    } catch (const std::bad_alloc &) {
        paragraphs.clear();
        return false;
    }
    return true;
}

} // namespace Wexal
