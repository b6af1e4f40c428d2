#pragma once

#include <QColor>
#include <QList>
#include <QtGlobal>

#include <array>

// The formatting state that RTF saves at "{" and restores at "}". Plain
// values only, so that a group costs one copy and comparing two states to
// decide whether a run of text needs a new format is cheap.

enum class RtfDestination : quint8 {
    Text,             // the document body: text is shown
    Skip,             // an ignored destination: only braces and \bin matter
    FontTable,
    ColorTable,
    FieldInstruction, // text goes to the innermost field's instruction
    Picture,          // text is the picture's hex data
    Upr,              // the 8-bit half of \upr: ignored, its \ud part is shown
};

struct RtfCharProps
{
    int font = -1;       // font table number; -1 is the default font
    int halfPoints = 24; // RTF's default size, 12 points
    int foreground = 0;  // colour table index; 0 and unknown indexes are "auto"
    int background = 0;
    int link = -1;       // index of the hyperlink target, -1 outside a link
    qint8 vertical = 0;  // 1 superscript, -1 subscript
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;

    bool operator==(const RtfCharProps &o) const
    {
        return font == o.font && halfPoints == o.halfPoints && foreground == o.foreground
            && background == o.background && link == o.link && vertical == o.vertical
            && bold == o.bold && italic == o.italic && underline == o.underline
            && strike == o.strike && hidden == o.hidden;
    }
    bool operator!=(const RtfCharProps &o) const { return !(*this == o); }
};

// Lengths in twips, as RTF gives them.
struct RtfParaProps
{
    enum Align : quint8 { Left, Center, Right, Justify };

    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: 0 automatic, > 0 at least, < 0 exactly
    bool lineMultiple = false;
    Align align = Left;
    bool inTable = false;
    int nestLevel = 1;   // \itap: the table nesting depth of the paragraph

    // Tab stops (\tx) from the left margin: position in twips times 4 plus
    // the kind (0 left, 1 centre, 2 right, 3 decimal).
    static constexpr int MaxTabs = 16;
    std::array<int, MaxTabs> tabs{};
    quint8 tabCount = 0;
    quint8 pendingTabKind = 0; // \tqc, \tqr, \tqdec before the next \tx
};

struct RtfGroupState
{
    RtfDestination destination = RtfDestination::Text;
    RtfDestination uprReturn = RtfDestination::Text; // where \ud inside \upr goes
    int unicodeSkip = 1;                             // \uc, scoped to the group
    RtfCharProps chars;
    RtfParaProps para;
};

// A table row definition (\trowd ... \cellx) in document units.
struct RtfRowDefinition
{
    enum WidthType { FromEdges, Auto, Percent, Twips }; // \clftsWidth 0..3

    QList<int> cellRight;     // right edges in twips
    QList<QColor> cellColour; // background per cell; invalid for none
    QList<int> cellWidthType; // WidthType per cell
    QList<int> cellWidth;     // \clwWidth: twips, or 50ths of a percent
    int padding = 0;          // \trgaph in twips
    Qt::Alignment alignment = Qt::AlignLeft;
    bool borders = false;
    int pendingShading = 0;   // \clcbpat before the next \cellx
    int pendingWidthType = FromEdges;
    int pendingWidth = 0;
};
