#include "richtext/rtftextdecoder.h"

#include "core/cp1250.h"

#include <array>

namespace {

// Windows-1252 above 0x7F where it differs from Latin-1; the five undefined
// bytes keep their C1 value, as in the 1250 table.
constexpr std::array<char16_t, 32> kCp1252C1 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t cp1252(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? kCp1252C1[b - 0x80] : char16_t(b);
}

// Symbol-font bytes that documents use for list bullets and marks; the rest
// keep their Latin value, which is what a reader without the font shows.
char16_t symbolChar(unsigned char b)
{
    switch (b) {
    case 0xB7: return 0x2022; // bullet
    case 0xA7: return 0x25AA; // Wingdings small square
    case 0x6C: return 0x25CF; // Wingdings black circle
    case 0x6E: return 0x25A0; // Wingdings black square
    case 0x71: return 0x2751; // Wingdings shadowed square
    case 0x76: return 0x2756; // Wingdings diamond
    case 0xD8: return 0x27A2; // Wingdings arrowhead
    case 0xFC: return 0x2713; // Wingdings check mark
    case 0xB0: return 0x00B0;
    case 0x2D: return 0x2212;
    default: return cp1252(b);
    }
}

const char *converterName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

} // namespace

RtfTextDecoder::RtfTextDecoder() = default;
RtfTextDecoder::~RtfTextDecoder() = default;

int RtfTextDecoder::codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return SymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0; // 1 (default charset) and unknown values
    }
}

QStringDecoder *RtfTextDecoder::converter(int codePage)
{
    auto it = m_converters.find(codePage);
    if (it == m_converters.end()) {
        std::unique_ptr<QStringDecoder> decoder;
        if (const char *name = converterName(codePage)) {
            decoder = std::make_unique<QStringDecoder>(name, QStringConverter::Flag::Stateless);
            if (!decoder->isValid())
                decoder.reset();
        }
        it = m_converters.emplace(codePage, std::move(decoder)).first;
    }
    return it->second.get();
}

void RtfTextDecoder::decode(QByteArrayView bytes, int codePage, QString &out)
{
    if (bytes.isEmpty())
        return;
    if (codePage == 1250) {
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        Wexal::Cp1250::decodeTo(bytes, reinterpret_cast<char16_t *>(out.data() + start));
        return;
    }
    if (codePage == SymbolCodePage) {
        for (const char c : bytes)
            out += QChar(symbolChar(static_cast<unsigned char>(c)));
        return;
    }
    if (codePage != 1252) {
        if (QStringDecoder *decoder = converter(codePage)) {
            out += decoder->decode(bytes);
            return;
        }
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar *dst = out.data() + start;
    for (const char c : bytes)
        *dst++ = QChar(cp1252(static_cast<unsigned char>(c)));
}
