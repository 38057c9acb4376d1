// Loads the program's own text data file.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "env/paths.h"
#include "env/text_store.h"

namespace daybridge::testing {

// The source tree's copy first (the one being edited), then the one beside the tests.
inline QString ShippedDataFile() {
    const QString source = QDir::cleanPath(QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() +
                                           QStringLiteral("/../../data/dbrg_text.dat"));
    return QFileInfo(source).isFile() ? source
                                      : FindDataFile(QString::fromLatin1(kTextDataFileName));
}

// True when the texts are loaded; the loader's message in `failure` otherwise.
inline bool LoadShippedTexts(QString* failure = nullptr) {
    QString message;
    return LoadProgramText(ShippedDataFile(), failure != nullptr ? failure : &message) > 0;
}

}  // namespace daybridge::testing
