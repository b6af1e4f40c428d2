#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class SearchIndex;
class WordStems;

// The stems of the words of a search index, kept beside its texts: every
// distinct word of the titles, rows and paragraphs is stemmed once, and the
// index keeps, for each stem, the folded spellings of its words that the
// texts hold. A query word is stemmed the same way; the words sharing one of
// its stems are what it finds through a stem.
//
// A word is a run of the code page's letters and digits; one holding a
// digit is a code, never stemmed.
class StemIndex
{
    Q_DISABLE_COPY_MOVE(StemIndex)

public:
    // cancel, when given and set, ends the build early: null comes back.
    static std::unique_ptr<StemIndex> build(const SearchIndex &index, std::shared_ptr<const WordStems> stems,
                                            const std::atomic<bool> *cancel = nullptr);

    // The folded spellings of the index's words that share a stem with the
    // word (Windows-1250 bytes, any case); none when the dictionary does
    // not know it.
    std::unordered_set<std::string> formsSharingStem(QByteArrayView word) const;

    // The distinct words of the texts the dictionary knows.
    std::size_t knownWords() const { return m_forms.size(); }
    // The bytes the stems take.
    qint64 memoryBytes() const;

private:
    explicit StemIndex(std::shared_ptr<const WordStems> stems);

    std::shared_ptr<const WordStems> m_stems;
    std::vector<std::string> m_forms; // folded, distinct
    std::unordered_map<std::string, std::vector<std::uint32_t>> m_formsOfStem;
};
