// The search form of a text. Byte 0 chooses how the rest becomes text: odd
// as Windows-1250 (the texts searched), even as UTF-16 code units (any query
// typed, surrogates and unpaired halves included).

#include "fuzzcheck.h"

#include "core/cp1250.h"
#include "core/textrules.h"
#include "search/normalizeforsearch.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const char *bytes = reinterpret_cast<const char *>(data) + 1;
    const qsizetype n = qsizetype(size - 1);
    QString text;
    if (data[0] & 1) {
        text = Wexal::Cp1250::decode(QByteArrayView(bytes, n));
    } else {
        text.resize(n / 2);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8));
    }

    const QString normal = Wexal::NormalizeForSearch(text);
    FUZZ_CHECK(normal.size() == text.size());
    // Normalising twice changes nothing more.
    FUZZ_CHECK(Wexal::NormalizeForSearch(normal) == normal);
    // Upper-casing first makes no difference.
    FUZZ_CHECK(Wexal::NormalizeForSearch(Wexal::upperCase(text)) == normal);
    // The reusable buffer gives the same, whatever it held before.
    QString buffer = text + text;
    Wexal::NormalizeForSearchInto(text, buffer);
    FUZZ_CHECK(buffer == normal);
    // Characters outside the code page's letters stay as they are.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() >= 0x180)
            FUZZ_CHECK(normal.at(i) == text.at(i));
    }
    return 0;
}
