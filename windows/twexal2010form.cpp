#include "windows/twexal2010form.h"

using namespace Qt::StringLiterals;

TWexal2010Form::TWexal2010Form(const QString &programDir, QWidget *parent)
    : ShowAtStartWindow(twin(), programDir, parent)
{
}

TWexal2010Form::~TWexal2010Form() = default;

ShowAtStartWindow::Twin TWexal2010Form::twin()
{
    return {u"Wexal2010"_s, u"Wyjaśnienia"_s, u"wexal.2010"_s, ShowAtStartSettings::ExplanationsWindow};
}
