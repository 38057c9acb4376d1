// Shared pieces of the window tests: a private configuration folder per test, a main window
// started with a recording host, widgets found by name and answers to modal dialogs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "support/recording_host.h"
#include "ui/frm_main.h"

// A caption without its mnemonic mark.
inline QString Plain(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

namespace uitest {

using daybridge::frmMain;
using daybridge::testing::RecordingHost;

// Points the per-user configuration folder at a fresh temporary folder, so every test starts
// without a settings file and never touches the real one.
class IsolatedConfig {
  public:
    IsolatedConfig() {
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
        qputenv("HOME", dir_.path().toUtf8());
    }
    QString settingsFile() const {
        return dir_.path() + QStringLiteral("/Velmora_Systems/dbrg.usr");
    }

  private:
    QTemporaryDir dir_;
};

// A message box recorded by a dialog's message hook.
struct Box {
    QString title;
    QString text;
};

// A started main window whose message boxes and input boxes go to `host`.
inline std::unique_ptr<frmMain> StartWindow(RecordingHost& host) {
    auto window = std::make_unique<frmMain>(&host);
    if (!window->Form_Load()) {
        return nullptr;
    }
    return window;
}

// A widget that must exist; its absence ends the test run with its name.
template <class T>
T* Child(QWidget& parent, const QString& name) {
    T* widget = parent.findChild<T*>(name);
    if (widget == nullptr) {
        qFatal("no widget %s", qPrintable(name));
    }
    return widget;
}

template <class T>
T* Child(QWidget& parent, const char* name) {
    return Child<T>(parent, QString::fromLatin1(name));
}

inline QLineEdit* Field(QWidget& parent, const QString& name) {
    return Child<QLineEdit>(parent, name);
}
inline void Click(QWidget& parent, const QString& name) {
    Child<QAbstractButton>(parent, name)->click();
}

// Picks `calendar` from the world-calendar list of the First or Second date, as a user does.
inline void PickWorldCalendar(frmMain& w, const QString& field, daybridge::CalendarId calendar) {
    auto* list = Child<QComboBox>(w, "cbo" + field + "DateCalendar");
    list->setCurrentIndex(list->findData(daybridge::IndexOf(calendar)));
    emit list->activated(list->currentIndex());
}

inline constexpr std::int32_t kSunday20261206 = 2461381;

// Runs `answer` on the next modal dialog once it is shown (from inside its event loop).
inline void WhenModalShown(std::function<void(QDialog&)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start();
}

// Writes a file with CR LF line ends.
inline QString WriteProgram(const QString& folder, const QString& name, const QStringList& lines) {
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    return path;
}

}  // namespace uitest
