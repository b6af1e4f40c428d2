#include "windows/twexalinfoform.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

TWexalInfoForm::TWexalInfoForm(QWidget *parent)
    : AuxiliaryDialog(u"Informacja"_s, 392, 109, parent)
{
    WexalInfoIcon = addProgramIcon(u"WexalInfoIcon"_s, QPoint(16, 16));

    // About three lines fit; a longer message is cut at the bottom and the
    // window keeps its size.
    WexalInfoText = addLabel(u"WexalInfoText"_s, QString(), QRect(64, 14, 321, 41), false);
    WexalInfoText->setWordWrap(true);
    WexalInfoText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    WexalInfoCloseButton = addCloseButton(u"WexalInfoButtonsBevel"_s, QRect(8, 67, 377, 2),
                                          u"WexalInfoCloseButton"_s, QRect(310, 76, 75, 25));
    WexalInfoCloseButton->setFocus();
}

TWexalInfoForm::~TWexalInfoForm() = default;

void TWexalInfoForm::setMessage(const QString &message)
{
    WexalInfoText->setText(message);
}

QString TWexalInfoForm::message() const
{
    return WexalInfoText->text();
}

void TWexalInfoForm::showMessage(QWidget *parent, const QString &message)
{
    TWexalInfoForm form(parent);
    form.setMessage(message);
    form.exec();
}
