// Holiday sets by name or file: the sets shipped in the data folder's "holidays" folder
// (germany, england-wales, france, united-states, ...) or any rule file (docs/holidays.md).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "workdays/holiday_rules.h"

namespace daybridge {

// The names of the shipped sets, sorted.
QStringList ShippedHolidaySetNames();

// A shipped set's name (any case), or a file path (anything with a "/" or a ".txt" ending).
// Nothing, with a one-line explanation in `error`, when the file cannot be read or a rule in it
// is faulty (the file's name and the line are given).
std::shared_ptr<const HolidaySet> LoadHolidaySet(const QString& nameOrPath, QString& error);

}  // namespace daybridge
