// What the fuzz targets share: a property that fails aborts the run, bytes are read as text or
// as numbers, and a host answers message boxes with their default and prompts from a list.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

#include "app/host.h"
#include "datetext/text_format.h"

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

// A text format from two bytes: date order, separators and hyphen from `a`, region from `b`
// (0: the C locale).
inline daybridge::TextFormat FormatFrom(std::uint8_t a, std::uint8_t b) {
    static const QString separators[] = {QStringLiteral("-"), QStringLiteral("/"),
                                         QStringLiteral(".")};
    static const QString thousands[] = {QStringLiteral(","), QStringLiteral("."), QString()};
    static const QLocale locales[] = {
        QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Swedish, QLocale::Sweden),
        QLocale(QLocale::Arabic, QLocale::Egypt)};
    daybridge::TextFormat format;
    format.dateFormat = a % 3;
    format.dateSeparator = separators[(a / 3) % 3];
    format.thousandsSeparator = thousands[(a / 9) % 3];
    format.hyphen = (a / 27) % 2 == 1;
    format.regional = locales[b % std::size(locales)];
    return format;
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
    daybridge::OutputText& output() override { return output_; }

  private:
    std::int32_t today_;
    daybridge::OutputText output_;
    QStringList answers_;
    bool textRequired_;
    qsizetype next_ = 0;
};

}  // namespace fuzz
