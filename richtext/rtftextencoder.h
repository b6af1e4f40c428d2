#pragma once

#include <QByteArray>
#include <QStringView>

// Text as RTF bytes for a document declared \ansicpg1250 with \uc1: ASCII as
// it is, the RTF specials escaped, other Windows-1250 characters as \'hh and
// everything else as \uN with "?" for readers without Unicode.
class RtfTextEncoder
{
public:
    static void append(QByteArray &out, QStringView text);
    static QByteArray encode(QStringView text);
};
