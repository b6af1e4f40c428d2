#include "richtext/richtextloader.h"

#include "core/cp1250.h"
#include "core/wexalerror.h"
#include "richtext/rtfreader.h"

#include <QBuffer>
#include <QDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <new>
#include <utility>

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

// A zero-width space: a place the line may break that shows nothing.
constexpr char16_t kBreakOpportunity = 0x200B;

void breakLongRuns(QTextDocument &doc)
{
    QTextCursor cursor(&doc);
    bool editing = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        // Only a paragraph longer than a run can hold one.
        if (block.length() <= RichTextLoader::LongestRun)
            continue;
        const QString text = block.text();
        QList<int> breaks;
        int run = 0;
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i).isSpace() || text.at(i) == kBreakOpportunity) {
                run = 0;
            } else if (++run > RichTextLoader::LongestRun) {
                breaks.append(i);
                run = 1;
            }
        }
        // From the back, so that the positions still to come stay where they were.
        for (auto it = breaks.crbegin(); it != breaks.crend(); ++it) {
            if (!editing) {
                cursor.beginEditBlock();
                editing = true;
            }
            cursor.setPosition(block.position() + *it);
            cursor.insertText(QString(QChar(kBreakOpportunity)));
        }
    }
    if (editing)
        cursor.endEditBlock();
}

// The paragraph as breakLongRuns() leaves its block.
void breakLongRun(QString &text)
{
    if (text.size() + 1 <= RichTextLoader::LongestRun)
        return;
    QString broken;
    int run = 0;
    qsizetype taken = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace() || text.at(i) == kBreakOpportunity) {
            run = 0;
        } else if (++run > RichTextLoader::LongestRun) {
            broken.append(QStringView(text).sliced(taken, i - taken));
            broken.append(QChar(kBreakOpportunity));
            taken = i;
            run = 1;
        }
    }
    if (taken == 0)
        return;
    broken.append(QStringView(text).sliced(taken));
    text = std::move(broken);
}

} // namespace

void RichTextLoader::loadParagraphs(QByteArrayView bytes, QStringList &paragraphs)
{
    switch (RtfReader::readParagraphs(bytes, paragraphs)) {
    case RtfReader::Paragraphs::Read: break;
    case RtfReader::Paragraphs::NotRtf: {
        // As setPlainText() places it: every line end a block boundary.
        QString text = Wexal::Cp1250::decode(bytes);
        text.replace(u"\r\n"_s, u"\n"_s);
        text.replace(u'\r', u'\n');
        text.remove(QChar(0));
        paragraphs = text.split(u'\n');
        break;
    }
    case RtfReader::Paragraphs::NeedsDocument: {
        QTextDocument doc;
        if (RtfReader::read(bytes, doc))
            breakLongRuns(doc);
        paragraphs.clear();
        paragraphs.reserve(doc.blockCount());
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
            paragraphs.append(block.text());
        return;
    }
    }
    for (QString &paragraph : paragraphs)
        breakLongRun(paragraph);
}

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
    breakLongRuns(doc);
    if (format)
        *format = used;
    return true;
}

RichTextLoader::Format RichTextLoader::loadFile(const QString &path, QTextDocument &doc, DataFile::Kind kind)
{
    const QString name = QDir::toNativeSeparators(path);
    doc.clear();
    const DataFile file = DataFile::read(path, kind);
    switch (file.status()) {
    case DataFile::Status::Read: break;
    case DataFile::Status::TooLarge:
        throw WexalError(u"Nie można wyświetlić pliku \"%1\": %2."_s.arg(name, file.sizeProblem()));
    case DataFile::Status::OutOfMemory: throw WexalError(DataFile::outOfMemory(name));
    default: throw WexalError(u"Nie można otworzyć pliku \"%1\": %2"_s.arg(name, file.reason()));
    }
    QBuffer buffer;
    buffer.setData(file.bytes());
    buffer.open(QIODevice::ReadOnly);
    Format format = Format::Rtf;
    QString reason;
    try {
        if (!load(buffer, doc, &format, &reason))
            throw WexalError(u"Nie można odczytać pliku \"%1\": %2"_s.arg(name, reason));
    } catch (const std::bad_alloc &) {
        doc.clear();
        throw WexalError(DataFile::outOfMemory(name));
    }
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
