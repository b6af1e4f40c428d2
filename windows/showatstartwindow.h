#pragma once

#include "windows/documentwindow.h"
#include "windows/showatstartsettings.h"

#include <QPrinter>

class QCheckBox;
class QPushButton;

// The help and explanations windows, twins that differ only in title,
// document, show-at-start value and control names (see Twin). Besides the
// document they offer printing it and the check box that decides whether the
// window opens by itself when the program starts; the box is bound to the
// window's show-at-start value and every change of it is written at once.
class ShowAtStartWindow : public DocumentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShowAtStartWindow)

public:
    struct Twin
    {
        QString controlPrefix; // "WexalHelp" or "Wexal2010"
        QString caption;
        QString documentFile; // bare file name in the program directory
        ShowAtStartSettings::Window setting;
    };

    ~ShowAtStartWindow() override;

    // The name the print queue shows, the same for both twins.
    static QString printDocumentName();

    QPushButton *printButton() const { return m_printButton; }
    QCheckBox *checkBox() const { return m_checkBox; }
    // The printer the print dialog sets up and the job goes to; it starts
    // from the system's default settings at every opening of the window.
    QPrinter *printer() { return &m_printer; }

    // Asks for a printer; unless the user cancels, prints the whole document
    // as one job.
    void PrintButtonClick();
    // Writes the box's new state as the window's show-at-start value.
    void CheckBoxClick(bool checked);

protected:
    ShowAtStartWindow(const Twin &twin, const QString &programDir, QWidget *parent);

    void FormShow() override;

private:
    ShowAtStartSettings::Window m_setting;
    QPrinter m_printer;
    QPushButton *m_printButton;
    QCheckBox *m_checkBox;
};
