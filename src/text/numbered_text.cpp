#include "text/numbered_text.h"

#include <array>

#include "sidekit/sidekit.h"

namespace daybridge {

namespace {

bool mainWindowReady = false;

// Room for the longest text the library gives: 1024 characters of up to 4 UTF-8 bytes.
constexpr std::int32_t kTextBufferBytes = 4 * sidekit::kMaxTextChars;

}  // namespace

QString GetText(int id, Language language) {
    std::array<char, kTextBufferBytes> buffer;  // only the bytes written are read
    const std::int32_t n = sidekit::gt(id, LanguageNumber(language), buffer.data(),
                                       kTextBufferBytes, mainWindowReady ? 1 : 0);
    if (n < 1) {
        return {};
    }
    return QString::fromUtf8(buffer.data(), n);
}

void SetMainWindowReady(bool ready) {
    mainWindowReady = ready;
}

}  // namespace daybridge
