#include "windows/twexalaboutform.h"

#include "windows/productinfo.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

void setFontStyle(QLabel *label, bool bold, bool underline)
{
    QFont font = label->font();
    font.setBold(bold);
    font.setUnderline(underline);
    label->setFont(font);
}

QLabel *wrapped(QLabel *label)
{
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

TWexalAboutForm::TWexalAboutForm(QWidget *parent)
    : AuxiliaryDialog(u"O programie"_s, 392, 202, parent)
{
    WexalAboutProgramIcon = addProgramIcon(u"WexalAboutProgramIcon"_s, QPoint(16, 16));

    WexalAboutNameLabel = addLabel(u"WexalAboutNameLabel"_s, Wexal::ProductInfo::programTitle(),
                                   QRect(80, 12, 301, 13), false);
    setFontStyle(WexalAboutNameLabel, true, false);
    WexalAboutVersionLabel = addLabel(u"WexalAboutVersionLabel"_s,
                                      Wexal::ProductInfo::versionText(), QRect(80, 26, 148, 13),
                                      true);

    WexalAboutAuthorLabel = addLabel(u"WexalAboutAuthorLabel"_s, u"Autor"_s,
                                     QRect(80, 48, 25, 13), false);
    setFontStyle(WexalAboutAuthorLabel, false, true);
    WexalAboutAuthorLabel->resize(WexalAboutAuthorLabel->sizeHint().width(), 13);
    WexalAboutAuthorName = wrapped(
        addLabel(u"WexalAboutAuthorName"_s, u"???"_s, QRect(80, 68, 305, 29), false));

    WexalAboutProducerLabel = addLabel(u"WexalAboutProducerLabel"_s, u"Producent"_s,
                                       QRect(80, 104, 49, 13), false);
    setFontStyle(WexalAboutProducerLabel, false, true);
    WexalAboutProducerLabel->resize(WexalAboutProducerLabel->sizeHint().width(), 13);
    WexalAboutProducerName = wrapped(
        addLabel(u"WexalAboutProducerName"_s, u"???"_s, QRect(80, 124, 305, 29), false));

    WexalAboutCloseButton = addCloseButton(u"WexalAboutButtonsBevel"_s, QRect(8, 158, 377, 2),
                                           u"WexalAboutCloseButton"_s, QRect(308, 168, 75, 25));
    WexalAboutCloseButton->setFocus();
}

TWexalAboutForm::~TWexalAboutForm() = default;

void TWexalAboutForm::showModal(QWidget *parent)
{
    TWexalAboutForm form(parent);
    form.exec();
}

void TWexalAboutForm::FormShow()
{
    // A label shows a line break as CR LF would: one new line, no stray CR.
    WexalAboutAuthorName->setText(
        Wexal::ProductInfo::authorText().replace(u"\r\n"_s, u"\n"_s));
    WexalAboutProducerName->setText(Wexal::ProductInfo::producerText());
}
