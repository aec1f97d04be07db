// Path components, size texts and duration texts of the GUI tools.
#include "toolsGui/pathTools.h"
#include "toolsGui/textTools.h"

#include <QtTest>

#include <clocale>
#include <limits>

using namespace toolsGui_n;

class tst_textPathTools : public QObject
{
    Q_OBJECT

private slots:
    void pathParts_data();
    void pathParts();
    void splitPath_data();
    void splitPath();
    void backslashToUnderscore();
    void sizeText_data();
    void sizeText();
    void sizeTextIgnoresTheLocale();
    void durationText_data();
    void durationText();
};

void tst_textPathTools::pathParts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("baseName");
    QTest::newRow("no separator") << "file.txt"
                                  << ""
                                  << "file.txt"
                                  << "file";
    QTest::newRow("windows path") << "C:\\dir\\file.txt"
                                  << "C:\\dir"
                                  << "file.txt"
                                  << "file";
    QTest::newRow("slash after backslash") << "a/b\\c"
                                           << "a/b"
                                           << "c"
                                           << "c";
    QTest::newRow("backslash after slash") << "a\\b/c.d"
                                           << "a\\b"
                                           << "c.d"
                                           << "c";
    QTest::newRow("last dot only") << "dir/archive.tar.gz"
                                   << "dir"
                                   << "archive.tar.gz"
                                   << "archive.tar";
    QTest::newRow("dot file") << ".profile"
                              << ""
                              << ".profile"
                              << "";
    QTest::newRow("dot in directory only") << "dir.d/file"
                                           << "dir.d"
                                           << "file"
                                           << "file";
    QTest::newRow("trailing separator") << "dir\\"
                                        << "dir"
                                        << ""
                                        << "";
    QTest::newRow("root file") << "/file.log"
                               << ""
                               << "file.log"
                               << "file";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
}

void tst_textPathTools::pathParts()
{
    QFETCH(QString, path);
    QFETCH(QString, directory);
    QFETCH(QString, fileName);
    QFETCH(QString, baseName);
    QCOMPARE(pathDirectory(path), directory);
    QCOMPARE(pathFileName(path), fileName);
    QCOMPARE(pathBaseName(path), baseName);
}

void tst_textPathTools::splitPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("windows path") << "C:\\dir\\file.txt" << QStringList{"C:", "dir", "file.txt"};
    QTest::newRow("mixed separators") << "a/b\\c/d" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("no separator") << "file" << QStringList{"file"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("leading separator") << "/usr/bin" << QStringList{"usr", "bin"};
    QTest::newRow("trailing separator") << "dir\\sub\\" << QStringList{"dir", "sub", ""};
    QTest::newRow("double separator") << "a\\\\b" << QStringList{"a", "", "b"};
    QTest::newRow("network path") << "\\\\server\\share" << QStringList{"", "server", "share"};
    QTest::newRow("separator only") << "/" << QStringList{""};
}

void tst_textPathTools::splitPath()
{
    QFETCH(QString, path);
    const QString strBefore = path;
    QFETCH(QStringList, parts);
    QCOMPARE(toolsGui_n::splitPath(path), parts);
    QCOMPARE(path, strBefore);
}

void tst_textPathTools::backslashToUnderscore()
{
    QCOMPARE(toolsGui_n::backslashToUnderscore("\\\\.\\COM3"), QString("__._COM3"));
    QCOMPARE(toolsGui_n::backslashToUnderscore("a/b"), QString("a/b"));
    QCOMPARE(toolsGui_n::backslashToUnderscore(""), QString(""));
}

void tst_textPathTools::sizeText_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    const quint64 k = 1024, m = k * k, g = m * k, t = g * k;
    QTest::newRow("0") << quint64(0) << "0";
    QTest::newRow("1023") << quint64(1023) << "1023";
    QTest::newRow("1 kB") << k << "1.00 kB";
    QTest::newRow("1.5 kB") << k + 512 << "1.50 kB";
    // The unit follows the truncated quotient while the printed value is rounded.
    QTest::newRow("just under 10 kB") << 10 * k - 1 << "10.00 kB";
    QTest::newRow("10 kB") << 10 * k << "10.0 kB";
    QTest::newRow("just under 100 kB") << 100 * k - 1 << "100.0 kB";
    QTest::newRow("100 kB") << 100 * k << "100 kB";
    QTest::newRow("whole kB truncate") << 1000 * k + 1023 << "1000 kB";
    QTest::newRow("just under 1 MB") << m - 1 << "1023 kB";
    QTest::newRow("1 MB") << m << "1.00 MB";
    QTest::newRow("2.5 MB") << 5 * m / 2 << "2.50 MB";
    QTest::newRow("99.9 MB") << 99 * m + 9 * m / 10 << "99.9 MB";
    QTest::newRow("1023 MB") << g - 1 << "1023 MB";
    QTest::newRow("1 GB") << g << "1.00 GB";
    QTest::newRow("12.3 GB") << 12 * g + 3 * g / 10 << "12.3 GB";
    QTest::newRow("500 GB") << 500 * g + 700 * m << "500 GB";
    QTest::newRow("1 TB") << t << "1.0 TB";
    QTest::newRow("2.25 TB") << 9 * t / 4 << "2.2 TB";
    QTest::newRow("largest") << std::numeric_limits<quint64>::max() << "16777216.0 TB";
}

void tst_textPathTools::sizeText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(toolsGui_n::sizeText(bytes), text);
}

// The program takes the system's locale; a German one must not turn the decimal point into a comma.
void tst_textPathTools::sizeTextIgnoresTheLocale()
{
    const QLocale localeBefore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* pszBefore = std::setlocale(LC_NUMERIC, nullptr);
    const QByteArray baBefore = pszBefore ? QByteArray(pszBefore) : QByteArray("C");
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const QString str = toolsGui_n::sizeText(1536);
    std::setlocale(LC_NUMERIC, baBefore.constData());
    QLocale::setDefault(localeBefore);
    QCOMPARE(str, QString("1.50 kB"));
}

void tst_textPathTools::durationText_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "0:00";
    QTest::newRow("59 s") << qint64(59) << "0:59";
    QTest::newRow("1 min") << qint64(60) << "1:00";
    QTest::newRow("59:59") << qint64(3599) << "59:59";
    QTest::newRow("1 h") << qint64(3600) << "1:00:00";
    QTest::newRow("23:59:59") << qint64(86399) << "23:59:59";
    QTest::newRow("1 day") << qint64(86400) << "1d 0:00:00";
    QTest::newRow("1d 1:01:01") << qint64(90061) << "1d 1:01:01";
    QTest::newRow("400 days") << qint64(400) * 86400 + 7 << "400d 0:00:07";
    QTest::newRow("negative") << qint64(-75) << "- 1:15";
    QTest::newRow("negative hours") << qint64(-3661) << "- 1:01:01";
    // Days beyond 32 bits and the most negative count are still written correctly.
    QTest::newRow("huge") << qint64(86400) * 3000000000LL + 59 << "3000000000d 0:00:59";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "- 106751991167300d 15:30:08";
}

void tst_textPathTools::durationText()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(toolsGui_n::durationText(seconds), text);
}

QTEST_APPLESS_MAIN(tst_textPathTools)
#include "tst_textPathTools.moc"
