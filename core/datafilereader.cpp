#include "core/datafilereader.h"

#include <cstring>

#include "core/cp1250.h"
#include "core/datafileobserver.h"

#include <QIODevice>

namespace {
constexpr qsizetype kChunk = 256 * 1024;
constexpr char kCtrlZ = 26;
} // namespace

DataFileReader::DataFileReader(QIODevice &device) : m_device(device) {}

QString DataFileReader::errorString() const
{
    return m_device.errorString();
}

bool DataFileReader::fill()
{
    if (m_deviceDone)
        return false;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + kChunk);
    const qint64 got = m_device.read(m_buffer.data() + old, kChunk);
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
        const bool dataFollows = at + 1 < m_buffer.size() || (!m_deviceDone && !m_device.atEnd());
        m_observer->ctrlZ(lineNumber, dataFollows);
    }
}

bool DataFileReader::atEnd()
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

QByteArray DataFileReader::readLineBytes()
{
    if (atEnd())
        return QByteArray();
    qsizetype scanned = m_pos;
    qsizetype end = findLineEnd(scanned);
    while (end < 0) {
        scanned = m_buffer.size() - m_pos; // relative, buffer may move
        if (!fill())
            break;
        end = findLineEnd(scanned);
    }
    ++m_lineNumber;
    if (end < 0) {
        // Last line without a line end.
        QByteArray line = m_buffer.mid(m_pos);
        m_pos = m_buffer.size();
        if (m_observer)
            m_observer->lineRead(m_lineNumber, line, DataFileObserver::LineEnd::None);
        return line;
    }
    QByteArray line = m_buffer.mid(m_pos, end - m_pos);
    if (m_buffer.at(end) == kCtrlZ) {
        m_pos = end;
        if (m_observer)
            m_observer->lineRead(m_lineNumber, line, DataFileObserver::LineEnd::None);
        stopAtCtrlZ(end, m_lineNumber);
        return line;
    }
    m_pos = end + 1;
    if (m_pos >= m_buffer.size())
        fill();
    const bool crLf = m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n';
    if (crLf)
        ++m_pos;
    if (m_observer)
        m_observer->lineRead(m_lineNumber, line, crLf ? DataFileObserver::LineEnd::CrLf : DataFileObserver::LineEnd::Cr);
    return line;
}

QString DataFileReader::readLine()
{
    return Wexal::Cp1250::decode(readLineBytes());
}
