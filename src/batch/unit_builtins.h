// The batch language's calendar-unit built-ins:
//   ADDMONTHS(x, n, cal)     the day x plus n months in calendar cal (n may be negative)
//   ADDYEARS(x, n, cal)      the day x plus n years
//   MONTHSBETWEEN(a, b, cal) the whole months from a to b (negative when b is before a)
// with the end-of-month rule of calendar/calendar_units.h. x, a and b are read as any operand
// (a variable, TODAY, RESULT or a number), n as a number; cal is a calendar code.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

#include "batch/expressions.h"

namespace daybridge::batch {

enum class UnitBuiltin { AddMonths, AddYears, MonthsBetween };

// The unit built-in an upper-case expression begins with (name and "("), if any; the length
// of that prefix in `prefixLength`.
std::optional<UnitBuiltin> RecognizeUnitBuiltin(QStringView upper, qsizetype& prefixLength);

// `args`: the three arguments, trimmed and upper case. Clears ok for a missing or unknown
// calendar (setting context.calendarArgumentMissing when it is empty), an operand that cannot
// be read, a day beyond JDN +-2,100,000,000 or a result out of range.
std::int32_t EvaluateUnitBuiltin(UnitBuiltin function, const std::array<QString, 4>& args,
                                 ExpressionContext& context, bool& ok);

}  // namespace daybridge::batch
