#include "rtfbenchdocument.h"

#include <QString>
#include <QStringBuilder>

using namespace Qt::StringLiterals;

QByteArray RtfBenchDocument::generate(qsizetype targetBytes)
{
    return generate(targetBytes, nullptr);
}

QByteArray RtfBenchDocument::generate(qsizetype targetBytes, QString *html)
{
    QByteArray rtf = R"({\rtf1\ansi\ansicpg1250\deff0\deflang1045{\fonttbl{\f0\fswiss\fcharset238 Arial;})"
                     R"({\f1\froman\fcharset238 Times New Roman;}{\f2\fnil\fcharset2 Symbol;}})"
                     "\r\n"
                     R"({\colortbl ;\red192\green0\blue0;\red0\green0\blue192;\red255\green255\blue0;})"
                     "\r\n\\viewkind4\\uc1\\pard\\f0\\fs20\r\n";
    rtf.reserve(targetBytes + 4096);
    // The same paragraphs, runs, list items and tables as HTML.
    QString page = u"<html><body style=\"font-family:Arial; font-size:10pt\">\n"_s;
    int n = 0;
    while (rtf.size() < targetBytes) {
        ++n;
        const QByteArray number = QByteArray::number(n);
        rtf += QByteArray(R"(\pard\sa120\qj\f1\fs22 Grupowanie )") + number
            + R"( obejmuje \b wyroby i us\'b3ugi\b0  opodatkowane stawk\'b9 obni\'bfon\'b9; )"
              R"(\i za\'bf\'f3\'b3\'e6 g\'ea\'9cl\'b9 ja\'9f\'f1\i0 , \cf1 PCHN\'a5\'c6 W T\'ca \'a3\'d3D\'8f\cf0  )"
              R"({\highlight3 stawka 8%}, \u8364? i \u937? \emdash  zob. {\field{\*\fldinst{HYPERLINK "#t)"
            + number + R"("}}{\fldrslt{\ul\cf2 pozycja )" + number + R"(}}}.\par)" "\r\n";
        const QString nr = QString::number(n);
        page += u"<p align=\"justify\" style=\"margin-bottom:6pt; font-family:'Times New Roman'; font-size:11pt\">"
                u"Grupowanie "_s + nr
            + u" obejmuje <b>wyroby i usługi</b> opodatkowane stawką obniżoną; <i>zażółć gęślą jaźń</i>, "
              u"<span style=\"color:#c00000\">PCHNĄĆ W TĘ ŁÓDŹ</span> "
              u"<span style=\"background-color:#ffff00\">stawka 8%</span>, € i Ω — zob. "
              u"<a href=\"#t"_s + nr + u"\"><u><span style=\"color:#0000c0\">pozycja "_s + nr + u"</span></u></a>.</p>\n"_s;
        if (n % 10 == 0) {
            rtf += R"({\pntext\f2\'b7\tab}\pard\fi-360\li720\f0\fs20 towary z za\'b3\'b9cznika nr 3\par)" "\r\n"
                   R"({\pntext\f2\'b7\tab}us\'b3ugi budowlane\par)" "\r\n";
            page += u"<ul style=\"font-family:Arial; font-size:10pt\"><li>towary z załącznika nr 3</li>"
                    u"<li>usługi budowlane</li></ul>\n"_s;
        }
        if (n % 25 == 0) {
            rtf += R"(\trowd\trgaph70\clbrdrt\brdrs\clbrdrb\brdrs\cellx1500\clbrdrt\brdrs\clbrdrb\brdrs\cellx6000)"
                   R"(\clbrdrt\brdrs\clbrdrb\brdrs\cellx7500)" "\r\n";
            page += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n"_s;
            for (int row = 0; row < 4; ++row) {
                rtf += QByteArray(R"(\pard\intbl 01.11.)") + QByteArray::number(row)
                    + R"(\cell Zbo\'bfa, z wyj\'b9tkiem ry\'bfu\cell 5%\cell\row)" "\r\n";
                page += u"<tr><td width=\"100\">01.11."_s + QString::number(row)
                    + u"</td><td width=\"300\">Zboża, z wyjątkiem ryżu</td><td width=\"100\">5%</td></tr>\n"_s;
            }
            rtf += "\\pard\r\n";
            page += u"</table>\n"_s;
        }
    }
    rtf += "}\r\n";
    page += u"</body></html>\n"_s;
    if (html)
        *html = page;
    return rtf;
}

QByteArray RtfBenchDocument::deeplyNested(int depth)
{
    return QByteArray(R"({\rtf1 )") + QByteArray(depth, '{') + "g\\'b3\\'eaboko" + QByteArray(depth, '}') + "}";
}
