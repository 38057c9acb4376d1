#include "app/output_text.h"

namespace daybridge {

void OutputText::append(QStringView text) {
    if (text.isEmpty()) {
        return;
    }
    retained_.append(text);
    if (streaming_) {
        tail_.append(text);
        if (tail_.size() > 2 * kTailLength) {
            tail_.remove(0, tail_.size() - kTailLength);
        }
    }
}

void OutputText::clear() {
    retained_.clear();
    tail_.clear();
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
    return false;  // part of the text was dropped: only lengths above the tail reach here
}

bool OutputText::endsWith(QStringView text) const {
    if (text.size() > length()) {
        return false;
    }
    if (retained_.size() >= text.size()) {
        return QStringView(retained_).endsWith(text);
    }
    return QStringView(tail_).endsWith(text);
}

QString OutputText::takePending() {
    QString pending = retained_.mid(pendingFrom_);
    reset_ = false;
    if (streaming_) {
        // Keep nothing but the tail for comparisons; everything taken has been shown.
        dropped_ += retained_.size();
        retained_.clear();
        pendingFrom_ = 0;
    } else {
        pendingFrom_ = retained_.size();
    }
    return pending;
}

}  // namespace daybridge
