#include "windows/printdialogtexts.h"

#include <QByteArrayView>

using namespace Qt::StringLiterals;

namespace {

struct Text {
    const char *context;
    const char *source;
    const char16_t *polish;
};

constexpr Text kTexts[] = {
    {"QPrintSettingsOutput", "Pages", u"Strony"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
     "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     u"Podaj strony lub zakresy rozdzielone przecinkami. Zakres to dwie liczby rozdzielone łącznikiem. "
     u"Np. 3,5-7,9 drukuje strony 3, 5, 6, 7 i 9."},
    {"QPrintSettingsOutput", "Double Sided Printing", u"Drukowanie dwustronne"},
    {"QPrintSettingsOutput", "Off", u"Wyłączone"},
    {"QPrintSettingsOutput", "Long side binding", u"Oprawa wzdłuż dłuższej krawędzi"},
    {"QPrintSettingsOutput", "Short side binding", u"Oprawa wzdłuż krótszej krawędzi"},
    {"QPrintPropertiesWidget", "Advanced", u"Zaawansowane"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
     u"Niektóre opcje wykluczają się. Popraw je."},
    {"QPrintDialog", "Invalid Pages Definition", u"Błędny wybór stron"},
    {"QPrintDialog",
     "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define ranges "
     "and make sure ranges do not intersect with each other.",
     u"%1 nie ma poprawnej postaci. Rozdziel strony i zakresy przecinkami (,), zakres zapisz z łącznikiem (-) "
     u"i dopilnuj, by zakresy na siebie nie zachodziły."},
    {"QPrintDialog", "Advanced Option Conflicts", u"Wykluczające się opcje zaawansowane"},
    {"QPrintDialog", "There are conflicts in some advanced options. Do you want to fix them?",
     u"Niektóre opcje zaawansowane wykluczają się. Czy chcesz je poprawić?"},
    {"QPrintDialog", "Duplex Settings Conflicts", u"Wykluczające się ustawienia druku dwustronnego"},
    {"QPrintDialog", "There are conflicts in duplex settings. Do you want to fix them?",
     u"Ustawienia druku dwustronnego wykluczają się. Czy chcesz je poprawić?"},
    {"QPrintDialog", "Page Setup Conflicts", u"Wykluczające się ustawienia strony"},
    {"QPrintDialog", "There are conflicts in page setup options. Do you want to fix them?",
     u"Ustawienia strony wykluczają się. Czy chcesz je poprawić?"},
    {"Print Device Input Slot", "Automatic", u"Automatycznie"},
    {"Print Device Output Bin", "Automatic", u"Automatycznie"},
    // Page sizes: the formats keep their names, the words and inches turn Polish.
    {"QPageSize", "%1 x %2 in", u"%1 × %2 cali"},
    {"QPageSize", "Executive (7.5 x 10 in)", u"Executive (7,5 × 10 cali)"},
    {"QPageSize", "Executive (7.25 x 10.5 in)", u"Executive (7,25 × 10,5 cala)"},
    {"QPageSize", "Folio (8.27 x 13 in)", u"Folio (8,27 × 13 cali)"},
    {"QPageSize", "Fan-fold US (14.875 x 11 in)", u"Składanka US (14,875 × 11 cali)"},
    {"QPageSize", "Fan-fold German (8.5 x 12 in)", u"Składanka niemiecka (8,5 × 12 cali)"},
    {"QPageSize", "Fan-fold German Legal (8.5 x 13 in)", u"Składanka niemiecka Legal (8,5 × 13 cali)"},
    {"QPageSize", "A4 Small", u"A4 mały"},
    {"QPageSize", "Letter Small", u"Letter mały"},
    {"QPageSize", "PRC 32K Big", u"PRC 32K duży"},
    {"QPageSize", "Note", u"Notatka"},
    {"QPageSize", "Statement", u"Pół Letter"},
    {"QPageSize", "Postcard", u"Pocztówka"},
    {"QPageSize", "Double Postcard", u"Podwójna pocztówka"},
    {"QPageSize", "Envelope Invite", u"Koperta zaproszeniowa"},
    {"QPageSize", "Envelope Italian", u"Koperta włoska"},
    {"QPageSize", "Envelope Personal", u"Koperta osobista"},
};

} // namespace

QString PrintDialogTexts::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (!context || !sourceText)
        return {};
    const QByteArrayView ctx(context);
    const QByteArrayView source(sourceText);
    for (const Text &text : kTexts) {
        if (ctx == text.context && source == text.source)
            return QString::fromUtf16(text.polish);
    }
    if (ctx != "QPageSize")
        return {};
    // "Envelope C5" and the like; "Architect A" to "E".
    for (const auto &[english, polish] : {std::pair{"Envelope ", u"Koperta "_s}, std::pair{"Architect ", u"Architektoniczny "_s}}) {
        if (source.startsWith(english))
            return polish + QString::fromLatin1(source.sliced(qstrlen(english)));
    }
    return {};
}
