// Shared pieces of the window tests: a private configuration folder per test, a main window
// started with a recording host, widgets found by name, and answers to modal dialogs.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "support/recording_host.h"
#include "ui/frm_main.h"

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
    QString path() const { return dir_.path(); }
    QString settingsFile() const {
        return dir_.path() + QStringLiteral("/Velmora_Systems/dbrg.usr");
    }

  private:
    QTemporaryDir dir_;
};

// A started main window whose message boxes and input boxes go to `host`.
inline std::unique_ptr<frmMain> StartWindow(RecordingHost& host) {
    auto window = std::make_unique<frmMain>(&host);
    if (!window->Form_Load()) {
        return nullptr;
    }
    return window;
}

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qWarning("no child named %s", name);
    }
    return child;
}

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
