#pragma once

#include <QFont>
#include <QString>

class QPainter;
class QPaintDevice;

// The frame of a printed page of a topic: its title above the text and
// "Strona n z m" below it, each in a band two lines high of the device's
// page. The text goes between the bands.
class PageFrame
{
public:
    // font: the frame's, its size in points turned to the device's pixels.
    PageFrame(const QString &title, QFont font, const QPaintDevice &device);

    int bandHeight() const { return 2 * m_lineHeight; }
    // Draws the title and "Strona page z pages" (page from 1) on a page
    // width x height of the device.
    void draw(QPainter &painter, int width, int height, int page, int pages) const;

    // font with its size in the device's pixels.
    static QFont forDevice(QFont font, const QPaintDevice &device);

private:
    QString m_title;
    QFont m_font;
    int m_lineHeight;
};
