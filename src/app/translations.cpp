#include "app/translations.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QTranslator>

namespace translations_n
{

QString languageFor(const QLocale& p_locale)
{
    if (p_locale.language() == QLocale::C)
    {
        return QString();
    }
    return p_locale.language() == QLocale::German ? QStringLiteral("de") : QStringLiteral("en");
}

QList<QTranslator*> install(const QLocale& p_locale)
{
    QList<QTranslator*> lstInstalled;
    const QString strLanguage = languageFor(p_locale);
    if (strLanguage.isEmpty())
    {
        return lstInstalled;
    }
    auto* pOwn = new QTranslator(QCoreApplication::instance());
    if (pOwn->load(QStringLiteral(":/translations/vindal01-tool_%1.qm").arg(strLanguage)))
    {
        QCoreApplication::installTranslator(pOwn);
        lstInstalled << pOwn;
    }
    else
    {
        qWarning() << "translation missing for" << strLanguage;
        delete pOwn;
    }
    // Qt's texts (standard buttons, file dialogs) are English already; other languages come from the
    // system's Qt translations, when they are installed.
    if (strLanguage != QLatin1String("en"))
    {
        auto* pQt = new QTranslator(QCoreApplication::instance());
        // A deployed program on Windows carries them in "translations" beside itself.
        const QString strName = QStringLiteral("qtbase_%1").arg(strLanguage);
        if (pQt->load(strName, QLibraryInfo::location(QLibraryInfo::TranslationsPath)) ||
            pQt->load(strName, QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
        {
            QCoreApplication::installTranslator(pQt);
            lstInstalled << pQt;
        }
        else
        {
            delete pQt;
        }
    }
    return lstInstalled;
}

} // namespace translations_n
