#pragma once

#include "windows/twexal2010form.h"
#include "windows/twexalhelpform.h"
#include "windows/twexalupdateform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QTimer>
#include <QTest>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

// What the help window tests share: the windows by kind, the per-user store
// of the show-at-start values (one of its own for each test process, never
// the user's), a watcher that deals with each
// modal window as it comes up, and a look into printed PDF files.
namespace HelpTestSupport {

using namespace Qt::StringLiterals;

// Points the per-user settings store of this test process at dir, so that
// test executables running side by side never share a store; the test mode
// keeps the user's own configuration out of reach as well.
inline bool isolateStore(const QString &dir)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
    return QSettings(u"Corvane"_s, u"Wexal"_s).fileName().startsWith(dir + u'/');
}

inline QSettings openStore()
{
    return QSettings(u"Corvane"_s, u"Wexal"_s);
}

inline QString storePath()
{
    return openStore().fileName();
}

// Empties the store; a directory left in its place by a test goes first.
inline void clearStore()
{
    const QString path = storePath();
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    QSettings store = openStore();
    store.clear();
    store.sync();
}

inline void storeValue(const QString &name, const QVariant &value)
{
    QSettings store = openStore();
    store.setValue(name, value);
    store.sync();
}

inline QVariant storedValue(const QString &name)
{
    return openStore().value(name);
}

// Calls handler once for every modal window that becomes the active one;
// handler must close it (the test would wait for ever otherwise).
class ModalWatcher : public QObject
{
public:
    using Handler = std::function<void(QWidget *window)>;

    explicit ModalWatcher(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(10);
    }

private:
    void poll()
    {
        m_seen.removeAll(QPointer<QWidget>());
        QWidget *window = QApplication::activeModalWidget();
        if (!window || m_seen.contains(window))
            return;
        m_seen << window;
        m_handler(window);
    }

    Handler m_handler;
    QTimer m_timer;
    QList<QPointer<QWidget>> m_seen;
};

// The number of page objects of a PDF file (not the page tree "/Pages");
// -1 when the file cannot be read.
inline int pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(u"/Type\\s*/Page(?![a-zA-Z])"_s);
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext(); it.next())
        ++pages;
    return pages;
}

// Whether the PDF's document title is title (written as UTF-16 text, raw or
// in hexadecimal).
inline bool pdfHasTitle(const QString &path, const QString &title)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pdf = file.readAll();
    QByteArray utf16 = "\xFE\xFF";
    for (const QChar ch : title) {
        utf16.append(char(ch.unicode() >> 8));
        utf16.append(char(ch.unicode() & 0xFF));
    }
    return pdf.contains("/Title") && (pdf.contains(utf16.toHex().toUpper()) || pdf.contains(utf16.toHex())
                                      || pdf.contains(utf16));
}

// The three document windows by kind: "help", "2010" or "update".
inline std::unique_ptr<DocumentWindow> makeWindow(const QString &kind, const QString &programDir)
{
    if (kind == u"help"_s)
        return std::make_unique<TWexalHelpForm>(programDir);
    if (kind == u"2010"_s)
        return std::make_unique<TWexal2010Form>(programDir);
    return std::make_unique<TWexalUpdateForm>(programDir);
}

inline QString prefixOf(const QString &kind)
{
    return kind == u"help"_s ? u"WexalHelp"_s : kind == u"2010"_s ? u"Wexal2010"_s : u"WexalUpdate"_s;
}

inline QString documentOf(const QString &kind)
{
    return kind == u"help"_s ? u"wexal.hlp"_s : kind == u"2010"_s ? u"wexal.2010"_s : u"wexal.update"_s;
}

inline QString valueOf(const QString &kind)
{
    return kind == u"help"_s ? u"Help"_s : u"2010"_s;
}

// The control that Tab moves to from widget, skipping the parts of controls
// that take no focus of their own.
inline QWidget *nextTabStop(QWidget *widget)
{
    for (QWidget *next = widget->nextInFocusChain(); next && next != widget; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->focusProxy() == nullptr && next->isVisible())
            return next;
    }
    return nullptr;
}

inline void addKinds(bool withUpdate)
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("help") << u"help"_s;
    QTest::newRow("explanations") << u"2010"_s;
    if (withUpdate)
        QTest::newRow("update") << u"update"_s;
}

} // namespace HelpTestSupport
