#include "table/celllinks.h"

#include "table/cellmarkupscanner.h"
#include "table/linktarget.h"

namespace {

// Collects the text of each link between its opening and closing token.
class LinkTextCollector final : public CellMarkupScanner::TokenListener
{
public:
    void beforeToken(CellMarkupScanner::Token token, bool closesLink) override
    {
        if (token != CellMarkupScanner::Token::Link)
            return;
        if (closesLink)
            texts.append(current.simplified());
        current.clear();
    }

    QString current;
    QList<QString> texts;
};

} // namespace

namespace Wexal {

QList<CellLink> cellLinks(QStringView cellText, int column)
{
    if (!cellText.contains(u"#L#"))
        return {};
    CellMarkupScanner scanner(cellText);
    LinkTextCollector collector;
    while (!scanner.restIsEmpty()) {
        scanner.clearCollected();
        if (scanner.restBeginsWithToken()) {
            const bool lineEnd = scanner.step(&collector);
            if (scanner.linkOpen())
                collector.current += lineEnd ? QStringView(u" ") : QStringView(scanner.collected());
        } else {
            const qsizetype count = scanner.plainStretch().size();
            scanner.takePlain(count);
            if (scanner.linkOpen())
                collector.current += scanner.collected();
        }
    }

    QList<CellLink> links;
    for (int k = 1; k <= collector.texts.size(); ++k) {
        const std::optional<LinkTarget> target = readLinkTarget(cellText, k);
        if (!target)
            continue;
        QString text = collector.texts.at(k - 1);
        if (text.isEmpty())
            text = target->rowKey;
        links.append({column, k, text});
    }
    return links;
}

} // namespace Wexal
