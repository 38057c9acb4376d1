// A Host for tests: records every message box, answers boxes and input prompts from a script,
// and fixes today's date.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "app/host.h"

namespace daybridge::testing {

struct RecordedBox {
    QString title;
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
};

class RecordingHost : public Host {
  public:
    explicit RecordingHost(std::int32_t today = 2461381 /* Sunday 2026-12-06 */) : today_(today) {}

    MsgAnswer messageBox(const QString& title, const QString& text, MsgIcon icon,
                         MsgButtons buttons, MsgAnswer defaultAnswer) override {
        boxes.push_back({title, text, icon, buttons});
        if (!boxAnswers.empty()) {
            const MsgAnswer answer = boxAnswers.front();
            boxAnswers.pop_front();
            return answer;
        }
        return defaultAnswer;
    }
    std::optional<QString> inputBox(const QString&, const QString&) override {
        if (inputAnswers.empty()) {
            return std::nullopt;  // Cancel
        }
        const std::optional<QString> answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::int32_t todayJdn() override { return today_; }
    OutputText& output() override { return output_; }
    void enlargeOutput() override { ++enlargements; }

    void setToday(std::int32_t jdn) { today_ = jdn; }

    std::vector<RecordedBox> boxes;
    std::deque<MsgAnswer> boxAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    int enlargements = 0;

  private:
    std::int32_t today_;
    OutputText output_;
};

}  // namespace daybridge::testing
