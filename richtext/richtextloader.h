#pragma once

#include <QString>

class QIODevice;
class QTextDocument;

// The one rule by which the program shows a document file: empty the
// document, read the file as RTF, and when it does not start with the RTF
// header read it again from its beginning as plain Windows-1250 text (every
// CR LF, CR or LF ends a paragraph).
class RichTextLoader
{
public:
    enum class Format { Rtf, PlainText };

    // Reads the whole device. False, with a Polish error, when it cannot be
    // read; the document is empty then.
    static bool load(QIODevice &device, QTextDocument &doc, Format *format = nullptr,
                     QString *error = nullptr);

    // Throws WexalError, naming the file, when it cannot be opened or read.
    static Format loadFile(const QString &path, QTextDocument &doc);

    static void setPlainText(QByteArrayView bytes, QTextDocument &doc);
};
