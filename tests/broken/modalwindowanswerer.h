#pragma once

#include "../search/findanswers.h"

#include "app/twexalmainform.h"
#include "richtext/richtextview.h"
#include "search/twexalfindform.h"
#include "windows/documentwindow.h"
#include "windows/twexalinfoform.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

// Answers every modal window the program opens while a user drives it: a
// document window is read and closed, the search dialog is filled in with
// the query the next Find is to ask, the information window is read and
// closed. What each window showed goes to the log, in the order the windows
// came up. Any other window, a search dialog nobody asked for, or a window
// that stays open after its answer is a problem: it is closed and noted, so
// that the test fails instead of hanging.
class ModalWindowAnswerer : public QObject
{
public:
    using Log = std::function<void(const QString &line)>;

    ModalWindowAnswerer(TWexalMainForm &form, Log log) : m_form(form), m_log(std::move(log)) { schedule(); }

    void answerNextFind(const FindAnswer &answer) { m_find = answer; }
    bool findAnswerPending() const { return m_find.has_value(); }
    void dropFindAnswer() { m_find.reset(); }

    const QStringList &problems() const { return m_problems; }

    // The first characters of a text, on one line.
    static QString excerpt(const QString &text, int length = 60)
    {
        QString line = text.simplified();
        if (line.size() > length)
            line = line.left(length) + QStringLiteral("…");
        return line;
    }

private:
    void schedule()
    {
        QTimer::singleShot(2, this, [this] { poll(); });
    }

    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog != m_current) {
            m_current = dialog;
            m_shownFor.start();
            answer(dialog);
        } else if (dialog && m_shownFor.elapsed() > 10000) {
            m_problems << QStringLiteral("%1 left open").arg(QString::fromLatin1(dialog->metaObject()->className()));
            dialog->reject();
            m_shownFor.start();
        }
        schedule();
    }

    void answer(QDialog *dialog)
    {
        if (auto *document = qobject_cast<DocumentWindow *>(dialog)) {
            m_log(QStringLiteral("  window „%1”: %2")
                      .arg(document->windowTitle(), excerpt(document->richEdit()->document()->toPlainText())));
            QTest::mouseClick(document->exitButton(), Qt::LeftButton);
            return;
        }
        if (qobject_cast<TWexalFindForm *>(dialog) && m_find) {
            const FindAnswer find = *m_find;
            m_find.reset();
            answerFind(m_form, find)(dialog);
            return;
        }
        if (qobject_cast<TWexalInfoForm *>(dialog)) {
            const auto *text = dialog->findChild<QLabel *>(QStringLiteral("WexalInfoText"));
            m_log(QStringLiteral("  window „%1”: %2").arg(dialog->windowTitle(), text ? text->text() : QString()));
            if (auto *close = dialog->findChild<QPushButton *>(QStringLiteral("WexalInfoCloseButton")))
                QTest::mouseClick(close, Qt::LeftButton);
            else
                dialog->reject();
            return;
        }
        m_problems << QStringLiteral("%1 „%2” not expected")
                          .arg(QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle());
        dialog->reject();
    }

    TWexalMainForm &m_form;
    Log m_log;
    std::optional<FindAnswer> m_find;
    QPointer<QDialog> m_current;
    QElapsedTimer m_shownFor;
    QStringList m_problems;
};
