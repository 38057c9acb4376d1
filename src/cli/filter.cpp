#include "cli/filter.h"

#include <QChar>
#include <algorithm>
#include <cstdlib>

#include "calendar/calendar_table.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "env/text_store.h"

namespace daybridge::cli {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The field's text without the quotes around it ("" read as ").
std::string_view Unquoted(std::string_view field, std::string& scratch) {
    if (field.empty() || field.front() != '"') {
        return field;
    }
    scratch.clear();
    for (std::size_t i = 1; i < field.size(); ++i) {
        if (field[i] == '"') {
            if (i + 1 < field.size() && field[i + 1] == '"') {
                scratch += '"';
                ++i;
                continue;
            }
            break;
        }
        scratch += field[i];
    }
    return scratch;
}

void AppendField(std::string& out, const QByteArray& text, char delimiter, bool quoted) {
    quoted = quoted || text.contains(delimiter) || text.contains('"');
    if (!quoted) {
        out.append(text.constData(), static_cast<std::size_t>(text.size()));
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// Whether the character ending at `end` (exclusive) or starting at `begin` is a letter or digit
// of any script, or "_": a date glued to a word is part of that word.
bool IsWordCharacter(std::string_view text, std::size_t begin, std::size_t end) {
    const std::string_view bytes = text.substr(begin, end - begin);
    if (bytes.size() == 1) {
        const char c = bytes.front();
        return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    }
    const QString character = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return !character.isEmpty() && character.front().isLetterOrNumber();
}

bool WordBefore(std::string_view text, std::size_t at) {
    if (at == 0) {
        return false;
    }
    std::size_t begin = at - 1;
    while (begin > 0 && at - begin < 4 &&
           (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80) {
        --begin;  // back to the first byte of the character
    }
    return IsWordCharacter(text, begin, at);
}

bool WordAfter(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return IsWordCharacter(text, at, std::min(text.size(), at + length));
}

bool IsDateMark(char c) {
    return c == '-' || c == '/' || c == '.';
}

// The digits from `at`; their count.
std::size_t DigitRun(std::string_view text, std::size_t at) {
    std::size_t n = 0;
    while (at + n < text.size() && IsDigit(text[at + n])) {
        ++n;
    }
    return n;
}

// The end of a date of three digit groups with the given sizes and separator starting at `at`
// (where a digit group starts), or 0 when there is none.
std::size_t MatchDate(std::string_view text, std::size_t at, char separator, int firstMin,
                      int firstMax, int secondMin, int secondMax, int thirdMin, int thirdMax) {
    const int mins[] = {firstMin, secondMin, thirdMin};
    const int maxs[] = {firstMax, secondMax, thirdMax};
    std::size_t end = at;
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            if (end >= text.size() || text[end] != separator) {
                return 0;
            }
            ++end;
        }
        const auto digits = static_cast<int>(DigitRun(text, end));
        if (digits < mins[part] || digits > maxs[part]) {
            return 0;
        }
        end += static_cast<std::size_t>(digits);
    }
    // Not followed by a letter or digit, nor by a separator and a digit (a longer number).
    if (WordAfter(text, end) ||
        (end + 1 < text.size() && IsDateMark(text[end]) && IsDigit(text[end + 1]))) {
        return 0;
    }
    return end;
}

}  // namespace

bool FilterStep::IsZero() const {
    return workdays ? workdayCount == 0
                    : units.years == 0 && units.months == 0 && units.weeks == 0 && units.days == 0;
}

std::optional<FilterStep> ParseFilterStep(const QString& text) {
    const QString t = text.trimmed().toLower();
    FilterStep step;
    qsizetype at = 0;
    if (at < t.size() && (t[at] == u'+' || t[at] == u'-')) {
        step.units.negative = t[at] == u'-';
        ++at;
    }
    bool anyPart = false;
    while (at < t.size()) {
        std::int64_t n = 0;
        int digits = 0;
        while (at < t.size() && t[at].isDigit() && t[at].unicode() < 128) {
            if (++digits > 10) {
                return std::nullopt;
            }
            n = 10 * n + (t[at].unicode() - u'0');
            ++at;
        }
        if (digits == 0) {
            return std::nullopt;
        }
        if (at == t.size()) {  // a bare number: days, alone
            if (anyPart || n > kMaxUnitDays) {
                return std::nullopt;
            }
            step.units.days = n;
            step.units.typed = kUnitDays;
            return step;
        }
        if (t.mid(at, 2) == QLatin1String("wd")) {
            if (anyPart || at + 2 != t.size() || n > kMaxUnitDays) {
                return std::nullopt;
            }
            step.workdays = true;
            step.workdayCount = step.units.negative ? -n : n;
            return step;
        }
        const char16_t unit = t[at++].unicode();
        struct Part {
            char16_t letter;
            unsigned flag;
            std::int64_t UnitDifference::*value;
            std::int64_t most;
        };
        static constexpr Part kParts[] = {
            {u'y', kUnitYears, &UnitDifference::years, kMaxUnitYears},
            {u'm', kUnitMonths, &UnitDifference::months, kMaxUnitMonths},
            {u'w', kUnitWeeks, &UnitDifference::weeks, kMaxUnitWeeks},
            {u'd', kUnitDays, &UnitDifference::days, kMaxUnitDays},
        };
        const Part* part = nullptr;
        for (const Part& p : kParts) {
            if (p.letter == unit) {
                part = &p;
            }
        }
        if (part == nullptr || (step.units.typed & part->flag) != 0 || n > part->most) {
            return std::nullopt;
        }
        step.units.*(part->value) = n;
        step.units.typed |= part->flag;
        anyPart = true;
    }
    return anyPart ? std::optional<FilterStep>(step) : std::nullopt;
}

int TextIdOf(LineFault fault) {
    return fault == LineFault::FormatField ? 1217 : 1199 + static_cast<int>(fault);
}

void AppendJsonString(std::string& out, const QByteArray& text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendCsvField(std::string& out, const QByteArray& text) {
    const bool quoted =
        text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r');
    if (!quoted) {
        out.append(text.constData(), static_cast<std::size_t>(text.size()));
        return;
    }
    AppendField(out, text, ',', true);
}

std::optional<FieldSpan> FindField(std::string_view line, int field, char delimiter) {
    std::size_t at = 0;
    for (int index = 1;; ++index) {
        std::size_t after = at;
        if (at < line.size() && line[at] == '"') {
            after = at + 1;
            while (after < line.size()) {
                if (line[after] == '"') {
                    if (after + 1 < line.size() && line[after + 1] == '"') {
                        after += 2;
                        continue;
                    }
                    ++after;
                    break;
                }
                ++after;
            }
        }
        std::size_t end = line.find(delimiter, after);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        if (index == field) {
            return FieldSpan{at, end};
        }
        if (end == line.size()) {
            return std::nullopt;
        }
        at = end + 1;
    }
}

LineFilter::LineFilter(const FilterSettings& settings, const TextFormat& format,
                       const WorkdayCalendar& workdays)
    : settings_(settings),
      format_(format),
      workdays_(workdays),
      texts_{settings.language, &GetText} {
    if (!settings_.inputFormat.isEmpty()) {
        QString error;
        inputPattern_ =
            DatePattern::Compile(settings_.inputFormat, settings_.from.value_or(kDefaultCalendar),
                                 texts_, error, format_);
    }
}

QString LineFilter::InputFormatProblem() const {
    QString error;
    if (!settings_.inputFormat.isEmpty()) {
        DatePattern::Compile(settings_.inputFormat, settings_.from.value_or(kDefaultCalendar),
                             texts_, error, format_);
    }
    return error;
}

const DatePattern* LineFilter::OutputPattern(CalendarId calendar) const {
    const auto index = static_cast<std::size_t>(IndexOf(calendar));
    if (!outputPatterns_[index] && outputProblems_[index].isEmpty()) {
        outputPatterns_[index] = DatePattern::Compile(settings_.outputFormat, calendar, texts_,
                                                      outputProblems_[index], format_);
    }
    return outputPatterns_[index] ? &*outputPatterns_[index] : nullptr;
}

QString LineFilter::FormatProblem(CalendarId calendar) const {
    return OutputPattern(calendar) != nullptr
               ? QString()
               : outputProblems_[static_cast<std::size_t>(IndexOf(calendar))];
}

LineFilter::ReadDate LineFilter::Read(const QString& text) const {
    if (inputPattern_) {
        QString reason;
        const std::optional<std::int64_t> jdn = inputPattern_->Parse(text, reason);
        if (!jdn) {
            return {LineFault::InvalidDate, {}, 0, reason};
        }
        return {LineFault::None, inputPattern_->calendar(), *jdn, {}};
    }
    const CodedParseResult read =
        ParseDateWithCode(text, format_, settings_.from.value_or(kDefaultCalendar));
    if (!read.calendar) {
        // Letters alone ("n/a", "none") are no date at all rather than a calendar's name.
        const bool anyDigit =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
        return {anyDigit ? LineFault::UnknownCalendar : LineFault::InvalidDate};
    }
    switch (read.parsed.outcome) {
        case ParseOutcome::Valid:
            return {LineFault::None, *read.calendar, read.parsed.jdn};
        case ParseOutcome::OutOfRange:
            return {LineFault::DateOutOfRange};
        case ParseOutcome::Invalid:
            break;
    }
    return {LineFault::InvalidDate};
}

std::optional<std::int64_t> LineFilter::Moved(CalendarId calendar, std::int64_t jdn,
                                              const FilterStep& step) const {
    if (step.workdays) {
        const std::int64_t moved =
            workdays_.StepFromFirst(jdn, step.workdayCount, settings_.includeFirst);
        if (moved < kMinDayNumber || moved > kMaxDayNumber) {
            return std::nullopt;  // also kNoDate: no working day that way
        }
        return moved;
    }
    const UnitResult moved = AddUnits(calendar, jdn, step.units);
    if (moved.outcome != UnitOutcome::Done) {
        return std::nullopt;
    }
    return moved.jdn;
}

QString LineFilter::Written(CalendarId own, std::int64_t jdn, LineFault* fault) const {
    if (fault != nullptr) {
        *fault = LineFault::ResultOutOfRange;
    }
    if (jdn < kMinDayNumber || jdn > kMaxDayNumber) {
        return {};
    }
    const CalendarId calendar = settings_.to.value_or(own);
    if (settings_.outputFormat.isEmpty()) {
        return CanonicalDateText(calendar, static_cast<std::int32_t>(jdn), format_);
    }
    const DatePattern* pattern = OutputPattern(calendar);
    if (pattern == nullptr) {
        if (fault != nullptr) {
            *fault = LineFault::FormatField;
        }
        return {};
    }
    QString text;
    QString error;
    pattern->Format(jdn, text, error);
    return text;
}

LineFault LineFilter::ApplyToText(const QString& text, QString& result, QString& faultText,
                                  std::int64_t& jdn, CalendarId& calendar) {
    faultText = text.trimmed();
    const ReadDate date = Read(text);
    if (date.fault != LineFault::None) {
        if (!date.reason.isEmpty()) {
            faultText += QStringLiteral(" (%1)").arg(date.reason);
        }
        return date.fault;
    }
    calendar = settings_.to.value_or(date.calendar);
    jdn = date.jdn;
    if (settings_.mode == FilterMode::Add) {
        const std::optional<std::int64_t> moved = Moved(date.calendar, jdn, settings_.step);
        if (!moved) {
            return LineFault::ResultOutOfRange;
        }
        jdn = *moved;
    }
    LineFault fault = LineFault::None;
    result = Written(date.calendar, jdn, &fault);
    if (fault == LineFault::FormatField) {
        faultText = FormatProblem(calendar);
    }
    return result.isEmpty() ? fault : LineFault::None;
}

LineFault LineFilter::Apply(std::string_view line, std::string& out, QString& faultText,
                            long long lineNumber) {
    const bool record = settings_.output != OutputShape::Lines;
    if (settings_.mode == FilterMode::InText) {
        return ApplyInText(line, out);
    }
    std::string scratch;
    const auto fieldText = [&](FieldSpan span) {
        return Unquoted(line.substr(span.begin, span.end - span.begin), scratch);
    };
    const auto toQString = [](std::string_view bytes) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    if (settings_.mode == FilterMode::Diff) {
        ReadDate dates[2];
        const int fields[2] = {settings_.diffFirst, settings_.diffSecond};
        for (int i = 0; i < 2; ++i) {
            const std::optional<FieldSpan> span = FindField(line, fields[i], settings_.delimiter);
            if (!span) {
                faultText = QString::number(fields[i]);
                return LineFault::NoSuchField;
            }
            const QString text = toQString(fieldText(*span));
            dates[i] = Read(text);
            if (dates[i].fault != LineFault::None) {
                faultText = text.trimmed();
                return dates[i].fault;
            }
        }
        const std::int64_t difference =
            settings_.diffWorkdays
                ? workdays_.Count(dates[0].jdn, dates[1].jdn, settings_.includeFirst)
                : dates[1].jdn - dates[0].jdn;
        if (record) {
            QByteArray texts[2];
            for (int i = 0; i < 2; ++i) {
                texts[i] = toQString(fieldText(*FindField(line, fields[i], settings_.delimiter)))
                               .trimmed()
                               .toUtf8();
            }
            const char* unit = settings_.diffWorkdays ? "workdays" : "days";
            if (settings_.output == OutputShape::Json) {
                out += "{\"line\":" + std::to_string(lineNumber) + ",\"first\":";
                AppendJsonString(out, texts[0]);
                out += ",\"second\":";
                AppendJsonString(out, texts[1]);
                out += ",\"" + std::string(unit) + "\":" + std::to_string(difference) + "}";
            } else {
                out += std::to_string(lineNumber) + ",";
                AppendCsvField(out, texts[0]);
                out += ',';
                AppendCsvField(out, texts[1]);
                out += "," + std::to_string(difference) + ",";
            }
            return LineFault::None;
        }
        out.append(line);
        out += settings_.delimiter;
        out += std::to_string(difference);
        return LineFault::None;
    }
    std::int64_t jdn = 0;
    CalendarId calendar{};
    const auto appendRecord = [&](const QString& result) {
        const QByteArray input = faultText.toUtf8();
        const QByteArray code = QByteArray(Calendar(calendar).code);
        if (settings_.output == OutputShape::Json) {
            out += "{\"line\":" + std::to_string(lineNumber) + ",\"input\":";
            AppendJsonString(out, input);
            out += ",\"calendar\":";
            AppendJsonString(out, code);
            out += ",\"date\":";
            AppendJsonString(out, result.toUtf8());
            out += ",\"jdn\":" + std::to_string(jdn) + "}";
        } else {
            out += std::to_string(lineNumber) + ",";
            AppendCsvField(out, input);
            out += "," + code.toStdString() + ",";
            AppendCsvField(out, result.toUtf8());
            out += "," + std::to_string(jdn) + ",";
        }
    };
    if (settings_.field == 0) {
        const QString text = toQString(line);
        if (text.trimmed().isEmpty()) {
            if (!record) {
                out.append(line);  // an empty line stays one
            }
            return LineFault::None;
        }
        QString result;
        const LineFault fault = ApplyToText(text, result, faultText, jdn, calendar);
        if (fault == LineFault::None) {
            if (record) {
                appendRecord(result);
                return fault;
            }
            const QByteArray bytes = result.toUtf8();
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        return fault;
    }
    const std::optional<FieldSpan> span = FindField(line, settings_.field, settings_.delimiter);
    if (!span) {
        faultText = QString::number(settings_.field);
        return LineFault::NoSuchField;
    }
    const std::string_view raw = line.substr(span->begin, span->end - span->begin);
    const QString text = toQString(fieldText(*span));
    if (text.trimmed().isEmpty()) {
        if (!record) {
            out.append(line);  // an empty field stays empty
        }
        return LineFault::None;
    }
    QString result;
    const LineFault fault = ApplyToText(text, result, faultText, jdn, calendar);
    if (fault != LineFault::None) {
        return fault;
    }
    if (record) {
        appendRecord(result);
        return fault;
    }
    out.append(line.substr(0, span->begin));
    AppendField(out, result.toUtf8(), settings_.delimiter, !raw.empty() && raw.front() == '"');
    out.append(line.substr(span->end));
    return LineFault::None;
}

LineFault LineFilter::ApplyInText(std::string_view line, std::string& out) {
    // Recognised: ISO dates (4-digit year, 2-digit month and day) and dates in the user's
    // order and separator with a 4-digit year; each read in the input calendar.
    TextFormat iso = format_;
    iso.dateFormat = kDateFormatYMD;
    iso.dateSeparator = QStringLiteral("-");
    const char separator = format_.dateSeparator.isEmpty()
                               ? '-'
                               : static_cast<char>(format_.dateSeparator.front().toLatin1());
    const bool yearFirst = format_.dateFormat == kDateFormatYMD;
    const CalendarId from = settings_.from.value_or(kDefaultCalendar);

    std::size_t copied = 0;
    std::size_t at = 0;
    while (at < line.size()) {
        if (!IsDigit(line[at])) {
            ++at;
            continue;
        }
        const std::size_t run = DigitRun(line, at);
        const bool free = !WordBefore(line, at) && !(at > 0 && IsDateMark(line[at - 1]));
        std::size_t end = 0;
        const TextFormat* readAs = &iso;
        if (free) {
            end = MatchDate(line, at, '-', 4, 4, 2, 2, 2, 2);
            if (end == 0) {
                end = yearFirst ? MatchDate(line, at, separator, 4, 4, 1, 2, 1, 2)
                                : MatchDate(line, at, separator, 1, 2, 1, 2, 4, 4);
                readAs = &format_;
            }
        }
        if (end != 0) {
            const std::string_view found = line.substr(at, end - at);
            const ParseResult read = ParseDateInCalendar(
                from, QString::fromLatin1(found.data(), static_cast<qsizetype>(found.size())),
                *readAs);
            if (read.outcome == ParseOutcome::Valid) {
                const QByteArray written = Written(from, read.jdn).toUtf8();
                if (!written.isEmpty()) {
                    out.append(line.substr(copied, at - copied));
                    out.append(written.constData(), static_cast<std::size_t>(written.size()));
                    copied = end;
                }
            }
            at = end;
            continue;
        }
        at += run;
    }
    out.append(line.substr(copied));
    return LineFault::None;
}

void LineFilter::AppendFaultRecord(std::string& out, long long lineNumber, const QString& input,
                                   const QString& reason) const {
    if (settings_.output == OutputShape::Json) {
        out += "{\"line\":" + std::to_string(lineNumber) + ",\"input\":";
        AppendJsonString(out, input.toUtf8());
        out += ",\"error\":";
        AppendJsonString(out, reason.toUtf8());
        out += '}';
        return;
    }
    out += std::to_string(lineNumber) + ",";
    AppendCsvField(out, input.toUtf8());
    out += settings_.mode == FilterMode::Diff ? ",,," : ",,,,";
    AppendCsvField(out, reason.toUtf8());
}

std::string LineFilter::RecordHeader(bool sequence) const {
    if (settings_.output != OutputShape::Csv) {
        return {};
    }
    if (sequence) {
        return "date,calendar,jdn\n";
    }
    if (settings_.mode == FilterMode::Diff) {
        return settings_.diffWorkdays ? "line,first,second,workdays,error\n"
                                      : "line,first,second,days,error\n";
    }
    return "line,input,calendar,date,jdn,error\n";
}

void LineFilter::AppendSequenceDate(std::string& out, CalendarId own, std::int64_t jdn,
                                    const QString& written) const {
    const QByteArray bytes = written.toUtf8();
    const CalendarId calendar = settings_.to.value_or(own);
    switch (settings_.output) {
        case OutputShape::Lines:
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            break;
        case OutputShape::Json:
            out += "{\"date\":";
            AppendJsonString(out, bytes);
            out += ",\"calendar\":\"" + std::string(Calendar(calendar).code) +
                   "\",\"jdn\":" + std::to_string(jdn) + "}";
            break;
        case OutputShape::Csv:
            AppendCsvField(out, bytes);
            out += "," + std::string(Calendar(calendar).code) + "," + std::to_string(jdn);
            break;
    }
    out += '\n';
}

void LineFilter::ApplyHeader(std::string_view line, std::string& out) const {
    if (settings_.output != OutputShape::Lines) {
        return;  // the records have their own header row
    }
    out.append(line);
    if (settings_.mode == FilterMode::Diff) {
        out += settings_.delimiter;
        out += settings_.diffWorkdays ? "workdays" : "days";
    }
}

}  // namespace daybridge::cli
