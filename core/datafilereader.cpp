#include "core/datafilereader.h"

#include <cstring>

#include "core/cp1250.h"
#include "core/datafileobserver.h"

#include <QIODevice>
#include <QtAlgorithms>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr qsizetype kChunk = 256 * 1024;

// The first CR in [from, end), or end. Most lines are short: their CR
// stands in the first sixteen bytes looked at, found without a call.
inline const char *findCr(const char *from, const char *end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    for (; end - from >= 16; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        if (const unsigned found = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, cr))))
            return from + qCountTrailingZeroBits(found);
    }
#endif
    while (from != end && *from != '\r')
        ++from;
    return from;
}
} // namespace

DataFileReader::DataFileReader(QIODevice &device) : m_device(&device) {}

DataFileReader::DataFileReader(const QByteArray &bytes) : m_buffer(bytes), m_deviceDone(true)
{
    const void *ctrlZ = std::memchr(m_buffer.constData(), kCtrlZ, std::size_t(m_buffer.size()));
    m_ctrlZAt = ctrlZ ? static_cast<const char *>(ctrlZ) - m_buffer.constData() : m_buffer.size();
}

QString DataFileReader::errorString() const
{
    return m_device ? m_device->errorString() : QString();
}

bool DataFileReader::fill()
{
    if (m_deviceDone)
        return false;
    // Bytes before the line being read are done with.
    if (m_lineStart > 0) {
        m_buffer.remove(0, m_lineStart);
        m_pos -= m_lineStart;
        m_lineStart = 0;
    }
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + kChunk);
    const qint64 got = m_device->read(m_buffer.data() + old, kChunk);
    if (got <= 0) {
        m_buffer.resize(old);
        m_deviceDone = true;
        if (got < 0)
            m_error = true;
        return false;
    }
    m_buffer.resize(old + got);
    return true;
}

qsizetype DataFileReader::findLineEnd(qsizetype from) const
{
    // The first CR, unless a Ctrl-Z comes before it.
    const char *data = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    if (from >= size)
        return -1;
    const void *cr = std::memchr(data + from, '\r', std::size_t(size - from));
    const qsizetype limit = cr ? static_cast<const char *>(cr) - data : size;
    if (const void *ctrlZ = std::memchr(data + from, kCtrlZ, std::size_t(limit - from)))
        return static_cast<const char *>(ctrlZ) - data;
    return cr ? limit : -1;
}

void DataFileReader::stopAtCtrlZ(qsizetype at, int lineNumber)
{
    m_sawCtrlZ = true;
    if (m_observer) {
        const bool dataFollows = at + 1 < m_buffer.size() || (!m_deviceDone && !m_device->atEnd());
        m_observer->ctrlZ(lineNumber, dataFollows);
    }
}

bool DataFileReader::atEndSlow()
{
    if (m_sawCtrlZ || m_error)
        return true;
    if (m_pos >= m_buffer.size() && !fill())
        return true;
    if (m_buffer.at(m_pos) != kCtrlZ)
        return false;
    stopAtCtrlZ(m_pos, m_lineNumber + 1);
    return true;
}

QByteArrayView DataFileReader::nextLineInMemory()
{
    m_lineSize = 0;
    if (atEnd())
        return QByteArrayView();
    // Reading stops at the first Ctrl-Z: no line reaches past it.
    const char *data = m_buffer.constData();
    m_lineStart = m_pos;
    const char *cr = findCr(data + m_pos, data + m_ctrlZAt);
    ++m_lineNumber;
    if (cr == data + m_ctrlZAt) {
        // The last line, ended by the data's end or a Ctrl-Z.
        m_lineSize = m_ctrlZAt - m_lineStart;
        m_pos = m_ctrlZAt;
        const QByteArrayView line(data + m_lineStart, m_lineSize);
        if (m_observer)
            m_observer->lineRead(m_lineNumber, line, DataFileObserver::LineEnd::None);
        if (m_ctrlZAt < m_buffer.size())
            stopAtCtrlZ(m_ctrlZAt, m_lineNumber);
        return line;
    }
    const qsizetype end = cr - data;
    m_lineSize = end - m_lineStart;
    m_pos = end + 1;
    const bool crLf = m_pos < m_buffer.size() && data[m_pos] == '\n';
    if (crLf)
        ++m_pos;
    const QByteArrayView line(data + m_lineStart, m_lineSize);
    if (m_observer)
        m_observer->lineRead(m_lineNumber, line, crLf ? DataFileObserver::LineEnd::CrLf : DataFileObserver::LineEnd::Cr);
    return line;
}

QByteArrayView DataFileReader::nextLine()
{
    if (!m_device)
        return nextLineInMemory();
    m_lineSize = 0;
    if (atEnd())
        return QByteArrayView();
    m_lineStart = m_pos;
    qsizetype end = findLineEnd(m_pos);
    while (end < 0) {
        const qsizetype scanned = m_buffer.size() - m_lineStart; // the buffer may move
        if (!fill())
            break;
        end = findLineEnd(m_lineStart + scanned);
    }
    ++m_lineNumber;
    if (end < 0) {
        // Last line without a line end.
        m_lineSize = m_buffer.size() - m_lineStart;
        m_pos = m_buffer.size();
        const QByteArrayView line(m_buffer.constData() + m_lineStart, m_lineSize);
        if (m_observer)
            m_observer->lineRead(m_lineNumber, line, DataFileObserver::LineEnd::None);
        return line;
    }
    m_lineSize = end - m_lineStart;
    if (m_buffer.at(end) == kCtrlZ) {
        m_pos = end;
        const QByteArrayView line(m_buffer.constData() + m_lineStart, m_lineSize);
        if (m_observer)
            m_observer->lineRead(m_lineNumber, line, DataFileObserver::LineEnd::None);
        stopAtCtrlZ(end, m_lineNumber);
        return QByteArrayView(m_buffer.constData() + m_lineStart, m_lineSize);
    }
    m_pos = end + 1;
    if (m_pos >= m_buffer.size())
        fill(); // keeps the line, may move it
    const bool crLf = m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n';
    if (crLf)
        ++m_pos;
    const QByteArrayView line(m_buffer.constData() + m_lineStart, m_lineSize);
    if (m_observer)
        m_observer->lineRead(m_lineNumber, line, crLf ? DataFileObserver::LineEnd::CrLf : DataFileObserver::LineEnd::Cr);
    return line;
}

QByteArray DataFileReader::readLineBytes()
{
    return nextLine().toByteArray();
}

QString DataFileReader::readLine()
{
    return Wexal::Cp1250::decode(nextLine());
}

QStringView DataFileReader::readLineView()
{
    const QByteArrayView bytes = nextLine();
    // m_text only grows: the longest line so far sets its size.
    if (m_text.size() < bytes.size())
        m_text.resize(bytes.size());
    Wexal::Cp1250::decodeTo(bytes, reinterpret_cast<char16_t *>(m_text.data()));
    return QStringView(m_text.constData(), bytes.size());
}
