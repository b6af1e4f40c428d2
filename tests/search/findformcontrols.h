#pragma once

#include "search/twexalfindform.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

inline const QStringList kHeaders{u"Kod"_s, u"link"_s, u"Nazwa"_s};

// The dialog's controls, found the way a user's script would: by name.
struct Controls
{
    explicit Controls(const TWexalFindForm &form)
        : input(form.findChild<QLineEdit *>(u"WexalFindInputEdit"_s)),
          openTopic(form.findChild<QRadioButton *>(u"WexalFindRadioButton1"_s)),
          titles(form.findChild<QRadioButton *>(u"WexalFindRadioButton2"_s)),
          contents(form.findChild<QRadioButton *>(u"WexalFindRadioButton3"_s)),
          onlyColumn(form.findChild<QCheckBox *>(u"WexalFindCheckBox1"_s)),
          columns(form.findChild<QComboBox *>(u"WexalFindComboBox1"_s)),
          run(form.findChild<QPushButton *>(u"WexalFindRunButton"_s)),
          close(form.findChild<QPushButton *>(u"WexalFindCloseButton"_s))
    {
    }
    bool complete() const
    {
        return input && openTopic && titles && contents && onlyColumn && columns && run && close;
    }

    QLineEdit *input;
    QRadioButton *openTopic;
    QRadioButton *titles;
    QRadioButton *contents;
    QCheckBox *onlyColumn;
    QComboBox *columns;
    QPushButton *run;
    QPushButton *close;
};

// QTest::keyClicks takes Latin-1 only; Polish letters arrive as key events
// carrying their text, as an input method delivers them.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Radio buttons answer clicks on their mark and caption, not on the empty
// rest of their width.
inline void clickMark(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

inline int execWhile(QDialog &dialog, const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, [&act]() { act(); });
    // A dialog the action fails to close ends with 42 instead of hanging.
    QTimer::singleShot(10000, &dialog, [&dialog]() { dialog.done(42); });
    return dialog.exec();
}
