#include "search/wordstems.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "search/searchmatcher.h"

#include <hunspell.hxx>

#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// The upper half of ISO 8859-2; the lower half is ASCII.
constexpr std::array<char16_t, 96> kIso8859_2High = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164,
    0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102,
    0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170,
    0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3,
    0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

QString decodeIso8859_2(const std::string &bytes)
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b < 0xA0 ? QChar(char16_t(b)) : QChar(kIso8859_2High[b - 0xA0]));
    }
    return text;
}

// Empty when a character has no byte in the code page.
std::string encodeIso8859_2(const QString &text)
{
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> map;
        for (std::size_t i = 0; i < kIso8859_2High.size(); ++i)
            map.insert(kIso8859_2High[i], static_cast<char>(0xA0 + i));
        return map;
    }();
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0xA0) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        const auto it = bytes.constFind(u);
        if (it == bytes.constEnd())
            return std::string();
        out.push_back(it.value());
    }
    return out;
}

// The encoding named by the affix file's SET line: Hunspell spells it as
// the file does.
bool encodingOf(const std::string &name, bool *utf8)
{
    const QString set = QString::fromLatin1(name).toUpper().remove(u'-').remove(u'_');
    if (set == u"UTF8"_s) {
        *utf8 = true;
        return true;
    }
    if (set == u"ISO88592"_s) {
        *utf8 = false;
        return true;
    }
    return false;
}

// The cache holds at most this many words; it starts again when full.
constexpr std::size_t kCacheWords = std::size_t(1) << 16;

} // namespace

QString WordStems::dictionaryDir()
{
    const QString dir = qEnvironmentVariable("WEXAL_HUNSPELL_DIR");
    return dir.isEmpty() ? u"/usr/share/hunspell"_s : dir;
}

WordStems::WordStems(std::unique_ptr<Hunspell> dictionary, Encoding encoding)
    : m_dictionary(std::move(dictionary)), m_encoding(encoding)
{
}

WordStems::~WordStems() = default;

std::unique_ptr<WordStems> WordStems::load(const QString &dir)
{
    const QString aff = dir + u"/pl_PL.aff"_s;
    const QString dic = dir + u"/pl_PL.dic"_s;
    if (!DataFile::isPresent(aff) || !DataFile::isPresent(dic))
        return nullptr;
    auto dictionary = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    bool utf8 = false;
    if (!encodingOf(dictionary->get_dict_encoding(), &utf8))
        return nullptr;
    return std::unique_ptr<WordStems>(
        new WordStems(std::move(dictionary), utf8 ? Encoding::Utf8 : Encoding::Iso8859_2));
}

std::shared_ptr<const WordStems> WordStems::shared(const QString &dir)
{
    static std::mutex mutex;
    static QHash<QString, std::shared_ptr<const WordStems>> loaded;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto it = loaded.constFind(dir);
    if (it != loaded.constEnd())
        return it.value();
    std::shared_ptr<const WordStems> stems = load(dir);
    if (stems)
        loaded.insert(dir, stems);
    return stems;
}

const std::array<unsigned char, 256> WordStems::s_wordBytes = [] {
    std::array<unsigned char, 256> bytes{};
    for (int b = 1; b < 256; ++b)
        bytes[std::size_t(b)] = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(b)).isLetterOrNumber() ? 1 : 0;
    return bytes;
}();

std::vector<std::string> WordStems::stems(QByteArrayView word) const
{
    if (word.isEmpty() || word.size() > MaxWordBytes)
        return {};
    for (const char c : word) {
        if (isDigitByte(static_cast<unsigned char>(c)) || !isWordByte(static_cast<unsigned char>(c)))
            return {};
    }
    const QString lowered = Wexal::Cp1250::decode(word).toLower();
    const std::string key = m_encoding == Encoding::Utf8 ? lowered.toUtf8().toStdString() : encodeIso8859_2(lowered);
    if (key.empty())
        return {};
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_cache.find(key);
    if (it != m_cache.end())
        return it->second;
    std::vector<std::string> found = lookUp(key);
    if (m_cache.size() >= kCacheWords)
        m_cache.clear();
    m_cache.emplace(key, found);
    return found;
}

std::vector<std::string> WordStems::lookUp(const std::string &lowered) const
{
    const auto &fold = SearchMatcher::byteMap();
    std::vector<std::string> folded;
    for (const std::string &stem : m_dictionary->stem(lowered)) {
        const QString text = m_encoding == Encoding::Utf8 ? QString::fromUtf8(stem) : decodeIso8859_2(stem);
        std::string bytes;
        bytes.reserve(std::size_t(text.size()));
        for (const QChar ch : text) {
            const int b = Wexal::Cp1250::fromUnicode(ch);
            if (b <= 0 || !isWordByte(static_cast<unsigned char>(b))) {
                bytes.clear();
                break;
            }
            bytes.push_back(static_cast<char>(fold[std::size_t(b)]));
        }
        if (!bytes.empty())
            folded.push_back(std::move(bytes));
    }
    std::sort(folded.begin(), folded.end());
    folded.erase(std::unique(folded.begin(), folded.end()), folded.end());
    return folded;
}
