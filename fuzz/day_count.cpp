// Reads arbitrary text as a day count and as a JDN. A number that reads must stay in range and
// read back from its written form, with every thousands separator.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "fuzz_support.h"

using namespace daybridge;
using fuzz::Check;

namespace {

const QString kThousands[] = {QStringLiteral(","), QStringLiteral("."), QString()};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 4096) {
        return 0;
    }
    const QString& typedSeparator = kThousands[data[0] % 3];
    const QString text = fuzz::Text(data + 1, size - 1);

    const ParseResult count = ParseDayCount(text, typedSeparator);
    Check(count.outcome >= -1 && count.outcome <= 1);
    if (count.outcome == kParseValid) {
        Check(count.jdn >= kMinDayNumber && count.jdn <= kMaxDayNumber);
        for (const QString& thousands : kThousands) {
            const ParseResult back =
                ParseDayCount(FormatDayNumber(count.jdn, thousands), thousands);
            Check(back.outcome == kParseValid && back.jdn == count.jdn);
        }
    }

    for (const ParseResult& jdn : {ParseJdnText(text), ParseJdnText(text, typedSeparator)}) {
        Check(jdn.outcome >= -1 && jdn.outcome <= 1);
        if (jdn.outcome != kParseValid) {
            continue;
        }
        Check(jdn.jdn >= kMinDayNumber && jdn.jdn <= kMaxDayNumber);
        for (const QString& thousands : kThousands) {
            const ParseResult back = ParseJdnText(FormatDayNumber(jdn.jdn, thousands), thousands);
            Check(back.outcome == kParseValid && back.jdn == jdn.jdn);
        }
    }
    return 0;
}
