// Japanese eras, Minguo and Buddhist years over the Gregorian day count (see civil_eras.h).
#include "jdcore/civil_eras.h"

#include <array>

namespace jdcore {

namespace {

// The eras' names with their first days and years (japanese_detail in the header).
constexpr JapaneseEraInfo EraInfo(std::size_t i, std::string_view name) {
    return {name, japanese_detail::kFirstJdn[i], i == 0 ? 0 : japanese_detail::kYearBefore[i] + 1};
}
inline constexpr std::array<JapaneseEraInfo, 6> kEras = {EraInfo(0, ""),       EraInfo(1, "Meiji"),
                                                         EraInfo(2, "Taisho"), EraInfo(3, "Showa"),
                                                         EraInfo(4, "Heisei"), EraInfo(5, "Reiwa")};

constexpr std::size_t Index(JapaneseEra era) {
    return static_cast<std::size_t>(era);
}

DateCheck CheckGregorian(std::int64_t year, int month, int day) {
    if (month < 1 || month > 12) {
        return {DateProblem::MonthOutOfRange, 12};
    }
    const int days = month_length(month, gregorian_leap(year));
    if (day < 1 || day > days) {
        return {DateProblem::DayOutOfRange, days};
    }
    return {};
}

using japanese_detail::kMaxYear;

}  // namespace

JapaneseEraInfo JapaneseEraOf(JapaneseEra era) {
    return kEras[Index(era)];
}

std::int64_t JapaneseEraLastYear(JapaneseEra era) {
    if (era == JapaneseEra::Reiwa) {
        return 0;
    }
    if (era == JapaneseEra::None) {
        return 1868;
    }
    const JapaneseEraInfo& next = kEras[Index(era) + 1];
    return gregorian_from_jdn(next.firstJdn - 1).year - kEras[Index(era)].gregorianYear + 1;
}

DateCheck CheckJapaneseDate(const JapaneseDate& date) {
    if (date.year < -kMaxYear || date.year > kMaxYear) {
        return {DateProblem::OutOfSpan, date.year < 0 ? -kMaxYear : kMaxYear};
    }
    const std::int64_t gregorianYear = date.era == JapaneseEra::None
                                           ? date.year
                                           : date.year + kEras[Index(date.era)].gregorianYear - 1;
    if (const DateCheck check = CheckGregorian(gregorianYear, date.month, date.day); !check.ok()) {
        return check;
    }
    const std::int64_t jdn = jdn_from_gregorian(gregorianYear, date.month, date.day);
    const std::size_t i = Index(date.era);
    const bool before = i > 0 && jdn < kEras[i].firstJdn;
    const bool after = i + 1 < kEras.size() && jdn >= kEras[i + 1].firstJdn;
    if (before || after) {
        return {DateProblem::OutsideEra, JapaneseEraLastYear(date.era)};
    }
    return {};
}

DateCheck CheckShiftedYearDate(std::int64_t offset, std::int64_t year, int month, int day) {
    if (year < -kMaxYear || year > kMaxYear) {
        return {DateProblem::OutOfSpan, year < 0 ? -kMaxYear : kMaxYear};
    }
    return CheckGregorian(year + offset, month, day);
}

}  // namespace jdcore
