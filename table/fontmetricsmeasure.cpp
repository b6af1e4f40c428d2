#include "table/fontmetricsmeasure.h"

FontMetricsMeasure::FontMetricsMeasure(const QFont &font)
{
    m_metrics.reserve(kStyles);
    for (int i = 0; i < kStyles; ++i) {
        const CellStyle style = CellStyle::fromInt(i);
        QFont styled(font);
        styled.setBold(style.testFlag(CellStyleFlag::Bold));
        styled.setItalic(style.testFlag(CellStyleFlag::Italic));
        styled.setUnderline(style.testFlag(CellStyleFlag::Underline));
        m_fonts[std::size_t(i)] = styled;
        m_metrics.emplace_back(styled);
        m_metricsF.emplace_back(styled);
        m_words.emplace_back(styled);
        m_advances[std::size_t(i)].assign(kCachedChars, -1);
    }
}

QFont FontMetricsMeasure::font(CellStyle style) const
{
    return m_fonts[std::size_t(styleIndex(style))];
}

int FontMetricsMeasure::lineHeight() const
{
    return m_metrics.front().height();
}

qreal FontMetricsMeasure::naturalWidth(QStringView text, CellStyle style) const
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    const QStringView shown = text.left(end);
    if (!monotonicText(shown) || (end > 0 && text.at(end - 1).isSpace()))
        return -1;
    return m_words[std::size_t(styleIndex(style))].width(shown) / 64.0;
}

bool FontMetricsMeasure::glyphs(QStringView text, CellStyle style, QGlyphRun &run) const
{
    return monotonicText(text) && m_words[std::size_t(styleIndex(style))].glyphs(text, run);
}

qreal FontMetricsMeasure::ascent(CellStyle style) const
{
    return m_metricsF[std::size_t(styleIndex(style))].ascent();
}

qreal FontMetricsMeasure::fullHeight(CellStyle style) const
{
    return m_metricsF[std::size_t(styleIndex(style))].height();
}

int FontMetricsMeasure::width(QStringView text, CellStyle style) const
{
    return joinedWidth(text, {}, 0, style);
}

int FontMetricsMeasure::joinedWidth(QStringView prefix, QStringView stretch, qsizetype count,
                                    CellStyle style) const
{
    m_buffer.resize(0);
    m_buffer.append(prefix);
    m_buffer.append(stretch.left(count));
    if (monotonicText(m_buffer)) {
        // Rounded as QFontMetrics rounds a whole string's width.
        return (m_words[std::size_t(styleIndex(style))].width(m_buffer) + 32) >> 6;
    }
    // Every paint measures the same cells again (a pointer entering a link
    // cell repaints the whole grid): remember recent widths.
    QHash<QString, int> &cache = m_widths[std::size_t(styleIndex(style))];
    const auto found = cache.constFind(m_buffer);
    if (found != cache.constEnd())
        return found.value();
    if (cache.size() >= kCachedWidths)
        cache.clear();
    const int width = m_metrics[std::size_t(styleIndex(style))].horizontalAdvance(m_buffer);
    cache.insert(m_buffer, width);
    return width;
}

int FontMetricsMeasure::charAdvance(QChar ch, CellStyle style) const
{
    const QFontMetrics &metrics = m_metrics[std::size_t(styleIndex(style))];
    if (ch.unicode() >= kCachedChars)
        return metrics.horizontalAdvance(ch);
    int &advance = m_advances[std::size_t(styleIndex(style))][ch.unicode()];
    if (advance < 0)
        advance = metrics.horizontalAdvance(ch);
    return advance;
}

bool FontMetricsMeasure::monotonicText(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const bool latin = (c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c < 0x250 && c != 0xad);
        // Punctuation, currency and letterlike signs the code page adds.
        const bool sign = (c >= 0x2010 && c <= 0x2030) || (c >= 0x2039 && c <= 0x203a)
                          || c == 0x20ac || c == 0x2122 || c == 0x02c7 || c == 0x02d8
                          || c == 0x02d9 || c == 0x02db || c == 0x02dd;
        if (!latin && !sign)
            return false;
    }
    return true;
}

int FontMetricsMeasure::firstOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                                      int limit) const
{
    if (!monotonicText(prefix) || !monotonicText(stretch))
        return CellTextMeasure::firstOverflow(prefix, stretch, style, limit);

    const qsizetype count = stretch.size();
    if (count == 0)
        return 0;
    const auto over = [&](qsizetype k) { return joinedWidth(prefix, stretch, k, style) > limit; };

    // Where the single advances would overflow: usually within a character
    // or two of the answer.
    qsizetype guess = count;
    int sum = 0;
    for (const QChar ch : prefix)
        sum += charAdvance(ch, style);
    for (qsizetype k = 0; k < count; ++k) {
        sum += charAdvance(stretch.at(k), style);
        if (sum > limit) {
            guess = k + 1;
            break;
        }
    }

    // Invariant: the answer lies in (low, high]; over(high) is known true.
    qsizetype low = 0;
    qsizetype high = 0;
    if (over(guess)) {
        high = guess;
        for (qsizetype step = 1; high - step > low; step *= 2) {
            if (!over(high - step)) {
                low = high - step;
                break;
            }
            high -= step;
        }
    } else {
        low = guess;
        for (qsizetype step = 1;; step *= 2) {
            if (low + step >= count) {
                if (low == count || !over(count))
                    return 0;
                high = count;
                break;
            }
            if (over(low + step)) {
                high = low + step;
                break;
            }
            low += step;
        }
    }
    while (high - low > 1) {
        const qsizetype mid = low + (high - low) / 2;
        if (over(mid))
            high = mid;
        else
            low = mid;
    }
    return int(high);
}
