#include "app/startrequest.h"

#include "core/textrules.h"

#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kScheme = u"wexal:";
constexpr QStringView kSearchOption = u"--szukaj";

StartRequest requestOf(StartRequest::Kind kind, const QString &text)
{
    const QString kept = Wexal::trimmed(text);
    if (kept.isEmpty())
        return {};
    return {kind, kept};
}

} // namespace

StartRequest StartRequest::fromArguments(const QStringList &arguments)
{
    QString first;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == kSearchOption)
            return i + 1 < arguments.size() ? requestOf(Kind::Search, arguments.at(i + 1)) : StartRequest();
        if (argument.startsWith(kSearchOption + u'='))
            return requestOf(Kind::Search, argument.mid(kSearchOption.size() + 1));
        if (first.isNull() && !argument.startsWith(u'-'))
            first = argument;
    }
    if (first.startsWith(kScheme, Qt::CaseInsensitive))
        return fromAddress(first);
    return requestOf(Kind::Code, first);
}

StartRequest StartRequest::fromAddress(const QString &address)
{
    if (!address.startsWith(kScheme, Qt::CaseInsensitive))
        return {};
    QString rest = address.mid(kScheme.size());
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    const qsizetype question = rest.indexOf(u'?');
    if (question >= 0) {
        const QUrlQuery query(rest.mid(question + 1));
        const QString words = query.queryItemValue(u"szukaj"_s, QUrl::FullyDecoded);
        if (!words.isEmpty())
            return requestOf(Kind::Search, words);
        rest.truncate(question);
    }
    while (rest.endsWith(u'/'))
        rest.chop(1);
    return requestOf(Kind::Code, QUrl::fromPercentEncoding(rest.toUtf8()));
}

QByteArray StartRequest::encode() const
{
    const QByteArray word = kind == Kind::Code ? "kod" : kind == Kind::Search ? "szukaj" : "okno";
    return word + ' ' + QUrl::toPercentEncoding(text) + '\n';
}

StartRequest StartRequest::decode(const QByteArray &line)
{
    const QByteArray kept = line.trimmed();
    const qsizetype space = kept.indexOf(' ');
    const QByteArray word = space < 0 ? kept : kept.left(space);
    const QString text = space < 0 ? QString() : QUrl::fromPercentEncoding(kept.mid(space + 1));
    if (word == "kod")
        return requestOf(Kind::Code, text);
    if (word == "szukaj")
        return requestOf(Kind::Search, text);
    return {};
}
