// The switch day of the historical Christian calendar (HIS): Julian before it, Gregorian from
// it. One setting for the whole program, as the interface language is: the window, a batch
// run and the runner's options all set it, and every HIS date is read and written by it.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace daybridge {

// The first Gregorian day (a JDN); 15 October 1582 until set.
std::int64_t GregorianSwitchJdn();
// A switch from 1 March 200 (before it, Julian and Gregorian dates would repeat days) to the
// last day of year 9999; nothing is changed for another day.
bool SetGregorianSwitchJdn(std::int64_t jdn);

// The switch a text names: "1752-09-14", a CE date of the range above, or "ROME" (1582-10-15)
// and "BRITAIN" (1752-09-14), case-blind.
std::optional<std::int64_t> GregorianSwitchOfText(QStringView text);
// The switch as "YYYY-MM-DD", as GregorianSwitchOfText reads it.
QString GregorianSwitchText(std::int64_t jdn);

}  // namespace daybridge
