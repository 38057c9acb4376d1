// Files, folders and the desktop: the per-user settings path and the first fixed drive.
#pragma once

#include <QString>

namespace daybridge {

// Full path of a file in the per-user folder `folder` of the configuration location
// (~/.config/Velmora_Systems/dbrg.usr), creating the folder when it is missing.
QString UserDataFilePath(const QString& file, const QString& folder);

// The file-system root (the first fixed drive on this platform).
QString FirstFixedDrive();

bool FolderExists(const QString& path);

// True when the name's extension, lower-cased, is "txt".
bool InputFilespecOK(const QString& filespec);

inline constexpr const char* kSettingsFileName = "dbrg.usr";
inline constexpr const char* kSettingsFolder = "Velmora_Systems";
inline constexpr const char* kTextDataFileName = "dbrg_text.dat";

}  // namespace daybridge
