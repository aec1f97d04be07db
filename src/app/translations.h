// Loads the program's texts and Qt's own texts in the technician's language.
#pragma once

#include <QList>
#include <QLocale>
#include <QString>

class QTranslator;

namespace translations_n
{

// The program's language for a locale: "de" for German, "en" for every other language, empty for the
// C/POSIX locale, in which the texts stay as written in the code.
QString languageFor(const QLocale& p_locale);

// Installs the program's translation and, where present, Qt's own for the locale's language on the
// application object, which owns them; deleting a returned translator removes it again.
QList<QTranslator*> install(const QLocale& p_locale);

} // namespace translations_n
