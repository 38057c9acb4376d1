// Holiday sets by name or file: the sets shipped in the data folder's "holidays" folder
// (germany, england-wales, france, united-states, ...) or any rule file (docs/holidays.md).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "workdays/holiday_rules.h"

namespace daybridge {

// Rule files larger than this are refused.
inline constexpr qint64 kMaxHolidayFileBytes = 1 << 20;

// Where a rule file named by a relative path is read from, and the language of the messages.
struct HolidayFileContext {
    Language language = kEnglish;
    QString folder;  // a batch program's folder; empty: the current folder
};

// The folder the shipped sets are read from, for a host that knows it better than the place of
// the running executable (the library, loaded into any program); empty: the data folders.
void SetShippedHolidayFolder(const QString& folder);

// The names of the shipped sets, sorted.
QStringList ShippedHolidaySetNames();

// A shipped set as a list of sets shows it: its name, and the title and region its header
// gives (read from the @name and @region lines only, so listing hundreds of sets stays quick).
struct ShippedSetTitle {
    QString name;     // "germany-bavaria"
    QString english;  // "Germany: Bavaria"; the name when the file has no @name
    QString german;   // "Deutschland: Bayern"; the English title when none is given
    QString region;   // "DE-BY", or empty
};
// Every shipped set, sorted by its title in the language, so that a country's subdivisions
// ("Germany: Bavaria") follow the country ("Germany").
std::vector<ShippedSetTitle> ShippedHolidaySetTitles(Language language);

// The shipped sets a message names, comma-separated: all of them while there are at most
// kMostSetsNamed; of more, the kMostSetsNamed whose names begin most like `wanted`, and "..."
// (nothing without `wanted`).
inline constexpr int kMostSetsNamed = 8;
QString ShippedSetsToName(const QString& wanted);

// A shipped set's name (any case), or a file path (anything with a "/" or a ".txt" ending).
// Nothing, with a one-line explanation in `error`, when the file cannot be read (a missing
// file, a folder, a FIFO, a device, a symbolic link loop, no permission, over 1 MiB), a rule in
// it is faulty (the file's name and the line are given) or the set as a whole is refused.
// FIFOs and devices are never opened, so loading never waits.
std::shared_ptr<const HolidaySet> LoadHolidaySet(const QString& nameOrPath, QString& error,
                                                 const HolidayFileContext& context = {});

// The text of a rule's fault in a language, its details filled in.
QString HolidayFaultText(HolidayFault fault, const QStringList& details, Language language);

// "With these weekend days (...) the holiday set ... leaves no working day at all."
QString NoWorkingDayText(const QString& weekendDays, const QString& setName, Language language);

}  // namespace daybridge
