#include "richtext/rtffieldinstruction.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// Splits an instruction into words; a quoted word keeps its spaces, and in
// it a backslash escapes the next character (paths are written "C:\\dir").
QStringList splitWords(QStringView text)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text[i].isSpace())
            ++i;
        if (i >= n)
            break;
        QString word;
        if (text[i] == u'"') {
            ++i;
            while (i < n && text[i] != u'"') {
                if (text[i] == u'\\' && i + 1 < n && (text[i + 1] == u'\\' || text[i + 1] == u'"'))
                    ++i;
                word += text[i++];
            }
            ++i; // the closing quote
            words.append(word.isEmpty() ? u"\"\""_s : word);
            continue;
        }
        while (i < n && !text[i].isSpace() && text[i] != u'"')
            word += text[i++];
        words.append(word);
    }
    return words;
}

} // namespace

QString RtfFieldInstruction::hyperlinkTarget(QStringView instruction)
{
    const QStringList words = splitWords(instruction);
    if (words.isEmpty() || words.first().compare(u"HYPERLINK"_s, Qt::CaseInsensitive) != 0)
        return {};
    QString address;
    QString bookmark;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &word = words[i];
        if (word.size() == 2 && word[0] == u'\\') {
            const QChar option = word[1].toLower();
            // \l, \o and \t take an argument; \m, \n and \h do not.
            if (option == u'l' && i + 1 < words.size())
                bookmark = words[++i];
            else if ((option == u'o' || option == u't') && i + 1 < words.size())
                ++i;
            continue;
        }
        if (address.isEmpty())
            address = word;
    }
    if (address == u"\"\""_s)
        address.clear();
    if (bookmark == u"\"\""_s)
        bookmark.clear();
    if (!bookmark.isEmpty())
        return address + u'#' + bookmark;
    return address;
}
