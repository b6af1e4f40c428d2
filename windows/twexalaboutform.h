#pragma once

#include "windows/auxiliarydialog.h"

class QLabel;
class QPushButton;

// "O programie": the program's name, version, authors and producer.
class TWexalAboutForm : public AuxiliaryDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalAboutForm)

public:
    explicit TWexalAboutForm(QWidget *parent = nullptr);
    ~TWexalAboutForm() override;

    // The about command's modal round: create, show, destroy. The result is
    // not looked at.
    static void showModal(QWidget *parent);

protected:
    void FormShow() override;

private:
    QLabel *WexalAboutProgramIcon;
    QLabel *WexalAboutNameLabel;
    QLabel *WexalAboutVersionLabel;
    QLabel *WexalAboutAuthorLabel;
    QLabel *WexalAboutAuthorName;
    QLabel *WexalAboutProducerLabel;
    QLabel *WexalAboutProducerName;
    QPushButton *WexalAboutCloseButton;
};
