#include "app/application.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    prepareScaling();
    QApplication app(argc, argv);
    return runTool(app);
}
