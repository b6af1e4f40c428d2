#include "search/stemindex.h"

#include "core/cp1250.h"
#include "search/distinctwords.h"
#include "search/searchindex.h"
#include "search/searchmatcher.h"
#include "search/wordstems.h"

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
