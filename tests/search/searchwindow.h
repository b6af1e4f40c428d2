#pragma once

#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"
#include "findanswers.h"
#include "modaldriver.h"

#include "shell/commandset.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "search/searchcontroller.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// Topic indexes of the data set below, in the order of the definition file.
namespace Topic {
enum : int {
    TeethGroup = 0,   // group "Zęby i szczęki"
    TeethTable = 1,   // table: Kod, link, Nazwa; 8 rows
    TeethText = 2,    // text with a long wrapped paragraph
    SecondGroup = 3,  // group "Drugi dział"
    MissingFile = 4,  // table whose file does not exist
    LongTable = 5,    // table of 120 rows
    Hidden = 6,       // table without a tree node
    OtherMode = 7,    // MODE=HTML: opened, never examined
    LateChild = 8,    // table "Dział późny", a child of the first group
};
}

// The data set every window test searches. Rows of the teeth table:
//   1  01 | ząb (link) | Korona
//   2  02 | x | Ząb trzonowy, klucz
//   3  03 | x | ZĄB mądrości
//   4  04 | x | zab mleczny i zab stały, klucz
//   5  05 | x | Zab
//   6  06 | x | #B#pogrubiony#B# wyraz
//   7  ab | x | cd
//   8  08 | x | ostatni ząbek
// The long table holds "klucz" in rows 60 and 120 (its last), the hidden
// table in its only row, the text in the display line that also holds
// "ZNACZNIK"'s paragraph's last words, and the HTML topic's file too.
// base: the directory, ending in "/".
inline void writeSearchData(const QString &base)
{
    writeDataFile(base + QStringLiteral("definition.global"), {QStringLiteral("tematy.def; tematy")});
    const QStringList blocks[] = {
        {u"NAME=Zęby i szczęki"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"SIGNATURE=Z"_s, u"LINK=G"_s,
         u"MODE=GROUP"_s},
        {u"NAME=Tabela zębów"_s, u"PARENT=G"_s, u"VIEW=SHOW"_s, u"LINK=T1"_s, u"MODE=TABLE"_s,
         u"FILE=zeby.txt"_s, u"COLUMNS=3"_s, u"NAME1=Kod"_s, u"WIDTH1=60"_s, u"ALIGNMENT1=LEFT"_s,
         u"NAME2=link"_s, u"WIDTH2=0"_s, u"NAME3=Nazwa"_s, u"WIDTH3=AUTO"_s, u"ALIGNMENT3=LEFT"_s},
        {u"NAME=Opis zębów"_s, u"PARENT=G"_s, u"VIEW=SHOW"_s, u"LINK=O"_s, u"MODE=RTF"_s,
         u"FILE=opis.rtf"_s},
        {u"NAME=Drugi dział"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=D"_s, u"MODE=GROUP"_s},
        {u"NAME=Brakujący plik"_s, u"PARENT=D"_s, u"VIEW=SHOW"_s, u"LINK=B"_s, u"MODE=TABLE"_s,
         u"FILE=brak.txt"_s, u"COLUMNS=1"_s, u"NAME1=Opis"_s, u"WIDTH1=AUTO"_s},
        {u"NAME=Tabela długa"_s, u"PARENT=D"_s, u"VIEW=SHOW"_s, u"LINK=T2"_s, u"MODE=TABLE"_s,
         u"FILE=dluga.txt"_s, u"COLUMNS=2"_s, u"NAME1=Kod"_s, u"WIDTH1=60"_s, u"NAME2=Opis"_s,
         u"WIDTH2=AUTO"_s},
        {u"NAME=Ukryty temat"_s, u"PARENT=D"_s, u"VIEW=HIDE"_s, u"LINK=U"_s, u"MODE=TABLE"_s,
         u"FILE=ukryty.txt"_s, u"COLUMNS=1"_s, u"NAME1=Opis"_s, u"WIDTH1=AUTO"_s},
        {u"NAME=Inny tryb"_s, u"PARENT=D"_s, u"VIEW=SHOW"_s, u"LINK=I"_s, u"MODE=HTML"_s,
         u"FILE=inny.txt"_s},
        {u"NAME=Dział późny"_s, u"PARENT=G"_s, u"VIEW=SHOW"_s, u"LINK=P"_s, u"MODE=TABLE"_s,
         u"FILE=pozny.txt"_s, u"COLUMNS=1"_s, u"NAME1=Opis"_s, u"WIDTH1=AUTO"_s},
    };
    QStringList definitions;
    for (const QStringList &block : blocks)
        definitions << QStringLiteral("{") << block << QStringLiteral("}");
    writeDataFile(base + QStringLiteral("tematy.def"), definitions);

    writeDataFile(base + QStringLiteral("zeby.txt"),
                  {u"01\tząb\tKorona"_s, u"02\tx\tZąb trzonowy, klucz"_s, u"03\tx\tZĄB mądrości"_s,
                   u"04\tx\tzab mleczny i zab stały, klucz"_s, u"05\tx\tZab"_s,
                   u"06\tx\t#B#pogrubiony#B# wyraz"_s, u"ab\tx\tcd"_s, u"08\tx\tostatni ząbek"_s});

    QStringList longRows;
    for (int r = 1; r <= 120; ++r)
        longRows << QStringLiteral("%1\t%2").arg(r).arg(r == 60 || r == 120 ? u"klucz w wierszu"_s : u"wiersz"_s);
    writeDataFile(base + QStringLiteral("dluga.txt"), longRows);
    writeDataFile(base + QStringLiteral("ukryty.txt"), {u"klucz ukryty"_s});
    writeDataFile(base + QStringLiteral("inny.txt"), {u"klucz w innym trybie"_s});
    writeDataFile(base + QStringLiteral("pozny.txt"), {u"nic"_s});

    QByteArray words;
    for (int w = 1; w <= 90; ++w)
        words += "wyraz" + QByteArray::number(w) + (w == 70 ? " ZNACZNIK " : " ");
    writeRawFile(base + QStringLiteral("opis.rtf"),
                 "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 "
                 "Pierwszy akapit opisu.\\par\r\n"
                 "Z\\'b9b to narz\\'b9d jamy ustnej.\\par\r\n"
                 + words + "klucz.\\par\r\n"
                 "Koniec opisu z\\'eab\\'f3w.\\par\r\n}");
}

// The main window shown over the data set in a directory of its own, with
// the search commands and a driver for the modal windows they open.
class SearchWindow
{
public:
    SearchWindow()
    {
        writeSearchData(app.dir());
        form = app.create();
        ready = !app.dir().isEmpty() && app.start();
    }

    WexalState &state() { return form->state(); }
    QAction *action(CommandSet::Command command) { return form->commands().action(command); }

    void showTree() { action(CommandSet::Classification)->trigger(); }

    // A click on the topic's node in the tree.
    void clickTopic(int topic)
    {
        const QModelIndex index = form->treeModel().indexOfNode(form->treeModel().FindTreeNodeByTopic(topic));
        form->treeView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        form->WexalNaviTreeViewClick();
    }

    // The topic of the tree's selected node, -1 when none is selected.
    int selectedTopic() const
    {
        const QModelIndexList selected = form->treeView()->selectionModel()->selectedIndexes();
        if (selected.isEmpty())
            return -1;
        return form->treeModel().topicOfNode(form->treeModel().nodeOfIndex(selected.first()));
    }

    void find(const FindAnswer &answer, FindDialogSeen *seen = nullptr)
    {
        // The dialog is the first window a Find opens.
        driver.first(answerFind(*form, answer, seen));
        action(CommandSet::Find)->trigger();
    }

    void findNext() { action(CommandSet::FindNext)->trigger(); }

    // The widget that has the keyboard focus in the window, or gets it when
    // the window is active again.
    QWidget *focused() const { return form->focusWidget(); }

    // The next search is to end in the not-found message (queue before
    // running it).
    void expectNotFound() { driver.then(answerInfo(*form, info)); }

    MainWindowFixture app;
    TWexalMainForm *form = nullptr;
    ModalDriver driver;
    InfoSeen info;
    bool ready = false;
};
