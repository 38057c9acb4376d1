#include "calendar/week_fiscal_rules.h"

#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>

namespace daybridge {
namespace {

using jdcore::FiscalYearName;
using jdcore::PeriodPattern;
using jdcore::Weekday;
using jdcore::WeekOne;
using jdcore::YearEnd;

// The rules are packed into one word each, so that a conversion reads a whole rule at once.
std::uint32_t Pack(jdcore::WeekRule r) {
    return static_cast<std::uint32_t>(r.firstDay) | static_cast<std::uint32_t>(r.weekOne) << 4;
}
jdcore::WeekRule UnpackWeekRule(std::uint32_t v) {
    return {static_cast<Weekday>(v & 15), static_cast<WeekOne>(v >> 4 & 15)};
}
std::uint32_t Pack(jdcore::MonthFiscalRule r) {
    return static_cast<std::uint32_t>(r.firstMonth) | static_cast<std::uint32_t>(r.naming) << 4;
}
jdcore::MonthFiscalRule UnpackMonthRule(std::uint32_t v) {
    return {static_cast<int>(v & 15), static_cast<FiscalYearName>(v >> 4 & 1)};
}
std::uint32_t Pack(const jdcore::WeekFiscalRule& r) {
    return static_cast<std::uint32_t>(r.endMonth) | static_cast<std::uint32_t>(r.endWeekday) << 4 |
           static_cast<std::uint32_t>(r.yearEnd) << 8 |
           static_cast<std::uint32_t>(r.pattern) << 10 |
           static_cast<std::uint32_t>(r.extraWeekPeriod) << 12 |
           static_cast<std::uint32_t>(r.naming) << 16;
}
jdcore::WeekFiscalRule UnpackWeekFiscalRule(std::uint32_t v) {
    return {static_cast<int>(v & 15),         static_cast<Weekday>(v >> 4 & 15),
            static_cast<YearEnd>(v >> 8 & 3), static_cast<PeriodPattern>(v >> 10 & 3),
            static_cast<int>(v >> 12 & 15),   static_cast<FiscalYearName>(v >> 16 & 1)};
}

std::atomic<std::uint32_t> weekRule{Pack(jdcore::kIsoWeeks)};
std::atomic<std::uint32_t> monthFiscalRule{Pack(kDefaultMonthFiscalRule)};
std::atomic<std::uint32_t> weekFiscalRule{Pack(jdcore::kRetail454)};

constexpr std::array<const char*, 7> kDayWords = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};
constexpr std::array<const char*, 12> kMonthWords = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array<const char*, 4> kWeekOneWords = {"JAN1", "4DAYS", "FULL", "CALENDAR"};
constexpr std::array<const char*, 3> kPatternWords = {"445", "454", "544"};
constexpr std::array<const char*, 2> kYearEndWords = {"LAST", "NEAREST"};
constexpr std::array<const char*, 2> kNamingWords = {"END", "START"};

// The place (0 first) of a word in a list, case-blind.
template <std::size_t N>
std::optional<int> WordIn(const std::array<const char*, N>& words, QStringView word) {
    for (std::size_t i = 0; i < N; ++i) {
        if (word.compare(QLatin1String(words[i]), Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

// A month by its three letters or its number 1..12.
std::optional<int> MonthOfWord(QStringView word) {
    if (const std::optional<int> month = WordIn(kMonthWords, word)) {
        return *month + 1;
    }
    bool number = false;
    const int month = word.size() <= 2 ? word.toInt(&number) : 0;
    return number && month >= 1 && month <= 12 ? std::optional(month) : std::nullopt;
}

std::optional<FiscalYearName> NamingOfWord(QStringView word) {
    const std::optional<int> naming = WordIn(kNamingWords, word);
    return naming ? std::optional(static_cast<FiscalYearName>(*naming)) : std::nullopt;
}

QString Joined(std::initializer_list<QString> parts) {
    return QStringList(parts).join(u'/');
}

}  // namespace

jdcore::WeekRule WeekDateRule() {
    return UnpackWeekRule(weekRule.load(std::memory_order_relaxed));
}
void SetWeekDateRule(jdcore::WeekRule rule) {
    weekRule.store(Pack(rule), std::memory_order_relaxed);
}

std::optional<jdcore::WeekRule> WeekRuleOfText(QStringView text) {
    const QString t = text.trimmed().toString().toUpper();
    if (t == u"ISO") {
        return jdcore::kIsoWeeks;
    }
    if (t == u"US") {
        return jdcore::kUsWeeks;
    }
    if (t == u"MIDEAST") {
        return jdcore::kMiddleEastWeeks;
    }
    const QStringList parts = t.split(u'/');
    if (parts.size() == 1) {
        bool number = false;
        const int type = t.size() <= 2 ? t.toInt(&number) : 0;
        return number ? jdcore::WeekNumReturnType(type) : std::nullopt;
    }
    if (parts.size() != 2) {
        return std::nullopt;
    }
    const std::optional<int> day = WordIn(kDayWords, parts[0]);
    const std::optional<int> weekOne = WordIn(kWeekOneWords, parts[1]);
    if (!day || !weekOne) {
        return std::nullopt;
    }
    return jdcore::WeekRule{static_cast<Weekday>(*day + 1), static_cast<WeekOne>(*weekOne)};
}

QString WeekRuleText(jdcore::WeekRule rule) {
    if (rule == jdcore::kIsoWeeks) {
        return QStringLiteral("ISO");
    }
    if (rule == jdcore::kUsWeeks) {
        return QStringLiteral("US");
    }
    if (rule == jdcore::kMiddleEastWeeks) {
        return QStringLiteral("MIDEAST");
    }
    return Joined({QLatin1String(kDayWords[static_cast<std::size_t>(rule.firstDay) - 1]),
                   QLatin1String(kWeekOneWords[static_cast<std::size_t>(rule.weekOne)])});
}

jdcore::MonthFiscalRule MonthFiscalYearRule() {
    return UnpackMonthRule(monthFiscalRule.load(std::memory_order_relaxed));
}
void SetMonthFiscalYearRule(jdcore::MonthFiscalRule rule) {
    monthFiscalRule.store(Pack(rule), std::memory_order_relaxed);
}

std::optional<jdcore::MonthFiscalRule> MonthFiscalRuleOfText(QStringView text) {
    const QStringList parts = text.trimmed().toString().split(u'/');
    if (parts.size() > 2) {
        return std::nullopt;
    }
    const std::optional<int> month = MonthOfWord(parts[0]);
    const std::optional<FiscalYearName> naming =
        parts.size() == 2 ? NamingOfWord(parts[1]) : FiscalYearName::ByEndYear;
    if (!month || !naming) {
        return std::nullopt;
    }
    return jdcore::MonthFiscalRule{*month, *naming};
}

QString MonthFiscalRuleText(jdcore::MonthFiscalRule rule) {
    return Joined({QLatin1String(kMonthWords[static_cast<std::size_t>(rule.firstMonth) - 1]),
                   QLatin1String(kNamingWords[static_cast<std::size_t>(rule.naming)])});
}

jdcore::WeekFiscalRule WeekFiscalYearRule() {
    return UnpackWeekFiscalRule(weekFiscalRule.load(std::memory_order_relaxed));
}
void SetWeekFiscalYearRule(jdcore::WeekFiscalRule rule) {
    weekFiscalRule.store(Pack(rule), std::memory_order_relaxed);
}

std::optional<jdcore::WeekFiscalRule> WeekFiscalRuleOfText(QStringView text) {
    const QString t = text.trimmed().toString();
    if (t.compare(u"RETAIL", Qt::CaseInsensitive) == 0) {
        return jdcore::kRetail454;
    }
    const QStringList parts = t.split(u'/');
    if (parts.size() < 4 || parts.size() > 6) {
        return std::nullopt;
    }
    const std::optional<int> yearEnd = WordIn(kYearEndWords, parts[0]);
    const std::optional<int> day = WordIn(kDayWords, parts[1]);
    const std::optional<int> month = MonthOfWord(parts[2]);
    const std::optional<int> pattern = WordIn(kPatternWords, parts[3]);
    bool number = true;
    const int extraWeek = parts.size() > 4 ? parts[4].toInt(&number) : 12;
    const std::optional<FiscalYearName> naming =
        parts.size() > 5 ? NamingOfWord(parts[5]) : FiscalYearName::ByEndYear;
    if (!yearEnd || !day || !month || !pattern || !number || extraWeek < 1 || extraWeek > 12 ||
        !naming) {
        return std::nullopt;
    }
    return jdcore::WeekFiscalRule{*month,
                                  static_cast<Weekday>(*day + 1),
                                  static_cast<YearEnd>(*yearEnd),
                                  static_cast<PeriodPattern>(*pattern),
                                  extraWeek,
                                  *naming};
}

QString WeekFiscalRuleText(const jdcore::WeekFiscalRule& rule) {
    if (rule == jdcore::kRetail454) {
        return QStringLiteral("RETAIL");
    }
    return Joined({QLatin1String(kYearEndWords[static_cast<std::size_t>(rule.yearEnd)]),
                   QLatin1String(kDayWords[static_cast<std::size_t>(rule.endWeekday) - 1]),
                   QLatin1String(kMonthWords[static_cast<std::size_t>(rule.endMonth) - 1]),
                   QLatin1String(kPatternWords[static_cast<std::size_t>(rule.pattern)]),
                   QString::number(rule.extraWeekPeriod),
                   QLatin1String(kNamingWords[static_cast<std::size_t>(rule.naming)])});
}

}  // namespace daybridge
