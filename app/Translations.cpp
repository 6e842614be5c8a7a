#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include "core/Text.h"

static void loadTranslationsResource() { Q_INIT_RESOURCE(translations); }

namespace {

// The translators the last call installed.
QList<QPointer<QTranslator>> installed;

std::string translateCore(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

// Loads `file` from `folder` and installs it; false when there is no such translation.
bool install(QCoreApplication& app, const QString& file, const QString& folder)
{
    auto* t = new QTranslator(&app);
    if (!t->load(file, folder)) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    installed << t;
    return true;
}

} // namespace

QString programLanguage(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::English) return QStringLiteral("en");
        if (language == QLocale::French) return QStringLiteral("fr");
    }
    return QStringLiteral("fr");
}

void removeTranslations()
{
    pendulab::setTextTranslator(nullptr);
    for (const QPointer<QTranslator>& t : std::as_const(installed))
        if (t) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    installed.clear();
}

QString installTranslations(QCoreApplication& app, const QLocale& locale)
{
    loadTranslationsResource();
    removeTranslations();

    const QString language = programLanguage(locale.uiLanguages());
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Qt's own texts (missing files leave Qt's English: the package depends on qt6-translations-l10n).
    install(app, QStringLiteral("qtbase_") + language, qtFolder);
    if (language == QLatin1String("en")) install(app, QStringLiteral("pendulab_en"), QStringLiteral(":/i18n"));
    pendulab::setTextTranslator(&translateCore);
    return language;
}
