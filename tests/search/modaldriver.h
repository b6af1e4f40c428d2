#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

// Answers the modal windows a command opens, one after the other, while the
// command runs its modal loops. Zero-delay single shots watch
// QApplication::activeModalWidget(); each new modal window gets the next
// answer. A window no answer is left for, or one an answer leaves open for
// too long, is cancelled and noted, so a test fails instead of hanging.
class ModalDriver : public QObject
{
public:
    using Answer = std::function<void(QDialog *dialog)>;

    ModalDriver() { schedule(); }

    void then(Answer answer) { m_answers.append(std::move(answer)); }
    // An answer for the very next window, ahead of those already queued.
    void first(Answer answer) { m_answers.prepend(std::move(answer)); }

    bool allAnswered() const { return m_answers.isEmpty(); }
    // Class names of the modal windows seen, in order.
    const QStringList &seen() const { return m_seen; }
    // What went wrong: windows nobody answered, windows left open.
    const QStringList &problems() const { return m_problems; }

private:
    void schedule()
    {
        QTimer::singleShot(2, this, [this] { poll(); });
    }

    void poll()
    {
        QWidget *active = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<QDialog *>(active);
        if (dialog && dialog != m_current) {
            m_current = dialog;
            m_shownFor.start();
            m_seen.append(QString::fromLatin1(dialog->metaObject()->className()));
            if (m_answers.isEmpty()) {
                m_problems.append(m_seen.last() + QStringLiteral(" not expected"));
                dialog->reject();
            } else {
                const Answer answer = m_answers.takeFirst();
                answer(dialog);
            }
        } else if (dialog && m_shownFor.elapsed() > 10000) {
            m_problems.append(m_seen.last() + QStringLiteral(" left open"));
            dialog->reject();
            m_shownFor.start();
        }
        schedule();
    }

    QList<Answer> m_answers;
    QPointer<QDialog> m_current;
    QElapsedTimer m_shownFor;
    QStringList m_seen;
    QStringList m_problems;
};

// Clicks a radio button or check box on its mark, where it answers clicks.
inline void clickMark(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

// Polish letters arrive as key events carrying their text, as an input
// method delivers them (QTest::keyClicks takes Latin-1 only).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}
