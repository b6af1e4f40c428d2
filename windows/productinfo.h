#pragma once

#include <QString>

// Fixed facts about the product and its publisher, kept in one place so the
// about window, the title bar and the web and mail commands agree.
namespace Wexal::ProductInfo {

inline QString programTitle()
{
    return QStringLiteral("Wexal ze stawkami vat");
}

inline QString versionText()
{
    return QStringLiteral("wersja 1.2 (001), grudzień 2010");
}

// Two lines: who prepared the classification content, who wrote the program.
inline QString authorText()
{
    return QStringLiteral("Opracowanie merytoryczne: Halina Wierzbicka-Kolasa\r\n"
                          "Oprogramowanie: Tomasz Rydlewski");
}

inline QString producerText()
{
    return QStringLiteral("Wydawnictwo ZELT Sp. z o.o., Poznań");
}

// The home page of the publisher's site, with no path.
inline QString publisherWebAddress()
{
    return QStringLiteral("https://www.wydawnictwo-zelt.pl");
}

inline QString publisherMailAddress()
{
    return QStringLiteral("biuro@wydawnictwo-zelt.pl");
}

} // namespace Wexal::ProductInfo
