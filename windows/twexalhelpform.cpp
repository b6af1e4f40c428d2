#include "windows/twexalhelpform.h"

using namespace Qt::StringLiterals;

TWexalHelpForm::TWexalHelpForm(const QString &programDir, QWidget *parent)
    : ShowAtStartWindow(twin(), programDir, parent)
{
}

TWexalHelpForm::~TWexalHelpForm() = default;

ShowAtStartWindow::Twin TWexalHelpForm::twin()
{
    return {u"WexalHelp"_s, u"Pomoc"_s, u"wexal.hlp"_s, ShowAtStartSettings::HelpWindow};
}
