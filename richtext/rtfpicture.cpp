#include "richtext/rtfpicture.h"

#include "richtext/rtfkeyword.h"
#include "richtext/rtflimits.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int MaxValue = 1000000;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

quint32 bigEndian32(QByteArrayView data, qsizetype at)
{
    return (quint32(quint8(data[at])) << 24) | (quint32(quint8(data[at + 1])) << 16)
        | (quint32(quint8(data[at + 2])) << 8) | quint32(quint8(data[at + 3]));
}

int bigEndian16(QByteArrayView data, qsizetype at)
{
    return (int(quint8(data[at])) << 8) | int(quint8(data[at + 1]));
}

bool withinPixelBudget(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= RtfLimits::MaxPicturePixels / height;
}

} // namespace

bool RtfPicture::pngIsSound(QByteArrayView data)
{
    static constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
    constexpr qsizetype SignatureSize = 8;
    if (!data.startsWith(QByteArrayView(Signature, SignatureSize)))
        return false;
    // Chunks: length, type, data, CRC. The first is IHDR with the size.
    bool header = false;
    for (qsizetype at = SignatureSize; at < data.size();) {
        if (data.size() - at < 12)
            return false;
        const quint32 length = bigEndian32(data, at);
        if (length > quint64(data.size() - at - 12))
            return false; // declares more than the data holds
        const QByteArrayView type = data.sliced(at + 4, 4);
        if (!header) {
            if (type != "IHDR" || length < 8)
                return false;
            if (!withinPixelBudget(bigEndian32(data, at + 8), bigEndian32(data, at + 12)))
                return false;
            header = true;
        }
        at += 12 + qsizetype(length);
        if (type == "IEND")
            break;
    }
    return header;
}

bool RtfPicture::jpegIsSound(QByteArrayView data)
{
    if (data.size() < 4 || quint8(data[0]) != 0xFF || quint8(data[1]) != 0xD8)
        return false;
    // Segments up to the frame header (SOFn) that holds the size.
    for (qsizetype at = 2; at + 4 <= data.size();) {
        if (quint8(data[at]) != 0xFF)
            return false;
        const int marker = quint8(data[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2; // markers without a length
            continue;
        }
        const int length = bigEndian16(data, at + 2);
        if (length < 2 || length > data.size() - at - 2)
            return false;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7)
                return false;
            return withinPixelBudget(bigEndian16(data, at + 7), bigEndian16(data, at + 5));
        }
        at += 2 + length;
    }
    return false;
}

void RtfPicture::controlWord(RtfKeyword keyword, int param)
{
    const int value = std::clamp(param, 0, MaxValue);
    switch (keyword) {
    case RtfKeyword::PngBlip: m_type = Png; break;
    case RtfKeyword::JpegBlip: m_type = Jpeg; break;
    case RtfKeyword::OtherBlip: m_type = Unsupported; break;
    case RtfKeyword::PicGoalWidth: m_goalWidth = value; break;
    case RtfKeyword::PicGoalHeight: m_goalHeight = value; break;
    case RtfKeyword::PicScaleX: m_scaleX = value; break;
    case RtfKeyword::PicScaleY: m_scaleY = value; break;
    default: break;
    }
}

void RtfPicture::hexText(QByteArrayView text)
{
    if (m_type == Unsupported || m_data.size() >= RtfLimits::MaxPictureBytes)
        return;
    for (const char c : text) {
        const int v = hexValue(c);
        if (v < 0)
            continue; // line breaks and spaces between the digits
        if (m_pendingNibble < 0) {
            m_pendingNibble = v;
        } else {
            m_data.append(static_cast<char>(m_pendingNibble * 16 + v));
            m_pendingNibble = -1;
        }
    }
}

void RtfPicture::binary(QByteArrayView bytes)
{
    if (m_type != Unsupported && m_data.size() + bytes.size() <= RtfLimits::MaxPictureBytes)
        m_data.append(bytes);
}

QImage RtfPicture::image(QSizeF *size) const
{
    if (m_type == Unsupported || m_data.isEmpty())
        return {};
    if (m_type == Png ? !pngIsSound(m_data) : !jpegIsSound(m_data))
        return {};
    QBuffer buffer;
    buffer.setData(m_data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_type == Png ? "PNG" : "JPEG");
    // A second guard: the decoder refuses to allocate past the budget
    // (4 bytes a pixel), whatever the header checks above missed.
    reader.setAllocationLimit(int(RtfLimits::MaxPicturePixels * 4 / (1024 * 1024)));
    QImage image;
    if (!reader.read(&image))
        return {};
    const double width = m_goalWidth > 0 ? m_goalWidth / TwipsPerPixel : image.width();
    const double height = m_goalHeight > 0 ? m_goalHeight / TwipsPerPixel : image.height();
    if (size)
        *size = QSizeF(std::max(1.0, width * m_scaleX / 100.0), std::max(1.0, height * m_scaleY / 100.0));
    return image;
}
