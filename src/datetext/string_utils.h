// Small text operations shared by the date parsers and the batch language. Positions count
// from 1, as the algorithms that use them do. Character classes are decided on the
// Latin-1 / Windows-1252 value of a character.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace daybridge {

// The 8-bit (Windows-1252) code of a character: U+0000..U+00FF keep their value, the
// Windows-1252 letters and signs (š œ Ÿ € …) their 0x80..0x9F code, anything else 63 ("?").
int AnsiCode(QChar c);
QChar CharOfAnsiCode(int code);  // the reverse; null for codes outside 0..255

// 1-based positions: the character at pos (null outside the text), the text from start
// (length < 0: to the end), and the position of c or what at or after start (0 when absent).
QChar CharAt(const QString& text, int pos);
QString MidText(const QString& text, int start, int length = -1);
int PositionOf(const QString& text, QChar c, int start = 1);
int PositionOf(const QString& text, const QString& what, int start = 1);

QString RemoveAll(const QString& text, QChar c);
QString RemoveSpaces(const QString& text);
void KeepOnlyChars(QString& text, const QString& extra);  // keeps extra + "-1234567890"
int CountChar(const QString& text, QChar c);
// After trimming blanks: an optional sign (allowSign), then digits (and commas when
// allowComma), at least one digit.
bool IsNumericText(const QString& text, bool allowSign, bool allowComma);
void CutAtNul(QString& text);
bool IsParenthesised(const QString& text);
bool IsWordChar(QChar c, bool allowDigits, const QString& extra);
int WordLength(const QString& text, int start, bool allowDigits, const QString& extra);
QString LettersOnly(const QString& text);
bool IsLetter(QChar c);  // in the letter set
// which is the 1-based index of the character found in set (0 when none is found).
int FindFirstOf(const QString& text, int start, const QString& set, int& which);
QString TextBetween(const QString& text, const QString& open, const QString& close, int start,
                    bool trim);
void TrimLeftWhite(QString& text);
void TrimRightWhite(QString& text);
void TrimWhite(QString& text);
QString TrimmedWhite(const QString& text);  // a trimmed copy (codes up to 32 at both ends)

// Key filters of the entry fields. keyCode is the character typed (8 backspace, 3 Ctrl+C,
// 22 Ctrl+V, 24 Ctrl+X are always allowed).
bool IsAllowedDateKey(int keyCode, int currentLength, int maxLength, const QString& separator,
                      bool isoSelected);
bool IsAllowedDifferenceKey(int keyCode, int currentLength, int maxLength,
                            const QString& thousandsSeparator);

// Number text as a sign-less number is printed: a leading blank for 0 or more (" 12").
QString NumberWithLeadingBlank(long long n);

}  // namespace daybridge
