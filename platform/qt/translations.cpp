#include "platform/qt/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace vornik {

bool installJapaneseTranslationsFrom(QCoreApplication& app, const QString& folder)
{
    // Asked for by full name: QTranslator's own search would fall back to a
    // language-less "qtbase.qm".
    const QString file = QDir(folder).filePath(QStringLiteral("qtbase_ja.qm"));
    if (folder.isEmpty() || !QFileInfo(file).isFile())
        return false;
    // Owned by the application, so it lives exactly as long as it is used.
    auto* translator = new QTranslator(&app);
    if (!translator->load(file) || !app.installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void installJapaneseTranslations(QCoreApplication& app)
{
    // A program folder shipped with its own Qt (windeployqt, a portable zip)
    // carries the catalogue in translations/ beside the executable; Qt's
    // translations folder would point at the machine that built it.
    const QString beside
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"));
    if (!installJapaneseTranslationsFrom(app, beside))
        installJapaneseTranslationsFrom(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace vornik
