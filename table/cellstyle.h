#pragma once

#include <QFlags>

// The font styles the cell markup switches on and off. Every cell starts
// with none of them: the grid's plain font.
enum class CellStyleFlag {
    Bold = 0x1,
    Italic = 0x2,
    Underline = 0x4,
};
Q_DECLARE_FLAGS(CellStyle, CellStyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(CellStyle)
