#include "ui/desktop_keys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QWidget>
#include <algorithm>

namespace daybridge {

namespace {

bool IsMnemonicCandidate(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

// The caption with one '&' before the first free letter; `used` gains that letter.
QString Marked(const QString& plain, QSet<QChar>& used) {
    for (const bool wordStartsOnly : {true, false}) {
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const QChar c = plain[i];
            const bool wordStart = i == 0 || !plain[i - 1].isLetterOrNumber();
            if (!IsMnemonicCandidate(c) || (wordStartsOnly && !wordStart) ||
                used.contains(c.toLower())) {
                continue;
            }
            used.insert(c.toLower());
            return plain.left(i) + QLatin1Char('&') + plain.mid(i);
        }
    }
    return plain;
}

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

}  // namespace

void AssignMnemonics(QWidget* window) {
    QSet<QChar> used;
    const auto own = [window](const QWidget* w) { return w->window() == window; };
    // Buttons first: they are pressed most; then check boxes, options and field labels.
    QList<QAbstractButton*> buttons;
    QList<QAbstractButton*> others;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (own(button)) {
            (qobject_cast<QPushButton*>(button) != nullptr ? buttons : others).append(button);
        }
    }
    // The window's default button comes first, so it keeps its letter.
    std::stable_partition(buttons.begin(), buttons.end(), [](QAbstractButton* b) {
        return static_cast<QPushButton*>(b)->isDefault();
    });
    for (QAbstractButton* button : buttons + others) {
        const QString plain = button->text().remove(QLatin1Char('&'));
        button->setText(Marked(plain, used));
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (own(label) && label->buddy() != nullptr) {
            const QString plain = label->text().remove(QLatin1Char('&'));
            label->setText(Marked(plain, used));
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
