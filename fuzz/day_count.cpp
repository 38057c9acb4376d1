// Reads arbitrary text as a day count and as a JDN. A number that reads must stay in range and
// read back from its written form, with every thousands separator.
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

    // The day count read with the typed separator, the JDN with none and with it; each read
    // back with the reader that read it.
    const auto count = [](const QString& t, const QString& s) { return ParseDayCount(t, s); };
    const auto jdn = [](const QString& t, const QString& s) { return ParseJdnText(t, s); };
    const std::pair<ParseResult, ParseResult (*)(const QString&, const QString&)> reads[] = {
        {ParseDayCount(text, typedSeparator), count},
        {ParseJdnText(text), jdn},
        {ParseJdnText(text, typedSeparator), jdn}};
    for (const auto& [read, reader] : reads) {
        if (read.outcome != ParseOutcome::Valid) {
            continue;
        }
        Check(read.jdn >= kMinDayNumber && read.jdn <= kMaxDayNumber);
        for (const QString& thousands : kThousands) {
            const ParseResult back = reader(FormatDayNumber(read.jdn, thousands), thousands);
            Check(back.outcome == ParseOutcome::Valid && back.jdn == read.jdn);
        }
    }
    return 0;
}
