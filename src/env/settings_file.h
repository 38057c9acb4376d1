// The user settings file dbrg.usr: preferences, the input-file list and (on request) the last
// fields and output, one small text file written at quit and read at start-up.
#pragma once

#include <QString>

#include "app/app_state.h"

namespace daybridge {

// Reads the file into the state. Reading is all or nothing: a missing or damaged file puts
// the built-in defaults in force for everything, also for values read before the damage;
// nothing is reported. Returns true when the whole file was read.
// The saved current directory is returned in `directory` (the caller changes to it).
bool LoadUserSettings(const QString& path, AppState& state, QString* directory = nullptr);

// Writes the file atomically (the previous file stays whole if writing fails). Returns false
// when the file could not be written.
bool SaveUserSettings(const QString& path, const AppState& state, const QString& directory);

// The settings text itself (CR LF line ends), for the writer and the tests.
QString SettingsText(const AppState& state, const QString& directory);

}  // namespace daybridge
