#include "windows/twexalupdateform.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

TWexalUpdateForm::TWexalUpdateForm(const QString &programDir, QWidget *parent)
    : DocumentWindow(u"WexalUpdate"_s, u"Wyjaśnienia"_s, programDir + u"wexal.update"_s, parent)
{
}

TWexalUpdateForm::~TWexalUpdateForm() = default;

void TWexalUpdateForm::FormShow()
{
    showDocument();
    exitButton()->setFocus();
}
