#pragma once

#include "core/datafile.h"

#include <QString>
#include <QStringList>

class QIODevice;
class QTextDocument;

// The one rule by which the program shows a document file: empty the
// document, read the file as RTF, and when it does not start with the RTF
// header read it again from its beginning as plain Windows-1250 text (every
// CR LF, CR or LF ends a paragraph). A run of more than LongestRun characters
// without white space gets an invisible break opportunity (a zero-width
// space) after every LongestRun of them: the view's line breaking takes time
// that grows with the square of the longest unbreakable run, and a damaged
// file of one endless word would freeze the program for minutes.
class RichTextLoader
{
public:
    enum class Format { Rtf, PlainText };

    // Reads the whole device. False, with a Polish error, when it cannot be
    // read; the document is empty then.
    static bool load(QIODevice &device, QTextDocument &doc, Format *format = nullptr,
                     QString *error = nullptr);

    // Reads the file as a data file of the given kind (DataFile). Throws
    // WexalError, naming the file, when it cannot be opened or read, is no
    // regular file, or is larger than the kind's cap: laying out text costs
    // the view time and memory in proportion to it (some 50 bytes a
    // character), so a damaged file of hundreds of megabytes is refused
    // rather than read.
    static Format loadFile(const QString &path, QTextDocument &doc,
                           DataFile::Kind kind = DataFile::Kind::TextTopic);

    static void setPlainText(QByteArrayView bytes, QTextDocument &doc);

    // The text of the blocks load() would give a document of bytes, one
    // entry per block in document order, long runs broken the same way. A
    // document of paragraphs only is read without building a QTextDocument;
    // one with tables or pictures is loaded into one.
    static void loadParagraphs(QByteArrayView bytes, QStringList &paragraphs);

    static constexpr int LongestRun = 1000;
};
