#pragma once

#include <QByteArrayView>

#include <string>

class RtfObserver;

// One lexical unit of an RTF stream. Views point into the tokenizer's buffer.
struct RtfToken
{
    enum Type { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text };

    Type type = End;
    QByteArrayView text;     // ControlWord: the name; Text: a run of plain bytes
    int param = 0;           // ControlWord: the numeric parameter, clamped
    bool hasParam = false;
    char symbol = 0;         // ControlSymbol: the character after the backslash
    unsigned char byte = 0;  // HexByte: the value of \'hh
};

// Splits RTF bytes into tokens in one forward pass. Text comes out as runs
// (everything up to the next backslash, brace or control character), so a
// reader handles a long paragraph as one piece, not byte by byte. Carriage
// returns, line feeds and other control bytes except the tab are dropped, as
// RTF ignores them in text; a line break therefore also ends a control word.
class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView data) : m_data(data) {}

    RtfToken next();
    // The bytes of the Text and HexByte tokens next() would give from here,
    // appended to out, up to the first token of another kind or a malformed
    // escape (left to next()).
    void appendText(std::string &out);

    // The raw payload of \binN: up to count bytes, never past the end.
    QByteArrayView takeBytes(qint64 count);

    qsizetype position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }

    // Optional: told of dropped escapes, clamped numbers and \bin payloads
    // cut short; offsets are reported as offsetBase + position.
    void setObserver(RtfObserver *observer, qsizetype offsetBase)
    {
        m_observer = observer;
        m_offsetBase = offsetBase;
    }

private:
    RtfToken readControl();
    RtfToken badHexEscape(qsizetype backslash) const;

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    RtfObserver *m_observer = nullptr;
    qsizetype m_offsetBase = 0;
};
