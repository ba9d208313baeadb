#pragma once
// Qt's own texts (standard buttons, file and colour dialogs) in the window's
// language, from the qtbase translation Qt ships.

#include "measure/language.h"

class QObject;

namespace orv {

// Installs the qtbase translation for language, owned by owner and removed
// with it. English needs none: Qt's texts are English. False when the
// translation is not installed on this machine (Qt's texts then stay English).
bool InstallQtTranslations(Language language, QObject *owner);

}  // namespace orv
