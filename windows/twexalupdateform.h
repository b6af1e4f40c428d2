#pragma once

#include "windows/documentwindow.h"

// The update information window: the document wexal.update of the program
// directory, under the same title as the explanations window. A reduced twin
// of the help window, without printing and without the show-at-start box.
class TWexalUpdateForm : public DocumentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalUpdateForm)

public:
    // programDir ends in "/".
    explicit TWexalUpdateForm(const QString &programDir, QWidget *parent = nullptr);
    ~TWexalUpdateForm() override;

protected:
    void FormShow() override;
};
