#pragma once

#include "search/findparameters.h"
#include "windows/auxiliarydialog.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Parametry szukania": asks for a query, a scope and, in a table, an
// optional column. Created for one Find and destroyed after it; nothing
// carries over from one search to the next.
class TWexalFindForm : public AuxiliaryDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalFindForm)

public:
    // viewMode is the main window's ViewMode (ViewStart ... ViewTable);
    // headerTexts are the table grid's column names, column 0 first, used
    // only for a table topic.
    TWexalFindForm(int viewMode, const QStringList &headerTexts, QWidget *parent = nullptr);
    ~TWexalFindForm() override;

    // The Find command's round: create, preset, show modally, read out,
    // destroy.
    static FindParameters ask(QWidget *parent, int viewMode, const QStringList &headerTexts);

    // Read-out after the dialog closes, with either result.
    QString query() const;
    int scope() const;
    int column() const;
    bool confirmed() const;
    FindParameters parameters() const;

protected:
    void FormShow() override;

private:
    void presetScope();
    void fillColumnBox(const QStringList &headerTexts);
    void WexalFindInputEditChange();
    bool tableShown() const;

    int m_viewMode;

    QGroupBox *WexalFindGroupBox1;
    QLineEdit *WexalFindInputEdit;
    QGroupBox *WexalFindGroupBox2;
    QRadioButton *WexalFindRadioButton1;
    QCheckBox *WexalFindCheckBox1;
    QLabel *WexalFindLabel1;
    QComboBox *WexalFindComboBox1;
    QRadioButton *WexalFindRadioButton2;
    QRadioButton *WexalFindRadioButton3;
    QPushButton *WexalFindRunButton;
    QPushButton *WexalFindCloseButton;
};
