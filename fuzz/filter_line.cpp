// Runs one line through the runner's filter in a mode, field and delimiter taken from the
// input's first two bytes. Whatever the line, a fault leaves the output untouched; a
// conversion back into the calendar a date was read in gives the same day; running text once
// filtered passes the filter again unchanged.
#include <string>
#include <string_view>

#include "calendar/calendar_registry.h"
#include "cli/filter.h"
#include "fuzz_support.h"

using namespace daybridge;
using namespace daybridge::cli;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 4096) {
        return 0;
    }
    FilterSettings settings;
    settings.mode = static_cast<FilterMode>(data[0] % 4);
    settings.field = (data[0] >> 2) % 4;
    settings.delimiter = (data[0] & 0x40) != 0 ? '\t' : ',';
    settings.diffFirst = 1 + data[1] % 3;
    settings.diffSecond = 1 + (data[1] >> 2) % 3;
    settings.diffWorkdays = (data[1] & 0x40) != 0;
    settings.step = *ParseFilterStep(QStringLiteral("1m"));
    const CalendarId target = AllCalendars()[data[1] % AllCalendars().size()]->id;
    settings.to = (data[1] & 0x80) != 0 ? std::optional(target) : std::nullopt;
    const std::string_view line(reinterpret_cast<const char*>(data + 2), size - 2);
    if (line.find_first_of("\r\n") != std::string_view::npos) {
        return 0;  // the runner hands over lines without their ends
    }
    const TextFormat format;
    LineFilter filter(settings, format, WorkdayCalendar{});
    std::string out;
    QString faultText;
    const LineFault fault = filter.Apply(line, out, faultText);
    if (fault != LineFault::None) {
        Check(out.empty());
        return 0;
    }
    if (settings.mode == FilterMode::InText && !settings.to) {
        // What the filter writes, it leaves as it is: the dates in their written form, the rest
        // untouched.
        std::string again;
        Check(filter.Apply(out, again, faultText) == LineFault::None && again == out);
    }
    const QString text = fuzz::Text(data + 2, size - 2);
    if (settings.mode == FilterMode::Convert && settings.field == 0 && text.trimmed().isEmpty()) {
        Check(out == line);  // a blank line passes as it is
        return 0;
    }
    if (settings.mode == FilterMode::Convert && settings.field == 0) {
        const LineFilter::ReadDate read = filter.Read(text);
        Check(read.fault == LineFault::None);
        // Read back in the calendar it was written in.
        FilterSettings written;
        written.from = settings.to.value_or(read.calendar);
        const LineFilter::ReadDate back =
            LineFilter(written, format, WorkdayCalendar{}).Read(QString::fromStdString(out));
        Check(back.fault == LineFault::None && back.jdn == read.jdn);
    }
    return 0;
}
