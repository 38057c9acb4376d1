// The Host is how the core reaches the person at the screen. The window implements it with
// Qt Widgets, the command-line runner with the terminal, the tests with a recording host that
// answers from a script and fixes today's date.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "app/output_text.h"

namespace daybridge {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Host {
  public:
    virtual ~Host() = default;

    // A modal message box; answers the button pressed.
    virtual MsgAnswer messageBox(const QString& title, const QString& text,
                                 MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
                                 MsgAnswer defaultAnswer = MsgAnswer::Ok) = 0;
    // An input box; std::nullopt for Cancel.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title) = 0;
    // JDN of today's local date.
    virtual std::int32_t todayJdn() = 0;
    // The output text, owned by the view that shows it; the engine's results and a batch
    // run's lines are appended here. The same object for the host's lifetime.
    virtual OutputText& output() = 0;

    // Let the view process pending events (between two slices of a batch run).
    virtual void yield() {}
    // Open the enlarged output window anew with the output text (auto-enlarge).
    virtual void enlargeOutput() {}
    // The output text changed: new text was appended, or it was cleared.
    virtual void outputChanged() {}
    // One of the three field texts changed in the state.
    virtual void fieldsChanged() {}
    // A setting changed in the state (calendars, options, separators, date order).
    virtual void optionsChanged() {}
};

}  // namespace daybridge
