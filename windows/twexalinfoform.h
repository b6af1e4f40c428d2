#pragma once

#include "windows/auxiliarydialog.h"

class QLabel;
class QPushButton;

// "Informacja": the program's message box. The caller puts one message in
// and shows it modally.
class TWexalInfoForm : public AuxiliaryDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalInfoForm)

public:
    explicit TWexalInfoForm(QWidget *parent = nullptr);
    ~TWexalInfoForm() override;

    void setMessage(const QString &message);
    QString message() const;

    // Create, set the message, show modally, discard.
    static void showMessage(QWidget *parent, const QString &message);

private:
    QLabel *WexalInfoIcon;
    QLabel *WexalInfoText;
    QPushButton *WexalInfoCloseButton;
};
