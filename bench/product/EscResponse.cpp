#include "EscResponse.h"

#include "CsvFile.h"
#include "bench/common/Measure.h"
#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "platform/MessageBox.h"
#include "transfer/Preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

// Answers every box Yes and notes when the stop question first comes.
class QuestionClock final : public platform::MessageBoxService {
public:
    platform::MsgResult show(QWidget *, const QString &text, platform::MsgIcon, platform::MsgButtons,
                             bool) override
    {
        if (text == QStringLiteral("キャンセルしますか？") && !asked)
            asked = Clock::now();
        return platform::MsgResult::Yes;
    }
    std::optional<Clock::time_point> asked;
};

// Presses ESC from outside the import's loop, the way the window system
// queues a key while the program is busy: the press waits in the event queue
// until the loop next looks.
class EscPress {
public:
    // The event is made here, on the window's thread: making it finds the
    // keyboard device, which Qt creates on first use as a child of the
    // application object.
    EscPress(QWidget *target, std::chrono::microseconds delay)
        : m_press(new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")))
        , m_thread([this, target, delay] {
            std::this_thread::sleep_for(delay);
            m_pressed.store(Clock::now());
            QCoreApplication::postEvent(target, m_press);
        })
    {
    }
    ~EscPress() { m_thread.join(); }
    Clock::time_point pressed() const { return m_pressed.load(); }

private:
    std::atomic<Clock::time_point> m_pressed{};
    QKeyEvent *m_press; // the event queue owns it once posted
    std::thread m_thread;
};

double oneEscResponseMs(TfmMain &window, const char *csv, std::chrono::microseconds delay)
{
    QuestionClock clock;
    platform::MessageBoxService *before = &platform::messageBoxService();
    platform::setMessageBoxService(&clock);
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    QString message;
    std::chrono::duration<double, std::milli> waited{0};
    {
        EscPress press(target, delay);
        window.RunTransfer(QString::fromLatin1(kTableName), QString::fromUtf8(csv), false, 0, message);
        if (clock.asked)
            waited = *clock.asked - press.pressed();
    }
    platform::setMessageBoxService(before);
    if (!clock.asked)
        fail("the import ended before the ESC came; no question was asked");
    return waited.count();
}

} // namespace

double slowestEscResponseMs(TfmMain &window, const char *csv, double importSeconds)
{
    window.rgMode->setItemIndex(0);
    window.cbTruncate->setChecked(true);
    if (!PreviewTable(window, kTableName) || !PreviewCsv(window, QString::fromUtf8(csv)))
        fail("preview failed");
    double slowest = 0;
    for (double share : {0.2, 0.35, 0.5}) {
        const auto delay = std::chrono::microseconds(static_cast<long>(importSeconds * share * 1e6));
        slowest = std::max(slowest, oneEscResponseMs(window, csv, delay));
    }
    window.cbTruncate->setChecked(false);
    return slowest;
}

} // namespace bench
