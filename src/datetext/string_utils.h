// Small text operations shared by the date parsers and the batch language. Positions count
// from 1, as the algorithms that use them do. Character classes are decided on the
// Latin-1 / Windows-1252 value of a character.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace daybridge {

QString RemoveAll(const QString& text, QChar c);
QString RemoveSpaces(const QString& text);
void KeepOnlyChars(QString& text, const QString& extra);  // keeps extra + "-1234567890"
int CountChar(const QString& text, QChar c);
bool IsNumericText(const QString& text, bool allowSign, bool allowComma);
void KeepSignedDigits(QString& text, bool allowMinus);
void CutAtNul(QString& text);
bool IsParenthesised(const QString& text);
bool IsWordChar(QChar c, bool allowDigits, const QString& extra);
int WordLength(const QString& text, int start, bool allowDigits, const QString& extra);
QString LettersOnly(const QString& text);
bool IsAllLetters(const QString& text);
bool IsLetter(QChar c);  // in the letter set
int FindFirstOf(const QString& text, int start, const QString& set, int& which);
int FindFirstNotOf(const QString& text, int start, const QString& set);
QString TextBetween(const QString& text, const QString& open, const QString& close, int start,
                    bool trim);
void TrimLeftWhite(QString& text);
void TrimRightWhite(QString& text);
void TrimWhite(QString& text);
QString TrimmedWhite(const QString& text);  // a trimmed copy (codes up to 32 at both ends)
void ReplaceCharCode(QString& text, int from, int to);
int IndexInList(const QString& name, const QStringList& list, int first, int count);

// Key filters of the entry fields. keyCode is the character typed (8 backspace, 3 Ctrl+C,
// 22 Ctrl+V, 24 Ctrl+X are always allowed).
bool IsAllowedDateKey(int keyCode, int currentLength, int maxLength, const QString& separator,
                      bool isoSelected);
bool IsAllowedDifferenceKey(int keyCode, int currentLength, int maxLength,
                            const QString& thousandsSeparator);

// Number text as a sign-less number is printed: a leading blank for 0 or more (" 12").
QString NumberWithLeadingBlank(long long n);

}  // namespace daybridge
