#include "app/TfmMain.h"

TfmMain::TfmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Karvello+"));
    setMinimumSize(654, 182);
}
