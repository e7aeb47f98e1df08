#include "transfer/TransferRun.h"

#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QStatusBar>

namespace {
// A few dozen refreshes a second: the counts still run smoothly and an ESC is
// seen well within a tenth of a second, while a long file spends its time on
// its lines rather than on painting.
std::chrono::milliseconds g_refreshInterval{25};
} // namespace

BusyMark::BusyMark(TfmMain &main)
    : m_main(main)
{
    m_main.busy = true;
}

BusyMark::~BusyMark()
{
    m_main.busy = false;
}

ControlsLock::ControlsLock(TfmMain &main)
    : m_main(main)
{
    m_main.Panel1->setEnabled(false);
    m_main.Panel2->setEnabled(false);
    m_main.sgData->setEnabled(false);
}

ControlsLock::~ControlsLock()
{
    m_main.Panel1->setEnabled(true);
    m_main.Panel2->setEnabled(true);
    m_main.sgData->setEnabled(true);
}

void ShowCounts(TfmMain &main, int64_t done, int64_t errors)
{
    main.setStatusText(1, QString::number(done));
    main.setStatusText(3, QString::number(errors));
    main.sbMsg->repaint();
}

std::vector<std::string> GridColumnNames(TfmMain &main, int count)
{
    std::vector<std::string> names;
    for (int col = StringGrid::FixedCols; col <= count; ++col)
        names.push_back(main.sgData->Cells(col, 0).toStdString());
    return names;
}

ProgressCheck::ProgressCheck(TfmMain &main)
    : m_main(main)
{
}

bool ProgressCheck::cancelConfirmed(int64_t done, int64_t errors, QString &message)
{
    const bool escStops = m_main.cbBreak->isChecked();
    if (!m_sinceRefresh.isValid() || m_sinceRefresh.elapsed() >= g_refreshInterval.count()) {
        m_sinceRefresh.start();
        ShowCounts(m_main, done, errors);
        if (escStops)
            QCoreApplication::processEvents(); // ESC sets cancelRequested here
    }
    if (!escStops || !m_main.cancelRequested)
        return false;
    if (platform::showMessage(&m_main, QStringLiteral("キャンセルしますか？"), platform::MsgIcon::Question,
                              platform::MsgButtons::YesNo)
        == platform::MsgResult::Yes) {
        message = QStringLiteral("キャンセルしました。");
        return true;
    }
    m_main.cancelRequested = false;
    return false;
}

void ProgressCheck::setRefreshInterval(std::chrono::milliseconds interval)
{
    g_refreshInterval = interval;
}

std::chrono::milliseconds ProgressCheck::refreshInterval()
{
    return g_refreshInterval;
}
