#include "check/topicrecordcheck.h"

#include "core/textrules.h"
#include "check/checkhash.h"
#include "check/checkreport.h"
#include "check/checktext.h"
#include "check/definitioncheck.h"
#include "check/topicfields.h"


using namespace Qt::StringLiterals;
using Wexal::upperCase;
using Wexal::Check::quoted;


TopicRecordCheck::TopicRecordCheck(CheckReport &report, const DefinitionCheck &definitions)
    : m_report(report), m_definitions(definitions)
{
}


QString TopicRecordCheck::where(int topic) const
{
    const TopicSource &source = m_definitions.sources().at(topic);
    return u"%1:%2"_s.arg(source.file).arg(source.openLine);
}

void TopicRecordCheck::check(int topic, const TopicFields &fields)
{
    const TopicSource &source = m_definitions.sources().at(topic);
    const auto lineOf = [&source](const TopicFields::Hit &hit) {
        return hit.found() ? source.lineOfField(hit.field) : source.closeLine;
    };
    // A repeated "}" was reported where it stands; its copy adds nothing new.
    const bool report = !source.repeated;
    const auto midField = [this, &source, &lineOf, report](const TopicFields::Hit &hit, const QString &key) {
        if (report && hit.midField()) {
            m_report.warning(source.file, lineOf(hit),
                             u"klucz %1 stoi w środku pola %2: program czyta wartość %3"_s.arg(key, quoted(hit.text),
                                                                                            quoted(hit.value)));
        }
    };

    const TopicFields::Hit signature = fields.find(u"SIGNATURE=");
    const TopicFields::Hit link = fields.find(u"LINK=");
    const TopicFields::Hit mode = fields.find(u"MODE=");
    midField(link, u"LINK="_s);
    midField(mode, u"MODE="_s);

    if (report)
        checkLink(topic, signature.value, link.value, lineOf(link));
    const quint64 key = Wexal::Check::linkHash(signature.value, link.value);
    if (!m_firstByLink.contains(key))
        m_firstByLink.insert(key, topic);

    const QString modeValue = upperCase(mode.value);
    if (modeValue.isEmpty() || modeValue == u"GROUP") {
        m_kinds[topic] = Kind::Group;
        return;
    }
    if (modeValue != u"RTF" && modeValue != u"TABLE") {
        const QString fixed = upperCase(Wexal::trimmed(mode.value));
        const bool spaces = fixed.isEmpty() || fixed == u"GROUP" || fixed == u"RTF" || fixed == u"TABLE";
        if (report) {
            m_report.error(source.file, lineOf(mode),
                           u"MODE=%1 nie jest GROUP, RTF ani TABLE%2: temat %3 niczego nie pokazuje"_s.arg(
                               quoted(mode.value), spaces ? u" (zbędne odstępy)"_s : QString(), quoted(source.name)));
        }
        return;
    }
    m_kinds[topic] = modeValue == u"RTF" ? Kind::Text : Kind::Table;

    const TopicFields::Hit file = fields.find(u"FILE=");
    midField(file, u"FILE="_s);
    m_files[topic] = file.value.toString();
    if (!report)
        return;
    if (file.value.isEmpty()) {
        m_report.error(source.file, lineOf(file),
                       u"temat %1 (MODE=%2) nie ma nazwy pliku w FILE=: nie da się go otworzyć"_s.arg(
                           quoted(source.name), mode.value));
        return;
    }
    m_fileLines[topic] = lineOf(file);
}

void TopicRecordCheck::reportMissingFile(CheckReport &report, const TopicSource &source, const QString &file, int line)
{
    report.error(source.file, line,
                 u"plik tematu %1 nie istnieje: temat %2 się nie otwiera (program pokazuje samo drzewo)"_s.arg(
                     quoted(file), quoted(source.name)));
}

void TopicRecordCheck::reportNotRegularFile(CheckReport &report, const TopicSource &source, const QString &file,
                                            int line, const QString &reason)
{
    report.error(source.file, line,
                 u"plik tematu %1: %2, program traktuje go jak brakujący: temat %3 się nie otwiera (program pokazuje samo drzewo)"_s
                     .arg(quoted(file), reason, quoted(source.name)));
}

void TopicRecordCheck::checkLink(int topic, QStringView signature, QStringView link, int linkLine)
{
    if (link.isEmpty())
        return;
    const int first = m_firstByLink.value(Wexal::Check::linkHash(signature, link), -1);
    if (first < 0 || first == topic)
        return;
    const TopicSource &source = m_definitions.sources().at(topic);
    m_report.warning(source.file, linkLine,
                     u"LINK=%1 jest już w sygnaturze %2 (temat %3, %4): odnośniki i PARENT= prowadzą tylko do tamtego tematu"_s
                         .arg(quoted(link), quoted(signature), quoted(m_definitions.sources().at(first).name), where(first)));
}

void TopicRecordCheck::checkParents()
{
    const QVector<TopicSource> &sources = m_definitions.sources();
    for (int topic = 0; topic < sources.size(); ++topic) {
        if (!sources[topic].repeated)
            checkParent(topic, sources[topic]);
    }
}

void TopicRecordCheck::checkParent(int topic, const TopicSource &source)
{
    if (upperCase(source.view) != u"SHOW" || source.parent == u"nil")
        return;
    const NaviTreeModel &tree = m_definitions.tree();
    const int node = tree.FindTreeNodeByTopic(topic);
    if (node < 0 || tree.parentOfNode(node) >= 0)
        return;
    const int line = source.parentLine > 0 ? source.parentLine : source.closeLine;
    const QString becomesTop = u": temat %1 trafia na najwyższy poziom drzewa"_s.arg(quoted(source.name));
    if (upperCase(source.parent) == u"NIL") {
        m_report.note(source.file, line,
                      u"PARENT=%1 to nie „nil” pisane małymi literami, ale temat i tak nie ma rodzica"_s.arg(
                          quoted(source.parent))
                          + becomesTop);
        return;
    }
    const int parent = m_definitions.reader().firstTopicWithLink(source.parent, source.signature);
    QString why;
    if (parent < 0)
        why = u"rodzic %1 nie jest zdefiniowany w sygnaturze %2"_s.arg(quoted(source.parent), quoted(source.signature));
    else if (parent == topic)
        why = u"temat jest swoim własnym rodzicem (LINK= równe PARENT=)"_s;
    else if (parent > topic)
        why = u"rodzic %1 jest zdefiniowany dopiero dalej (%2), a program szuka go przy „}” tego bloku"_s.arg(
            quoted(source.parent), where(parent));
    else if (const int parentNode = tree.FindTreeNodeByTopic(parent);
             parentNode >= 0 && tree.depthOfNode(parentNode) >= NaviTreeModel::kMaxDepth)
        why = u"rodzic %1 (%2) jest na poziomie %3 drzewa, najgłębszym, jaki program pokazuje"_s.arg(
            quoted(source.parent), where(parent), QString::number(NaviTreeModel::kMaxDepth));
    else
        why = u"rodzic %1 (%2) nie ma węzła w drzewie"_s.arg(quoted(source.parent), where(parent));
    m_report.warning(source.file, line, why + becomesTop);
}
