#include "app/TfmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TfmMain fmMain;
    fmMain.show();
    return app.exec();
}
