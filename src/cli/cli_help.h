// The runner's help: one table of its options and exit statuses, written both as the --help
// text and as the OPTIONS and EXIT STATUS sections of its man page, so they cannot drift apart.
#pragma once

#include <QString>
#include <span>

namespace daybridge::cli {

struct OptionHelp {
    const char* names;  // "--date-format", or "-h, --help"
    const char* value;  // "YMD|DMY|MDY", "PATH"; empty for an option without a value
    bool placeholder;   // the value stands for something (PATH), rather than words to type
    const char* text;   // what it does: one sentence, without line breaks
};

struct ExitStatusHelp {
    int status;
    const char* text;
};

std::span<const OptionHelp> OptionTable();
std::span<const ExitStatusHelp> ExitStatusTable();

// An option written "--name VALUE" or "--name=VALUE".
bool IsValueOption(const QString& name);

// The calendars --first and --second accept: "CE, JC, ... or MJD".
QString CalendarChoices();

// The --help text.
QString UsageText();

// The man page's OPTIONS and EXIT STATUS sections, in man(7) markup, without their headings.
QString ManOptionsSection();
QString ManExitStatusSection();

}  // namespace daybridge::cli
