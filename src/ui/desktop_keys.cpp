#include "ui/desktop_keys.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace daybridge {

namespace {

// A character that can carry the mark: an ASCII letter or digit whose underline shows. The
// underline runs through the descender of g, j, p, q and y, where it cannot be seen.
bool IsMnemonicCandidate(QChar c) {
    const char16_t u = c.unicode();
    const bool descender = u == u'g' || u == u'j' || u == u'p' || u == u'q' || u == u'y';
    return ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')) &&
           !descender;
}

// The keys a caption may be marked with, each once, lower case: the first letters of its words,
// its other letters, then its digits.
QList<QChar> Candidates(const QString& plain) {
    QList<QChar> starts;
    QList<QChar> letters;
    QList<QChar> digits;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (!IsMnemonicCandidate(plain[i])) {
            continue;
        }
        const QChar c = plain[i].toLower();
        if (starts.contains(c) || letters.contains(c) || digits.contains(c)) {
            continue;
        }
        (c.isDigit()                                  ? digits
         : i == 0 || !plain[i - 1].isLetterOrNumber() ? starts
                                                      : letters)
            .append(c);
    }
    return starts + letters + digits;
}

// The caption with '&' before its first `letter` that can carry the mark, preferring a word
// start.
QString Marked(const QString& plain, QChar letter) {
    qsizetype at = -1;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (IsMnemonicCandidate(plain[i]) && plain[i].toLower() == letter) {
            if (i == 0 || !plain[i - 1].isLetterOrNumber()) {
                at = i;
                break;
            }
            at = at < 0 ? i : at;
        }
    }
    return at < 0 ? plain : plain.left(at) + QLatin1Char('&') + plain.mid(at);
}

// Assigns distinct letters to as many captions as possible: a maximum matching found by
// augmenting paths, captions taken in order of priority, so a caption that got a letter keeps
// one when later captions are added (only its letter may change, and only when the later one
// finds no free letter).
class LetterMatching {
  public:
    explicit LetterMatching(const QList<QList<QChar>>& candidates)
        : candidates_(candidates), letterOf_(candidates.size()) {}

    void Solve() {
        for (qsizetype caption = 0; caption < candidates_.size(); ++caption) {
            QSet<QChar> visited;
            Augment(caption, visited);
        }
    }
    std::optional<QChar> LetterOf(qsizetype caption) const { return letterOf_[caption]; }

  private:
    // A free letter of the caption's own, else one whose holder can move to another letter.
    bool Augment(qsizetype caption, QSet<QChar>& visited) {
        for (const QChar letter : candidates_[caption]) {
            if (!owner_.contains(letter)) {
                Take(caption, letter);
                return true;
            }
        }
        for (const QChar letter : candidates_[caption]) {
            if (!visited.contains(letter)) {
                visited.insert(letter);
                if (Augment(owner_.value(letter), visited)) {
                    Take(caption, letter);
                    return true;
                }
            }
        }
        return false;
    }
    void Take(qsizetype caption, QChar letter) {
        owner_[letter] = caption;
        letterOf_[caption] = letter;
    }

    QList<QList<QChar>> candidates_;
    QList<std::optional<QChar>> letterOf_;
    QHash<QChar, qsizetype> owner_;
};

class EnterPresses : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            auto* button = qobject_cast<QPushButton*>(watched);
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button != nullptr &&
                button->isEnabled()) {
                button->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The plain caption of a button or a label.
QString PlainCaption(QWidget* w) {
    auto* button = qobject_cast<QAbstractButton*>(w);
    return (button != nullptr ? button->text() : static_cast<QLabel*>(w)->text())
        .remove(QLatin1Char('&'));
}

void SetCaption(QWidget* w, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else {
        static_cast<QLabel*>(w)->setText(text);
    }
}

// The letters matched to `candidates` (in priority order).
QList<std::optional<QChar>> MatchLetters(const QList<QList<QChar>>& candidates) {
    LetterMatching matching(candidates);
    matching.Solve();
    QList<std::optional<QChar>> letters;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        letters.append(matching.LetterOf(i));
    }
    return letters;
}

// An option group named by a label (the label's buddy is one of its options).
struct OptionGroup {
    QLabel* label;
    QList<QWidget*> options;
};

struct WindowControls {
    QList<QWidget*> buttons;  // the default button first, then the other buttons, check boxes
    QList<QWidget*> options;
    QList<QWidget*> fieldLabels;
    QList<QWidget*> groupLabels;
    QList<OptionGroup> groups;
};

// The controls of `window` that take a key, in the order they get one.
WindowControls GatherControls(QWidget* window) {
    const auto own = [window](const QWidget* w) { return w->window() == window; };
    WindowControls controls;
    QList<QWidget*>& buttons = controls.buttons;
    QList<QWidget*>& options = controls.options;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!own(button) || button->text().isEmpty()) {
            continue;
        }
        auto* push = qobject_cast<QPushButton*>(button);
        if (push != nullptr && push->isDefault()) {
            buttons.prepend(button);
        } else if (qobject_cast<QRadioButton*>(button) != nullptr) {
            options.append(button);
        } else {
            buttons.append(button);
        }
    }
    std::stable_partition(buttons.begin(), buttons.end(),
                          [](QWidget* w) { return qobject_cast<QCheckBox*>(w) == nullptr; });
    // Those that can be used now come first: during a batch run Stop needs a key more than
    // the buttons the run has disabled.
    std::stable_partition(buttons.begin(), buttons.end(),
                          [](QWidget* w) { return w->isEnabled(); });
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!own(label) || label->buddy() == nullptr) {
            continue;
        }
        if (qobject_cast<QRadioButton*>(label->buddy()) == nullptr) {
            controls.fieldLabels.append(label);
            continue;
        }
        OptionGroup group{label, {}};
        for (QWidget* option : options) {
            if (option->parentWidget() == label->buddy()->parentWidget()) {
                group.options.append(option);
            }
        }
        controls.groups.append(group);
        controls.groupLabels.append(label);
    }
    return controls;
}

}  // namespace

void AssignMnemonics(QWidget* window) {
    const WindowControls controls = GatherControls(window);
    const QList<QWidget*>& buttons = controls.buttons;
    const QList<OptionGroup>& groups = controls.groups;
    // First every button and check box, then one key for each option group: its label's letter
    // (leading to the chosen option) or else one of its options'.
    QList<QList<QChar>> candidates;
    for (QWidget* w : buttons) {
        candidates.append(Candidates(PlainCaption(w)));
    }
    for (const OptionGroup& group : groups) {
        QList<QChar> keys = Candidates(PlainCaption(group.label));
        for (QWidget* option : group.options) {
            for (const QChar c : Candidates(PlainCaption(option))) {
                if (!keys.contains(c)) {
                    keys.append(c);
                }
            }
        }
        candidates.append(keys);
    }
    const QList<std::optional<QChar>> first = MatchLetters(candidates);
    QList<QWidget*> ranked = buttons;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (const std::optional<QChar> key = first[buttons.size() + g]) {
            QWidget* carrier = groups[g].label;
            for (qsizetype o = 0; !Candidates(PlainCaption(carrier)).contains(*key); ++o) {
                carrier = groups[g].options[o];
            }
            ranked.append(carrier);
        }
    }
    // Then everything is matched again in that order with the other options and the labels
    // last: a button may trade its letter for another of its own so that an option gets one.
    for (QWidget* w : controls.options + controls.groupLabels + controls.fieldLabels) {
        if (!ranked.contains(w)) {
            ranked.append(w);
        }
    }
    candidates.clear();
    for (QWidget* w : ranked) {
        candidates.append(Candidates(PlainCaption(w)));
    }
    const QList<std::optional<QChar>> letters = MatchLetters(candidates);
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        const QString plain = PlainCaption(ranked[i]);
        SetCaption(ranked[i], letters[i] ? Marked(plain, *letters[i]) : plain);
    }
}

void PressButtonsOnEnter(QWidget* window) {
    auto* filter = new EnterPresses(window);
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->window() == window) {
            button->installEventFilter(filter);
        }
    }
}

QColor FocusColourOn(const QColor& background) {
    return background.lightnessF() > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

void ShowFocusOnBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    const QColor mark = FocusColourOn(palette.color(QPalette::Window));
    palette.setColor(QPalette::Highlight, mark);
    palette.setColor(QPalette::HighlightedText, FocusColourOn(mark));
    widget->setPalette(palette);
}

}  // namespace daybridge
