#pragma once

#include "richtext/rtfformattables.h"
#include "richtext/rtfpicture.h"
#include "richtext/rtfstate.h"
#include "richtext/rtftextdecoder.h"
#include "richtext/rtftextoutput.h"
#include "richtext/rtftokenizer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QTextDocument;
class RtfObserver;
enum class RtfKeyword;

// The RTF state machine behind RtfReader: one forward pass over the tokens
// with an explicit stack of group states (no recursion), a capped depth and
// work proportional to the input. It decides what each token means in the
// destination at hand; body text and structure go to RtfTextOutput.
class RtfParser
{
public:
    RtfParser(QByteArrayView rtf, QTextDocument &document);
    void run();

    // Optional, for the data checker: the observer hears where damaged input
    // is skipped or repaired, offsets counted from offsetBase; with
    // discardText nothing is placed in the document.
    void setObserver(RtfObserver *observer, qsizetype offsetBase, bool discardText);
    // Optional: the paragraphs' text only, nothing placed in the document
    // (RtfTextOutput::setParagraphSink()).
    void setParagraphSink(QStringList *paragraphs) { m_output.setParagraphSink(paragraphs); }
    bool paragraphsComplete() const { return m_output.paragraphsComplete(); }
    bool tablesAsLines() const { return m_output.tablesAsLines(); }

private:
    struct Field
    {
        int depth = 0; // the group holding \field
        RtfDestination outer = RtfDestination::Text;
        QString instruction;
        int link = -1;
        bool resolved = false;
    };

    bool skipFallback(RtfToken &token);
    void ignoredToken(const RtfToken &token);
    void groupStart();
    void groupEnd();
    void controlWord(const RtfToken &token);
    bool destinationWord(RtfKeyword keyword);
    bool tableWord(RtfKeyword keyword, const RtfToken &token);
    bool textWord(RtfKeyword keyword, const RtfToken &token);
    void fontTableWord(RtfKeyword keyword, const RtfToken &token);
    void controlSymbol(char symbol);
    void textRun(const RtfToken &first, RtfToken &after);
    void text(QByteArrayView bytes);
    void hexByte(unsigned char byte);
    void appendSpecial(char16_t ch);
    void appendUnicode(int code);

    void pictureDone();
    void fieldInstructionText(QByteArrayView bytes);
    int resolveField();
    RtfRowDefinition &rowDefinition(int level);

    RtfTokenizer m_tokens;
    RtfTextDecoder m_decoder;
    RtfFormatTables m_tables;
    QStringList m_links;
    std::vector<RtfRowDefinition> m_rowDefinitions; // by table nesting level
    RtfTextOutput m_output;

    std::vector<RtfGroupState> m_stack;
    RtfGroupState m_state;
    RtfGroupState m_finalState; // the document group's state as it closed
    int m_ignoredDepth = 0; // groups open inside a skipped one or past RtfLimits::MaxDepth
    int m_fallbackSkip = 0; // characters still to skip after \uN
    bool m_starPending = false;
    bool m_groupOpened = false;
    std::string m_textRun; // the bytes of a run of text tokens
    bool m_done = false;
    bool m_borderForTable = false;

    std::vector<Field> m_fields;
    RtfPicture m_picture;

    RtfObserver *m_observer = nullptr;
    qsizetype m_offsetBase = 0;
};
