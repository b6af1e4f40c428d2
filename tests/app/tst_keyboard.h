#pragma once

#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"

#include "app/applicationsetup.h"
#include "app/panelarea.h"
#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/twexalmainform.h"
#include "core/usersettings.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "search/findparameters.h"
#include "search/twexalfindform.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/shellopen.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <memory>

using namespace Qt::StringLiterals;
using C = CommandSet::Command;

// Topics, one tree node each in this order: 0 a table of links, 1 a table of
// 200 rows three lines tall, 2 a text.
inline const QList<QStringList> kTopics = {
    {u"NAME=Odnośniki"_s, u"SIGNATURE=S"_s, u"LINK=T"_s, u"MODE=TABLE"_s, u"FILE=t.txt"_s, u"COLUMNS=2"_s,
     u"WIDTH1=60"_s, u"WIDTH2=AUTO"_s, u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s},
    {u"NAME=Wysokie"_s, u"SIGNATURE=S"_s, u"LINK=W"_s, u"MODE=TABLE"_s, u"FILE=w.txt"_s, u"COLUMNS=2"_s,
     u"WIDTH1=60"_s, u"WIDTH2=AUTO"_s, u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s},
    {u"NAME=Tekst"_s, u"LINK=R"_s, u"MODE=RTF"_s, u"FILE=r.rtf"_s},
};

// The states a key is pressed in.
enum Setup {
    StartPage,    // just started
    Tree,         // Classification: the tree has the focus
    TwoTopics,    // the links table, then the text, opened from the tree
    TwoTopicsBack, // the same, then Previous: back on the table
    TextFocused,  // two topics, the focus in the text view
    SearchPending, // Tree, with a titles search that finds nothing left to go on
    SearchField   // two topics, then the search page, a query typed in its field
};

// Claims Ctrl+E for the field it watches, as the line edit does under the
// desktops whose key scheme makes Ctrl+E the end of the line.
class EndOfLineKey : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride
            && static_cast<QKeyEvent *>(event)->keyCombination() == (Qt::CTRL | Qt::Key_E))
            event->accept();
        return false;
    }
};

// The keyboard on the real main window: the keys of the commands, the menus'
// letters, where Tab takes the focus, the current row kept in view and the
// links of a row reached with Enter; and Qt's own texts in Polish.
class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commandKeys_data();
    void commandKeys();
    void menuLetters_data();
    void menuLetters();
    void focusOrder_data();
    void focusOrder();
    void currentRowStaysInView_data();
    void currentRowStaysInView();
    void enterFollowsLinks_data();
    void enterFollowsLinks();
    void releaseDuringSlide_data();
    void releaseDuringSlide();
    void qtTextsInPolish();

private:
    void showForm(Setup setup);
    void open(int node) { m_app->clickNode(node); }
    QWidget *keyTarget() const;
    void press(const QKeySequence &keys);
    QString describe() const;

    QTemporaryDir m_storeDir;
    QString m_shotDir; // the temporary directory before the tests move it
    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    QStringList m_opened;
    QStringList m_errors;
};
