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

bool IsMnemonicCandidate(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

// The letters a caption may be marked with, word starts first, each once, lower case.
QList<QChar> Candidates(const QString& plain) {
    QList<QChar> starts;
    QList<QChar> rest;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i].toLower();
        if (!IsMnemonicCandidate(c) || starts.contains(c) || rest.contains(c)) {
            continue;
        }
        (i == 0 || !plain[i - 1].isLetterOrNumber() ? starts : rest).append(c);
    }
    return starts + rest;
}

// The caption with '&' before its first `letter`, preferring a word start.
QString Marked(const QString& plain, QChar letter) {
    qsizetype at = -1;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i].toLower() == letter) {
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

// The letters of `captioned` (in priority order) by LetterMatching.
QList<std::optional<QChar>> MatchLetters(const QList<QWidget*>& captioned) {
    QList<QList<QChar>> candidates;
    for (QWidget* w : captioned) {
        candidates.append(Candidates(PlainCaption(w)));
    }
    LetterMatching matching(candidates);
    matching.Solve();
    QList<std::optional<QChar>> letters;
    for (qsizetype i = 0; i < captioned.size(); ++i) {
        letters.append(matching.LetterOf(i));
    }
    return letters;
}

}  // namespace

void AssignMnemonics(QWidget* window) {
    const auto own = [window](const QWidget* w) { return w->window() == window; };
    // Priority: the default button, the other buttons, check boxes, labels of option groups,
    // options, field labels.
    QList<QWidget*> ranked[6];
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!own(button) || button->text().isEmpty()) {
            continue;
        }
        auto* push = qobject_cast<QPushButton*>(button);
        const int rank = push != nullptr                               ? (push->isDefault() ? 0 : 1)
                         : qobject_cast<QCheckBox*>(button) != nullptr ? 2
                                                                       : 4;
        ranked[rank].append(button);
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (own(label) && label->buddy() != nullptr) {
            ranked[qobject_cast<QRadioButton*>(label->buddy()) != nullptr ? 3 : 5].append(label);
        }
    }
    // A label whose buddy is an option names the option's group: when the label gets a letter,
    // the group is reached by it (the arrow keys choose inside) and its options take none.
    QList<QWidget*> captioned;
    for (int rank = 0; rank <= 3; ++rank) {
        captioned += ranked[rank];
    }
    const QList<std::optional<QChar>> first = MatchLetters(captioned);
    QSet<const QWidget*> labelledGroups;
    for (qsizetype i = captioned.size() - ranked[3].size(); i < captioned.size(); ++i) {
        if (first[i]) {
            labelledGroups.insert(static_cast<QLabel*>(captioned[i])->buddy()->parentWidget());
        }
    }
    for (QWidget* option : ranked[4]) {
        if (labelledGroups.contains(option->parentWidget())) {
            auto* button = static_cast<QAbstractButton*>(option);
            button->setText(button->text().remove(QLatin1Char('&')));
        } else {
            captioned.append(option);
        }
    }
    captioned += ranked[5];
    // The captions ranked before the options keep the letters of the first matching's count.
    const QList<std::optional<QChar>> letters = MatchLetters(captioned);
    for (qsizetype i = 0; i < captioned.size(); ++i) {
        const QString plain = PlainCaption(captioned[i]);
        const QString text = letters[i] ? Marked(plain, *letters[i]) : plain;
        if (auto* button = qobject_cast<QAbstractButton*>(captioned[i])) {
            button->setText(text);
        } else {
            static_cast<QLabel*>(captioned[i])->setText(text);
        }
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
