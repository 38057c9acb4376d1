// Every text of the interface in a language, whatever keeps it: the caption table, the compute
// engine's messages, the numbered texts of the text data file, the day and month names.
// Callers ask here and need not know where a text lives. (The unit words of a typed unit
// difference belong to its reader and writer, datetext/unit_difference.h.)
#pragma once

#include <QString>

#include "app/captions.h"
#include "calendar/names.h"
#include "text/language.h"
#include "text/numbered_text.h"

namespace daybridge {

inline QString Text(Language language, Caption caption) {
    return CaptionText(caption, language);
}
inline QString Text(Language language, ComputeMessageRow row) {
    return ComputeMessage(row, language);
}
// A numbered text of the text data file; empty when the file has none of that number.
inline QString Text(Language language, int textId) {
    return GetText(textId, language);
}
// Day 0 = Sunday .. 6 = Saturday; CE month 1..12.
inline QString DayNameText(Language language, int day) {
    return DayNameIn(day, language);
}
inline QString MonthNameText(Language language, int month) {
    return MonthNameIn(month, language);
}

}  // namespace daybridge
