// The numbered texts of the text data file, once it is loaded (env/text_store.h loads it).
#pragma once

#include <QString>

#include "text/language.h"

namespace daybridge {

// The text with that identifier in the given language; empty when there is none.
QString GetText(int id, Language language);

// Passed to the library with every lookup.
void SetMainWindowReady(bool ready);

}  // namespace daybridge
