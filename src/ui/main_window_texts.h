// Texts of the main window's desktop features (identifiers in dbrg_text.dat), shared by the
// files the window is written in.
#pragma once

#include <QtGlobal>

namespace daybridge::main_window {

inline constexpr int kTextAboutTitle = 350;
inline constexpr int kTextAboutText = 351;
inline constexpr int kTextEmptyFile = 353;
inline constexpr int kTextPromptCancelled = 354;
inline constexpr int kTextNotTxtName = 355;
inline constexpr int kTextNoApplicationOpens = 356;
inline constexpr int kTextEmptiedByRun = 820;        // a date field the batch run emptied
inline constexpr int kTextProcessFileToolTip = 821;  // says the run empties the date fields

}  // namespace daybridge::main_window
