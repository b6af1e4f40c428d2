#include "richtext/richtextloader.h"

#include "app/cp1250.h"
#include "app/wexalerror.h"
#include "richtext/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QTextOption>

using namespace Qt::StringLiterals;

namespace {

bool readAll(QIODevice &device, QByteArray &bytes)
{
    if (!device.isReadable())
        return false;
    constexpr qint64 Chunk = 1 << 16;
    const qint64 known = device.isSequential() ? 0 : device.size() - device.pos();
    if (known > 0)
        bytes.reserve(known);
    for (;;) {
        const qsizetype start = bytes.size();
        bytes.resize(start + Chunk);
        const qint64 n = device.read(bytes.data() + start, Chunk);
        if (n < 0) {
            bytes.resize(start);
            return false;
        }
        bytes.resize(start + n);
        if (n == 0)
            return true;
    }
}

} // namespace

bool RichTextLoader::load(QIODevice &device, QTextDocument &doc, Format *format, QString *error)
{
    doc.clear();
    QByteArray bytes;
    if (!readAll(device, bytes)) {
        if (error)
            *error = device.errorString();
        return false;
    }
    const Format used = RtfReader::read(bytes, doc) ? Format::Rtf : Format::PlainText;
    if (used == Format::PlainText)
        setPlainText(bytes, doc);
    if (format)
        *format = used;
    return true;
}

RichTextLoader::Format RichTextLoader::loadFile(const QString &path, QTextDocument &doc)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        doc.clear();
        throw WexalError(u"Nie można otworzyć pliku \"%1\": %2"_s.arg(name, file.errorString()));
    }
    Format format = Format::Rtf;
    QString reason;
    if (!load(file, doc, &format, &reason))
        throw WexalError(u"Nie można odczytać pliku \"%1\": %2"_s.arg(name, reason));
    return format;
}

void RichTextLoader::setPlainText(QByteArrayView bytes, QTextDocument &doc)
{
    QString text = Wexal::Cp1250::decode(bytes);
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    text.remove(QChar(0));
    doc.setPlainText(text);
    QTextOption option = doc.defaultTextOption();
    option.setTabStopDistance(RtfReader::DefaultTabPixels);
    doc.setDefaultTextOption(option);
}
