// Draws the program's pictures and writes them into the given resources folder:
//   vindal01-image-generator <repo>/resources
#include "imageFiles.h"
#include "pictures.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace
{
bool writeFile(const QString& p_strPath, const QByteArray& p_baData)
{
    QSaveFile file(p_strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(p_baData) != p_baData.size() || !file.commit())
    {
        QTextStream(stderr) << "Cannot write " << p_strPath << ": " << file.errorString() << "\n";
        return false;
    }
    return true;
}

bool writePng(const QString& p_strPath, const QImage& p_image)
{
    QByteArray baPng;
    QBuffer buffer(&baPng);
    buffer.open(QIODevice::WriteOnly);
    if (!p_image.save(&buffer, "PNG"))
    {
        QTextStream(stderr) << "Cannot encode " << p_strPath << "\n";
        return false;
    }
    return writeFile(p_strPath, baPng);
}
} // namespace

int main(int argc, char* argv[])
{
    // Drawing needs no screen; without this the tool would look for a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList lstArgs = app.arguments();
    if (lstArgs.size() != 2)
    {
        QTextStream(stderr)
            << "Usage: vindal01-image-generator <resources folder>\n"
            << "Draws the program's pictures and writes them into icons/ and xpm/ of the folder.\n";
        return 2;
    }
    const QDir dirResources(lstArgs.at(1));
    if (!dirResources.exists())
    {
        QTextStream(stderr) << "No such folder: " << dirResources.path() << "\n";
        return 2;
    }
    for (const char* pszSub : {"icons", "xpm"})
    {
        if (!dirResources.mkpath(pszSub))
        {
            QTextStream(stderr) << "Cannot create " << dirResources.filePath(pszSub) << "\n";
            return 1;
        }
    }

    using namespace pictures_n;
    const QList<QPair<QString, QImage>> lstPngs{{"fingerprint-info", modeIcon(symbolInfo)},
                                                {"fingerprint-add", modeIcon(symbolAdd)},
                                                {"fingerprint-image", modeIcon(symbolImage)},
                                                {"fingerprint-person", modeIcon(symbolPerson)},
                                                {"fingerprint-delete", modeIcon(symbolDelete)},
                                                {"fingerprint-analyse", modeIcon(symbolAnalyse)},
                                                {"fingerprint-template", fingerprintTemplate()},
                                                {"vindal01-tool", programIcon(256)},
                                                {"KV_Devices", devices()},
                                                {"service-report", serviceReport()}};

    const QList<QPair<QString, QImage>> lstXpms{{"start", start()},
                                                {"stop", stop()},
                                                {"info", info()},
                                                {"lampYellow", lamp(QColor(0xf2, 0xc2, 0x00))},
                                                {"lampGreen", lamp(QColor(0x22, 0xb0, 0x2a))},
                                                {"lampRed", lamp(QColor(0xde, 0x1e, 0x1e))},
                                                {"debug", debug()},
                                                {"update", update()}};
    // The tool bar and status bar behind these images are light.
    const QColor colBackground(0xef, 0xef, 0xef);

    QList<QImage> lstIcoImages;
    for (int nSize : {16, 24, 32, 48, 64, 256})
        lstIcoImages << programIcon(nSize);

    bool bOk = true;
    for (const auto& png : lstPngs)
        bOk &= writePng(dirResources.filePath("icons/" + png.first + ".png"), png.second);
    for (const auto& xpm : lstXpms)
        bOk &= writeFile(dirResources.filePath("xpm/" + xpm.first + ".xpm"),
                         imageFiles_n::xpm(xpm.second, xpm.first, colBackground));
    bOk &= writeFile(dirResources.filePath("vindal01-tool.ico"), imageFiles_n::ico(lstIcoImages));
    return bOk ? 0 : 1;
}
