#include "../common/testfiles.h"

#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A tree rendered as "text(topic)" with children in brackets, for compact
// comparisons: "A(0)[B(1) C(2)] D(3)".
QString render(const NaviTreeModel &tree, const QVector<int> &nodes)
{
    QStringList parts;
    for (int node : nodes) {
        QString part = u"%1(%2)"_s.arg(tree.textOfNode(node)).arg(tree.topicOfNode(node));
        if (tree.nodeHasChildren(node))
            part += u'[' + render(tree, tree.childrenOfNode(node)) + u']';
        parts << part;
    }
    return parts.join(u' ');
}

struct Loaded {
    QStringList topics;
    NaviTreeModel tree;
};

void readFiles(Loaded &loaded, const QList<QStringList> &files)
{
    DefinitionReader reader(loaded.topics, loaded.tree);
    for (const QStringList &lines : files) {
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += Wexal::Cp1250::encode(line) + "\r\n";
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        reader.readTopicFile(buffer, u"test"_s);
    }
}

} // namespace

class DefinitionTest : public QObject
{
    Q_OBJECT

private slots:
    void blocks_data();
    void blocks();
    void firstLinkWinsEvenWithoutNode();
    void loadDefinitionReadsNamedFiles();
    void loadFailures_data();
    void loadFailures();
    void badInputNeverCrashes_data();
    void badInputNeverCrashes();
    void nodesInTreeOrder();
};

void DefinitionTest::blocks_data()
{
    QTest::addColumn<QList<QStringList>>("files");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("tree");

    const QStringList sectionA = {u"{"_s, u"NAME=Sekcja A;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s,
                                  u"SIGNATURE=S1;"_s, u"LINK=A;"_s, u"}"_s};
    const QStringList division = {u"{"_s, u"NAME=Dział 1"_s, u"PARENT=A"_s, u"VIEW=show"_s, u"}"_s};

    QTest::newRow("top-level block and a child taking the signature")
        << QList<QStringList>{sectionA + division}
        << QStringList{u"NAME=Sekcja A\tPARENT=nil\tVIEW=SHOW\tSIGNATURE=S1\tLINK=A\t"_s,
                       u"NAME=Dział 1\tPARENT=A\tVIEW=show\tsignature=S1\t"_s}
        << u"Sekcja A(0)[Dział 1(1)]"_s;

    QTest::newRow("signature does not carry into the next file")
        << QList<QStringList>{sectionA, division}
        << QStringList{u"NAME=Sekcja A\tPARENT=nil\tVIEW=SHOW\tSIGNATURE=S1\tLINK=A\t"_s,
                       u"NAME=Dział 1\tPARENT=A\tVIEW=show\tsignature=\t"_s}
        << u"Sekcja A(0) Dział 1(1)"_s;

    QTest::newRow("hidden topic has a record but no node")
        << QList<QStringList>{{u"{"_s, u"NAME=Ukryty"_s, u"PARENT=nil"_s, u"VIEW=HIDE"_s, u"}"_s,
                               u"{"_s, u"NAME=Widoczny"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s}}
        << QStringList{u"NAME=Ukryty\tPARENT=nil\tVIEW=HIDE\tsignature=\t"_s,
                       u"NAME=Widoczny\tPARENT=nil\tVIEW=SHOW\tsignature=\t"_s}
        << u"Widoczny(1)"_s;

    QTest::newRow("upper-case NIL is looked up and becomes top-level")
        << QList<QStringList>{{u"{"_s, u"NAME=X"_s, u"PARENT=NIL"_s, u"VIEW=SHOW"_s, u"}"_s}}
        << QStringList{u"NAME=X\tPARENT=NIL\tVIEW=SHOW\tsignature=\t"_s} << u"X(0)"_s;

    QTest::newRow("lines outside blocks are ignored")
        << QList<QStringList>{{u"komentarz"_s, u"NAME=Nie"_s, u"{"_s, u"NAME=T"_s, u"PARENT=nil"_s, u"}"_s,
                               u"PARENT=zzz"_s, u"VIEW=SHOW"_s}}
        << QStringList{u"NAME=T\tPARENT=nil\tsignature=\t"_s} << QString();

    QTest::newRow("only the last semicolon goes")
        << QList<QStringList>{{u"{"_s, u"NAME=T;;"_s, u"PARENT=nil;"_s, u"}"_s}}
        << QStringList{u"NAME=T;\tPARENT=nil\tsignature=\t"_s} << QString();

    QTest::newRow("block without name or parent is dropped")
        << QList<QStringList>{{u"{"_s, u"NAME=T"_s, u"VIEW=SHOW"_s, u"}"_s, u"{"_s, u"PARENT=nil"_s, u"}"_s}}
        << QStringList{} << QString();

    QTest::newRow("a repeated closing brace adds the topic again")
        << QList<QStringList>{{u"{"_s, u"NAME=T"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s, u"}"_s}}
        << QStringList{u"NAME=T\tPARENT=nil\tVIEW=SHOW\tsignature=\t"_s,
                       u"NAME=T\tPARENT=nil\tVIEW=SHOW\tsignature=\t"_s}
        << u"T(0) T(1)"_s;

    QTest::newRow("parent defined further on makes a top-level node")
        << QList<QStringList>{{u"{"_s, u"NAME=Dziecko"_s, u"PARENT=P"_s, u"VIEW=SHOW"_s, u"SIGNATURE=S"_s, u"}"_s,
                               u"{"_s, u"NAME=Rodzic"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=P"_s, u"}"_s}}
        << QStringList{u"NAME=Dziecko\tPARENT=P\tVIEW=SHOW\tSIGNATURE=S\t"_s,
                       u"NAME=Rodzic\tPARENT=nil\tVIEW=SHOW\tLINK=P\tsignature=S\t"_s}
        << u"Dziecko(0) Rodzic(1)"_s;

    QTest::newRow("signature and link compared without letter case, polish included")
        << QList<QStringList>{{u"{"_s, u"NAME=R"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"SIGNATURE=śx"_s,
                               u"LINK=łąka"_s, u"}"_s, u"{"_s, u"NAME=D"_s, u"PARENT=ŁĄKA"_s, u"VIEW=SHOW"_s,
                               u"SIGNATURE=ŚX"_s, u"}"_s}}
        << QStringList{u"NAME=R\tPARENT=nil\tVIEW=SHOW\tSIGNATURE=śx\tLINK=łąka\t"_s,
                       u"NAME=D\tPARENT=ŁĄKA\tVIEW=SHOW\tSIGNATURE=ŚX\t"_s}
        << u"R(0)[D(1)]"_s;

    QTest::newRow("a signature after the link indexes the topic under that signature")
        << QList<QStringList>{{u"{"_s, u"NAME=A"_s, u"PARENT=nil"_s, u"SIGNATURE=S1"_s, u"}"_s,
                               u"{"_s, u"NAME=B"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=b"_s, u"SIGNATURE=S2"_s,
                               u"}"_s, u"{"_s, u"NAME=C"_s, u"PARENT=b"_s, u"VIEW=SHOW"_s, u"}"_s}}
        << QStringList{u"NAME=A\tPARENT=nil\tSIGNATURE=S1\t"_s,
                       u"NAME=B\tPARENT=nil\tVIEW=SHOW\tLINK=b\tSIGNATURE=S2\t"_s,
                       u"NAME=C\tPARENT=b\tVIEW=SHOW\tsignature=S2\t"_s}
        << u"B(1)[C(2)]"_s;

    QTest::newRow("a file signature holding a tab: a topic it completes is indexed under the text before the tab")
        << QList<QStringList>{{u"{"_s, u"NAME=S"_s, u"PARENT=nil"_s, u"SIGNATURE=a\tb"_s, u"}"_s, u"{"_s, u"NAME=P"_s,
                               u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=L"_s, u"}"_s},
                              {u"{"_s, u"NAME=C"_s, u"PARENT=L"_s, u"VIEW=SHOW"_s, u"SIGNATURE=a"_s, u"}"_s}}
        << QStringList{u"NAME=S\tPARENT=nil\tSIGNATURE=a\tb\t"_s,
                       u"NAME=P\tPARENT=nil\tVIEW=SHOW\tLINK=L\tsignature=a\tb\t"_s,
                       u"NAME=C\tPARENT=L\tVIEW=SHOW\tSIGNATURE=a\t"_s}
        << u"P(1)[C(2)]"_s;

    QTest::newRow("a long link found in another letter case")
        << QList<QStringList>{{u"{"_s, u"NAME=R"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=Dzial-az_09"_s, u"}"_s,
                               u"{"_s, u"NAME=D"_s, u"PARENT=dZIAL-AZ_09"_s, u"VIEW=SHOW"_s, u"}"_s}}
        << QStringList{u"NAME=R\tPARENT=nil\tVIEW=SHOW\tLINK=Dzial-az_09\tsignature=\t"_s,
                       u"NAME=D\tPARENT=dZIAL-AZ_09\tVIEW=SHOW\tsignature=\t"_s}
        << u"R(0)[D(1)]"_s;

    QTest::newRow("key in the middle of a line counts; the value follows the first equals sign")
        << QList<QStringList>{{u"{"_s, u"XNAME=a=b"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s}}
        << QStringList{u"XNAME=a=b\tPARENT=nil\tVIEW=SHOW\tsignature=\t"_s} << u"a=b(0)"_s;

    QTest::newRow("first key found wins: NAME before PARENT")
        << QList<QStringList>{{u"{"_s, u"PARENT=NAME=x"_s, u"NAME=T"_s, u"}"_s}}
        << QStringList{} << QString();

    QTest::newRow("signature word without equals sign suppresses completion")
        << QList<QStringList>{{u"{"_s, u"NAME=T"_s, u"PARENT=nil"_s, u"OPIS=signature"_s, u"}"_s}}
        << QStringList{u"NAME=T\tPARENT=nil\tOPIS=signature\t"_s} << QString();

    QTest::newRow("signature word found anywhere in a line, after a near miss")
        << QList<QStringList>{{u"{"_s, u"NAME=T"_s, u"PARENT=nil"_s, u"OPIS=xsignaturSiGnAtUrEs ą"_s, u"}"_s}}
        << QStringList{u"NAME=T\tPARENT=nil\tOPIS=xsignaturSiGnAtUrEs ą\t"_s} << QString();

    QTest::newRow("a word short of signature does not suppress completion")
        << QList<QStringList>{{u"{"_s, u"NAME=T"_s, u"PARENT=nil"_s, u"OPIS=signatur ignature signatura"_s, u"}"_s}}
        << QStringList{u"NAME=T\tPARENT=nil\tOPIS=signatur ignature signatura\tsignature=\t"_s} << QString();

    QTest::newRow("a topic's own link as parent does not make it its own child")
        << QList<QStringList>{{u"{"_s, u"NAME=T"_s, u"PARENT=A"_s, u"LINK=A"_s, u"VIEW=SHOW"_s, u"}"_s}}
        << QStringList{u"NAME=T\tPARENT=A\tLINK=A\tVIEW=SHOW\tsignature=\t"_s} << u"T(0)"_s;
}

void DefinitionTest::blocks()
{
    QFETCH(QList<QStringList>, files);
    QFETCH(QStringList, records);
    QFETCH(QString, tree);
    Loaded loaded;
    readFiles(loaded, files);
    QCOMPARE(loaded.topics, records);
    QCOMPARE(render(loaded.tree, loaded.tree.topLevelNodes()), tree);
}

void DefinitionTest::firstLinkWinsEvenWithoutNode()
{
    // The first topic with the link is hidden; a later visible one with the
    // same link is never the parent.
    Loaded loaded;
    readFiles(loaded, {{u"{"_s, u"NAME=Ukryty"_s, u"PARENT=nil"_s, u"VIEW=HIDE"_s, u"SIGNATURE=S"_s, u"LINK=A"_s, u"}"_s,
                        u"{"_s, u"NAME=Jawny"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=A"_s, u"}"_s,
                        u"{"_s, u"NAME=Dziecko"_s, u"PARENT=A"_s, u"VIEW=SHOW"_s, u"}"_s}});
    QCOMPARE(render(loaded.tree, loaded.tree.topLevelNodes()), u"Jawny(1) Dziecko(2)"_s);
    QCOMPARE(loaded.tree.FindTreeNodeByTopic(0), -1);
}

void DefinitionTest::loadDefinitionReadsNamedFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString base = dir.path() + u'/';
    writeDataFile(base + u"definition.global"_s, {u"kody.txt;x"_s, u"drugi.txt; komentarz ; z ;"_s});
    writeDataFile(base + u"kody.txt"_s, {u"{"_s, u"NAME=Sekcja A"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s,
                                         u"SIGNATURE=S1"_s, u"LINK=A"_s, u"}"_s});
    writeDataFile(base + u"drugi.txt"_s, {u"{"_s, u"NAME=Dział"_s, u"PARENT=A"_s, u"VIEW=SHOW"_s,
                                          u"SIGNATURE=S1"_s, u"}"_s});
    QStringList topics;
    NaviTreeModel tree;
    DefinitionReader reader(topics, tree);
    int pumps = 0;
    reader.setProcessEvents([&pumps] { ++pumps; });
    reader.LoadDefinition(base);
    QCOMPARE(topics.size(), 2);
    QCOMPARE(render(tree, tree.topLevelNodes()), u"Sekcja A(0)[Dział(1)]"_s);
    QCOMPARE(pumps, 4); // before and after each line of definition.global
}

void DefinitionTest::loadFailures_data()
{
    QTest::addColumn<QStringList>("definition");
    QTest::addColumn<int>("topicsRead");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("missing topic file") << QStringList{u"a.txt;"_s, u"brak.txt;"_s, u"a.txt;"_s} << 1 << u"brak.txt"_s;
    QTest::newRow("line without semicolon") << QStringList{u"a.txt;"_s, u"a.txt"_s} << 1 << u"wiersz 2"_s;
    QTest::newRow("empty line") << QStringList{u"a.txt;"_s, QString()} << 1 << u"wiersz 2"_s;
    QTest::newRow("missing definition file") << QStringList{} << 0 << u"definition.global"_s;
}

void DefinitionTest::loadFailures()
{
    QFETCH(QStringList, definition);
    QFETCH(int, topicsRead);
    QFETCH(QString, messagePart);
    QTemporaryDir dir;
    const QString base = dir.path() + u'/';
    if (!definition.isEmpty())
        writeDataFile(base + u"definition.global"_s, definition);
    writeDataFile(base + u"a.txt"_s, {u"{"_s, u"NAME=T"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s});
    QStringList topics;
    NaviTreeModel tree;
    DefinitionReader reader(topics, tree);
    try {
        reader.LoadDefinition(base);
        QFAIL("no error reported");
    } catch (const WexalError &error) {
        QVERIFY2(error.message().contains(messagePart), qPrintable(error.message()));
    }
    QCOMPARE(topics.size(), topicsRead);
    QCOMPARE(tree.nodeCount(), topicsRead);
}

void DefinitionTest::badInputNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("topics");
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    quint32 seed = 12345;
    for (char &c : garbage) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    QTest::newRow("binary garbage") << garbage << -1;
    QTest::newRow("10 MB line") << QByteArray("{\r\nNAME=") + QByteArray(10 * 1024 * 1024, 'x') + "\r\nPARENT=nil\r\n}\r\n" << 1;
    QByteArray braces;
    for (int i = 0; i < 100000; ++i)
        braces += "}\r\n";
    QTest::newRow("only closing braces") << braces << 0;
    QTest::newRow("lf only lines are one line") << QByteArray("{\nNAME=T\nPARENT=nil\n}\n") << 0;
    QTest::newRow("cr only lines") << QByteArray("{\rNAME=T\rPARENT=nil\r}\r") << 1;
}

void DefinitionTest::badInputNeverCrashes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, topics);
    QStringList list;
    NaviTreeModel tree;
    DefinitionReader reader(list, tree);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    reader.readTopicFile(buffer, u"x"_s);
    if (topics >= 0)
        QCOMPARE(list.size(), topics);
    QVERIFY(tree.nodeCount() <= list.size());
}

void DefinitionTest::nodesInTreeOrder()
{
    Loaded loaded;
    readFiles(loaded, {{u"{"_s, u"NAME=A"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=a"_s, u"}"_s,
                        u"{"_s, u"NAME=B"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=b"_s, u"}"_s,
                        u"{"_s, u"NAME=A1"_s, u"PARENT=a"_s, u"VIEW=SHOW"_s, u"LINK=a1"_s, u"}"_s,
                        u"{"_s, u"NAME=A11"_s, u"PARENT=a1"_s, u"VIEW=SHOW"_s, u"}"_s,
                        u"{"_s, u"NAME=B1"_s, u"PARENT=b"_s, u"VIEW=SHOW"_s, u"}"_s,
                        u"{"_s, u"NAME=A2"_s, u"PARENT=a"_s, u"VIEW=SHOW"_s, u"}"_s}});
    QStringList order;
    for (int node : loaded.tree.nodesInTreeOrder())
        order << loaded.tree.textOfNode(node);
    QCOMPARE(order, (QStringList{u"A"_s, u"A1"_s, u"A11"_s, u"A2"_s, u"B"_s, u"B1"_s}));
    QCOMPARE(loaded.tree.FindTreeNodeByTopic(3), loaded.tree.childrenOfNode(loaded.tree.childrenOfNode(0).first()).first());
}

QTEST_GUILESS_MAIN(DefinitionTest)
#include "tst_definition.moc"
