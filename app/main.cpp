// The program: the three windows, created once in this order, and the event
// loop, which runs until the main window closes.
#include "app/Globals.h"
#include "app/TfmMain.h"
#include "dialogs/TfmTable.h"
#include "joblist/TfmJob.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <exception>

namespace {

int run()
{
    fmMain = new TfmMain;
    if (fmMain->startupAborted()) {
        delete fmMain;
        fmMain = nullptr;
        return 1;
    }
    fmTable = new TfmTable;
    fmJob = new TfmJob;
    // Closing the main window ends the program, even with the job list open.
    fmTable->setAttribute(Qt::WA_QuitOnClose, false);
    fmJob->setAttribute(Qt::WA_QuitOnClose, false);

    fmMain->show();
    const int status = QApplication::exec();

    delete fmJob;
    delete fmTable;
    delete fmMain;
    fmJob = nullptr;
    fmTable = nullptr;
    fmMain = nullptr;
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    try {
        return run();
    } catch (const std::exception &error) {
        platform::showMessage(nullptr, QString::fromUtf8(error.what()), platform::MsgIcon::Error,
                              platform::MsgButtons::Ok);
    }
    return 1;
}
