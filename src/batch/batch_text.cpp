#include "batch/batch_text.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "calendar/calendar_table.h"
#include "datetext/date_parse.h"
#include "env/file_text.h"

namespace daybridge::batch {

int CheckLineEndings(const QByteArray& bytes, int limit) {
    if (bytes.isEmpty()) {
        return kEndingsEmpty;
    }
    bool hasCr = false;
    bool hasLf = false;
    const qsizetype end = std::min<qsizetype>(bytes.size(), std::max(limit, 0));
    for (qsizetype i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 10) {
            hasLf = true;
        } else if (c == 13) {
            hasCr = true;
        } else if (c < 32 && c != 9) {
            return kEndingsControlChar;
        }
    }
    if (hasCr && !hasLf) {
        return kEndingsMac;
    }
    if (hasLf && !hasCr) {
        return kEndingsUnix;
    }
    return kEndingsAcceptable;
}

int CheckLineEndings(const QString& path, int limit) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        return kEndingsNoFile;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return kEndingsCannotOpen;
    }
    // Read in pieces up to the limit; a larger file is not read beyond it here.
    QByteArray head;
    while (head.size() < limit) {
        const QByteArray piece = file.read(std::min<qint64>(16384, limit - head.size()));
        if (piece.isEmpty()) {
            break;
        }
        head.append(piece);
    }
    if (head.isEmpty()) {
        return kEndingsEmpty;
    }
    return CheckLineEndings(head, limit);
}

int LineEndingWarningTextId(int code) {
    switch (code) {
        case kEndingsEmpty:
            return 252;
        case kEndingsUnix:
            return 253;
        case kEndingsMac:
            return 254;
        default:
            return 255;
    }
}

QString DecodeProgramText(const QByteArray& bytes) {
    return DecodeFileText(bytes);
}

QStringList SplitProgramLines(const QString& text, qsizetype maxLines) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (maxLines >= 0 && lines.size() >= maxLines) {
            return lines;
        }
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n && (maxLines < 0 || lines.size() < maxLines)) {
        lines.append(text.mid(start));
    }
    return lines;
}

QString TrimWhite(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 32) {
        ++b;
    }
    while (e > b && text[e - 1].unicode() <= 32) {
        --e;
    }
    return text.mid(b, e - b).toString();
}

static inline QChar UpperChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
        return (u >= u'a' && u <= u'z') ? QChar(char16_t(u - 32)) : c;
    }
    if (u == 0xDF) {  // sharp s has no single upper-case letter
        return c;
    }
    return c.toUpper();
}

QString UpperText(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        d[i] = UpperChar(text[i]);
    }
    return out;
}

QString StatementText(QStringView line) {
    // A tab is a blank, except in a line without "=" (three fields), where it separates fields.
    const bool tabIsBlank = line.contains(u'=');
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        if (c != u' ' && c != u'\'' && !(tabIsBlank && c == u'\t')) {
            out.append(UpperChar(c));
        }
    }
    return out;
}

bool IsNameLetter(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')) {
        return true;
    }
    if (u >= 0xC0 && u <= 0xFF) {
        return u != 0xD7 && u != 0xF7;
    }
    switch (u) {
        case 0x0160:
        case 0x0161:
        case 0x0152:
        case 0x0153:
        case 0x0178:
        case 0x017D:
        case 0x017E:
            return true;
        default:
            return false;
    }
}

bool IsNameChar(QChar c) {
    const char16_t u = c.unicode();
    return IsNameLetter(c) || (u >= u'0' && u <= u'9') || u == u'_' || u == u'-' || u == u'.';
}

bool HasLetter(QStringView text) {
    for (const QChar c : text) {
        if (IsNameLetter(c)) {
            return true;
        }
    }
    return false;
}

bool IsNameText(QStringView text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (!IsNameChar(c)) {
            return false;
        }
    }
    return true;
}

QString LineNumberText(long long n) {
    return n >= 0 ? QStringLiteral(" ") + QString::number(n) : QString::number(n);
}

Literal ParseIntegerLiteral(QStringView text, bool allowCommas) {
    Literal result;
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ') {
        ++b;
    }
    while (e > b && text[e - 1] == u' ') {
        --e;
    }
    if (b == e) {
        return result;
    }
    bool negative = false;
    if (text[b] == u'+' || text[b] == u'-') {
        negative = text[b] == u'-';
        ++b;
    }
    bool anyDigit = false;
    std::int64_t value = 0;
    bool overflow = false;
    for (qsizetype i = b; i < e; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (!overflow) {
                value = value * 10 + (c - u'0');
                if (value > 2147483648LL) {
                    overflow = true;
                }
            }
        } else if (!(allowCommas && c == u',')) {
            return result;
        }
    }
    if (!anyDigit) {
        return result;
    }
    if (negative) {
        value = -value;
    }
    if (overflow || value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        result.kind = LiteralKind::Overflow;
        return result;
    }
    result.kind = LiteralKind::Value;
    result.value = static_cast<std::int32_t>(value);
    return result;
}

double LeadingNumber(QStringView text) {
    std::string ascii;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ascii += static_cast<char>(text[i].unicode());
        ++i;
    }
    bool digits = false;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80) {
        ascii += static_cast<char>(text[i].unicode());
        digits = true;
        ++i;
    }
    if (i < text.size() && text[i] == u'.') {
        ascii += '.';
        ++i;
        while (i < text.size() && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            ascii += static_cast<char>(text[i].unicode());
            digits = true;
            ++i;
        }
    }
    if (!digits) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            exponent += static_cast<char>(text[j].unicode());
            ++j;
        }
        bool expDigits = false;
        while (j < text.size() && text[j].unicode() >= u'0' && text[j].unicode() <= u'9' &&
               exponent.size() < 6) {
            exponent += static_cast<char>(text[j].unicode());
            expDigits = true;
            ++j;
        }
        if (expDigits) {
            ascii += exponent;
        }
    }
    return std::strtod(ascii.c_str(), nullptr);
}

std::int64_t RoundToWhole(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = std::nearbyint(value);
    if (r >= 9.2e18) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (r <= -9.2e18) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(r);
}

QString TextBetween1(QStringView text, QStringView open, QStringView close, int start, bool trim) {
    const qsizetype from = std::max(start, 1) - 1;
    if (from > text.size()) {
        return {};
    }
    const qsizetype p = text.indexOf(open, from);
    if (p < 0) {
        return {};
    }
    const qsizetype inner = p + open.size();
    const qsizetype q = text.indexOf(close, inner);
    if (q < 0) {
        return {};
    }
    const QStringView between = text.mid(inner, q - inner);
    return trim ? TrimWhite(between) : between.toString();
}

std::array<QString, 4> SplitArguments(QStringView call, int count) {
    std::array<QString, 4> args;
    const qsizetype open = call.indexOf(u'(');
    if (open < 0 || count < 1) {
        return args;
    }
    if (count == 1) {
        args[0] = TextBetween1(call, u"(", u")", 1, true);
        return args;
    }
    // Comma positions after the "(", as many as the splitter needs.
    qsizetype commas[3] = {-1, -1, -1};
    qsizetype from = open + 1;
    for (int k = 0; k < count - 1 && k < 3; ++k) {
        commas[k] = call.indexOf(u',', from);
        if (commas[k] < 0) {
            break;
        }
        from = commas[k] + 1;
    }
    auto piece = [&](qsizetype a, qsizetype b) { return TrimWhite(call.mid(a + 1, b - a - 1)); };
    auto toClose = [&](qsizetype a) {
        const qsizetype c = call.indexOf(u')', a + 1);
        return c < 0 ? QString() : piece(a, c);
    };
    if (commas[0] < 0) {
        return args;
    }
    args[0] = piece(open, commas[0]);
    for (int k = 1; k < count; ++k) {
        if (args[k - 1].isEmpty()) {
            break;
        }
        if (k == count - 1) {
            args[k] = toClose(commas[k - 1]);
        } else {
            if (commas[k] < 0) {
                break;
            }
            args[k] = piece(commas[k - 1], commas[k]);
        }
    }
    return args;
}

int CountArguments(QStringView call) {
    int commas = 0;
    bool emptyParens = false;
    QChar previous;
    for (const QChar c : call) {
        if (c == u' ') {
            continue;
        }
        if (c == u',') {
            ++commas;
        }
        if (previous == u'(' && c == u')') {
            emptyParens = true;
        }
        previous = c;
    }
    return emptyParens ? 0 : commas + 1;
}

QString ArrayIndexText(QStringView name) {
    return TextBetween1(name, u"[", u"]", 1, true);
}

QString ApplyColumnMask(QStringView text, QStringView mask) {
    QString word = UpperText(TrimWhite(text));
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word[i] == u' ' || word[i] == u'\t') {  // the first word ends at a blank or a tab
            word.truncate(i);
            break;
        }
    }
    if (mask.isEmpty()) {
        return word;
    }
    QString out;
    const qsizetype n = std::min(word.size(), mask.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (mask[i] == u'*') {
            out.append(word[i]);
        } else if (mask[i] == u'!') {
            out.append(QStringView(word).mid(i));
            break;
        }
    }
    return out;
}

namespace {

bool IsBlankOrTab(QChar c) {
    return c == u' ' || c == u'\t';
}

bool IsLetterWord(QStringView word) {
    return !word.isEmpty() &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

// Up to three words after the first of an upper-case line.
struct FollowingWords {
    std::array<QStringView, 3> words;
    qsizetype count = 0;
};

FollowingWords WordsAfterFirst(const QString& upper) {
    FollowingWords after;
    qsizetype at = 0;
    for (int word = 0; word <= 3 && at < upper.size(); ++word) {
        while (at < upper.size() && IsBlankOrTab(upper[at])) {
            ++at;
        }
        const qsizetype start = at;
        while (at < upper.size() && !IsBlankOrTab(upper[at])) {
            ++at;
        }
        if (word > 0 && at > start) {
            after.words[static_cast<std::size_t>(after.count++)] =
                QStringView(upper).mid(start, at - start);
        }
    }
    return after;
}

}  // namespace

QString ArrayElementDateText(QStringView line, QStringView mask) {
    QString date = ApplyColumnMask(line, mask);
    // The words after the first, as far as they can belong to the date.
    const QString upper = UpperText(TrimWhite(line));
    const FollowingWords after = WordsAfterFirst(upper);
    const auto word = [&after](qsizetype index) {
        return after.words[static_cast<std::size_t>(index)];
    };
    qsizetype next = 0;
    if (IsLetterWord(date) && next < after.count) {
        date += u' ';
        date += word(next++);
    } else if (next < after.count) {
        QStringView candidate = word(next);
        if (candidate.endsWith(u',')) {
            candidate.chop(1);
        }
        // An era after the date is no comment either: the date reader refuses it.
        if (CalendarOfCode(candidate) || candidate == u"BC" || candidate == u"BCE" ||
            candidate == u"AD") {
            date += u' ';
            date += word(next++);
        }
    }
    if (date.endsWith(u',')) {
        if (next < after.count && IsWrittenDayName(word(next))) {
            date += u' ';
            date += word(next);
        } else {
            date.chop(1);
        }
    }
    return date;
}

std::optional<std::array<QString, 5>> RewriteDoForEach(QStringView upperLine) {
    const qsizetype firstBlank = upperLine.indexOf(u' ');
    if (firstBlank < 0) {
        return std::nullopt;
    }
    const QString rest = TrimWhite(upperLine.mid(firstBlank + 1));
    const qsizetype b = rest.indexOf(u' ');
    if (b <= 0) {
        return std::nullopt;
    }
    const QString array = rest.left(b);
    const QString tail = TrimWhite(QStringView(rest).mid(b + 1));
    if (tail.indexOf(u' ') < 0 || !tail.startsWith(QStringLiteral("AS "))) {
        return std::nullopt;
    }
    const QString variable = TrimWhite(QStringView(tail).mid(3));
    if (variable.isEmpty() || variable.contains(u' ')) {
        return std::nullopt;
    }
    const QString counter = QStringLiteral("{") + array + QStringLiteral("}");
    return std::array<QString, 5>{QStringLiteral("//DOFOREACH"), counter + QStringLiteral(" = 0"),
                                  QStringLiteral("DO COUNT(") + array + QStringLiteral(")"),
                                  counter + QStringLiteral(" += 1"),
                                  variable + QStringLiteral(" = ") + array + QStringLiteral("[") +
                                      counter + QStringLiteral("]")};
}

bool LooksLikeCall(QStringView text) {
    return text.size() >= 2 && text.indexOf(u'(', 1) >= 1 && text.endsWith(u')');
}

}  // namespace daybridge::batch
