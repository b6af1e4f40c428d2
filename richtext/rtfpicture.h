#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSizeF>

enum class RtfKeyword;

// One \pict destination: its picture type, sizes and data (hex digits or a
// \bin payload). PNG and JPEG pictures become images; metafiles and device
// bitmaps are skipped without keeping their data.
class RtfPicture
{
public:
    void controlWord(RtfKeyword keyword, int param);
    void hexText(QByteArrayView text);
    void binary(QByteArrayView bytes);

    // The image and the size it is shown at (pixels: the goal size in twips
    // when given, else the image's own, times the scale); a null image when
    // the picture cannot be shown. A picture whose declared sizes do not fit
    // its data or RtfLimits::MaxPicturePixels is not decoded.
    QImage image(QSizeF *size) const;

    // Whether data's header and, for PNG, every chunk length agree with the
    // bytes present, and the declared width × height is within RtfLimits::MaxPicturePixels.
    static bool pngIsSound(QByteArrayView data);
    static bool jpegIsSound(QByteArrayView data);

private:
    enum Type { Unsupported, Png, Jpeg };

    Type m_type = Unsupported;
    QByteArray m_data;
    int m_pendingNibble = -1;
    int m_goalWidth = 0;
    int m_goalHeight = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
};
