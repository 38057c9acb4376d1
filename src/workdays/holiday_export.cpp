#include "workdays/holiday_export.h"

#include <QCryptographicHash>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

QString IsoDate(std::int64_t jdn, bool compact) {
    const jdcore::YearMonthDay date = jdcore::gregorian_from_jdn(jdn);
    return QString::fromLatin1(compact ? "%1%2%3" : "%1-%2-%3")
        .arg(date.year, 4, 10, QLatin1Char('0'))
        .arg(date.month, 2, 10, QLatin1Char('0'))
        .arg(date.day, 2, 10, QLatin1Char('0'));
}

// TEXT values escape backslash, semicolon, comma and line ends (RFC 5545, 3.3.11).
QString EscapedText(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char(';'), QLatin1String("\\;"));
    text.replace(QLatin1Char(','), QLatin1String("\\,"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.remove(QLatin1Char('\r'));
    return text;
}

// A content line folded before 75 octets, never inside a UTF-8 sequence (RFC 5545, 3.1).
void AppendLine(QByteArray& out, const QString& line) {
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    qsizetype room = 75;
    while (bytes.size() - start > room) {
        qsizetype end = start + room;
        while ((static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
            --end;  // a continuation byte: break before its sequence
        }
        out += bytes.mid(start, end - start);
        out += "\r\n ";
        start = end;
        room = 74;  // the leading blank counts
    }
    out += bytes.mid(start);
    out += "\r\n";
}

}  // namespace

std::vector<ListedHoliday> HolidaysOfYear(const WorkdayCalendar& workdays, int year) {
    std::vector<ListedHoliday> listed;
    const std::int64_t end = jdcore::jdn_from_gregorian(year + 1, 1, 1);
    for (std::int64_t day = jdcore::jdn_from_gregorian(year, 1, 1); day < end; ++day) {
        const QStringList names = workdays.HolidayNames(day);
        const std::vector<WorkdayCalendar::Listed> rules = workdays.HolidaysBetween(day, day);
        for (qsizetype i = 0; i < names.size(); ++i) {
            // HolidayNames names the day's holidays in the order HolidaysBetween lists them.
            const std::uint8_t category = static_cast<std::size_t>(i) < rules.size()
                                              ? rules[static_cast<std::size_t>(i)].rule->category
                                              : std::uint8_t{kCategoryPublic};
            listed.push_back({day, names[i], CategoryName(category)});
        }
    }
    return listed;
}

QString HolidayListText(const std::vector<ListedHoliday>& holidays) {
    QString text;
    for (const ListedHoliday& h : holidays) {
        text += IsoDate(h.jdn, false) + u'\t' + h.name + u'\t' + h.category + u'\n';
    }
    return text;
}

QByteArray HolidayICalendar(const std::vector<ListedHoliday>& holidays, const QString& setName,
                            std::int64_t stampJdn) {
    QByteArray out;
    AppendLine(out, QStringLiteral("BEGIN:VCALENDAR"));
    AppendLine(out, QStringLiteral("VERSION:2.0"));
    AppendLine(out, QStringLiteral("PRODID:-//Daybridge//Holidays//EN"));
    AppendLine(out, QStringLiteral("CALSCALE:GREGORIAN"));
    AppendLine(out, QStringLiteral("X-WR-CALNAME:") + EscapedText(setName));
    // UIDs stay the same from one export to the next, so a calendar program updates the
    // events it imported before rather than adding them twice.
    const QString setKey = QString::fromLatin1(
        QCryptographicHash::hash(setName.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    const QString stamp = IsoDate(stampJdn, true) + QStringLiteral("T000000Z");
    int sameDay = 0;
    for (std::size_t i = 0; i < holidays.size(); ++i) {
        const ListedHoliday& h = holidays[i];
        sameDay = i > 0 && holidays[i - 1].jdn == h.jdn ? sameDay + 1 : 0;
        AppendLine(out, QStringLiteral("BEGIN:VEVENT"));
        AppendLine(out, QStringLiteral("UID:%1-%2-%3@daybridge")
                            .arg(IsoDate(h.jdn, true))
                            .arg(sameDay)
                            .arg(setKey));
        AppendLine(out, QStringLiteral("DTSTAMP:") + stamp);
        // A date without an end is an event of that one day.
        AppendLine(out, QStringLiteral("DTSTART;VALUE=DATE:") + IsoDate(h.jdn, true));
        AppendLine(out, QStringLiteral("SUMMARY:") + EscapedText(h.name));
        AppendLine(out, QStringLiteral("CATEGORIES:") + EscapedText(h.category));
        AppendLine(out, QStringLiteral("TRANSP:TRANSPARENT"));
        AppendLine(out, QStringLiteral("END:VEVENT"));
    }
    AppendLine(out, QStringLiteral("END:VCALENDAR"));
    return out;
}

}  // namespace daybridge
