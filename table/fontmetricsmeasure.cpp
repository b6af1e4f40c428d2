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
        // The styles without underlining come first: their shapes serve
        // the underlined ones too.
        if (shapeIndex(style) == i) {
            m_words.emplace_back(styled);
            m_advances[std::size_t(i)].assign(kCachedChars, -1);
        }
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

qreal FontMetricsMeasure::lineWidth(QStringView text, CellStyle style) const
{
    if (!monotonicText(text))
        return -1;
    return m_words[std::size_t(shapeIndex(style))].width(text) / 64.0;
}

bool FontMetricsMeasure::glyphs(QStringView text, CellStyle style, QGlyphRun &run) const
{
    return monotonicText(text) && m_words[std::size_t(shapeIndex(style))].glyphs(text, run);
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
        return (m_words[std::size_t(shapeIndex(style))].width(m_buffer) + 32) >> 6;
    }
    // Every paint measures the same cells again (a pointer entering a link
    // cell repaints the whole grid): remember recent widths.
    QHash<QString, int> &cache = m_widths[std::size_t(shapeIndex(style))];
    const auto found = cache.constFind(m_buffer);
    if (found != cache.constEnd())
        return found.value();
    if (cache.size() >= kCachedWidths)
        cache.clear();
    const int width = m_metrics[std::size_t(shapeIndex(style))].horizontalAdvance(m_buffer);
    cache.insert(m_buffer, width);
    return width;
}

int FontMetricsMeasure::charAdvance(QChar ch, CellStyle style) const
{
    const QFontMetrics &metrics = m_metrics[std::size_t(shapeIndex(style))];
    if (ch.unicode() >= kCachedChars)
        return metrics.horizontalAdvance(ch);
    int &advance = m_advances[std::size_t(shapeIndex(style))][ch.unicode()];
    if (advance < 0)
        advance = metrics.horizontalAdvance(ch);
    return advance;
}

bool FontMetricsMeasure::monotonicText(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const bool latin = (c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c < Wexal::kLatinEnd && c != 0xad);
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
    return overflow(prefix, stretch, style, limit, false);
}

int FontMetricsMeasure::wrapOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                                     int limit) const
{
    return overflow(prefix, stretch, style, limit, true);
}

int FontMetricsMeasure::overflow(QStringView prefix, QStringView stretch, CellStyle style, int limit,
                                 bool wrap) const
{
    if (!monotonicText(prefix) || !monotonicText(stretch))
        return CellTextMeasure::firstOverflow(prefix, stretch, style, limit);

    if (stretch.isEmpty())
        return 0;
    WordShapes &words = m_words[std::size_t(shapeIndex(style))];
    m_buffer.resize(0);
    m_buffer.append(prefix);
    m_buffer.append(stretch);
    const QStringView text(m_buffer);
    const qsizetype p = prefix.size();
    // Widths in 64ths of a pixel, rounded to pixels as width() rounds them.
    const auto over = [limit](qint64 width) { return ((width + 32) >> 6) > limit; };

    // The word the first overflow falls in: whole words add up until one
    // overflows (those within the prefix are never asked alone).
    qint64 base = 0;
    qsizetype start = 0;
    qsizetype end = 0;
    for (;; start = end) {
        end = words.wordEnd(text, start);
        const int whole = words.wordWidth(text.sliced(start, end - start));
        if (end > p && over(base + whole))
            break;
        if (end == text.size())
            return 0;
        base += whole;
    }
    const auto overAt = [&](qsizetype e) { return over(base + words.wordWidth(text.sliced(start, e - start))); };

    // A line that wraps at the space before the word wraps there wherever
    // within its letters it overflows: their end will do.
    qsizetype letters = end;
    while (letters > start && text.at(letters - 1) == u' ')
        --letters;
    if (wrap && letters > p && letters > start && start > 0 && text.at(start - 1) == u' '
        && !text.sliced(start, letters - start).contains(u' ') && overAt(letters))
        return int(letters - p);

    // Within it, where the single advances would overflow: usually within a
    // character or two of the answer.
    qsizetype low = qMax(start, p);
    qsizetype high = end;
    qsizetype guess = high;
    int sum = int((base + 32) >> 6);
    for (qsizetype e = start + 1; e <= end; ++e) {
        sum += charAdvance(text.at(e - 1), style);
        if (e > low && sum > limit) {
            guess = e;
            break;
        }
    }
    // Invariant: the answer lies in (low, high]; overAt(high) holds, and
    // overAt(low) does not unless low is where the stretch starts.
    if (guess < high) {
        if (overAt(guess))
            high = guess;
        else
            low = guess;
    }
    if (high == guess && high - 1 > low) {
        if (overAt(high - 1))
            high -= 1;
        else
            low = high - 1;
    } else if (low == guess && low + 1 < high) {
        if (overAt(low + 1))
            high = low + 1;
        else
            low += 1;
    }
    while (high - low > 1) {
        const qsizetype mid = low + (high - low) / 2;
        if (overAt(mid))
            high = mid;
        else
            low = mid;
    }
    return int(high - p);
}
