#pragma once

#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"

#include "shell/commandset.h"
#include "app/panelarea.h"
#include "app/sidebar.h"
#include "core/textrules.h"
#include "core/usersettings.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "search/normalizeforsearch.h"
#include "search/searchindex.h"
#include "search/searchpanel.h"
#include "search/searchpanelcontroller.h"
#include "search/searchresultdelegate.h"
#include "search/searchresultmodel.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

// The search panel through the real window over the sample data, to which a
// table of trial rows is added: its codes 66.66.6 and 77.77.7 stand only in
// a LINK column and in a link's hidden target.
class SearchPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typingListsHits_data();
    void typingListsHits();
    void resultOpensTopicOnce_data();
    void resultOpensTopicOnce();
    void queryTypedBeforeIndexIsAnsweredWhenReady();
    void keysMoveInListAndEscapeReturns();
    void topicOverBudgetIsNamed();
    void resultStaysInPlace_data();
    void resultStaysInPlace();
    void tableColumnsKeepHeaderWidth();
    void resultShowsRowWithRate_data();
    void resultShowsRowWithRate();
    void wordsAtStartRankFirst_data();
    void wordsAtStartRankFirst();
    void sideBarRemembersWidthAndPage();

private:
    // Shows the window; gate, when given, holds the index build back.
    void showWindow(std::function<void()> gate = {});
    SearchPanelController *controller() const { return m_form->findChild<SearchPanelController *>(); }
    SearchPanel *panel() const { return m_form->findChild<SearchPanel *>(u"WexalSearchPanel"_s); }
    QLineEdit *input() const { return m_form->findChild<QLineEdit *>(u"WexalSearchInputEdit"_s); }
    QListView *list() const { return m_form->findChild<QListView *>(u"WexalSearchResultList"_s); }
    // Types query into the panel's field (opened by its shortcut) and waits
    // for the answer.
    void type(const QString &query);
    // FILE= of the topic of the hit in row; the shown code of the hit.
    QString fileOfHit(int row) const;
    QString codeOfHit(int row) const;
    int topicWithFile(const QString &file) const;

    QTemporaryDir m_storeDir;
    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    // Holds back the index build until set; set at the latest when the test
    // ends, so that a failed test does not leave the build waiting.
    std::atomic<bool> m_release{false};
};
