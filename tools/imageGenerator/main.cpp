// Draws the program's pictures and writes them into the given resources folder:
//   vindal01-image-generator <repo>/resources
#include "imageFiles.h"
#include "pictures.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <functional>

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
            << "Draws the program's pictures, each also at twice the pixels (\"@2x\"), and writes them into\n"
            << "icons/ and xpm/ of the folder.\n";
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
    // Every picture is written twice: "<name>" for ordinary screens and "<name>@2x" at twice the pixels
    // for screens of twice the density, where the program picks the latter itself.
    using drawing_t = std::function<QImage(int p_nScale)>;
    const QList<QPair<QString, drawing_t>> lstPngs{
        {"fingerprint-info", [](int p_nScale) { return modeIcon(symbolInfo, p_nScale); }},
        {"fingerprint-add", [](int p_nScale) { return modeIcon(symbolAdd, p_nScale); }},
        {"fingerprint-image", [](int p_nScale) { return modeIcon(symbolImage, p_nScale); }},
        {"fingerprint-person", [](int p_nScale) { return modeIcon(symbolPerson, p_nScale); }},
        {"fingerprint-delete", [](int p_nScale) { return modeIcon(symbolDelete, p_nScale); }},
        {"fingerprint-analyse", [](int p_nScale) { return modeIcon(symbolAnalyse, p_nScale); }},
        {"fingerprint-template", &fingerprintTemplate},
        {"vindal01-tool", [](int p_nScale) { return programIcon(256 * p_nScale); }},
        {"KV_Devices", &devices},
        {"service-report", &serviceReport}};

    const QList<QPair<QString, drawing_t>> lstXpms{
        {"start", &start},
        {"stop", &stop},
        {"info", &info},
        {"lampYellow", [](int p_nScale) { return lamp(QColor(0xf2, 0xc2, 0x00), p_nScale); }},
        {"lampGreen", [](int p_nScale) { return lamp(QColor(0x22, 0xb0, 0x2a), p_nScale); }},
        {"lampRed", [](int p_nScale) { return lamp(QColor(0xde, 0x1e, 0x1e), p_nScale); }},
        {"debug", &debug},
        {"update", &update}};
    // The tool bar and status bar behind these images are light.
    const QColor colBackground(0xef, 0xef, 0xef);

    QList<QImage> lstIcoImages;
    for (int nSize : {16, 24, 32, 48, 64, 256})
        lstIcoImages << programIcon(nSize);

    bool bOk = true;
    for (int nScale : {1, 2})
    {
        const QString strSuffix = nScale == 1 ? QString() : QStringLiteral("@%1x").arg(nScale);
        for (const auto& png : lstPngs)
            bOk &= writePng(dirResources.filePath("icons/" + png.first + strSuffix + ".png"),
                            png.second(nScale));
        // The array's name must be a C identifier: "start_2x_xpm" for "start@2x.xpm".
        for (const auto& xpm : lstXpms)
            bOk &=
                writeFile(dirResources.filePath("xpm/" + xpm.first + strSuffix + ".xpm"),
                          imageFiles_n::xpm(xpm.second(nScale),
                                            xpm.first + QString(strSuffix).replace('@', '_'), colBackground));
    }
    bOk &= writeFile(dirResources.filePath("vindal01-tool.ico"), imageFiles_n::ico(lstIcoImages));
    return bOk ? 0 : 1;
}
