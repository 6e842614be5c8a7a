#pragma once
// The program's language. French is the program's own: its texts are the French source texts.
// When the user's interface language is English, the English translation (built from
// translations/pendulab_en.ts, carried in the program as a resource) is installed. Qt's own
// buttons and dialogs follow the same language through Qt's translations (qtbase_fr / qtbase_en),
// so a French program says "Oui" and "Non".
#include <QString>
#include <QStringList>

class QCoreApplication;
class QLocale;

// "en" when the first of `uiLanguages` (most preferred first, as QLocale::uiLanguages gives them)
// that is French or English is English; "fr" otherwise (French, C, any other language).
QString programLanguage(const QStringList& uiLanguages);

// Installs the translators for `locale`'s interface languages (QLocale::system() at start-up,
// which follows LANGUAGE, LC_ALL, LC_MESSAGES and LANG), replacing those a previous call installed,
// and routes the cores' messages through them. Returns the language chosen, "fr" or "en".
QString installTranslations(QCoreApplication& app, const QLocale& locale);

// Removes what installTranslations installed: the French source texts and Qt's English again.
void removeTranslations();
