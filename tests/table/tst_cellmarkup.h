#pragma once

#include <QObject>

// Cell markup. The passes run over fixed metrics (regular 6 pixels, bold 7,
// italic 8, bold italic 9, line height 13), so that every position can be
// worked out by hand; the real font is checked against the literal search.
class TestCellMarkup : public QObject
{
    Q_OBJECT

private slots:
    void measureLines_data();
    void measureLines();
    void drawRuns_data();
    void drawRuns();
    void drawRunsCarryRowState();
    void linkRecord_data();
    void linkRecord();
    void shortcutMatchesLiteralSearch();

    // Reading back what the drawing wrote (tst_linkreadback.cpp).
    void linkAtPoint_data();
    void linkAtPoint();
    void readLinkAreasInOrder();
    void hitTestOverManyLinks_data();
    void hitTestOverManyLinks();
    void drawnAreasHitOnlyTheLastRun();
    void linkTarget_data();
    void linkTarget();

    // The grid's real font (tst_realfont.cpp).
    void realFontWidths();
    void realFontWordWidths_data();
    void realFontWordWidths();
    void realFontLineDrawsAsText_data();
    void realFontLineDrawsAsText();
    void realFontShortcutMatchesLiteralSearch_data();
    void realFontShortcutMatchesLiteralSearch();
    void realFontSampleCells();
    void realFontOwnShaping_data();
    void realFontOwnShaping();
};
