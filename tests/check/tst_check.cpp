#include "tst_check.h"

#include "checkdataset.h"

#include "check/datachecker.h"

#include <QTest>

using namespace Qt::StringLiterals;
using CheckDataSet::Files;
using CheckDataSet::groupBlock;
using CheckDataSet::tableBlock;
using CheckDataSet::text;
using CheckDataSet::textBlock;

namespace {

// tematy.def made of the group block (lines 1-9) and then lines from 10 on.
QByteArray afterGroup(const QStringList &lines)
{
    return text(groupBlock() + lines);
}

// The whole clean tematy.def (lines 1-36) and then lines from 37 on.
QByteArray afterBase(const QStringList &lines)
{
    return text(groupBlock() + tableBlock() + textBlock() + lines);
}

QStringList block(const QString &name, const QString &parent, const QStringList &more = {})
{
    return QStringList{u"{"_s, u"NAME=%1;"_s.arg(name), u"PARENT=%1;"_s.arg(parent), u"VIEW=SHOW;"_s}
        + more + QStringList{u"}"_s};
}

void addColumns()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("report");
}

} // namespace

void TestCheck::baseChecksClean()
{
    const CheckDataSet::Result result = CheckDataSet::check({});
    QCOMPARE(result.lines, QStringList());
    QCOMPARE(result.status, int(DataChecker::Clean));
}

void TestCheck::sampleChecksClean()
{
    // The sample's only findings are deliberate: blocks that take their
    // signature from the block before and topics kept out of the tree.
    const CheckDataSet::Result result = CheckDataSet::checkDirectory(QStringLiteral(WEXAL_SAMPLE_DIR "/"));
    QCOMPARE(result.status, int(DataChecker::Clean));
    QVERIFY(!result.lines.isEmpty());
    for (const QString &line : result.lines) {
        QVERIFY2(line.contains(u": note: blok nie ma SIGNATURE=: przejmuje sygnaturę")
                     || (line.contains(u": note: temat „") && line.contains(u"” jest ukryty: VIEW=„HIDE”")),
                 qPrintable(line));
    }
}

void TestCheck::definitionGlobal_data()
{
    addColumns();
    const QString stops = u": program przerywa tu wczytywanie definicji"_s;
    QTest::newRow("a line without a semicolon")
        << Files{{u"definition.global"_s, text({u"tematy.def"_s})}}
        << QStringList{u"definition.global:1: error: wiersz nie ma znaku „;” po nazwie pliku"_s + stops};
    QTest::newRow("nothing before the semicolon, then a good line")
        << Files{{u"definition.global"_s, text({u";bez nazwy"_s, u"tematy.def;x"_s})}}
        << QStringList{u"definition.global:1: error: przed znakiem „;” nie ma nazwy pliku"_s + stops};
    QTest::newRow("an empty line")
        << Files{{u"definition.global"_s, text({u"tematy.def;x"_s, QString()})}}
        << QStringList{u"definition.global:2: error: pusty wiersz"_s + stops};
    QTest::newRow("a file that does not exist")
        << Files{{u"definition.global"_s, text({u"brak.def;x"_s, u"tematy.def;x"_s})}}
        << QStringList{u"definition.global:1: error: plik „brak.def” nie istnieje"_s + stops};
    QTest::newRow("a space before the semicolon")
        << Files{{u"definition.global"_s, text({u"tematy.def ;x"_s})}}
        << QStringList{u"definition.global:1: error: plik „tematy.def ” nie istnieje (nazwa ma odstępy przed „;” albo na początku)"_s
                       + stops};
    QTest::newRow("no definition file")
        << Files{{u"definition.global"_s, QByteArray()}}
        << QStringList{u"definition.global: error: brak pliku: program nie wczyta żadnego tematu"_s};
}

void TestCheck::definitionGlobal()
{
    CheckDataSet::verifyRow();
}

void TestCheck::topicBlocks_data()
{
    addColumns();
    const QString def = u"tematy.def"_s;
    QTest::newRow("a block without a name")
        << Files{{def, afterGroup({u"{"_s, u"PARENT=G;"_s, u"VIEW=SHOW;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: error: blok nie ma NAME=: program go pomija"_s};
    QTest::newRow("a block without a parent")
        << Files{{def, afterGroup({u"{"_s, u"NAME=A;"_s, u"VIEW=SHOW;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: error: blok nie ma PARENT=: program go pomija"_s};
    QTest::newRow("a block without either")
        << Files{{def, afterGroup({u"{"_s, u"VIEW=SHOW;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: error: blok nie ma NAME= i nie ma PARENT=: program go pomija"_s};
    QTest::newRow("an empty name")
        << Files{{def, afterGroup({u"{"_s, u"NAME=;"_s, u"PARENT=G;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: error: blok ma pustą wartość NAME=: program go pomija"_s};
    QTest::newRow("a closing brace without an opening one")
        << Files{{def, text(QStringList{u"}"_s} + groupBlock())}}
        << QStringList{u"tematy.def:1: error: „}” bez „{” przed nim"_s};
    QTest::newRow("a closing brace at the top of the next file adds its last topic again")
        << Files{{u"definition.global"_s, text({u"tematy.def;x"_s, u"druga.def;x"_s})},
                 {u"druga.def"_s, text({u"}"_s})}}
        << QStringList{u"druga.def:1: error: „}” bez „{” przed nim: program dodaje jeszcze raz temat „Opis”"_s};
    QTest::newRow("a repeated closing brace")
        << Files{{def, afterGroup({u"}"_s})}}
        << QStringList{u"tematy.def:10: error: powtórzony „}”: program dodaje jeszcze raz temat „Grupa”"_s};
    QTest::newRow("a repeated closing brace after a dropped block")
        << Files{{def, afterGroup({u"{"_s, u"NAME=A;"_s, u"}"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: error: blok nie ma PARENT=: program go pomija"_s,
                       u"tematy.def:13: warning: powtórzony „}” po bloku, który został już zamknięty"_s};
    QTest::newRow("a field line outside a block; comments are fine")
        << Files{{def, afterGroup({u"NAME=Zgubiony;"_s, u"; komentarz = bez skutku"_s, u"zwykły komentarz"_s})}}
        << QStringList{u"tematy.def:10: warning: wiersz pola „NAME=Zgubiony;” leży poza blokiem „{ … }”: program go pomija"_s};
    QTest::newRow("a block left open by the next one")
        << Files{{def, afterGroup({u"{"_s, u"NAME=A;"_s, u"PARENT=G;"_s, u"{"_s, u"NAME=B;"_s, u"PARENT=G;"_s,
                                   u"VIEW=SHOW;"_s, u"SIGNATURE=T;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: error: blok nie ma „}”: „{” w wierszu 13 zaczyna następny, a ten program pomija"_s};
    QTest::newRow("a block open at the end of the file")
        << Files{{def, afterGroup({u"{"_s, u"NAME=A;"_s})}}
        << QStringList{u"tematy.def:10: error: blok nie ma „}” do końca pliku: program go pomija"_s};
    QTest::newRow("a key in the middle of a line")
        << Files{{def, afterGroup({u"{"_s, u"XNAME=Ukryty klucz;"_s, u"PARENT=G;"_s, u"VIEW=SHOW;"_s,
                                   u"SIGNATURE=T;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:11: warning: klucz NAME= stoi w środku wiersza „XNAME=Ukryty klucz”: program czyta go jako NAME= z wartością „Ukryty klucz”"_s};
    QTest::newRow("the value is what follows the first equals sign")
        << Files{{def, afterGroup({u"{"_s, u"OPIS=Temat PARENT=G;"_s, u"NAME=A;"_s, u"SIGNATURE=T;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:10: note: temat „A” nie ma VIEW=: jest ukryty (nie ma go w drzewie)"_s,
                       u"tematy.def:11: warning: klucz PARENT= stoi w środku wiersza „OPIS=Temat PARENT=G”: program czyta go jako PARENT= z wartością „Temat PARENT=G”"_s};
}

void TestCheck::topicBlocks()
{
    CheckDataSet::verifyRow();
}

void TestCheck::topicRecords_data()
{
    addColumns();
    const QString def = u"tematy.def"_s;
    const QStringList inT = {u"SIGNATURE=T;"_s};
    QTest::newRow("a parent that is never defined")
        << Files{{def, afterGroup(block(u"Sierota"_s, u"BRAK"_s, inT))}}
        << QStringList{u"tematy.def:12: warning: rodzic „BRAK” nie jest zdefiniowany w sygnaturze „T”: temat „Sierota” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("a parent in another signature")
        << Files{{def, afterGroup(block(u"Obcy"_s, u"G"_s, {u"SIGNATURE=U;"_s}))}}
        << QStringList{u"tematy.def:12: warning: rodzic „G” nie jest zdefiniowany w sygnaturze „U”: temat „Obcy” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("a parent defined further on")
        << Files{{def, afterGroup(block(u"Dziecko"_s, u"P"_s, inT)
                                 + block(u"Rodzic"_s, u"nil"_s, {u"SIGNATURE=T;"_s, u"LINK=P;"_s}))}}
        << QStringList{u"tematy.def:12: warning: rodzic „P” jest zdefiniowany dopiero dalej (tematy.def:16), a program szuka go przy „}” tego bloku: temat „Dziecko” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("a parent defined in a later file")
        << Files{{u"definition.global"_s, text({u"tematy.def;x"_s, u"druga.def;x"_s})},
                 {def, afterBase(block(u"Dziecko"_s, u"P"_s, inT))},
                 {u"druga.def"_s, text(block(u"Rodzic"_s, u"nil"_s, {u"SIGNATURE=t;"_s, u"LINK=p;"_s}))}}
        << QStringList{u"tematy.def:39: warning: rodzic „P” jest zdefiniowany dopiero dalej (druga.def:1), a program szuka go przy „}” tego bloku: temat „Dziecko” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("a hidden parent")
        << Files{{def, afterGroup(QStringList{u"{"_s, u"NAME=Ukryty;"_s, u"PARENT=nil;"_s, u"VIEW=HIDE;"_s,
                                              u"SIGNATURE=T;"_s, u"LINK=H;"_s, u"}"_s}
                                  + block(u"Pod ukrytym"_s, u"H"_s, inT))}}
        << QStringList{u"tematy.def:13: note: temat „Ukryty” jest ukryty: VIEW=„HIDE” (węzeł w drzewie daje tylko SHOW)"_s,
                       u"tematy.def:19: warning: rodzic „H” (tematy.def:10) nie ma węzła w drzewie: temat „Pod ukrytym” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("its own parent")
        << Files{{def, afterGroup(block(u"Sam"_s, u"S"_s, {u"SIGNATURE=T;"_s, u"LINK=S;"_s}))}}
        << QStringList{u"tematy.def:12: warning: temat jest swoim własnym rodzicem (LINK= równe PARENT=): temat „Sam” trafia na najwyższy poziom drzewa"_s};
    // Under the group (level 1) a chain of 1,001 topics, each the parent of
    // the next: the 1,000th would stand on level 1,001 and hangs at the top
    // level; the one after it goes on below it.
    QStringList chain;
    for (int n = 1; n <= 1001; ++n)
        chain += block(u"P%1"_s.arg(n), n == 1 ? u"G"_s : u"P%1"_s.arg(n - 1), {u"SIGNATURE=T;"_s, u"LINK=P%1;"_s.arg(n)});
    QTest::newRow("a chain deeper than the tree shows")
        << Files{{def, afterGroup(chain)}}
        << QStringList{u"tematy.def:7005: warning: rodzic „P999” (tematy.def:6996) jest na poziomie 1000 drzewa, najgłębszym, jaki program pokazuje: temat „P1000” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("NIL in capitals")
        << Files{{def, afterGroup(block(u"Główny"_s, u"NIL"_s, inT))}}
        << QStringList{u"tematy.def:12: note: PARENT=„NIL” to nie „nil” pisane małymi literami, ale temat i tak nie ma rodzica: temat „Główny” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("the same LINK= twice in a signature")
        << Files{{def, afterBase(block(u"Druga tabela"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"LINK=tab;"_s}))}}
        << QStringList{u"tematy.def:42: warning: LINK=„tab” jest już w sygnaturze „T” (temat „Tabela”, tematy.def:10): odnośniki i PARENT= prowadzą tylko do tamtego tematu"_s};
    QTest::newRow("a signature taken from an earlier block")
        << Files{{def, afterGroup(block(u"Bez sygnatury"_s, u"G"_s))}}
        << QStringList{u"tematy.def:10: note: blok nie ma SIGNATURE=: przejmuje sygnaturę „T” z wiersza 5"_s};
    QTest::newRow("no signature anywhere before in the file")
        << Files{{u"definition.global"_s, text({u"tematy.def;x"_s, u"druga.def;x"_s})},
                 {u"druga.def"_s, text(block(u"Bez sygnatury"_s, u"G"_s))}}
        << QStringList{u"druga.def:1: warning: blok nie ma SIGNATURE=, a wcześniej w tym pliku jej nie było: temat „Bez sygnatury” ma pustą sygnaturę"_s,
                       u"druga.def:3: warning: rodzic „G” nie jest zdefiniowany w sygnaturze „”: temat „Bez sygnatury” trafia na najwyższy poziom drzewa"_s};
    QTest::newRow("a hidden topic and one without VIEW=")
        << Files{{def, afterGroup({u"{"_s, u"NAME=Ukryty;"_s, u"PARENT=G;"_s, u"VIEW=hide;"_s, u"SIGNATURE=T;"_s,
                                   u"}"_s, u"{"_s, u"NAME=Bez widoku;"_s, u"PARENT=G;"_s, u"SIGNATURE=T;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:13: note: temat „Ukryty” jest ukryty: VIEW=„hide” (węzeł w drzewie daje tylko SHOW)"_s,
                       u"tematy.def:16: note: temat „Bez widoku” nie ma VIEW=: jest ukryty (nie ma go w drzewie)"_s};
    QTest::newRow("VIEW=SHOW with a stray space")
        << Files{{def, afterGroup({u"{"_s, u"NAME=A;"_s, u"PARENT=G;"_s, u"VIEW= SHOW;"_s, u"SIGNATURE=T;"_s, u"}"_s})}}
        << QStringList{u"tematy.def:13: warning: VIEW=„ SHOW” ma zbędne odstępy: temat „A” jest ukryty"_s};
    QTest::newRow("a mode the viewer does not know")
        << Files{{def, afterGroup(block(u"Lista"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"MODE=LISTA;"_s}))}}
        << QStringList{u"tematy.def:15: error: MODE=„LISTA” nie jest GROUP, RTF ani TABLE: temat „Lista” niczego nie pokazuje"_s};
    QTest::newRow("a mode with a stray space")
        << Files{{def, afterGroup(block(u"Lista"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"MODE=TABLE ;"_s}))}}
        << QStringList{u"tematy.def:15: error: MODE=„TABLE ” nie jest GROUP, RTF ani TABLE (zbędne odstępy): temat „Lista” niczego nie pokazuje"_s};
    QTest::newRow("modes in any letter case are fine")
        << Files{{def, afterGroup(block(u"Opis"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"MODE=rtf;"_s, u"FILE=opis.rtf;"_s})
                                  + block(u"Grupa 2"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"MODE=Group;"_s}))}}
        << QStringList();
    QTest::newRow("a mode key in the middle of a field")
        << Files{{def, afterGroup(block(u"Opis"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"XMODE=RTF;"_s}))}}
        << QStringList{u"tematy.def:15: warning: klucz MODE= stoi w środku pola „XMODE=RTF”: program czyta wartość „=RTF”"_s,
                       u"tematy.def:15: error: MODE=„=RTF” nie jest GROUP, RTF ani TABLE: temat „Opis” niczego nie pokazuje"_s};
    QTest::newRow("a missing text topic file")
        << Files{{u"opis.rtf"_s, QByteArray()}}
        << QStringList{u"tematy.def:35: error: plik tematu „opis.rtf” nie istnieje: temat „Opis” się nie otwiera (program pokazuje samo drzewo)"_s};
    QTest::newRow("a missing table file")
        << Files{{u"tabela.txt"_s, QByteArray()}}
        << QStringList{u"tematy.def:18: error: plik tematu „tabela.txt” nie istnieje: temat „Tabela” się nie otwiera (program pokazuje samo drzewo)"_s};
    QTest::newRow("a text topic without FILE=")
        << Files{{def, afterGroup(block(u"Opis"_s, u"G"_s, {u"SIGNATURE=T;"_s, u"MODE=RTF;"_s}))}}
        << QStringList{u"tematy.def:16: error: temat „Opis” (MODE=RTF) nie ma nazwy pliku w FILE=: nie da się go otworzyć"_s};
}

void TestCheck::topicRecords()
{
    CheckDataSet::verifyRow();
}

QTEST_GUILESS_MAIN(TestCheck)
