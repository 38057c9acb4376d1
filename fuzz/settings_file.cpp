// Reads arbitrary bytes as a settings file. A damaged file must leave the built-in defaults,
// and whatever was read must be written and read back to the same settings text.
#include <QFile>
#include <QTemporaryDir>

#include "app/app_state.h"
#include "env/settings_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("dbrg.usr"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    daybridge::AppState state;
    daybridge::OutputText output;
    QString directory;
    if (!daybridge::LoadUserSettings(path, state, output, &directory)) {
        const daybridge::AppState defaults;
        const daybridge::OutputText none;
        // A damaged file must leave the defaults.
        fuzz::Check(daybridge::SettingsText(state, output, QString()) ==
                    daybridge::SettingsText(defaults, none, QString()));
        return 0;
    }
    const QString written = daybridge::SettingsText(state, output, directory);
    if (!daybridge::SaveUserSettings(path, state, output, directory)) {
        return 0;
    }
    daybridge::AppState again;
    daybridge::OutputText againOutput;
    QString directoryAgain;
    // What was read must survive a round trip.
    fuzz::Check(daybridge::LoadUserSettings(path, again, againOutput, &directoryAgain) &&
                daybridge::SettingsText(again, againOutput, directoryAgain) == written);
    return 0;
}
