// Reading text files written by people: UTF-8 when the bytes are valid UTF-8, otherwise
// Windows-1252 (the 8-bit code page older files were written in).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace daybridge {

// Decodes the bytes as UTF-8 (an initial byte-order mark is dropped) or, when they are not
// valid UTF-8, as Windows-1252. `wasUtf8` tells which was used.
QString DecodeFileText(QByteArrayView bytes, bool* wasUtf8 = nullptr);

// Windows-1252 to Unicode; the five unassigned bytes map to the control codes of equal value.
QString DecodeWindows1252(QByteArrayView bytes);

}  // namespace daybridge
