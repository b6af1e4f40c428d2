#pragma once

#include "richtext/rtfstate.h"

enum class RtfKeyword;
struct RtfToken;

// The control words that only change the formatting state of the current
// group: character formats, \uc and paragraph formats with tab stops.
class RtfFormatWords
{
public:
    // True when the word was one of them (and the state now reflects it).
    static bool apply(RtfKeyword keyword, const RtfToken &token, RtfGroupState &state);

private:
    static bool character(RtfKeyword keyword, const RtfToken &token, RtfGroupState &state);
    static bool paragraph(RtfKeyword keyword, const RtfToken &token, RtfParaProps &para);
};
