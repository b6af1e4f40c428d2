#pragma once

#include <QtGlobal>

// Told where the RTF reader had to skip or repair damaged input, for the
// data checker (RtfReader::inspect()). Offsets count bytes from the start of
// the data given to the reader.
class RtfObserver
{
public:
    enum class Repair {
        TextAfterDocument, // the document's group closed before the end of the data: the rest is not read
        UnclosedGroups,    // the data ended with count groups open: they end there
        TooDeep,           // a group nested deeper than RtfLimits::MaxDepth was skipped whole
        BadHexEscape,      // a \' without two hex digits was dropped
        ParameterClamped,  // a number beyond RtfLimits::MaxParam was cut down to it
        BinaryPastEnd,     // \binN asked for count bytes more than the data holds
        PictureNotShown,   // a picture that is neither PNG nor JPEG, or cannot be decoded
    };

    RtfObserver() = default;
    virtual ~RtfObserver() = default;
    RtfObserver(const RtfObserver &) = delete;
    RtfObserver &operator=(const RtfObserver &) = delete;

    virtual void repaired(Repair what, qsizetype offset, qsizetype count) = 0;
};
