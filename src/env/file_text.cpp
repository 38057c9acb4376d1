#include "env/file_text.h"

#include <QStringDecoder>

#include "datetext/string_utils.h"

namespace daybridge {

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        *out++ = CharOfAnsiCode(static_cast<unsigned char>(c));
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
