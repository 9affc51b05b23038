// Qt's own texts (the file dialogs' buttons and labels, the message boxes'
// Yes, No and OK) in the language of the locale, from the translations
// Debian ships with Qt.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace morsk {

// True when a translation for the locale was found and installed.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

}  // namespace morsk
