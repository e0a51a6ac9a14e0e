#pragma once
// Qt's own texts (file dialogs, their overwrite question, context menus of
// edit boxes) in Japanese, to match the program's texts.

#include <QString>

class QCoreApplication;

namespace vornik {

// Loads qtbase_ja from translations/ beside the executable, else from Qt's
// translations folder; without it Qt's texts simply stay in English.
void installJapaneseTranslations(QCoreApplication& app);

// The same from a given folder; true when a catalogue was loaded and
// installed.
bool installJapaneseTranslationsFrom(QCoreApplication& app, const QString& folder);

} // namespace vornik
