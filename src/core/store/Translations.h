#pragma once
// The interface language. English is the source text; a catalogue compiled
// into the program (":/i18n/wex-browser_<language>.qm") translates it for the
// user's locale, and Qt's own catalogue (standard buttons and dialogs) comes
// from the system when it is installed. A missing, unreadable or damaged
// catalogue leaves English in place, and a translation that is blank (only
// spaces or mnemonic marks) gives way to the English text, so no menu or
// button is ever left without a title.
//
// The translators belong to the application object; the one must exist
// before InstallTranslations and they go with it (or RemoveTranslations).
#include <QLocale>
#include <QString>

namespace wex {

// Installs the catalogues for locale, looking for the program's own in folder
// (the compiled-in one unless a test names another). Returns the language
// whose catalogue was installed ("ja"), or an empty string when English stays.
// Call it before any window is made: texts are translated when they are set.
QString InstallTranslations(const QLocale &locale = QLocale::system(), const QString &folder = QString());
// Removes and deletes what InstallTranslations installed.
void RemoveTranslations();

} // namespace wex
