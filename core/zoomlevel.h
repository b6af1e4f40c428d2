#pragma once

#include <QFont>

// The zoom of the table, the text view and the search results, in percent
// of their normal size: 100 is the normal look and the default, the user
// steps through the levels between 50 and 400.
namespace ZoomLevel {

constexpr int Normal = 100;
constexpr int Least = 50;
constexpr int Most = 400;

// The next level up or down from a level, stopping at the ends.
int larger(int percent);
int smaller(int percent);
// A level brought within Least..Most.
int bounded(int percent);

// A length in pixels at a level, rounded; unchanged at 100.
int scaled(int pixels, int percent);
qreal scaled(qreal size, int percent);
// The font a widget takes at a level: at 100 a font that sets nothing, so
// that the widget inherits its parent's font as it did before any zoom;
// otherwise the parent's font at that size.
QFont widgetFont(const QFont &parentFont, int percent);

} // namespace ZoomLevel
