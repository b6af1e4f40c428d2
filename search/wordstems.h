#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class Hunspell;

// The stems of Polish words, from the system's Polish spelling dictionary
// (an affix file and a word list, pl_PL.aff and pl_PL.dic, in UTF-8 or
// ISO 8859-2 as the affix file's SET line says). Words come and stems go as
// the search holds its texts: Windows-1250 bytes, the stems folded as the
// search folds (upper case, Polish letters on their base letters), so that
// "chleba", "Chleba" and "CHLEBA" all give "CHLEB".
//
// Thread-safe: the index thread and the query thread may ask at once. Each
// distinct word is looked up in the dictionary once; later asks are
// answered from a cache.
class WordStems
{
    Q_DISABLE_COPY_MOVE(WordStems)

public:
    // The directory the dictionary is read from: $WEXAL_HUNSPELL_DIR when
    // set, else the system's.
    static QString dictionaryDir();

    // The dictionary of dir, or null when its files are missing, are not
    // regular files, or hold an encoding other than UTF-8 and ISO 8859-2.
    static std::unique_ptr<WordStems> load(const QString &dir);
    // The same, loaded once per directory and kept for the program's life:
    // every index and query of the program share it. A missing dictionary
    // is looked for again at the next call.
    static std::shared_ptr<const WordStems> shared(const QString &dir);

    ~WordStems();

    // The distinct folded stems of a word (Windows-1250 bytes, any case),
    // sorted; none when the dictionary does not know the word or it holds
    // a digit (codes are never stemmed).
    std::vector<std::string> stems(QByteArrayView word) const;

    // The bytes words are made of: letters and digits of the code page.
    static bool isWordByte(unsigned char byte) { return s_wordBytes[byte] != 0; }
    static bool isDigitByte(unsigned char byte) { return byte >= '0' && byte <= '9'; }

    // The longest word stemmed; longer ones are not words of the language.
    static constexpr qsizetype MaxWordBytes = 64;

private:
    enum class Encoding : std::uint8_t { Utf8, Iso8859_2 };

    WordStems(std::unique_ptr<Hunspell> dictionary, Encoding encoding);
    std::vector<std::string> lookUp(const std::string &lowered) const;

    // Filled before main(): asked for every byte of every text indexed.
    static const std::array<unsigned char, 256> s_wordBytes;

    std::unique_ptr<Hunspell> m_dictionary;
    Encoding m_encoding;
    mutable std::mutex m_mutex; // the dictionary's lookups and the cache
    mutable std::unordered_map<std::string, std::vector<std::string>> m_cache;
};
