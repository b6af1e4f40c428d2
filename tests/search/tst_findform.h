#pragma once

#include <QObject>

// The find dialog: its look, the rules tying its controls together and what
// it reads out when closed.
class TestFindForm : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void windowLook();
    void tabOrder();
    void presets_data();
    void presets();
    void columnBox_data();
    void columnBox();
    void columnBoxEmptyOutsideTables();
    void enableRuleSequence();

    // Typing, confirming, cancelling and reading out (tst_findformreadout.cpp).
    void runNeedsText_data();
    void runNeedsText();
    void enterConfirmsOnlyWithText();
    void escapeReleaseCancelsAndReadsOut();
    void closeButtonCancels();
    void readOut_data();
    void readOut();
    void typedColumnNameMeansNoRestriction();
    void queryStartsEmptyEveryTime();
};
