#include "ui/shared/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace translations {

bool installQtRussian(QCoreApplication& app) {
    // Once per application: a second translator would only shadow the first.
    if (app.property("tavrolabQtRussian").toBool())
        return true;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    app.setProperty("tavrolabQtRussian", true);
    return true;
}

} // namespace translations
