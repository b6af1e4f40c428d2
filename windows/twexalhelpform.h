#pragma once

#include "windows/showatstartwindow.h"

// The help window "Pomoc": the document wexal.hlp of the program directory,
// its printing and the show-at-start value "Help".
class TWexalHelpForm : public ShowAtStartWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalHelpForm)

public:
    // programDir ends in "/".
    explicit TWexalHelpForm(const QString &programDir, QWidget *parent = nullptr);
    ~TWexalHelpForm() override;

    static Twin twin();
};
