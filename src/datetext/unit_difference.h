// Reading and writing a unit difference: "1y2m3d", "3m", "-1y", "2w", "1 year 2 months",
// German "1J2M3T", "3 Monate".
//
// The text (blanks around it ignored, letters case-blind) is an optional sign directly
// before the first number, then one or more parts, each digits, optional blanks and a unit,
// the units in the order years, months, weeks, days and each at most once. Parts may be
// separated by blanks and one comma ("1 year, 2 months"), or follow each other directly
// ("1y2m"). Units: the English letters y, m, w, d always; in English also year(s),
// month(s), mo, week(s), day(s); in German J, M, W, T and Jahr(e), Monat(e), Woche(n),
// Tag(e); in French A, M, S, J and an(s), mois, semaine(s), jour(s). A plain number is not a
// unit difference: it stays the day count it always was.
#pragma once

#include <QString>

#include "calendar/calendar_units.h"
#include "datetext/date_parse.h"  // ParseOutcome

namespace daybridge {

struct UnitDifferenceParse {
    ParseOutcome outcome = ParseOutcome::Invalid;  // OutOfRange: a part beyond its kMaxUnit... size
    UnitDifference difference;
};

// The unit words are those of the language.
UnitDifferenceParse ParseUnitDifference(const QString& text, Language language);

// The parts as typed, without the sign, in the language's unit words, joined as the
// breakdown's parts are: "1 year, 2 months, 3 days"; German "1 Jahr, 2 Monate, 3 Tage";
// French "1 an, 2 mois, 3 jours".
// A difference with no typed part shows its non-zero parts, or "0 days".
QString UnitDifferenceText(const UnitDifference& difference, Language language);

}  // namespace daybridge
