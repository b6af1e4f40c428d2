#include "richtext/rtfpicture.h"

#include "richtext/rtfkeyword.h"

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

} // namespace

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
    if (m_type == Unsupported || m_data.size() >= MaxBytes)
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
    if (m_type != Unsupported && m_data.size() + bytes.size() <= MaxBytes)
        m_data.append(bytes);
}

QImage RtfPicture::image(QSizeF *size) const
{
    QImage image;
    if (m_type == Unsupported || m_data.isEmpty()
        || !image.loadFromData(m_data, m_type == Png ? "PNG" : "JPEG"))
        return {};
    const double width = m_goalWidth > 0 ? m_goalWidth / TwipsPerPixel : image.width();
    const double height = m_goalHeight > 0 ? m_goalHeight / TwipsPerPixel : image.height();
    if (size)
        *size = QSizeF(std::max(1.0, width * m_scaleX / 100.0), std::max(1.0, height * m_scaleY / 100.0));
    return image;
}
