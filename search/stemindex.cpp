#include "search/stemindex.h"

#include "core/cp1250.h"
#include "search/searchindex.h"
#include "search/searchmatcher.h"
#include "search/wordstems.h"

#include <cstring>

namespace {

// The distinct words of the texts as they stand (case and all), each kept
// once in an arena: an open-addressing table of hashes, so that a word seen
// before costs a hash and one comparison.
class DistinctWords
{
public:
    DistinctWords() : m_slots(1024) {}

    // Every word of [p, end).
    void addText(const char *text, const char *textEnd)
    {
        const auto *p = reinterpret_cast<const unsigned char *>(text);
        const auto *end = reinterpret_cast<const unsigned char *>(textEnd);
        const unsigned char *const word = m_wordBytes;
        while (p < end) {
            while (p < end && !word[*p])
                ++p;
            const unsigned char *const start = p;
            std::uint32_t hash = 0;
            unsigned digits = 0;
            while (p < end && word[*p]) {
                hash = ((hash << 5) | (hash >> 27)) ^ *p;
                digits |= unsigned(*p - '0') < 10u;
                ++p;
            }
            const std::size_t length = std::size_t(p - start);
            if (length > 1 && !digits && length <= std::size_t(WordStems::MaxWordBytes))
                add(reinterpret_cast<const char *>(start), length, hash);
        }
    }

    std::size_t count() const { return m_words.size(); }
    QByteArrayView word(std::size_t i) const
    {
        const Word &w = m_words[i];
        return QByteArrayView(m_arena.data() + w.offset, qsizetype(w.length));
    }

private:
    struct Word
    {
        std::uint32_t offset;
        std::uint32_t length;
    };
    struct Slot
    {
        std::uint32_t hash = 0;
        std::uint32_t word = 0; // 1 + the word's position; 0 for an empty slot
    };

    void add(const char *start, std::size_t length, std::uint32_t hash)
    {
        hash *= 0x9E3779B1u;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (slot.word == 0) {
                slot.hash = hash;
                slot.word = std::uint32_t(m_words.size() + 1);
                m_words.push_back(Word{std::uint32_t(m_arena.size()), std::uint32_t(length)});
                m_arena.append(start, length);
                if (2 * m_words.size() > m_slots.size())
                    grow();
                return;
            }
            if (slot.hash == hash) {
                const Word &w = m_words[slot.word - 1];
                if (w.length == length && std::memcmp(m_arena.data() + w.offset, start, length) == 0)
                    return;
            }
        }
    }

    void grow()
    {
        std::vector<Slot> old(2 * m_slots.size());
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot &slot : old) {
            if (slot.word == 0)
                continue;
            std::size_t i = slot.hash & mask;
            while (m_slots[i].word != 0)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    const unsigned char *m_wordBytes = wordByteTable();
    std::vector<Slot> m_slots;
    std::vector<Word> m_words;
    std::string m_arena;

    static const unsigned char *wordByteTable()
    {
        static const std::array<unsigned char, 256> table = [] {
            std::array<unsigned char, 256> bytes{};
            for (int b = 0; b < 256; ++b)
                bytes[std::size_t(b)] = WordStems::isWordByte(static_cast<unsigned char>(b)) ? 1 : 0;
            return bytes;
        }();
        return table.data();
    }
};

} // namespace

StemIndex::StemIndex(std::shared_ptr<const WordStems> stems) : m_stems(std::move(stems)) {}

std::unique_ptr<StemIndex> StemIndex::build(const SearchIndex &index, std::shared_ptr<const WordStems> stems,
                                            const std::atomic<bool> *cancel)
{
    if (!stems)
        return nullptr;
    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    DistinctWords words;
    for (const SearchIndex::Title &title : index.titles()) {
        const QByteArray bytes = Wexal::Cp1250::encode(title.text);
        words.addText(bytes.constData(), bytes.constData() + bytes.size());
    }
    for (const SearchIndex::Block &block : index.blocks()) {
        if (cancelled())
            return nullptr;
        words.addText(block.shown.get(), block.shown.get() + block.size);
    }

    std::unique_ptr<StemIndex> result(new StemIndex(std::move(stems)));
    const auto &fold = SearchMatcher::byteMap();
    std::unordered_map<std::string, std::uint32_t> formNumbers;
    for (std::size_t i = 0; i < words.count(); ++i) {
        if (cancelled())
            return nullptr;
        const QByteArrayView word = words.word(i);
        const std::vector<std::string> wordStems = result->m_stems->stems(word);
        if (wordStems.empty())
            continue;
        std::string form(std::size_t(word.size()), '\0');
        for (qsizetype k = 0; k < word.size(); ++k)
            form[std::size_t(k)] = static_cast<char>(fold[static_cast<unsigned char>(word[k])]);
        // Spellings that differ in case alone are one form.
        const auto [it, added] = formNumbers.emplace(form, std::uint32_t(result->m_forms.size()));
        if (!added)
            continue;
        result->m_forms.push_back(std::move(form));
        for (const std::string &stem : wordStems)
            result->m_formsOfStem[stem].push_back(it->second);
    }
    return result;
}

std::unordered_set<std::string> StemIndex::formsSharingStem(QByteArrayView word) const
{
    std::unordered_set<std::string> forms;
    for (const std::string &stem : m_stems->stems(word)) {
        const auto it = m_formsOfStem.find(stem);
        if (it == m_formsOfStem.end())
            continue;
        for (const std::uint32_t form : it->second)
            forms.insert(m_forms[form]);
    }
    return forms;
}

qint64 StemIndex::memoryBytes() const
{
    qint64 bytes = qint64(m_forms.capacity() * sizeof(std::string));
    for (const std::string &form : m_forms)
        bytes += qint64(form.capacity() + 1);
    for (const auto &[stem, forms] : m_formsOfStem)
        bytes += qint64(sizeof(stem) + stem.capacity() + forms.capacity() * sizeof(std::uint32_t) + 32);
    return bytes;
}
