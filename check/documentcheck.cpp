#include "check/documentcheck.h"

#include "core/datafile.h"
#include "check/checkreport.h"
#include "check/checktext.h"
#include "check/reportformat.h"
#include "check/textfilecheck.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

} // namespace

DocumentCheck::DocumentCheck(CheckReport &report, const QString &programDir)
    : m_report(report), m_programDir(programDir)
{
}

void DocumentCheck::check(const QString &file, const QString &ifMissing, const DataFile *read)
{
    if (m_checked.contains(file))
        return;
    m_checked.insert(file);
    std::optional<DataFile> own;
    if (!read)
        read = &own.emplace(DataFile::read(m_programDir + file, DataFile::Kind::Document));
    if (!read->isRead()) {
        // The viewer leaves a window without its document silently when the
        // file is missing or a special file (a FIFO, a device); anything
        // else, a directory included, ends in an error message.
        if (read->status() == DataFile::Status::Missing) {
            if (!ifMissing.isEmpty())
                m_report.warning(file, 0, ifMissing);
        } else if (read->status() == DataFile::Status::NotRegular && !read->isDirectory()) {
            if (!ifMissing.isEmpty())
                m_report.warning(file, 0, Wexal::Check::notUsed(*read) + u"; "_s + ifMissing);
        } else {
            m_report.error(file, 0, Wexal::Check::notUsed(*read));
        }
        return;
    }
    m_bytes = read->bytes();
    m_file = file;
    if (!RtfReader::isRtf(m_bytes)) {
        QString what = u"plik nie zaczyna się nagłówkiem RTF „{\\rtf”: program pokazuje go jako zwykły tekst"_s;
        if (m_bytes.startsWith("\xEF\xBB\xBF"))
            what += u" (na początku stoi znacznik BOM)"_s;
        m_report.warning(file, 1, what);
        TextFileCheck text(m_report, file);
        text.checkUndefinedBytes(m_bytes);
        return;
    }
    for (Occurrence &occurrence : m_found)
        occurrence = Occurrence();
    RtfReader::inspect(m_bytes, *this);
    for (int kind = 0; kind < kKinds; ++kind) {
        if (m_found[kind].times > 0)
            report(Repair(kind), m_found[kind]);
    }
    m_bytes.clear();
}

void DocumentCheck::repaired(Repair what, qsizetype offset, qsizetype count)
{
    Occurrence &occurrence = m_found[int(what)];
    if (what == Repair::TextAfterDocument) {
        // Line ends or a NUL after the last brace are common and harmless.
        qsizetype text = offset;
        while (text < m_bytes.size() && isBlank(m_bytes[text]))
            ++text;
        if (text >= m_bytes.size())
            return;
        count = text; // where the text that is not read begins
    }
    if (occurrence.times++ == 0) {
        occurrence.offset = offset;
        occurrence.count = count;
    }
}

void DocumentCheck::report(Repair what, const Occurrence &occurrence)
{
    // The end of the data counts as its last line, not the empty one after it.
    const int line = TextFileCheck::lineAtOffset(m_bytes, qMin(occurrence.offset, m_bytes.size() - 1));
    QString message;
    switch (what) {
    case Repair::TextAfterDocument:
        m_report.error(m_file, TextFileCheck::lineAtOffset(m_bytes, occurrence.offset - 1),
                       u"nawias „}” zamyka tu cały dokument: program nie czyta dalszej treści (od wiersza %1)"_s.arg(
                           TextFileCheck::lineAtOffset(m_bytes, occurrence.count)));
        return;
    case Repair::UnclosedGroups:
        m_report.warning(m_file, line,
                         u"na końcu dokumentu brakuje %1 %2 „}”: program zamyka grupy sam"_s.arg(occurrence.count).arg(
                             occurrence.count == 1 ? u"nawiasu"_s : u"nawiasów"_s));
        return;
    case Repair::TooDeep:
        message = u"grupa zagnieżdżona głębiej niż %1 poziomów: program pomija ją w całości"_s.arg(RtfLimits::MaxDepth);
        break;
    case Repair::BadHexEscape:
        message = u"niepełne „\\'hh” (potrzebne dwie cyfry szesnastkowe): program je pomija"_s;
        break;
    case Repair::ParameterClamped:
        message = u"liczba w słowie sterującym jest większa niż %1: program ją obcina"_s.arg(RtfLimits::MaxParam);
        break;
    case Repair::BinaryPastEnd:
        message = u"„\\bin” zapowiada o %1 B więcej danych, niż ma plik: program czyta do końca pliku"_s.arg(occurrence.count);
        break;
    case Repair::PictureNotShown:
        message = u"obraz nie jest w formacie PNG ani JPEG albo jest uszkodzony: program go nie pokazuje"_s;
        break;
    }
    if (occurrence.times > 1) {
        const int more = occurrence.times - 1;
        message += u" (i jeszcze %1 %2)"_s.arg(more).arg(Wexal::Check::countForm(more, u"raz"_s, u"razy"_s, u"razy"_s));
    }
    m_report.warning(m_file, line, message);
}
