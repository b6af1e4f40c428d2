#pragma once

#include <QByteArrayView>

// The control words the reader acts on. Everything else is ignored, except
// under \* where an unknown word makes the whole group ignorable.
enum class RtfKeyword {
    Unknown,
    // header and destinations
    Rtf, Ansi, AnsiCpg, Mac, Pc, Pca, Deff, FontTable, ColorTable, Field, FieldInstruction,
    FieldResult, Picture, ShapePicture, Upr, Ud, NestTableProps, ListText, SkippedDestination,
    // fonts and colours
    FontCharset, FontCodePage, FontRoman, FontSwiss, FontModern, FontScript, FontDecor, FontTech,
    FontNil, Red, Green, Blue,
    // character formats
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Font, Foreground, Background,
    Highlight, Super, Sub, NoSuperSub, Hidden,
    // paragraph formats
    Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, LineSpacing, LineSpacingMultiple, InTable, NestLevel, TabStop,
    TabCenter, TabRight, TabDecimal, DefaultTab,
    // tables
    RowDefaults, CellRight, Cell, NestCell, Row, NestRow, RowLeft, RowCenter, RowRight,
    CellPadding, CellBorder, ParaBorder, BorderStyle, BorderNone, CellShading, CellWidthType,
    CellWidth,
    // text
    Par, Line, Tab, EmDash, EnDash, EmSpace, EnSpace, QmSpace, Bullet, LeftQuote, RightQuote,
    LeftDoubleQuote, RightDoubleQuote, Zwj, Zwnj, Zwbo, Zwnbo, Section, Page, Bin, Unicode, UnicodeSkip,
    // pictures
    PngBlip, JpegBlip, OtherBlip, PicGoalWidth, PicGoalHeight, PicScaleX,
    PicScaleY,
};

RtfKeyword rtfKeyword(QByteArrayView word);
