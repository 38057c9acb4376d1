// The text store: every language-dependent message is fetched by a small identifier from the
// text data file dbrg_text.dat, loaded once through the sidekit library.
#pragma once

#include <QString>
#include <cstdint>

namespace daybridge {

// The path of a file in a folder: one separator between them, none added when the folder
// already ends in one (a file-system or drive root).
QString FolderFilePath(const QString& folder, const QString& fileName);

// Where the program looks for its data file: beside the executable, then in
// ../share/daybridge relative to it (the installed layout). Returns the first that exists, or
// the path beside the executable when none does.
QString FindDataFile(const QString& fileName);

// Loads the text data file; returns the library's result (> 0 loaded) and, on failure, the
// message to show (English, in a box with the stop icon and an empty title) in `failure`.
std::int32_t LoadProgramText(const QString& path, QString* failure);

// The loader's failure message for a result code.
QString LoaderMessage(std::int32_t code, const QString& path);

// The text with that identifier in the given language; empty when there is none.
QString GetText(int id, int language);

// Passed to the library with every lookup.
void SetMainWindowReady(bool ready);

}  // namespace daybridge
