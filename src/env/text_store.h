// The text store: every language-dependent message is fetched by a small identifier from the
// text data file dbrg_text.dat, loaded once through the sidekit library; the lookup itself is
// text/numbered_text.h.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "text/numbered_text.h"

namespace daybridge {

// Texts of the data file that the program adds to the ones every message has always needed.
inline constexpr int kTextInputFileRefused = 200;  // title of the refusals below
inline constexpr int kTextInputFileIsFolder = 201;
inline constexpr int kTextInputFileIsDevice = 202;
inline constexpr int kTextInputFileUnreadable = 203;
inline constexpr int kTextInputFileTooLarge = 204;   // names the size limit
inline constexpr int kTextSettingsNotSaved = 205;    // the old file is left whole
inline constexpr int kTextSettingsKeptAsBad = 206;   // followed by where it was kept
inline constexpr int kTextSettingsNotRegular = 207;  // a folder, FIFO or device
inline constexpr int kTextEarlierOutputNotSaved = 208;
inline constexpr int kTextSettingsUnreadable = 209;

// Every identifier the program's messages are composed of; a data file without one of them is
// refused at load, since reports would come out as fragments.
bool IsRequiredTextId(int id);
inline constexpr int kLastRequiredTextId = 209;
// LoadProgramText's result when the file loaded but lacks a required text.
inline constexpr std::int32_t kRequiredTextMissing = -9;

// The path of a file in a folder: one separator between them, none added when the folder
// already ends in one (a file-system or drive root).
QString FolderFilePath(const QString& folder, const QString& fileName);

// The folders the program's data files are looked for in, in this order: the executable's
// folder, then ../share/daybridge relative to it (the installed layout).
QStringList DataFolders();

// The first of DataFolders() that holds the file, or the path beside the executable when none
// does.
QString FindDataFile(const QString& fileName);

// Loads the text data file; returns the library's result (> 0 loaded), or kRequiredTextMissing
// when a required text is missing, and on failure the message to show (English, in a box with
// the stop icon and an empty title; its last line is the file's path) in `failure`.
std::int32_t LoadProgramText(const QString& path, QString* failure);

// The loader's failure message for a result code, followed by a line break and the path.
QString LoaderMessage(std::int32_t code, const QString& path);

}  // namespace daybridge
