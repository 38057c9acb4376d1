// Every JDN written in a calendar's canonical form reads back as the same JDN, under every
// date order, date separator, thousands separator and hyphen setting, also as the output writes
// it: followed by the calendar's code and a day name in either language.
#include <gtest/gtest.h>

#include "support/qstring_printer.h"

#include <random>
#include <vector>

#include "app/captions.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"

namespace daybridge {
namespace {

constexpr int kRandomPerCombination = 1000;

std::vector<std::int32_t> SampleJdns(int calendar, std::uint32_t seed) {
    const bool ordinal = calendar == kORD;
    const std::int32_t limit = kMaxDayNumber;
    const std::int32_t low = ordinal ? kMinOrdinalJDN : -limit;
    const std::int32_t high = ordinal ? kMaxOrdinalJDN : limit;
    std::vector<std::int32_t> jdns = {low, low + 1, high - 1, high};
    if (!ordinal) {
        // Around year 0 and 1 CE, the leap week epoch, 4-digit/5-digit year changes.
        for (std::int32_t jdn : {-1, 0, 1, 1721057, 1721058, 1721418, 1721419, 1721425, 1721426,
                                 -1931245, -1931244, 5373484, 5373485, 1948439, 5373120}) {
            jdns.push_back(jdn);
        }
    }
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> pick(low, high);
    for (int i = 0; i < kRandomPerCombination; ++i) {
        jdns.push_back(pick(random));
    }
    return jdns;
}

class RoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(RoundTrip, ParseOfFormatGivesTheJdn) {
    const int calendar = GetParam();
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::Swedish, QLocale::Sweden)};
    int failures = 0;
    std::uint32_t seed = 20121231u + static_cast<std::uint32_t>(calendar);
    int combination = 0;
    for (int dateFormat : {kDateFormatMDY, kDateFormatDMY, kDateFormatYMD}) {
        for (const char* separator : {"-", "/", "."}) {
            for (const char* thousands : {",", ".", ""}) {
                for (bool hyphen : {true, false}) {
                    TextFormat format;
                    format.dateFormat = dateFormat;
                    format.dateSeparator = QString::fromLatin1(separator);
                    format.thousandsSeparator = QString::fromLatin1(thousands);
                    format.hyphen = hyphen;
                    format.regional = locales[combination++ % std::size(locales)];
                    for (std::int32_t jdn : SampleJdns(calendar, seed++)) {
                        // As written into the field, as the output writes it (with the code, with
                        // or without the day name) and pasted with blanks around it.
                        const QString date = CanonicalDateText(calendar, jdn, format);
                        const QString coded = date + u' ' + CalendarCode(calendar);
                        const QString named =
                            coded + QStringLiteral(", ") +
                            DayNameIn(DayOfWeek(jdn), jdn % 2 == 0 ? kEnglish : kGerman);
                        const QString pasted = QStringLiteral(" ") + named + u'\t';
                        const QString& text = jdn % 3 == 0   ? date
                                              : jdn % 3 == 1 ? coded
                                                             : (jdn % 5 == 0 ? pasted : named);
                        const ParseResult back = ParseDateInCalendar(calendar, text, format);
                        if (back.outcome != kParseValid || back.jdn != jdn) {
                            ADD_FAILURE()
                                << CalendarCode(calendar).toStdString() << " jdn " << jdn
                                << " written '" << text.toStdString() << "' read outcome "
                                << back.outcome << " jdn " << back.jdn << " (format " << dateFormat
                                << ", separator '" << separator << "', thousands '" << thousands
                                << "', hyphen " << hyphen << ")";
                            if (++failures >= 10) {
                                return;
                            }
                        }
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCalendar, RoundTrip,
                         ::testing::Values(kCE, kJC, kAN, kVLW, kJDN, kORD, kISO, kLPW, kLPM, kHEB,
                                           kISL, kPER, kCOP, kETH, kFRR, kIND, kMAY, kMJD),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return CalendarCode(info.param).toStdString();
                         });

}  // namespace
}  // namespace daybridge
