#include "search/twexalfindform.h"

#include "core/textrules.h"
#include "core/wexalstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

template<typename Control>
Control *placed(Control *control, const QString &objectName, const QRect &rect)
{
    control->setObjectName(objectName);
    control->setGeometry(rect);
    return control;
}

} // namespace

TWexalFindForm::TWexalFindForm(int viewMode, const QStringList &headerTexts, QWidget *parent)
    : AuxiliaryDialog(u"Parametry szukania"_s, 392, 270, parent), m_viewMode(viewMode)
{
    WexalFindGroupBox1 = placed(new QGroupBox(u" Szukany ciąg znaków "_s, this),
                                u"WexalFindGroupBox1"_s, QRect(8, 8, 377, 57));
    WexalFindInputEdit = placed(new QLineEdit(WexalFindGroupBox1), u"WexalFindInputEdit"_s,
                                QRect(8, 24, 361, 21));

    WexalFindGroupBox2 = placed(new QGroupBox(u" Szukając uwzględnij "_s, this),
                                u"WexalFindGroupBox2"_s, QRect(8, 72, 377, 145));
    WexalFindRadioButton1 =
        placed(new QRadioButton(u"Aktualnie otwarty temat"_s, WexalFindGroupBox2),
               u"WexalFindRadioButton1"_s, QRect(8, 24, 361, 17));
    WexalFindCheckBox1 =
        placed(new QCheckBox(u"Szukaj tylko w wybranej kolumnie tabeli"_s, WexalFindGroupBox2),
               u"WexalFindCheckBox1"_s, QRect(24, 48, 345, 17));
    WexalFindLabel1 = placed(new QLabel(u"Kolumna"_s, WexalFindGroupBox2), u"WexalFindLabel1"_s,
                             QRect(24, 72, 41, 13));
    // The caption takes the width its text needs in the face in use.
    WexalFindLabel1->resize(WexalFindLabel1->sizeHint().width(), 13);
    WexalFindComboBox1 = placed(new QComboBox(WexalFindGroupBox2), u"WexalFindComboBox1"_s,
                                QRect(88, 68, 281, 21));
    WexalFindComboBox1->setEditable(true);
    // Typing into the box never adds an entry without a column index.
    WexalFindComboBox1->setInsertPolicy(QComboBox::NoInsert);
    WexalFindLabel1->setBuddy(WexalFindComboBox1);
    WexalFindRadioButton2 =
        placed(new QRadioButton(u"Tytuły tematów z drzewka nawigacyjnego"_s, WexalFindGroupBox2),
               u"WexalFindRadioButton2"_s, QRect(8, 104, 361, 17));
    WexalFindRadioButton3 = placed(new QRadioButton(u"Zawartość tematów"_s, WexalFindGroupBox2),
                                   u"WexalFindRadioButton3"_s, QRect(8, 120, 361, 17));

    addBevel(u"WexalFindButtonsBevel"_s, QRect(8, 227, 377, 2));
    WexalFindRunButton = addButton(u"WexalFindRunButton"_s, u"Szukaj"_s, QRect(229, 236, 75, 25));
    WexalFindRunButton->setDefault(true);
    WexalFindCloseButton =
        addButton(u"WexalFindCloseButton"_s, u"Zamknij"_s, QRect(310, 236, 75, 25));
    connect(WexalFindRunButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(WexalFindCloseButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(WexalFindInputEdit, WexalFindRadioButton1);
    setTabOrder(WexalFindRadioButton1, WexalFindRadioButton2);
    setTabOrder(WexalFindRadioButton2, WexalFindRadioButton3);
    setTabOrder(WexalFindRadioButton3, WexalFindCheckBox1);
    setTabOrder(WexalFindCheckBox1, WexalFindComboBox1);
    setTabOrder(WexalFindComboBox1, WexalFindRunButton);
    setTabOrder(WexalFindRunButton, WexalFindCloseButton);

    connect(WexalFindInputEdit, &QLineEdit::textChanged, this,
            &TWexalFindForm::WexalFindInputEditChange);
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(WexalFindRadioButton1),
                                    static_cast<QAbstractButton *>(WexalFindRadioButton2),
                                    static_cast<QAbstractButton *>(WexalFindRadioButton3),
                                    static_cast<QAbstractButton *>(WexalFindCheckBox1)}) {
        connect(button, &QAbstractButton::toggled, this,
                &TWexalFindForm::WexalFindInputEditChange);
    }
    connect(WexalFindComboBox1, &QComboBox::currentIndexChanged, this,
            &TWexalFindForm::WexalFindInputEditChange);
    connect(WexalFindComboBox1, &QComboBox::editTextChanged, this,
            &TWexalFindForm::WexalFindInputEditChange);

    presetScope();
    fillColumnBox(headerTexts);
}

TWexalFindForm::~TWexalFindForm() = default;

FindParameters TWexalFindForm::ask(QWidget *parent, int viewMode, const QStringList &headerTexts)
{
    TWexalFindForm form(viewMode, headerTexts, parent);
    form.exec();
    return form.parameters();
}

bool TWexalFindForm::tableShown() const
{
    return m_viewMode == ViewTable;
}

void TWexalFindForm::presetScope()
{
    const bool topicShown = m_viewMode == ViewText || m_viewMode == ViewTable;
    if (topicShown) {
        WexalFindRadioButton1->setChecked(true);
    } else {
        // Radio buttons of one group refuse to be all unchecked; the titles
        // choice takes the check first so the open topic loses it.
        WexalFindRadioButton2->setChecked(true);
        WexalFindRadioButton1->setEnabled(false);
    }
}

void TWexalFindForm::fillColumnBox(const QStringList &headerTexts)
{
    WexalFindComboBox1->clear();
    WexalFindComboBox1->clearEditText();
    if (!tableShown())
        return;
    for (int column = 0; column < headerTexts.size(); ++column) {
        const QString &header = headerTexts.at(column);
        // Link columns hold hidden targets, not text anyone searches for.
        if (!Wexal::sameText(header, u"LINK"))
            WexalFindComboBox1->addItem(header, column);
    }
    if (WexalFindComboBox1->count() > 0)
        WexalFindComboBox1->setCurrentIndex(0);
}

void TWexalFindForm::FormShow()
{
    paintLightYellow(WexalFindInputEdit);
    paintLightYellow(WexalFindComboBox1);
    WexalFindInputEdit->clear();
    WexalFindInputEdit->setFocus();
    WexalFindInputEditChange();
}

void TWexalFindForm::WexalFindInputEditChange()
{
    WexalFindComboBox1->setEnabled(WexalFindCheckBox1->isChecked());
    WexalFindCheckBox1->setEnabled(WexalFindRadioButton1->isChecked() && tableShown());
    if (!WexalFindCheckBox1->isEnabled() && WexalFindCheckBox1->isChecked()) {
        // Unticking notifies like a click and runs this rule again, which
        // then disables the column box.
        WexalFindCheckBox1->setChecked(false);
    }
    WexalFindRunButton->setEnabled(!Wexal::trimmedView(WexalFindInputEdit->text()).isEmpty());
}

QString TWexalFindForm::query() const
{
    return Wexal::trimmed(WexalFindInputEdit->text());
}

int TWexalFindForm::scope() const
{
    int scope = FindParameters::ScopeOpenTopic;
    if (WexalFindRadioButton1->isChecked())
        scope = FindParameters::ScopeOpenTopic;
    if (WexalFindRadioButton2->isChecked())
        scope = FindParameters::ScopeTitles;
    if (WexalFindRadioButton3->isChecked())
        scope = FindParameters::ScopeContents;
    return scope;
}

int TWexalFindForm::column() const
{
    if (!WexalFindCheckBox1->isChecked())
        return FindParameters::AllColumns;
    // The box is read as it reads on screen: its text names the column.
    // Typed text that names no entry, or an empty list, gives no column to
    // restrict to, and the search then covers every column.
    int entry = WexalFindComboBox1->currentIndex();
    const QString shown = WexalFindComboBox1->currentText();
    if (entry < 0 || WexalFindComboBox1->itemText(entry) != shown)
        entry = WexalFindComboBox1->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry < 0)
        return FindParameters::AllColumns;
    return WexalFindComboBox1->itemData(entry).toInt();
}

bool TWexalFindForm::confirmed() const
{
    return result() == QDialog::Accepted;
}

FindParameters TWexalFindForm::parameters() const
{
    FindParameters parameters;
    parameters.query = query();
    parameters.scope = scope();
    parameters.column = column();
    parameters.confirmed = confirmed();
    return parameters;
}
