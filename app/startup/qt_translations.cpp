#include "app/startup/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orv {

bool InstallQtTranslations(Language language, QObject *owner)
{
    if (language != Language::Japanese || !QCoreApplication::instance())
        return false;
    // Parented to the owner: deleting it uninstalls the translation.
    auto *translator = new QTranslator(owner);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace orv
