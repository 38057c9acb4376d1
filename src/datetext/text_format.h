// The settings that decide how dates and numbers are read and written.
#pragma once

#include <QLocale>
#include <QString>

#include "calendar/calendar_table.h"

namespace daybridge {

// The system's regional number format. Under the C (POSIX) locale Qt still groups with ",";
// the C locale means no grouping, which QLocale::c() gives.
inline QLocale SystemRegionalLocale() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? QLocale::c() : system;
}

struct TextFormat {
    int dateFormat = kDateFormatYMD;  // kDateFormatMDY, kDateFormatDMY or kDateFormatYMD
    QString dateSeparator = QStringLiteral("-");       // "-", "/" or "."
    QString thousandsSeparator = QStringLiteral(",");  // ",", "." or empty
    bool hyphen = true;                                // hyphens in ordinal and ISO week dates
    // The regional number format, which groups large LPW/LPM years and the batch language's
    // "system" numbers. Tests set it; the program uses the system's.
    QLocale regional = SystemRegionalLocale();

    bool operator==(const TextFormat&) const = default;
};

}  // namespace daybridge
