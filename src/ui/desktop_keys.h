// Keyboard conventions shared by every window: Alt+letter mnemonics computed from the captions
// in force, Enter pressing the focused button, and a focus frame that shows on the window's own
// background colour.
#pragma once

#include <QColor>

class QWidget;

namespace daybridge {

// Gives the buttons, check boxes, option buttons and labelled fields of `window` (not of windows
// it owns) Alt+letters (digits when a caption shows some), no two alike, a word's first letter
// where it is free, never a letter whose underline the descender hides (g, j, p, q, y). Every
// button and check box comes first, the enabled ones before the disabled ones; then each option
// group named by a label (its buddy is one of the options) gets one key, the label's (leading to
// the chosen option, the arrow keys choosing inside) or else one of its options'; the other
// options and the field labels share the keys left. A caption goes without only when every key
// it offers is taken. Earlier marks are removed first, so it is called again after every change
// of captions or of what is enabled.
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
