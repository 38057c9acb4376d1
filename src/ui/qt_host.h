// The window's Host: message boxes and input boxes with Qt, today from the local date, and the
// core's notices turned into updates of the main window.
//
// A second Host may be given for the person-facing part (message boxes, input boxes, today's
// date); the tests pass a recording host there, so they answer every box and fix the date while
// the window still sees every notice.
#pragma once

#include <utility>

#include "app/host.h"

namespace daybridge {

class frmMain;

class QtHost : public Host {
  public:
    QtHost(frmMain& window, Host* dialogs) : window_(window), dialogs_(dialogs) {}

    MsgAnswer messageBox(const QString& title, const QString& text, MsgIcon icon,
                         MsgButtons buttons, MsgAnswer defaultAnswer) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title) override;
    std::int32_t todayJdn() override;
    OutputText& output() override;

    void yield() override;
    void enlargeOutput() override;
    void outputChanged() override;
    void fieldsChanged() override;
    void optionsChanged() override;

    // Whether an input box was cancelled since the last call.
    bool TakePromptCancelled() { return std::exchange(promptCancelled_, false); }

  private:
    frmMain& window_;
    Host* dialogs_;  // not owned; nullptr: Qt dialogs
    bool promptCancelled_ = false;
};

}  // namespace daybridge
