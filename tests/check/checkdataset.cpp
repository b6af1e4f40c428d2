#include "checkdataset.h"

#include "core/cp1250.h"
#include "check/datachecker.h"
#include "check/reportformat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace CheckDataSet {

QByteArray text(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Wexal::Cp1250::encode(line) + "\r\n";
    return bytes;
}

QStringList groupBlock()
{
    return {u"{"_s, u"NAME=Grupa;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s, u"SIGNATURE=T;"_s,
            u"LINK=G;"_s, u"MODE=GROUP;"_s, u"}"_s, QString()};
}

QStringList tableBlock()
{
    return {u"{"_s,           u"NAME=Tabela;"_s,     u"PARENT=G;"_s,       u"VIEW=SHOW;"_s,
            u"SIGNATURE=T;"_s, u"LINK=TAB;"_s,        u"MODE=TABLE;"_s,     u"COLUMNS=2;"_s,
            u"FILE=tabela.txt;"_s, u"NAME1=Kod;"_s,   u"WIDTH1=60;"_s,      u"ALIGNMENT1=LEFT;"_s,
            u"NAME2=Nazwa;"_s, u"WIDTH2=AUTO;"_s,     u"ALIGNMENT2=LEFT;"_s, u"}"_s,
            QString(),         QString()};
}

QStringList textBlock()
{
    return {u"{"_s, u"NAME=Opis;"_s, u"PARENT=G;"_s, u"VIEW=SHOW;"_s, u"SIGNATURE=T;"_s,
            u"LINK=OPIS;"_s, u"MODE=RTF;"_s, u"FILE=opis.rtf;"_s, u"}"_s};
}

QStringList tableBlockWith(const QMap<QString, QString> &fields)
{
    QStringList block = tableBlock();
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < block.size() && at < 0; ++i) {
            if (block[i].startsWith(it.key()))
                at = i;
        }
        if (at < 0) {
            // Into one of the blank lines after the block: the text block keeps its lines.
            block.insert(block.indexOf(u"}"_s), it.value() + u';');
            block.removeLast();
        }
        else if (it.value().isEmpty())
            block[at] = QString(); // a blank line keeps the numbering
        else
            block[at] = it.value() + u';';
    }
    return block;
}

Files base()
{
    Files files;
    files.insert(u"definition.global"_s, text({u"tematy.def;tematy próbne"_s}));
    files.insert(u"tematy.def"_s, text(groupBlock() + tableBlock() + textBlock()));
    files.insert(u"tabela.txt"_s, text({u"01\tZboża"_s, u"02\t#L#Zobacz 01#L#T@TAB@01#"_s}));
    files.insert(u"opis.rtf"_s, "{\\rtf1\\ansi Opis.}\r\n");
    files.insert(u"wexal.hlp"_s, "{\\rtf1 Pomoc}\r\n");
    files.insert(u"wexal.2010"_s, "{\\rtf1 Obja\\'9cnienia}\r\n");
    files.insert(u"wexal.update"_s, "{\\rtf1 Aktualizacja}\r\n");
    return files;
}

Result checkDirectory(const QString &programDir)
{
    DataChecker checker(programDir);
    Result result;
    result.status = checker.run();
    for (const CheckFinding &finding : checker.report().findings())
        result.lines.append(Wexal::Check::formatFinding(finding));
    return result;
}

bool write(const QString &programDir, const Files &changes)
{
    Files files = base();
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        if (it.value().isNull())
            files.remove(it.key());
        else
            files.insert(it.key(), it.value());
    }
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        QFile file(programDir + it.key());
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

Result check(const Files &changes)
{
    QTemporaryDir dir;
    if (!dir.isValid() || !write(dir.path() + u'/', changes))
        return {{u"cannot write the data set"_s}, -1};
    return checkDirectory(dir.path() + u'/');
}

void verifyRow()
{
    QFETCH(Files, files);
    QFETCH(QStringList, report);
    const Result result = check(files);
    QCOMPARE(result.lines, report);
    const bool errors = std::any_of(report.cbegin(), report.cend(),
                                    [](const QString &line) { return line.contains(u": error: "); });
    QCOMPARE(result.status, errors ? int(DataChecker::Errors) : int(DataChecker::Clean));
}

} // namespace CheckDataSet
