// Text helpers of the batch language: reading a program file, the line-ending check, the
// argument splitters, column masks, literals and the DOFOREACH rewriting. All pure functions.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace daybridge::batch {

inline constexpr int kLineEndingLimit = 16384;

// Line-ending check codes.
inline constexpr int kEndingsAcceptable = 1;
inline constexpr int kEndingsUnix = 2;
inline constexpr int kEndingsMac = 3;
inline constexpr int kEndingsControlChar = 0;
inline constexpr int kEndingsNoFile = -1;
inline constexpr int kEndingsEmpty = -2;
inline constexpr int kEndingsCannotOpen = -3;

// Examines at most `limit` bytes: 1 CR LF / mixed / no line end, 2 bare LF only, 3 bare CR only,
// 0 a control character other than TAB, LF, CR; -2 for no bytes at all.
int CheckLineEndings(const QByteArray& bytes, int limit);
// The same on a file: -1 when it does not exist, -3 when it cannot be opened.
int CheckLineEndings(const QString& path, int limit);
// The text identifier of the warning for a line-ending code (the "Warning" box, text 256).
int LineEndingWarningTextId(int code);

// The file's text: UTF-8 (a BOM is dropped), or Windows-1252 when the bytes are not UTF-8.
QString DecodeProgramText(const QByteArray& bytes);
// Splits at CR LF, bare CR and bare LF. A final line end does not start another line. With
// maxLines >= 0, stops after that many lines (a longer program is refused anyway).
QStringList SplitProgramLines(const QString& text, qsizetype maxLines = -1);

// Removes leading and trailing characters with a code of 32 or less.
QString TrimWhite(QStringView text);
// Upper case on the Windows-1252 letter set (ß and ÿ stay).
QString UpperText(QStringView text);
// The line upper-cased without blanks and apostrophes (and without tabs when it has "=").
QString StatementText(QStringView line);

bool IsNameLetter(QChar c);
bool IsNameChar(QChar c);  // letter, digit, "_", "-", "."
bool HasLetter(QStringView text);
bool IsNameText(QStringView text);  // non-empty, name characters only

// A number as a sign-less number is printed: a leading blank when not negative.
QString LineNumberText(long long n);

// An integer literal: optional sign, digits (commas among them when allowed). Leading and
// trailing blanks are ignored.
enum class LiteralKind { NotLiteral, Value, Overflow };
struct Literal {
    LiteralKind kind = LiteralKind::NotLiteral;
    std::int32_t value = 0;
};
Literal ParseIntegerLiteral(QStringView text, bool allowCommas);

// The leading number of a text, as the classic Val reads it (blanks skipped, sign, digits,
// decimal point); 0 when it does not begin with a number.
double LeadingNumber(QStringView text);
// Rounds half to even into 64 bits, saturating.
std::int64_t RoundToWhole(double value);

// TextBetween with positions from 1: the text between the first `open` at or after `start`
// and the first `close` after it; empty when either is missing.
QString TextBetween1(QStringView text, QStringView open, QStringView close, int start, bool trim);

// The argument splitters: one to four arguments; missing ones come back empty, and an empty
// argument leaves the later ones empty.
std::array<QString, 4> SplitArguments(QStringView call, int count);
// Spaces removed; "()" gives 0; otherwise the number of commas plus 1.
int CountArguments(QStringView call);
// The text between the first "[" and the first "]" after it, trimmed.
QString ArrayIndexText(QStringView name);

// The element text of an ARRAY line through the column mask.
QString ApplyColumnMask(QStringView text, QStringView mask);
// The date of an ARRAY line: its first word through the column mask, with what the output
// writes around a date taken along from the words after it: the next word when the first is
// letters alone (a code before the date), a calendar code or an era (BC, BCE, AD) after it,
// and a day name after a comma. Any other word is the element's comment; so is a word after a
// comma that is no day name (the comma is dropped). Upper case.
QString ArrayElementDateText(QStringView line, QStringView mask);

// DOFOREACH A AS V: the five stored lines, or nothing when the line is malformed.
std::optional<std::array<QString, 5>> RewriteDoForEach(QStringView upperLine);

// Has the form of a function call: "(" after the first character and ")" at the end.
bool LooksLikeCall(QStringView text);

}  // namespace daybridge::batch
