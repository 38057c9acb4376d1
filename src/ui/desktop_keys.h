// Keyboard conventions shared by every window: Alt+letter mnemonics computed from the captions
// in force, Enter pressing the focused button, and a focus frame that shows on the window's own
// background colour.
#pragma once

#include <QColor>

class QWidget;

namespace daybridge {

// Gives the buttons, check boxes, option buttons and labelled fields of `window` (not of windows
// it owns) Alt+letters, no two alike, a word's first letter where it is free. When the window
// has more captions than letters, buttons come first, then check boxes, options and field
// labels. A label whose buddy is an option stands for the option's group: it takes the letter
// and the group's options take none. Earlier marks are removed first, so it is called again
// after every change of captions (the language).
void AssignMnemonics(QWidget* window);

// Return and Enter press the push button of `window` that has the focus, as Space does.
void PressButtonsOnEnter(QWidget* window);

// A colour for the focus frame and the selection that stands out against `background`: black on
// light backgrounds, white on dark ones.
QColor FocusColourOn(const QColor& background);

// Sets the palette's highlight (the focus frame and the selected text) of `widget` to stand out
// against its window colour.
void ShowFocusOnBackground(QWidget* widget);

}  // namespace daybridge
