#include "check/checktext.h"

#include "core/datafile.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace Wexal::Check {

namespace {
constexpr qsizetype kLongest = 60;
} // namespace

QString quoted(QStringView text)
{
    QString shown = text.size() > kLongest ? text.left(kLongest - 1).toString() + u'…' : text.toString();
    for (QChar &ch : shown) {
        if (ch.unicode() < 32)
            ch = u' ';
    }
    return u'„' + shown + u'”';
}

QString notUsed(const DataFile &file)
{
    switch (file.status()) {
    case DataFile::Status::NotRegular:
        return file.reason() + u": program traktuje go jak brakujący plik"_s;
    case DataFile::Status::TooLarge: return u"plik "_s + file.sizeProblem() + u": program go odrzuca"_s;
    case DataFile::Status::Unreadable: return u"nie można odczytać pliku: "_s + file.reason();
    case DataFile::Status::OutOfMemory: return u"za mało pamięci, aby wczytać plik"_s;
    case DataFile::Status::Read:
    case DataFile::Status::Missing: break;
    }
    return QString();
}

bool leavesProgramDir(QStringView name)
{
    // The viewer puts the name after the directory and its "/": a leading
    // "/" stays inside, only ".." climbs out.
    QStringView relative = name;
    while (relative.startsWith(u'/'))
        relative = relative.sliced(1);
    const QString clean = QDir::cleanPath(relative.toString());
    return clean == u".." || clean.startsWith(u"../");
}

QString leavesProgramDirWarning(QStringView name)
{
    return u"nazwa pliku %1 prowadzi poza katalog programu: program czyta plik spoza katalogu z danymi"_s.arg(
        quoted(name));
}

} // namespace Wexal::Check
