// Qt's own texts (the file dialogs' buttons and labels, the message boxes'
// Yes, No and OK) in the program's language, from the translations Debian
// ships with Qt. English is Qt's own.
#pragma once

#include "translate.h"

class QCoreApplication;

namespace morsk {

// Installs Qt's Chinese translation for Chinese, removes it for English.
// False when Chinese was asked for and Qt's translation is not installed.
bool ApplyQtLanguage(QCoreApplication& app, Language language);

}  // namespace morsk
