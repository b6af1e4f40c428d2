#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The layer check over a small tree: one planted source per row.
class LayersTest : public QObject
{
    Q_OBJECT

private slots:
    void include_data();
    void include();
};

void LayersTest::include_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("down") << u"shell/a.cpp"_s << "#include \"core/x.h\""_ba << true;
    QTest::newRow("same folder") << u"table/a.h"_s << "#include \"table/x.h\""_ba << true;
    QTest::newRow("up") << u"core/a.cpp"_s << "#include \"app/x.h\""_ba << false;
    QTest::newRow("sideways into the checker") << u"table/a.cpp"_s << "#include \"check/x.h\""_ba << false;
    QTest::newRow("into the tests") << u"data/a.cpp"_s << "#include \"tests/x.h\""_ba << false;
    QTest::newRow("angle brackets") << u"core/a.h"_s << "#  include <shell/x.h>"_ba << false;
    QTest::newRow("nested source") << u"data/deep/a.cpp"_s << "#include \"table/x.h\""_ba << false;
    QTest::newRow("checker over its folders") << u"check/a.cpp"_s << "#include \"table/x.h\""_ba << true;
    QTest::newRow("checker above the order") << u"check/a.cpp"_s << "#include \"shell/x.h\""_ba << false;
    QTest::newRow("tests on top") << u"tests/a.cpp"_s << "#include \"app/x.h\""_ba << true;
    QTest::newRow("not a folder of the tree") << u"core/a.cpp"_s << "#include \"QtCore/x.h\""_ba << true;
}

void LayersTest::include()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, line);
    QFETCH(bool, accepted);

    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    for (const QString &folder : {u"core"_s, u"shell"_s, u"data"_s, u"table"_s, u"app"_s, u"check"_s, u"tests"_s})
        QVERIFY(QDir(tree.path()).mkpath(folder));
    QVERIFY(QDir(tree.path()).mkpath(QFileInfo(source).path()));
    QFile file(tree.filePath(source));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#pragma once\n" + line + '\n');
    file.close();

    QProcess cmake;
    cmake.start(QString::fromUtf8(WEXAL_CMAKE_COMMAND),
                {u"-DSOURCE_DIR="_s + tree.path(), u"-DLAYERS=core,shell,data,table,app"_s,
                 u"-DSIDES=check:core+data+table"_s, u"-P"_s, QString::fromUtf8(WEXAL_CHECK_LAYERS)});
    QVERIFY(cmake.waitForFinished(60000));
    const QByteArray errors = cmake.readAllStandardError();
    QCOMPARE(cmake.exitStatus(), QProcess::NormalExit);
    QVERIFY2((cmake.exitCode() == 0) == accepted, errors.constData());
    if (!accepted)
        QVERIFY2(errors.contains(QByteArray(source.toUtf8() + " includes ")), errors.constData());
}

QTEST_GUILESS_MAIN(LayersTest)
#include "tst_layers.moc"
