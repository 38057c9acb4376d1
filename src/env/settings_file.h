// The user settings file dbrg.usr: preferences, the input-file list and (on request) the last
// fields and output, one small text file written at quit and read at start-up.
#pragma once

#include <QString>

#include "app/app_state.h"
#include "app/output_text.h"

namespace daybridge {

// How reading the settings file went.
enum class SettingsLoad {
    Loaded,      // the whole file was read
    Missing,     // there is no file (a first start)
    NotRegular,  // a folder, FIFO or device (also at the end of a link): never opened
    Unreadable,  // the system refused to open or read it
    Damaged,     // it was read but a value could not be
};

// Reads the file into the state and the output text. Reading is all or nothing: a missing or
// damaged file puts the built-in defaults in force for everything, also for values read before the
// damage. Only a regular file is read. Returns true when the whole file was read. The saved current
// directory is returned in `directory` (the caller changes to it).
bool LoadUserSettings(const QString& path, AppState& state, OutputText& output,
                      QString* directory = nullptr, SettingsLoad* outcome = nullptr);

// The start-up reading of the user's own file: as LoadUserSettings, and a file that could
// not be read is first kept byte for byte as PATH.bad (replacing an older one). Returns what
// to tell the user, in the state's language, or nothing when there is nothing to say.
QString LoadUserSettingsAtStart(const QString& path, AppState& state, OutputText& output,
                                QString* directory);

// Writes the file atomically: the previous file stays whole when writing fails (full disk,
// quota, size limit). Writes only to a regular file, or to a path where nothing is yet;
// through a symbolic link only when it ends at a regular file. Returns false when the file
// was not written, with the message to show, in the state's language, in `failure`.
bool SaveUserSettings(const QString& path, const AppState& state, const OutputText& output,
                      const QString& directory, QString* failure = nullptr);

// The settings text itself (CR LF line ends), for the writer and the tests.
QString SettingsText(const AppState& state, const OutputText& output, const QString& directory);

}  // namespace daybridge
