// What the fuzz targets share: a property that fails aborts the run, bytes are read as text or
// as numbers, and a host answers message boxes with their default and prompts from a list.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include "app/host.h"

namespace fuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline QString Text(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The next eight bytes (fewer at the end) as a number; they are consumed.
inline std::int64_t Take(const std::uint8_t*& data, std::size_t& size) {
    std::int64_t value = 0;
    const std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

// After the last answer a prompt is cancelled; `textRequired`: every message has a text.
class FuzzHost : public daybridge::Host {
  public:
    FuzzHost(std::int32_t today, QStringList answers, bool textRequired)
        : today_(today), answers_(std::move(answers)), textRequired_(textRequired) {}

    daybridge::MsgAnswer messageBox(const QString&, const QString& text, daybridge::MsgIcon,
                                    daybridge::MsgButtons,
                                    daybridge::MsgAnswer defaultAnswer) override {
        Check(!textRequired_ || !text.isEmpty());
        return defaultAnswer;
    }
    std::optional<QString> inputBox(const QString&, const QString&) override {
        if (next_ >= answers_.size()) {
            return std::nullopt;
        }
        return answers_[next_++];
    }
    std::int32_t todayJdn() override { return today_; }

  private:
    std::int32_t today_;
    QStringList answers_;
    bool textRequired_;
    qsizetype next_ = 0;
};

}  // namespace fuzz
