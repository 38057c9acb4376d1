#include "app/output_text.h"

#include <algorithm>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace daybridge {

namespace {

// A long output's buffer is reserved in one large step and backed by large pages where the
// system offers them: touching each new small page of a 30 MB text costs more than copying the
// text into it. Only advice and capacity: the text and its behaviour are the same either way.
constexpr qsizetype kLargeText = qsizetype{1} << 18;     // characters
constexpr qsizetype kLargeReserve = qsizetype{1} << 24;  // characters

void AdviseLargePages([[maybe_unused]] const QString& text) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const qsizetype bytes = text.capacity() * qsizetype{sizeof(QChar)};
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto data = reinterpret_cast<std::uintptr_t>(text.constData());
    // The whole pages holding the buffer: for a buffer mapped on its own that is the whole
    // mapping, which stays one piece the allocator can grow in place.
    const std::uintptr_t begin = data & ~(page - 1);
    const std::uintptr_t end = (data + static_cast<std::uintptr_t>(bytes) + page - 1) & ~(page - 1);
    static_cast<void>(madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE));
#endif
}

}  // namespace

void OutputText::Grow(qsizetype more) {
    const qsizetype needed = retained_.size() + more;
    if (needed >= kLargeText && !streaming_) {
        retained_.reserve(std::max(2 * needed, kLargeReserve));
        AdviseLargePages(retained_);
    }
}

void OutputText::clear() {
    retained_.clear();
    pendingFrom_ = 0;
    dropped_ = 0;
    reset_ = true;
    ++resets_;
}

void OutputText::setText(const QString& text) {
    clear();
    append(text);
}

bool OutputText::equals(QStringView text) const {
    if (text.size() != length()) {
        return false;
    }
    if (dropped_ == 0) {
        return QStringView(retained_) == text;
    }
    return false;  // part of the text was dropped, so it cannot be compared
}

QString OutputText::takePending() {
    QString pending = retained_.mid(pendingFrom_);
    reset_ = false;
    if (streaming_) {
        // Keep nothing: everything taken has been shown.
        dropped_ += retained_.size();
        retained_.resize(0);  // the buffer is kept for the next text
        pendingFrom_ = 0;
    } else {
        pendingFrom_ = retained_.size();
    }
    return pending;
}

}  // namespace daybridge
