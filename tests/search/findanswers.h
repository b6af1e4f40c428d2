#pragma once

#include "modaldriver.h"

#include "shell/commandset.h"
#include "app/twexalmainform.h"
#include "search/twexalfindform.h"
#include "windows/twexalinfoform.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// What the user does in the search parameters dialog.
struct FindAnswer
{
    FindAnswer(const QString &query, int scope = 0, const QString &column = QString(), bool confirm = true)
        : query(query), scope(scope), column(column), confirm(confirm)
    {
    }

    QString query;
    int scope = 0;  // 1 open topic, 2 titles, 3 contents; 0 leaves the preset
    QString column; // ticks "only this column" and picks the column by name
    bool confirm = true;
};

// What the dialog showed when it came up, and what the user then saw.
struct FindDialogSeen
{
    bool shown = false;
    bool commandsDisabled = false;
    bool openTopicEnabled = false;
    bool openTopicChecked = false;
    bool titlesChecked = false;
    bool contentsChecked = false;
    bool onlyColumnEnabled = false;
    bool onlyColumnChecked = false;
    bool columnBoxEnabled = false;
    QStringList columnNames;
    QList<int> columnIndexes;
    QString queryShown;
};

struct InfoSeen
{
    int count = 0;
    QString title;
    QString message;
    bool commandsDisabled = false;
};

inline bool allCommandsDisabled(const TWexalMainForm &form)
{
    for (int c = 0; c < CommandSet::CommandCount; ++c) {
        if (form.commands().action(CommandSet::Command(c))->isEnabled())
            return false;
    }
    return true;
}

inline void lookAtFindDialog(const TWexalFindForm &form, FindDialogSeen &seen)
{
    const auto *openTopic = form.findChild<QRadioButton *>(QStringLiteral("WexalFindRadioButton1"));
    const auto *titles = form.findChild<QRadioButton *>(QStringLiteral("WexalFindRadioButton2"));
    const auto *contents = form.findChild<QRadioButton *>(QStringLiteral("WexalFindRadioButton3"));
    const auto *onlyColumn = form.findChild<QCheckBox *>(QStringLiteral("WexalFindCheckBox1"));
    const auto *columns = form.findChild<QComboBox *>(QStringLiteral("WexalFindComboBox1"));
    const auto *input = form.findChild<QLineEdit *>(QStringLiteral("WexalFindInputEdit"));
    seen.shown = true;
    seen.openTopicEnabled = openTopic->isEnabled();
    seen.openTopicChecked = openTopic->isChecked();
    seen.titlesChecked = titles->isChecked();
    seen.contentsChecked = contents->isChecked();
    seen.onlyColumnEnabled = onlyColumn->isEnabled();
    seen.onlyColumnChecked = onlyColumn->isChecked();
    seen.columnBoxEnabled = columns->isEnabled();
    seen.columnNames.clear();
    seen.columnIndexes.clear();
    for (int i = 0; i < columns->count(); ++i) {
        seen.columnNames << columns->itemText(i);
        seen.columnIndexes << columns->itemData(i).toInt();
    }
    seen.queryShown = input->text();
}

// Fills in the dialog as a user would and closes it with "Szukaj" or
// "Zamknij". seen, when given, records the dialog as it came up.
inline ModalDriver::Answer answerFind(const TWexalMainForm &mainForm, const FindAnswer &answer,
                                      FindDialogSeen *seen = nullptr)
{
    return [&mainForm, answer, seen](QDialog *dialog) {
        auto *form = qobject_cast<TWexalFindForm *>(dialog);
        if (!form) {
            dialog->reject();
            return;
        }
        if (seen) {
            lookAtFindDialog(*form, *seen);
            seen->commandsDisabled = allCommandsDisabled(mainForm);
        }
        auto *input = form->findChild<QLineEdit *>(QStringLiteral("WexalFindInputEdit"));
        typeText(input, answer.query);
        if (answer.scope > 0) {
            const QString name = QStringLiteral("WexalFindRadioButton%1").arg(answer.scope);
            clickMark(form->findChild<QRadioButton *>(name));
        }
        if (!answer.column.isEmpty()) {
            clickMark(form->findChild<QCheckBox *>(QStringLiteral("WexalFindCheckBox1")));
            auto *columns = form->findChild<QComboBox *>(QStringLiteral("WexalFindComboBox1"));
            columns->setCurrentIndex(columns->findText(answer.column));
        }
        const QString button = answer.confirm ? QStringLiteral("WexalFindRunButton") : QStringLiteral("WexalFindCloseButton");
        QTest::mouseClick(form->findChild<QPushButton *>(button), Qt::LeftButton);
    };
}

// Reads the information window and closes it with its button.
inline ModalDriver::Answer answerInfo(const TWexalMainForm &mainForm, InfoSeen &seen)
{
    return [&mainForm, &seen](QDialog *dialog) {
        ++seen.count;
        seen.title = dialog->windowTitle();
        if (const auto *text = dialog->findChild<QLabel *>(QStringLiteral("WexalInfoText")))
            seen.message = text->text();
        seen.commandsDisabled = allCommandsDisabled(mainForm);
        if (auto *close = dialog->findChild<QPushButton *>(QStringLiteral("WexalInfoCloseButton")))
            QTest::mouseClick(close, Qt::LeftButton);
        else
            dialog->reject();
    };
}
