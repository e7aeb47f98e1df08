#include "dialogs/TfmTable.h"

#include "platform/Forms.h"

TfmTable::TfmTable(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Table"));
    setFont(platform::formFont());
    resize(298, 416);
    setMinimumSize(298, 118);
}
