// AppendIsoWeek writes after what is already there, the same text as FormatIsoWeek.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "datetext/date_format.h"
#include "support/qstring_printer.h"

namespace daybridge {
namespace {

TEST(AppendIsoWeek, AppendsFormatIsoWeeksTextAfterThePrefix) {
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
    struct Case {
        IsoWeekRecord record;
        bool hyphen;
        const char* expected;
    };
    const Case cases[] = {
        {{2009, 53, 7, 0, 1}, false, "2009W537"},
        {{2012, 5, 3, 0, 1}, true, "2012-W05-3"},
        {{-44, 52, 7, 0, 1}, true, "-44-W52-7"},
        {{0, 1, 1, 0, 1}, false, "0W011"},
        {{7, 10, 1, 0, 1}, true, "7-W10-1"},
        {{kLowest, 1, 1, 0, 1}, false, "-2147483648W011"},
        {{kHighest, 99, 10, 0, 1}, true, "2147483647-W99-10"},
        {{5, -3, -2, 0, 1}, false, "5W-03-2"},
    };
    for (const Case& c : cases) {
        QString text = QStringLiteral("x ");
        AppendIsoWeek(text, c.record, c.hyphen);
        EXPECT_EQ(text, QStringLiteral("x ") + QString::fromLatin1(c.expected)) << c.expected;
        EXPECT_EQ(FormatIsoWeek(c.record, c.hyphen), QString::fromLatin1(c.expected));
    }
}

}  // namespace
}  // namespace daybridge
