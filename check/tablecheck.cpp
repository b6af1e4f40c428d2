#include "check/tablecheck.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "check/cellmarkupcheck.h"
#include "check/checkhash.h"
#include "check/checkreport.h"
#include "check/checktext.h"
#include "check/textfilecheck.h"
#include "check/topicfields.h"
#include "check/topicsource.h"
#include "table/tablefileloader.h"
#include "table/tablefileobserver.h"
#include "table/tablegridmodel.h"

#include <QBuffer>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;
using Wexal::upperCase;
using Wexal::Check::quoted;

namespace {

// The viewer treats a larger column count as a bad value.

// Line ends, bytes and the row each line went into, while the loader reads.
class TableLoadObserver final : public TableFileObserver
{
public:
    TableLoadObserver(CheckReport &report, const QString &file, int columns)
        : m_report(report), m_file(file), m_columns(columns), m_text(report, file)
    {
    }

    void lineRead(int lineNumber, QByteArrayView bytes, LineEnd end) override
    {
        m_text.lineRead(lineNumber, bytes, end);
    }
    void ctrlZ(int lineNumber, bool dataFollows) override { m_text.ctrlZ(lineNumber, dataFollows); }

    void rowLoaded(int lineNumber, int gridRow, QByteArrayView leftOver) override
    {
        const int line = m_text.editorLine(lineNumber);
        if (m_rowLines.size() <= gridRow)
            m_rowLines.resize(gridRow + 1);
        m_rowLines[gridRow] = line;
        if (leftOver.isEmpty())
            return;
        const QString dropped = Wexal::trimmed(Wexal::Cp1250::decode(leftOver));
        if (!dropped.isEmpty()) {
            m_report.warning(m_file, line,
                             u"wiersz ma więcej pól niż kolumn (COLUMNS=%1): program pomija %2"_s.arg(m_columns).arg(
                                 quoted(dropped)));
        }
    }

    const QVector<int> &rowLines() const { return m_rowLines; }
    void finish() { m_text.finish(); }

private:
    CheckReport &m_report;
    QString m_file;
    int m_columns;
    TextFileCheck m_text;
    QVector<int> m_rowLines; // by grid row
};

// "NAME" and 3 give "NAME3=": asked for every column of every table.
QString columnKey(QStringView word, int k)
{
    return word + QString::number(k) + u'=';
}

} // namespace

TableCheck::TableCheck(CheckReport &report) : m_report(report) {}

bool TableCheck::toInteger(QStringView value, int *number)
{
    return Wexal::parseInteger(value, number);
}

LinkTarget TableCheck::CellLink::parts() const
{
    // Neither the signature nor the key holds an "@"; the row key may.
    const qsizetype first = target.indexOf(u'@');
    const qsizetype second = target.indexOf(u'@', first + 1);
    return {target.left(first), target.mid(first + 1, second - first - 1), target.mid(second + 1)};
}

bool TableCheck::CellLink::hasRowKey() const
{
    return target.indexOf(u'@', target.indexOf(u'@') + 1) + 1 < target.size();
}

QString TableCheck::CellLink::name() const
{
    return number > 0 ? u"odnośnik nr %1"_s.arg(number) : u"odnośnik"_s;
}

void TableCheck::check(int topic, const TopicFields &fields, const TopicSource &source, const QString &file,
                       const DataFile *data)
{
    QVector<Alignment> columns;
    if (!checkColumns(fields, source, columns) || !data)
        return; // the viewer stops before it reads the file
    if (!data->isRead()) {
        m_report.error(file, 0, Wexal::Check::notUsed(*data));
        return;
    }

    TableGridModel model;
    model.reset(int(columns.size()));
    QStringList linkCells;
    TableLoadObserver observer(m_report, file, int(columns.size()));
    QBuffer device;
    device.setData(data->bytes());
    device.open(QIODevice::ReadOnly);
    try {
        loadTableFile(device, model, linkCells, file, &observer);
    } catch (const WexalError &error) {
        m_report.error(file, 0, error.message());
        return;
    }
    observer.finish();
    m_links.append(QVector<CellLink>());
    checkCells(topic, model, observer.rowLines(), columns, file);
}

bool TableCheck::checkColumns(const TopicFields &fields, const TopicSource &source, QVector<Alignment> &columns)
{
    const auto lineOf = [&source](const TopicFields::Hit &hit) {
        return hit.found() ? source.lineOfField(hit.field) : source.closeLine;
    };
    const auto midField = [this, &source, &lineOf](const TopicFields::Hit &hit, const QString &key) {
        if (hit.midField()) {
            m_report.warning(source.file, lineOf(hit),
                             u"klucz %1 stoi w środku pola %2: program czyta wartość %3"_s.arg(key, quoted(hit.text),
                                                                                            quoted(hit.value)));
        }
    };
    const QString fails = u": otwarcie tabeli %1 kończy się błędem"_s.arg(quoted(source.name));

    const TopicFields::Hit count = fields.find(u"COLUMNS=");
    midField(count, u"COLUMNS="_s);
    int n = 0;
    if (!count.found()) {
        m_report.error(source.file, source.closeLine, u"tabela nie ma COLUMNS="_s + fails);
        return false;
    }
    if (!toInteger(count.value, &n)) {
        m_report.error(source.file, lineOf(count),
                       u"COLUMNS=%1 nie jest liczbą całkowitą"_s.arg(quoted(count.value)) + fails);
        return false;
    }
    if (n < 1 || n > Wexal::kMaxTableColumns) {
        m_report.error(source.file, lineOf(count),
                       u"COLUMNS=%1 jest spoza zakresu od 1 do %2"_s.arg(quoted(count.value)).arg(Wexal::kMaxTableColumns) + fails);
        return false;
    }

    bool opens = true;
    bool anyAuto = false;
    columns.fill(Alignment::None, n);
    for (int k = 1; k <= n; ++k) {
        const QString nameKey = columnKey(u"NAME", k);
        const QString widthKey = columnKey(u"WIDTH", k);
        const QString alignmentKey = columnKey(u"ALIGNMENT", k);
        const TopicFields::Hit name = fields.find(nameKey);
        const TopicFields::Hit width = fields.find(widthKey);
        const TopicFields::Hit alignment = fields.find(alignmentKey);
        midField(name, nameKey);
        midField(width, widthKey);
        midField(alignment, alignmentKey);

        if (!name.found())
            m_report.warning(source.file, source.closeLine, u"brak %1: nagłówek kolumny %2 jest pusty"_s.arg(nameKey).arg(k));
        else if (name.value.isEmpty())
            m_report.warning(source.file, lineOf(name), u"%1 jest puste: nagłówek kolumny %2 jest pusty"_s.arg(nameKey).arg(k));

        int pixels = 0;
        if (upperCase(width.value) == u"AUTO") {
            anyAuto = true;
        } else if (!width.found()) {
            m_report.error(source.file, source.closeLine, u"brak %1"_s.arg(widthKey) + fails);
            opens = false;
        } else if (!toInteger(width.value, &pixels)) {
            const bool spaces = upperCase(Wexal::trimmed(width.value)) == u"AUTO";
            m_report.error(source.file, lineOf(width),
                           u"%1%2 nie jest liczbą całkowitą ani AUTO%3"_s.arg(widthKey, quoted(width.value),
                                                                             spaces ? u" (zbędne odstępy)"_s : QString())
                               + fails);
            opens = false;
        } else if (pixels < 0) {
            m_report.warning(source.file, lineOf(width),
                             u"%1%2 jest ujemne: kolumna %3 ma szerokość 0"_s.arg(widthKey, quoted(width.value)).arg(k));
        }

        const QString align = upperCase(alignment.value);
        Alignment &column = columns[k - 1];
        if (align == u"LEFT")
            column = Alignment::Left;
        else if (align == u"CENTER")
            column = Alignment::Center;
        else if (align == u"RIGHT")
            column = Alignment::Right;
        else if (!alignment.found())
            m_report.warning(source.file, source.closeLine,
                             u"brak %1: kolumna %2 nie ma wyrównania, jej znaczniki są pokazywane jako tekst"_s.arg(alignmentKey).arg(k));
        else
            m_report.warning(source.file, lineOf(alignment),
                             u"%1%2 nie jest LEFT, CENTER ani RIGHT: program je pomija, a znaczniki kolumny %3 są pokazywane jako tekst"_s
                                 .arg(alignmentKey, quoted(alignment.value))
                                 .arg(k));
    }
    if (opens && !anyAuto) {
        m_report.warning(source.file, lineOf(count),
                         u"żadna kolumna nie ma szerokości AUTO: kolumna 1 wypełnia resztę tabeli, choć ma stałą szerokość"_s);
    }
    return opens;
}

void TableCheck::checkCells(int topic, const TableGridModel &model, const QVector<int> &rowLines,
                            const QVector<Alignment> &columns, const QString &file)
{
    QVector<quint64> &firstCells = m_firstCells[topic];
    const int rows = model.dataRows();
    firstCells.reserve(rows);
    for (int row = 1; row <= rows; ++row) {
        const int line = row < rowLines.size() ? rowLines[row] : 0;
        for (int c = 0; c < columns.size(); ++c) {
            const QByteArrayView bytes = model.cellBytes(c, row);
            if (c == 0)
                firstCells.append(Wexal::Check::bytesHash(bytes));
            if (bytes.isEmpty() || !std::memchr(bytes.data(), '#', size_t(bytes.size())))
                continue; // no markup without a "#"
            if (columns[c] == Alignment::Left) {
                // Decoded into one buffer for all cells: most cells are short.
                m_cellText.resize(bytes.size());
                QChar *out = m_cellText.data();
                for (const char byte : bytes)
                    *out++ = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(byte));
                checkMarkup(m_cellText, c + 1, line, file);
            } else if (bytes.contains("#L#")) {
                const QString how = columns[c] == Alignment::None
                    ? u"nie ma wyrównania"_s
                    : u"jest wyrównana %1"_s.arg(columns[c] == Alignment::Right ? u"do prawej"_s
                                                                                       : u"do środka"_s);
                m_report.warning(file, line,
                                 u"kolumna %1 %2: odnośnik jest pokazywany jako zwykły tekst i nie działa"_s.arg(c + 1).arg(how));
            }
        }
    }
    std::sort(firstCells.begin(), firstCells.end());
}

void TableCheck::absorb(TableCheck &&other)
{
    for (QVector<CellLink> &links : other.m_links)
        m_links.append(std::move(links));
    for (auto it = other.m_firstCells.begin(); it != other.m_firstCells.end(); ++it)
        m_firstCells.insert(it.key(), std::move(it.value()));
    other.m_links.clear();
    other.m_firstCells.clear();
}

TableCheck::RowKey TableCheck::findRowKey(int topic, quint64 keyHash) const
{
    const auto cells = m_firstCells.constFind(topic);
    if (cells == m_firstCells.constEnd())
        return RowKey::TableNotRead;
    // Two different keys with one hash would hide a missing row: at 64 bits
    // that does not happen in a table of any size.
    return std::binary_search(cells->cbegin(), cells->cend(), keyHash) ? RowKey::Found : RowKey::Missing;
}

void TableCheck::checkMarkup(const QString &text, int column, int line, const QString &file)
{
    const CellMarkupCheck cell(text);
    // Messages are made only for what is found: most cells have nothing.
    const auto report = [this, &file, line, column](CheckFinding::Severity severity, const QString &message) {
        m_report.add(file, line, severity, u"kolumna %1: "_s.arg(column) + message);
    };
    using Severity = CheckFinding::Severity;
    if (cell.boldOpen())
        report(Severity::Warning, u"„#B#” nie jest zamknięty: pogrubienie trwa do końca komórki"_s);
    if (cell.italicOpen())
        report(Severity::Warning, u"„#I#” nie jest zamknięty: kursywa trwa do końca komórki"_s);
    if (cell.underlineOpen())
        report(Severity::Warning, u"„#U#” nie jest zamknięty: podkreślenie trwa do końca komórki"_s);
    for (const QString &token : cell.tokensShownAsText()) {
        report(Severity::Warning,
               u"%1 zaraz po poprzednim znaczniku jest pokazywany jako tekst: w jednym kroku program sprawdza znaczniki tylko w kolejności #B#, #U#, #I#, #L#, #N#"_s
                   .arg(quoted(token)));
    }
    if (cell.linkOpen()) {
        report(Severity::Error,
               u"„#L#” otwiera odnośnik, którego nic nie zamyka: reszta komórki jest niebieska, a odnośnik nie działa"_s);
    }

    const bool several = cell.links().size() > 1 || cell.linkOpen();
    for (const CellMarkupCheck::Link &link : cell.links()) {
        CellLink cellLink;
        cellLink.file = file;
        cellLink.line = line;
        cellLink.column = column;
        cellLink.number = several ? link.number : 0;
        const auto target = [&cellLink, &link]() {
            return u"cel odnośnika%1 %2"_s.arg(cellLink.number > 0 ? u" nr %1"_s.arg(cellLink.number) : QString(),
                                               quoted(link.target));
        };
        if (!link.clickable)
            report(Severity::Warning, cellLink.name() + u" nie ma tekstu tuż przed zamykającym „#L#”: nie da się go kliknąć"_s);
        if (!link.terminated) {
            report(Severity::Error, target() + u" nie kończy się znakiem „#”: program pokazuje go jako tekst komórki"_s);
        } else if (!link.splitToken.isEmpty()) {
            report(Severity::Warning,
                   target() + u" kończy się na „#” znacznika %1: reszta znacznika jest pokazywana jako tekst"_s.arg(
                                  quoted(link.splitToken)));
        }
        const qsizetype ats = link.target.count(u'@');
        if (ats < 2) {
            report(Severity::Error, target() + (ats == 0 ? u" nie zawiera „@”"_s : u" ma tylko jeden znak „@”"_s)
                                        + u": postać celu to sygnatura@klucz@wiersz#"_s);
            continue;
        }
        const std::optional<LinkTarget> read = Wexal::readLinkTarget(text, link.number);
        if (!read)
            continue; // the viewer's link following finds no target either
        cellLink.topicKey = Wexal::Check::linkHash(read->signature, read->key);
        cellLink.rowKeyHash = Wexal::Check::encodedHash(read->rowKey);
        cellLink.target = read->signature + u'@' + read->key + u'@' + read->rowKey;
        m_links.last().append(cellLink);
    }
}
