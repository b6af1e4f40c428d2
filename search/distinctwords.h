#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <string>
#include <vector>

// The distinct words of Windows-1250 texts as they stand (case and all):
// runs of the code page's letters and digits (WordStems::isWordByte) of
// two to WordStems::MaxWordBytes bytes without a digit, each kept once.
//
// The texts of a whole index pass through here, so a word seen before costs
// one hash of its first 16 bytes and one comparison in an open-addressing
// table.
class DistinctWords
{
public:
    DistinctWords();

    // Every word of the text.
    void addText(const char *text, const char *end);

    std::size_t count() const { return m_words.size(); }
    QByteArrayView word(std::size_t i) const;

private:
    struct Word
    {
        std::uint64_t head[2]; // the first 16 bytes, zeros after the word
        std::uint32_t offset;  // in the arena
        std::uint32_t length;
    };
    struct Slot
    {
        std::uint32_t hash = 0;
        std::uint32_t word = 0; // 1 + the word's position; 0 for an empty slot
    };

    // A word of [start, start + length) unless it is too short or too long.
    void addWord(const unsigned char *start, std::size_t length, const unsigned char *textEnd);
    // A word the first slot of its hash does not hold: looked for further,
    // or added.
    void insert(const unsigned char *start, std::size_t length, const std::uint64_t head[2], std::uint32_t hash);
    void grow();

    std::vector<Slot> m_slots;
    std::vector<Word> m_words;
    std::string m_arena;
};
