#include "datetext/string_utils.h"

#include <algorithm>
#include <array>

namespace daybridge {

namespace {

// Windows-1252 codes 0x80..0x9F and the Unicode characters they stand for (0 = unassigned).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QString& LetterSet() {
    static const QString letters = QString::fromUtf8(
        "abcdefghijklmnopqrstuvwxyzšœÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"
        "ABCDEFGHIJKLMNOPQRSTUVWXYZŠŒŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ");
    return letters;
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

int AnsiCode(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == u) {
            return static_cast<int>(0x80 + i);
        }
    }
    // C1 controls keep their value; anything else has no 8-bit form and reads as "?".
    return u < 0xA0 ? u : '?';
}

QChar CharOfAnsiCode(int code) {
    if (code < 0 || code > 0xFF) {
        return QChar();
    }
    if (code >= 0x80 && code < 0xA0 && kCp1252High[code - 0x80] != 0) {
        return QChar(kCp1252High[code - 0x80]);
    }
    return QChar(static_cast<char16_t>(code));
}

QChar CharAt(const QString& text, int pos) {
    if (pos < 1 || pos > text.size()) {
        return QChar();
    }
    return text.at(pos - 1);
}

QString MidText(const QString& text, int start, int length) {
    if (start < 1) {
        start = 1;
    }
    if (start > text.size() || length == 0) {
        return QString();
    }
    return length < 0 ? text.mid(start - 1) : text.mid(start - 1, length);
}

int PositionOf(const QString& text, QChar c, int start) {
    if (start < 1) {
        start = 1;
    }
    if (start > text.size()) {
        return 0;
    }
    return static_cast<int>(text.indexOf(c, start - 1)) + 1;
}

int PositionOf(const QString& text, const QString& what, int start) {
    if (start < 1) {
        start = 1;
    }
    if (what.isEmpty() || start > text.size()) {
        return 0;
    }
    return static_cast<int>(text.indexOf(what, start - 1)) + 1;
}

QString RemoveAll(const QString& text, QChar c) {
    QString result = text;
    result.remove(c);
    return result;
}

QString RemoveSpaces(const QString& text) {
    return RemoveAll(text, u' ');
}

void KeepOnlyChars(QString& text, const QString& extra) {
    const QString keep = extra + QStringLiteral("-1234567890");
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (keep.contains(c)) {
            result.append(c);
        }
    }
    text = result;
}

int CountChar(const QString& text, QChar c) {
    return static_cast<int>(text.count(c));
}

bool IsNumericText(const QString& text, bool allowSign, bool allowComma) {
    QString t = text;
    while (t.startsWith(u' ')) {
        t.remove(0, 1);
    }
    while (t.endsWith(u' ')) {
        t.chop(1);
    }
    if (t.isEmpty()) {
        return false;
    }
    if (allowSign && (t.front() == u'+' || t.front() == u'-')) {
        t.remove(0, 1);
    }
    // A sign or commas alone are not a number.
    bool anyDigit = false;
    for (QChar c : t) {
        if (IsDigit(c)) {
            anyDigit = true;
        } else if (!(allowComma && c == u',')) {
            return false;
        }
    }
    return anyDigit;
}

void CutAtNul(QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        text.truncate(nul);
    }
}

bool IsParenthesised(const QString& text) {
    const int open = PositionOf(text, QChar(u'('), 2);
    if (open == 0) {
        return false;
    }
    const QString rest = MidText(text, open + 1);
    return PositionOf(rest, QChar(u')'), 2) > 0 && text.endsWith(u')');
}

bool IsWordChar(QChar c, bool allowDigits, const QString& extra) {
    if (c.isNull()) {
        return false;
    }
    const int code = AnsiCode(c);
    if (code >= 128) {
        return (code >= 192 && code <= 214) || (code >= 216 && code <= 246) ||
               (code >= 248 && code <= 255);
    }
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) {
        return true;
    }
    if (allowDigits && code >= '0' && code <= '9') {
        return true;
    }
    return extra.contains(c);
}

int WordLength(const QString& text, int start, bool allowDigits, const QString& extra) {
    if (start < 1) {
        return 0;
    }
    int n = 0;
    for (int pos = start; pos <= text.size() && n < 65000; ++pos, ++n) {
        if (!IsWordChar(CharAt(text, pos), allowDigits, extra)) {
            break;
        }
    }
    return n;
}

bool IsLetter(QChar c) {
    return !c.isNull() && LetterSet().contains(c);
}

QString LettersOnly(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        if (!IsLetter(c)) {
            c = u' ';
        }
    }
    return result;
}

int FindFirstOf(const QString& text, int start, const QString& set, int& which) {
    which = 0;
    if (start < 1) {
        return -1;
    }
    for (int pos = start; pos <= text.size(); ++pos) {
        const qsizetype at = set.indexOf(CharAt(text, pos));
        if (at >= 0) {
            which = static_cast<int>(at) + 1;
            return pos;
        }
    }
    return static_cast<int>(text.size()) + 1;
}

QString TextBetween(const QString& text, const QString& open, const QString& close, int start,
                    bool trim) {
    const int from = PositionOf(text, open, start);
    if (from == 0) {
        return QString();
    }
    const int inside = from + static_cast<int>(open.size());
    const int to = PositionOf(text, close, inside);
    if (to == 0) {
        return QString();
    }
    QString between = MidText(text, inside, to - inside);
    if (trim) {
        TrimWhite(between);
    }
    return between;
}

void TrimLeftWhite(QString& text) {
    qsizetype n = 0;
    while (n < text.size() && text.at(n).unicode() <= 32) {
        ++n;
    }
    text.remove(0, n);
}

void TrimRightWhite(QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1).unicode() <= 32) {
        --n;
    }
    text.truncate(n);
}

void TrimWhite(QString& text) {
    TrimRightWhite(text);
    TrimLeftWhite(text);
}

QString TrimmedWhite(const QString& text) {
    QString result = text;
    TrimWhite(result);
    return result;
}

namespace {

bool IsAlwaysAllowedKey(int keyCode) {
    return keyCode == 8 || keyCode == 3 || keyCode == 22 || keyCode == 24;
}

bool KeyIn(int keyCode, const QString& allowed) {
    if (keyCode <= 0 || keyCode > 0xFFFF) {
        return false;
    }
    return allowed.contains(QChar(static_cast<char16_t>(keyCode)));
}

}  // namespace

bool IsAllowedDateKey(int keyCode, int currentLength, int maxLength, const QString& separator,
                      bool isoSelected) {
    if (IsAlwaysAllowedKey(keyCode)) {
        return true;
    }
    if (isoSelected && (keyCode == 'W' || keyCode == 'w')) {
        return true;
    }
    if (currentLength >= maxLength) {
        return false;
    }
    return KeyIn(keyCode, separator + QStringLiteral("1234567890- ,.()"));
}

bool IsAllowedDifferenceKey(int keyCode, int currentLength, int maxLength,
                            const QString& thousandsSeparator) {
    if (IsAlwaysAllowedKey(keyCode)) {
        return true;
    }
    if (currentLength >= maxLength) {
        return false;
    }
    // Besides a number of days, the letters and blanks of a unit difference ("1y2m", "1 year
    // 2 months", "3 Monate"; every unit word is plain ASCII). A comma only as the thousands
    // separator: a number typed with another separator stays free of it.
    const bool unitCharacter =
        (keyCode >= 'a' && keyCode <= 'z') || (keyCode >= 'A' && keyCode <= 'Z') || keyCode == ' ';
    return unitCharacter || KeyIn(keyCode, thousandsSeparator + QStringLiteral("1234567890-"));
}

QString NumberWithLeadingBlank(long long n) {
    return n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n);
}

}  // namespace daybridge
