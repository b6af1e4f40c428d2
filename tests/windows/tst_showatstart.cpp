#include "helpwindowstest.h"

#include "shell/errorreport.h"
#include "windows/showatstartsettings.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace HelpTestSupport;

// The show-at-start values "Help" and "2010" and the check boxes bound to them.
class ShowAtStartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readValues_data();
    void readValues();
    void unreadableStoreReadsAsOpen();
    void checkBoxFollowsStoredValue_data();
    void checkBoxFollowsStoredValue();
    void checkBoxWritesAtOnce_data();
    void checkBoxWritesAtOnce();

private:
    QString programDir() const { return m_dir->path() + u'/'; }

    QTemporaryDir m_storeDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_errors;
};

void ShowAtStartTest::initTestCase()
{
    QVERIFY(m_storeDir.isValid());
    QVERIFY(isolateStore(m_storeDir.path()));
}

void ShowAtStartTest::init()
{
    clearStore();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_errors.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void ShowAtStartTest::cleanup()
{
    ErrorReport::setPresenter({});
    clearStore();
}

void ShowAtStartTest::readValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("stored"); // invalid: no value
    QTest::addColumn<bool>("open");

    for (const QString &value : {u"Help"_s, u"2010"_s}) {
        const QByteArray v = value.toLatin1();
        QTest::addRow("%s absent", v.data()) << value << QVariant() << true;
        QTest::addRow("%s \"0\"", v.data()) << value << QVariant(u"0"_s) << false;
        QTest::addRow("%s \"1\"", v.data()) << value << QVariant(u"1"_s) << true;
        QTest::addRow("%s \"yes\"", v.data()) << value << QVariant(u"yes"_s) << true;
        QTest::addRow("%s \" 0\"", v.data()) << value << QVariant(u" 0"_s) << true;
        QTest::addRow("%s \"00\"", v.data()) << value << QVariant(u"00"_s) << true;
        QTest::addRow("%s empty string", v.data()) << value << QVariant(QString(u""_s)) << true;
        QTest::addRow("%s bytes, not a string", v.data()) << value << QVariant(QByteArray("0")) << true;
        QTest::addRow("%s list, not a string", v.data())
            << value << QVariant(QStringList{u"0"_s, u"0"_s}) << true;
        QTest::addRow("%s rectangle, not a string", v.data()) << value << QVariant(QRect(0, 0, 1, 1)) << true;
    }
}

void ShowAtStartTest::readValues()
{
    QFETCH(QString, value);
    QFETCH(QVariant, stored);
    QFETCH(bool, open);

    if (stored.isValid())
        storeValue(value, stored);
    // The other value says "do not open" throughout: the two never mix.
    const QString other = value == u"Help"_s ? u"2010"_s : u"Help"_s;
    storeValue(other, u"0"_s);
    const bool help = value == u"Help"_s;
    QCOMPARE(help ? ShowAtStartSettings::ReadShowHelpAtStart() : ShowAtStartSettings::ReadShow2010AtStart(),
             open);
    QCOMPARE(help ? ShowAtStartSettings::ReadShow2010AtStart() : ShowAtStartSettings::ReadShowHelpAtStart(),
             false);
}

void ShowAtStartTest::unreadableStoreReadsAsOpen()
{
    storeValue(u"Help"_s, u"0"_s);
    storeValue(u"2010"_s, u"0"_s);
    QVERIFY(!ShowAtStartSettings::ReadShowHelpAtStart());
    // A directory in place of the store: it can be neither read nor written.
    QVERIFY(QFile::remove(storePath()));
    QVERIFY(QDir().mkpath(storePath()));
    QVERIFY(ShowAtStartSettings::ReadShowHelpAtStart());
    QVERIFY(ShowAtStartSettings::ReadShow2010AtStart());
    // A write then fails without a word and changes nothing.
    ShowAtStartSettings::WriteShowHelpAtStart(false);
    QVERIFY(ShowAtStartSettings::ReadShowHelpAtStart());
    QVERIFY(QFileInfo(storePath()).isDir());
    QVERIFY(m_errors.isEmpty());
}

void ShowAtStartTest::checkBoxFollowsStoredValue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QVariant>("after"); // invalid: no value can be read

    for (const QString &kind : {u"help"_s, u"2010"_s}) {
        const QByteArray k = kind.toLatin1();
        QTest::addRow("%s absent", k.data()) << kind << u"value"_s << QVariant() << true << QVariant(u"1"_s);
        QTest::addRow("%s \"0\"", k.data()) << kind << u"value"_s << QVariant(u"0"_s) << false << QVariant(u"0"_s);
        QTest::addRow("%s \"1\"", k.data()) << kind << u"value"_s << QVariant(u"1"_s) << true << QVariant(u"1"_s);
        QTest::addRow("%s \"yes\"", k.data()) << kind << u"value"_s << QVariant(u"yes"_s) << true << QVariant(u"1"_s);
        QTest::addRow("%s \" 0\"", k.data()) << kind << u"value"_s << QVariant(u" 0"_s) << true << QVariant(u"1"_s);
        QTest::addRow("%s \"00\"", k.data()) << kind << u"value"_s << QVariant(u"00"_s) << true << QVariant(u"1"_s);
        QTest::addRow("%s not a string", k.data())
            << kind << u"value"_s << QVariant(QByteArray("0")) << true << QVariant(u"1"_s);
        // A store that cannot be read cannot be written either: the box is
        // ticked and the failed write goes unreported.
        QTest::addRow("%s store unreadable", k.data())
            << kind << u"store is a directory"_s << QVariant() << true << QVariant();
    }
}

void ShowAtStartTest::checkBoxFollowsStoredValue()
{
    QFETCH(QString, kind);
    QFETCH(QString, setup);
    QFETCH(QVariant, stored);
    QFETCH(bool, checked);
    QFETCH(QVariant, after);

    const QString value = valueOf(kind);
    const QString other = kind == u"help"_s ? u"2010"_s : u"Help"_s;
    if (setup == u"store is a directory"_s) {
        QFile::remove(storePath());
        QVERIFY(QDir().mkpath(storePath()));
    } else if (stored.isValid()) {
        storeValue(value, stored);
    }

    auto window = makeWindow(kind, programDir());
    auto *box = window->findChild<QCheckBox *>(prefixOf(kind) + u"CheckBox"_s);
    QVERIFY(box);
    QVERIFY(!box->isChecked());
    QSignalSpy changes(box, &QCheckBox::toggled);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QCOMPARE(box->isChecked(), checked);
    // Setting the box counts as a click only when it changes the box; only
    // a click writes.
    QCOMPARE(changes.size(), checked ? 1 : 0);
    const QVariant now = storedValue(value);
    QCOMPARE(now.isValid(), after.isValid());
    if (after.isValid()) {
        QCOMPARE(now.typeId(), int(QMetaType::QString));
        QCOMPARE(now, after);
    }
    QVERIFY(!storedValue(other).isValid());
    QVERIFY(m_errors.isEmpty());
}

void ShowAtStartTest::checkBoxWritesAtOnce_data()
{
    addKinds(false);
}

void ShowAtStartTest::checkBoxWritesAtOnce()
{
    QFETCH(QString, kind);
    const QString value = valueOf(kind);
    auto window = makeWindow(kind, programDir());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *box = window->findChild<QCheckBox *>(prefixOf(kind) + u"CheckBox"_s);
    QVERIFY(box && box->isChecked());
    QCOMPARE(storedValue(value), QVariant(u"1"_s));

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QVERIFY(!box->isChecked());
    // Written while the window is still open, not when it closes.
    QCOMPARE(storedValue(value), QVariant(u"0"_s));
    QVERIFY(!(kind == u"help"_s ? ShowAtStartSettings::ReadShowHelpAtStart()
                                : ShowAtStartSettings::ReadShow2010AtStart()));
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(box->isChecked());
    QCOMPARE(storedValue(value), QVariant(u"1"_s));
    QTest::keyClick(box, Qt::Key_Space);

    // Closing with Escape keeps the last choice.
    QTest::keyRelease(box, Qt::Key_Escape);
    QCOMPARE(window->result(), int(QDialog::Rejected));
    QVERIFY(!window->isVisible());
    QCOMPARE(storedValue(value), QVariant(u"0"_s));
    // The next opening shows the box unchecked and writes nothing.
    auto again = makeWindow(kind, programDir());
    again->show();
    QVERIFY(!again->findChild<QCheckBox *>()->isChecked());
}

QTEST_MAIN(ShowAtStartTest)
#include "tst_showatstart.moc"
