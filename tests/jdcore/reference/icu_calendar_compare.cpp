// The calendars with tables and eras against ICU, every day of their spans: ICU's chinese,
// dangi, persian, islamic-umalqura, japanese, roc, buddhist calendars and its GregorianCalendar
// with a Julian-to-Gregorian change. Prints the count of days compared and agreeing for each, and
// every run of consecutive disagreeing days. A run is accepted only when it is one of the
// explained disagreements below (docs/calendars.md says who is right and why); any other
// disagreement fails.
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "jdcore/astronomical_rules.h"
#include "jdcore/astronomy.h"
#include "jdcore/civil_eras.h"
#include "jdcore/day_count.h"
#include "jdcore/equinox_calendars.h"
#include "jdcore/historical_calendar.h"
#include "jdcore/lunisolar.h"
#include "jdcore/umm_al_qura.h"
#include "jdcore/umm_al_qura_rules.h"
#include "jdcore/world_calendars.h"

namespace {

using namespace jdcore;
using Fields = std::array<std::int64_t, 4>;  // year, month, day, and a flag (leap month, era)

constexpr std::int64_t kUnixEpochJdn = 2440588;

std::int64_t G(std::int64_t y, int m, int d) {
    return jdn_from_gregorian(y, m, d);
}

std::string Text(std::int64_t jdn) {
    const YearMonthDay d = gregorian_from_jdn(jdn);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d", static_cast<long long>(d.year),
                  d.month, d.day);
    return buffer;
}

class Icu {
  public:
    explicit Icu(const char* calendar) {
        UErrorCode status = U_ZERO_ERROR;
        const std::string locale = std::string("en@calendar=") + calendar;
        calendar_.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                      icu::Locale(locale.c_str()), status));
        ok_ = U_SUCCESS(status);
    }
    bool ok() const { return ok_; }
    icu::Calendar& calendar() { return *calendar_; }
    // The fields of the civil day `jdn` (noon UTC).
    void Set(std::int64_t jdn) {
        UErrorCode status = U_ZERO_ERROR;
        calendar_->setTime(static_cast<UDate>(jdn - kUnixEpochJdn) * 86400000.0 + 43200000.0,
                           status);
    }
    std::int64_t Get(UCalendarDateFields field) {
        UErrorCode status = U_ZERO_ERROR;
        return calendar_->get(field, status);
    }

  private:
    std::unique_ptr<icu::Calendar> calendar_;
    bool ok_ = false;
};

// A disagreement explained in docs/calendars.md: the calendar and the first and last days of
// the run.
struct Explained {
    const char* code;
    std::int64_t first;
    std::int64_t last;
};

int failures = 0;

// Explains a run of disagreeing days (first, last) with a text, or leaves it unexplained ("").
using Explainer = std::function<std::string(std::int64_t, std::int64_t)>;

void Compare(const char* code, std::int64_t first, std::int64_t last,
             const std::vector<Explained>& explained,
             const std::function<Fields(std::int64_t)>& ours,
             const std::function<Fields(std::int64_t)>& theirs, const Explainer& explain = {}) {
    std::int64_t agree = 0;
    std::int64_t runStart = -1;
    Fields runOurs{}, runTheirs{};
    auto close = [&](std::int64_t end) {
        bool known = false;
        for (const Explained& e : explained) {
            known = known || (std::string(e.code) == code && e.first == runStart && e.last == end);
        }
        const std::string why = explain ? explain(runStart, end) : std::string();
        known = known || !why.empty();
        std::printf(
            "  %s %s .. %s (%lld days): ours %lld-%lld-%lld/%lld, ICU %lld-%lld-%lld/%lld%s%s\n",
            known ? "explained" : "UNEXPLAINED", Text(runStart).c_str(), Text(end).c_str(),
            static_cast<long long>(end - runStart + 1), static_cast<long long>(runOurs[0]),
            static_cast<long long>(runOurs[1]), static_cast<long long>(runOurs[2]),
            static_cast<long long>(runOurs[3]), static_cast<long long>(runTheirs[0]),
            static_cast<long long>(runTheirs[1]), static_cast<long long>(runTheirs[2]),
            static_cast<long long>(runTheirs[3]), why.empty() ? "" : "; ", why.c_str());
        failures += known ? 0 : 1;
        runStart = -1;
    };
    std::vector<std::string> lines;
    std::printf("%s: %s .. %s\n", code, Text(first).c_str(), Text(last).c_str());
    for (std::int64_t jdn = first; jdn <= last; ++jdn) {
        const Fields a = ours(jdn);
        const Fields b = theirs(jdn);
        if (a == b) {
            ++agree;
            if (runStart >= 0) {
                close(jdn - 1);
            }
        } else if (runStart < 0) {
            runStart = jdn;
            runOurs = a;
            runTheirs = b;
        }
    }
    if (runStart >= 0) {
        close(last);
    }
    std::printf("%s: %lld days, %lld agree, %lld disagree\n", code,
                static_cast<long long>(last - first + 1), static_cast<long long>(agree),
                static_cast<long long>(last - first + 1 - agree));
}

// The new moon or major solar term nearest to a local midnight around a run of disagreeing
// days. ICU's CalendarAstronomer takes the sun from orbital elements fixed at 1990.0 and the
// moon from a short series, without Delta T: it is good to about ten minutes near 1990 and
// drifts with the distance from it (an hour and more by 1650 or 2200; measured by the runs
// below, 20 minutes and 30 s a year bound it). It also counts Beijing's days in UTC+8 before
// 1929 and Seoul's in its own zones. An event that close to midnight may fall on the other
// day there. A short run is a month starting a day apart (events within two days of its
// ends); a long one a leap month placed elsewhere (events within a month of it).
std::string NearMidnight(rules::LunisolarPlace place, std::int64_t first, std::int64_t last,
                         double zoneMinutes) {
    const double years = std::abs(static_cast<double>(first - G(1990, 1, 1)) / 365.25);
    const double limitMinutes = 20.0 + 0.5 * years + zoneMinutes;
    namespace astro = jdcore::astronomy;
    const std::int64_t margin = last - first > 31 ? 35 : 2;
    const double from = static_cast<double>(first - margin),
                 to = static_cast<double>(last + margin);
    double best = 1e9;
    std::string what;
    auto consider = [&](double moment, const char* kind) {
        const double zone =
            rules::LunisolarZoneHours(place, static_cast<std::int64_t>(moment + 0.5));
        const double local = moment + 0.5 + zone / 24.0;
        const double minutes = (local - std::floor(local + 0.5)) * 1440.0;  // to nearest midnight
        if (std::abs(minutes) < std::abs(best)) {
            best = minutes;
            what = kind;
        }
    };
    for (long k = astro::NewMoonBefore(from); astro::NthNewMoon(k) <= to; ++k) {
        consider(astro::NthNewMoon(k), "new moon");
    }
    for (double t = from; (t = astro::SolarLongitudeAfter(
                               30.0 * std::ceil(astro::SolarLongitude(t) / 30.0), t)) <= to;
         t += 1.0) {
        consider(t, "major term");
    }
    char text[96];
    std::snprintf(text, sizeof text, "%s %.1f min %s local midnight", what.c_str(), std::abs(best),
                  best < 0 ? "before" : "after");
    if (std::abs(best) > limitMinutes) {
        std::printf("  (nearest event: %s)\n", text);
        return "";
    }
    return text;
}

// Umm al-Qura. ICU's table follows the published rules from 1420 to 1450 AH; outside those years
// its months begin a day or two after the published rules' whenever the moon sets less than
// about 20 minutes after the sun at Mecca on the evening before, so before 1420 it is not the
// calendar as printed (1413 AH, docs/calendars.md). Inside them a month a day apart is a knife
// edge: the new moon or the moonset within two minutes of sunset, where the conventions of a
// sunset and the ephemerides decide. Every month of a run (all its days are a day or two
// apart) must be one of these; counts the months of each kind.
std::map<std::string, int> ummAlQuraMonths;

std::string UmmAlQuraWhy(Icu& icu, std::int64_t first, std::int64_t last) {
    std::string why;
    YearMonthDay ours = *UmmAlQuraFromJdn(first);
    // Our month starts in the run: `first`, or the next one when ICU's month began first.
    for (std::int64_t start =
             ours.day == 1 ? first
                           : first + 1 - ours.day + UmmAlQuraDaysInMonth(ours.year, ours.month);
         start <= last; start += UmmAlQuraDaysInMonth(ours.year, ours.month)) {
        ours = *UmmAlQuraFromJdn(start);
        icu.Set(start);
        const std::int64_t icuDay = icu.Get(UCAL_DATE);
        UErrorCode status = U_ZERO_ERROR;
        const std::int64_t icuMonthDays = icu.calendar().getActualMaximum(UCAL_DATE, status);
        // ICU's month begins `later` days after ours (negative: before).
        const std::int64_t later = icuDay == 1    ? 0
                                   : icuDay >= 29 ? icuMonthDays - icuDay + 1
                                                  : 1 - icuDay;
        const rules::MeccaEvening eve = rules::MeccaEveningOf(start - (later > 0 ? 1 : 2));
        const double lag = (eve.moonset - eve.sunset) * 1440;
        const double newMoon = (eve.newMoon - eve.sunset) * 1440;
        const bool ruled = ours.year >= 1420 && ours.year <= 1450;
        std::string kind;
        if (!ruled && later > 0 && lag < 21.0) {
            kind = ours.year < 1420 ? "ICU later, before 1420" : "ICU later, after 1450";
        } else if (ruled && std::abs(later) == 1 &&
                   (std::abs(lag) < 2.0 || std::abs(newMoon) < 2.0)) {
            kind = "knife edge, 1420-1450";
        } else {
            return "";
        }
        ++ummAlQuraMonths[kind];
        char text[128];
        std::snprintf(text, sizeof text,
                      "%s%lld-%02d ICU %+lld: moonset %.1f min, new moon %.1f min after sunset",
                      why.empty() ? "" : "; ", static_cast<long long>(ours.year), ours.month,
                      static_cast<long long>(later), lag, newMoon);
        why += text;
    }
    return why;
}

Fields FromLunisolar(Lunisolar cal, std::int64_t jdn) {
    const LunisolarDate d = *LunisolarFromJdn(cal, jdn);
    return {d.year, d.month, d.day, d.leap ? 1 : 0};
}

// ICU's chinese and dangi calendars count extended years from 2637 BCE and 2333 BCE.
std::function<Fields(std::int64_t)> IcuLunisolar(Icu& icu, std::int64_t epochOffset) {
    return [&icu, epochOffset](std::int64_t jdn) {
        icu.Set(jdn);
        return Fields{icu.Get(UCAL_EXTENDED_YEAR) - epochOffset, icu.Get(UCAL_MONTH) + 1,
                      icu.Get(UCAL_DATE), icu.Get(UCAL_IS_LEAP_MONTH)};
    };
}

std::function<Fields(std::int64_t)> IcuYearMonthDay(Icu& icu, UCalendarDateFields year) {
    return [&icu, year](std::int64_t jdn) {
        icu.Set(jdn);
        return Fields{icu.Get(year), icu.Get(UCAL_MONTH) + 1, icu.Get(UCAL_DATE), 0};
    };
}

Fields Plain(const YearMonthDay& d) {
    return {d.year, d.month, d.day, 0};
}

}  // namespace

int main() {
    Icu chinese("chinese"), dangi("dangi"), persian("persian"), umalqura("islamic-umalqura"),
        japanese("japanese"), roc("roc"), buddhist("buddhist"), gregorian("gregorian");
    if (!chinese.ok() || !dangi.ok() || !persian.ok() || !umalqura.ok() || !japanese.ok() ||
        !roc.ok() || !buddhist.ok() || !gregorian.ok()) {
        std::puts("ICU calendars not available");
        return 1;
    }

    const std::vector<Explained> explained = {
        // ICU starts Meiji on 8 September 1868: the era's lunisolar first day, Meiji 1-9-8,
        // read as a Gregorian date. The era was proclaimed on 23 October 1868 (Gregorian).
        {"JPN", G(1868, 9, 8), G(1868, 10, 22)},
    };

    Compare(
        "CHN", LunisolarFirstJdn(Lunisolar::Chinese), LunisolarLastJdn(Lunisolar::Chinese),
        explained, [](std::int64_t j) { return FromLunisolar(Lunisolar::Chinese, j); },
        IcuLunisolar(chinese, 2637),
        [](std::int64_t a, std::int64_t b) {
            // Before 1929 the day is Beijing's mean time, 14 min 20 s behind ICU's UTC+8.
            return NearMidnight(rules::LunisolarPlace::Beijing, a, b,
                                a < G(1929, 1, 1) ? 15.0 : 0.0);
        });
    Compare(
        "KOR", LunisolarFirstJdn(Lunisolar::Korean), LunisolarLastJdn(Lunisolar::Korean), explained,
        [](std::int64_t j) { return FromLunisolar(Lunisolar::Korean, j); },
        IcuLunisolar(dangi, 2333),
        [](std::int64_t a, std::int64_t b) {
            // ICU's Korean zones before 1961 are not Seoul's historical ones (up to 32 min
            // apart).
            return NearMidnight(rules::LunisolarPlace::Seoul, a, b,
                                a < G(1961, 8, 10) ? 35.0 : 0.0);
        });

    const YearSpan pea = EquinoxYearSpan(EquinoxCalendar::PersianAstronomical);
    const std::int64_t peaFirst =
        *EquinoxToJdn(EquinoxCalendar::PersianAstronomical, pea.first, 1, 1);
    const std::int64_t peaLast =
        *EquinoxToJdn(EquinoxCalendar::PersianAstronomical, pea.last, 12, 1) + 28;
    Compare(
        "PEA", peaFirst, peaLast, explained,
        [](std::int64_t j) {
            return Plain(*EquinoxFromJdn(EquinoxCalendar::PersianAstronomical, j));
        },
        IcuYearMonthDay(persian, UCAL_EXTENDED_YEAR),
        [&persian](std::int64_t a, std::int64_t b) {
            // ICU's persian calendar is the 33-year arithmetic one: our PER agrees with it
            // on every day of the run, so the difference is the rule's.
            for (std::int64_t j = a; j <= b; ++j) {
                if (Plain(FromJdn(WorldCalendar::Persian, j)) !=
                    IcuYearMonthDay(persian, UCAL_EXTENDED_YEAR)(j)) {
                    return std::string();
                }
            }
            return std::string("the 33-year rule of ICU (and PER) differs from the equinox");
        });
    Compare(
        "PER", peaFirst, peaLast, explained,
        [](std::int64_t j) { return Plain(FromJdn(WorldCalendar::Persian, j)); },
        IcuYearMonthDay(persian, UCAL_EXTENDED_YEAR));

    Compare(
        "UQ", UmmAlQuraFirstJdn(), UmmAlQuraLastJdn(), explained,
        [](std::int64_t j) { return Plain(*UmmAlQuraFromJdn(j)); },
        IcuYearMonthDay(umalqura, UCAL_EXTENDED_YEAR),
        [&umalqura](std::int64_t a, std::int64_t b) { return UmmAlQuraWhy(umalqura, a, b); });
    for (const auto& [kind, months] : ummAlQuraMonths) {
        std::printf("UQ: %d months a day or two apart: %s\n", months, kind.c_str());
    }

    Compare(
        "JPN", G(1868, 1, 1), G(2200, 12, 31), explained,
        [](std::int64_t j) {
            const JapaneseDate d = JapaneseFromJdn(j);
            // ICU's era numbers: Meiji is 232.
            return Fields{d.year, d.month, d.day,
                          d.era == JapaneseEra::None ? 0 : 231 + static_cast<int>(d.era)};
        },
        [&japanese](std::int64_t j) {
            japanese.Set(j);
            const std::int64_t era = japanese.Get(UCAL_ERA);
            return Fields{era < 232 ? japanese.Get(UCAL_EXTENDED_YEAR) : japanese.Get(UCAL_YEAR),
                          japanese.Get(UCAL_MONTH) + 1, japanese.Get(UCAL_DATE),
                          era < 232 ? 0 : era};
        });
    Compare(
        "ROC", G(1600, 1, 1), G(2400, 12, 31), explained,
        [](std::int64_t j) { return Plain(ShiftedYearFromJdn(kMinguoOffset, j)); },
        [&roc](std::int64_t j) {
            roc.Set(j);
            const std::int64_t year = roc.Get(UCAL_YEAR);
            return Fields{roc.Get(UCAL_ERA) == 1 ? year : 1 - year, roc.Get(UCAL_MONTH) + 1,
                          roc.Get(UCAL_DATE), 0};
        });
    Compare(
        "BUD", G(1600, 1, 1), G(2400, 12, 31), explained,
        [](std::int64_t j) { return Plain(ShiftedYearFromJdn(kBuddhistOffset, j)); },
        IcuYearMonthDay(buddhist, UCAL_YEAR));

    // ICU's default GregorianCalendar switches on 15 October 1582.
    Compare(
        "HIS", G(-1000, 1, 1), G(3000, 12, 31), explained,
        [](std::int64_t j) { return Plain(HistoricalFromJdn(j)); },
        IcuYearMonthDay(gregorian, UCAL_EXTENDED_YEAR));
    // A British switch. ICU 72's setGregorianChange stores the switch as days since 1970
    // where its conversions compare Julian days, so after it every day comes out Gregorian (the
    // days before the switch too, in both directions). A switch beyond the last day makes it
    // Julian throughout instead; the reference is that instance before the British switch and
    // the Gregorian one from it.
    Icu julian("gregorian");
    UErrorCode status = U_ZERO_ERROR;
    dynamic_cast<icu::GregorianCalendar&>(julian.calendar())
        .setGregorianChange(2147483647.0 * 86400000.0, status);
    dynamic_cast<icu::GregorianCalendar&>(gregorian.calendar())
        .setGregorianChange(static_cast<UDate>(kBritishReform - kUnixEpochJdn) * 86400000.0,
                            status);
    Compare(
        "HIS-GB", G(-1000, 1, 1), G(3000, 12, 31), explained,
        [](std::int64_t j) { return Plain(HistoricalFromJdn(j, kBritishReform)); },
        [&julian, &gregorian](std::int64_t j) {
            return IcuYearMonthDay(j < kBritishReform ? julian : gregorian, UCAL_EXTENDED_YEAR)(j);
        });
    std::printf("%d unexplained disagreement%s\n", failures, failures == 1 ? "" : "s");
    return failures == 0 ? 0 : 1;
}
