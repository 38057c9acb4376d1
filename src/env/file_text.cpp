#include "env/file_text.h"

#include <QStringDecoder>
#include <array>

namespace daybridge {

namespace {

// Unicode values of the bytes 0x80 to 0x9F; the other bytes equal their Latin-1 code points.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(kWindows1252High[byte - 0x80])
                                                : QChar(static_cast<char16_t>(byte));
    }
    return text;
}

QString DecodeFileText(QByteArrayView bytes, bool* wasUtf8) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    const bool valid = !utf8.hasError();
    if (wasUtf8 != nullptr) {
        *wasUtf8 = valid;
    }
    return valid ? text : DecodeWindows1252(bytes);
}

}  // namespace daybridge
