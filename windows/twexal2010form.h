#pragma once

#include "windows/showatstartwindow.h"

// The explanations window "Wyjaśnienia": the document wexal.2010 of the
// program directory, its printing and the show-at-start value "2010".
class TWexal2010Form : public ShowAtStartWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexal2010Form)

public:
    // programDir ends in "/".
    explicit TWexal2010Form(const QString &programDir, QWidget *parent = nullptr);
    ~TWexal2010Form() override;

    static Twin twin();
};
