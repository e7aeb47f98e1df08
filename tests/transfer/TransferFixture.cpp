#include "TransferFixture.h"

#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "embedded/Admin.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "support/SessionRows.h"
#include "support/TestEnvironment.h"
#include "transfer/Preview.h"
#include "transfer/TransferRun.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>

// Looks at the status bar each time the window processes its events, and
// presses ESC once it shows the awaited count. It posts itself again after
// each look, so it is looked at once per round of events.
class TransferFixture::EscAtCount : public QObject {
public:
    EscAtCount(TfmMain &window, int done)
        : m_window(window)
        , m_done(QString::number(done))
    {
        repost();
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != kLook)
            return QObject::event(event);
        if (m_window.statusText(1) != m_done) {
            repost();
            return true;
        }
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &m_window;
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QCoreApplication::sendEvent(target, &esc);
        return true;
    }

private:
    static constexpr QEvent::Type kLook = QEvent::Type(QEvent::User + 17);
    void repost() { QCoreApplication::postEvent(this, new QEvent(kLook)); }

    TfmMain &m_window;
    QString m_done;
};

TransferFixture::TransferFixture() = default;
TransferFixture::~TransferFixture() = default;

void TransferFixture::SetUp()
{
    folder = QString::fromStdString(testenv::makeTempDir("transfer")) + QLatin1Char('/');
    const std::string database = folder.toStdString() + "db";
    std::string message;
    ASSERT_EQ(kdb::admin::createUser(database, "SCOTT", "tiger", &message), 0) << message;
    TOCIctrl::setDefaultLibraryNames({QString::fromStdString(testenv::binDir() + "/libkarvellodb.so")});
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"), QString::fromStdString(database));
    window = std::make_unique<TfmMain>();
    ASSERT_TRUE(window->OCI->connected()) << window->OCI->LastError.toStdString();
    window->cbBreak->setChecked(false);
    window->cbHead->setChecked(false);
    window->cbAutoCmt->setChecked(false);
    window->cbTime->setChecked(false);
    ProgressCheck::setRefreshInterval(std::chrono::milliseconds(0));
}

void TransferFixture::TearDown()
{
    m_esc.reset();
    window.reset();
    TOCIctrl::resetDefaultLibraryNames();
    ProgressCheck::setRefreshInterval(std::chrono::milliseconds(25));
}

void TransferFixture::run(const std::vector<std::string> &statements)
{
    testenv::runStatements(*window, statements);
}

std::vector<std::string> TransferFixture::rows(const std::string &sql)
{
    return testenv::queryRows(*window, sql);
}

QString TransferFixture::path(const QString &name) const
{
    return folder + name;
}

QString TransferFixture::writeFile(const QString &name, const std::string &bytes)
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), qint64(bytes.size()));
    return path(name);
}

std::string TransferFixture::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(missing)";
    return file.readAll().toStdString();
}

QString TransferFixture::fullDiskLink(const QString &name)
{
    EXPECT_TRUE(QFile::link(QStringLiteral("/dev/full"), path(name)));
    return path(name);
}

void TransferFixture::preview(int mode, const std::string &table, const QString &csv)
{
    window->rgMode->setItemIndex(mode);
    ASSERT_TRUE(PreviewTable(*window, table)) << table;
    ASSERT_TRUE(PreviewCsv(*window, csv));
}

void TransferFixture::escWhenDone(int done)
{
    m_esc = std::make_unique<EscAtCount>(*window, done);
}

std::string crlfLines(const std::vector<std::string> &lines)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    return bytes;
}
