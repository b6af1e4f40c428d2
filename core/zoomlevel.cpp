#include "core/zoomlevel.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array kLevels = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};
static_assert(kLevels.front() == ZoomLevel::Least && kLevels.back() == ZoomLevel::Most);

} // namespace

namespace ZoomLevel {

int larger(int percent)
{
    const auto next = std::upper_bound(kLevels.begin(), kLevels.end(), percent);
    return next == kLevels.end() ? Most : *next;
}

int smaller(int percent)
{
    const auto next = std::lower_bound(kLevels.begin(), kLevels.end(), percent);
    return next == kLevels.begin() ? Least : *(next - 1);
}

int bounded(int percent)
{
    return qBound(Least, percent, Most);
}

int scaled(int pixels, int percent)
{
    return percent == Normal ? pixels : int(std::lround(double(pixels) * percent / Normal));
}

qreal scaled(qreal size, int percent)
{
    return percent == Normal ? size : size * percent / Normal;
}

QFont widgetFont(const QFont &parentFont, int percent)
{
    if (percent == Normal)
        return QFont();
    QFont zoomed = parentFont;
    if (zoomed.pointSizeF() > 0)
        zoomed.setPointSizeF(scaled(zoomed.pointSizeF(), percent));
    else
        zoomed.setPixelSize(scaled(zoomed.pixelSize(), percent));
    return zoomed;
}

} // namespace ZoomLevel
