#include "windows/showatstartwindow.h"

#include "richtext/richtextview.h"

#include <QCheckBox>
#include <QPrintDialog>
#include <QPushButton>

using namespace Qt::StringLiterals;

ShowAtStartWindow::ShowAtStartWindow(const Twin &twin, const QString &programDir, QWidget *parent)
    : DocumentWindow(twin.controlPrefix, twin.caption, programDir + twin.documentFile, parent),
      m_setting(twin.setting),
      m_printer(QPrinter::HighResolution)
{
    m_printButton = addButton(twin.controlPrefix + u"PrintButton"_s, u"Drukuj"_s,
                              QRect(432, 412, 75, 25));
    m_checkBox = new QCheckBox(u"Czy wyświetlać to okienko przy starcie programu ?"_s, this);
    m_checkBox->setObjectName(twin.controlPrefix + u"CheckBox"_s);
    m_checkBox->setGeometry(8, 416, 265, 17);
    // The caption keeps its one line in the face really used; there is room
    // up to the print button.
    m_checkBox->resize(qMax(265, m_checkBox->sizeHint().width()), 17);
    m_checkBox->setChecked(false);

    setTabOrder(exitButton(), m_printButton);
    setTabOrder(m_printButton, m_checkBox);

    connect(m_printButton, &QPushButton::clicked, this, [this] { PrintButtonClick(); });
    // toggled, not clicked: setting the box when the window opens counts as
    // a click whenever it changes the box.
    connect(m_checkBox, &QCheckBox::toggled, this, [this](bool checked) { CheckBoxClick(checked); });
}

ShowAtStartWindow::~ShowAtStartWindow() = default;

QString ShowAtStartWindow::printDocumentName()
{
    return u"Wydruk pomocy do programu \"Wexal\" ..."_s;
}

void ShowAtStartWindow::FormShow()
{
    showDocument();
    // The box starts unchecked, so an "open at start" reading ticks it and
    // writes "1"; a "do not open" reading changes nothing and writes nothing.
    m_checkBox->setChecked(ShowAtStartSettings::read(m_setting));
    exitButton()->setFocus();
}

void ShowAtStartWindow::PrintButtonClick()
{
    QPrintDialog dialog(&m_printer, this);
    dialog.setObjectName(controlPrefix() + u"PrintDialog"_s);
    // The whole document is always printed, so no page range is offered.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    richEdit()->printTo(&m_printer, printDocumentName());
}

void ShowAtStartWindow::CheckBoxClick(bool checked)
{
    ShowAtStartSettings::write(m_setting, checked);
}
