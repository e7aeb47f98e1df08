#include "oracle/TOCIctrl.h"

#include "oracle/TOCIcur.h"
#include "oracle/TfmLogin.h"
#include "platform/Paths.h"
#include "platform/WaitCursor.h"

#include <QFile>
#include <QLineEdit>
#include <dlfcn.h>
#include <memory>
#include <optional>

namespace {

const char *const kLibraryUnavailable = "DLLが使用不可能です。";

std::optional<QStringList> &defaultNamesOverride()
{
    static std::optional<QStringList> names;
    return names;
}

const oci_text *bytes(const QByteArray &text)
{
    return reinterpret_cast<const oci_text *>(text.constData());
}

} // namespace

OciError::OciError(const QString &text)
    : std::runtime_error(text.toStdString())
{
}

// --- Construction -------------------------------------------------------------

TOCIctrl::TOCIctrl(QObject *owner)
    : QObject(owner)
    , m_libraryNames(defaultLibraryNames())
{
}

TOCIctrl::~TOCIctrl()
{
    UnActive();
}

QStringList TOCIctrl::defaultLibraryNames()
{
    if (defaultNamesOverride())
        return *defaultNamesOverride();
    return {QStringLiteral("libclntsh.so"), platform::programFolder() + QStringLiteral("libkarvellodb.so")};
}

void TOCIctrl::setDefaultLibraryNames(const QStringList &names)
{
    defaultNamesOverride() = names;
}

void TOCIctrl::resetDefaultLibraryNames()
{
    defaultNamesOverride().reset();
}

// --- Binding ------------------------------------------------------------------

void TOCIctrl::SetActive(bool value)
{
    if (value && !m_activated)
        activate();
    else if (!value && m_activated)
        deactivate();
}

bool TOCIctrl::Active()
{
    try {
        SetActive(true);
    } catch (const OciError &) {
        return false;
    }
    return true;
}

bool TOCIctrl::UnActive()
{
    try {
        SetActive(false);
    } catch (const OciError &) {
        return false;
    }
    return true;
}

void TOCIctrl::activate()
{
    for (const QString &name : m_libraryNames) {
        m_libHandle = dlopen(QFile::encodeName(name).constData(), RTLD_NOW | RTLD_LOCAL);
        if (m_libHandle)
            break;
    }
    if (!m_libHandle)
        throw OciError(m_libraryNames.join(QStringLiteral(" or ")) + QStringLiteral("のロードに失敗しました。"));

    m_entries.resolve([this](const char *name) { return dlsym(m_libHandle, name); });
    const std::string_view missing = m_entries.firstMissing();
    if (!missing.empty()) {
        // A library that lacks an entry is of no use; let it go at once.
        unloadLibrary();
        throw OciError(QStringLiteral("エントリ") + QString::fromLatin1(missing.data(), missing.size())
                       + QStringLiteral("のロードに失敗しました。"));
    }
    m_activated = true;
}

void TOCIctrl::deactivate()
{
    if (m_connected && !DisConnect())
        throw OciError(QStringLiteral("セッションを終了できません。"));
    unloadLibrary();
    m_activated = false;
}

void TOCIctrl::unloadLibrary()
{
    m_entries = OciEntryPoints{};
    if (m_libHandle)
        dlclose(m_libHandle);
    m_libHandle = nullptr;
}

// Activates on demand; true (with LastError set) when the library still
// cannot be used.
bool TOCIctrl::libraryUnavailable()
{
    if (!m_activated && !Active()) {
        LastError = QString::fromUtf8(kLibraryUnavailable);
        return true;
    }
    return false;
}

// --- Session ------------------------------------------------------------------

bool TOCIctrl::Login()
{
    LastError.clear();
    if (libraryUnavailable())
        return false;

    auto dialog = std::make_unique<TfmLogin>();
    m_loginForm = dialog.get();
    dialog->edUser->setText(UserID);
    dialog->edPassword->setText(Password);
    dialog->edConn->setText(ConnStr);
    // A returning user only has to type the password.
    if (!dialog->edUser->text().isEmpty())
        dialog->edPassword->setFocus();
    else
        dialog->edUser->setFocus();

    bool result = false;
    if (dialog->run() == QDialog::Accepted && DisConnect()) {
        UserID = dialog->edUser->text();
        Password = dialog->edPassword->text();
        ConnStr = dialog->edConn->text();
        result = Connect();
    }
    m_loginForm = nullptr;
    return result;
}

bool TOCIctrl::Connect()
{
    if (libraryUnavailable())
        return false;
    if (m_connected && !DisConnect())
        return false;

    platform::WaitCursor wait;
    const QByteArray user = UserID.toLocal8Bit();
    const QByteArray password = Password.toLocal8Bit();
    const QByteArray connect = ConnStr.toLocal8Bit();
    if (m_entries.olog(&m_lda, m_hda.data, bytes(user), -1, bytes(password), -1, bytes(connect), -1, 0) == 0)
        m_connected = true;
    else
        err_report(m_lda);
    return m_connected;
}

bool TOCIctrl::DisConnect()
{
    if (!m_activated) {
        LastError = QString::fromUtf8(kLibraryUnavailable);
        return false;
    }
    if (!m_connected)
        return true;

    platform::WaitCursor wait;
    if (!CleanUP())
        return false;
    if (m_entries.ologof(&m_lda) != 0) {
        LastError = QStringLiteral("セッションを切断できません。");
        return false;
    }
    m_connected = false;
    return true;
}

bool TOCIctrl::CleanUP()
{
    QObject *owner = parent();
    if (!owner)
        return true;
    for (QObject *child : owner->children()) {
        // While the owner is being destroyed its list holds nulls for the
        // children already gone.
        if (!child)
            continue;
        if (QString::fromLatin1(child->metaObject()->className()).compare(QLatin1String("TOCICur"), Qt::CaseInsensitive) != 0)
            continue;
        auto *cursor = qobject_cast<TOCIcur *>(child);
        if (cursor && !cursor->CleanUP())
            return false;
    }
    return true;
}

bool TOCIctrl::Commit()
{
    return endTransaction(m_entries.ocom);
}

bool TOCIctrl::Rollback()
{
    return endTransaction(m_entries.orol);
}

bool TOCIctrl::endTransaction(oci_ocom_fn call)
{
    if (!m_connected)
        return false;
    platform::WaitCursor wait;
    if (call(&m_lda) == 0)
        return true;
    err_report(m_lda);
    return false;
}

void TOCIctrl::SetAutoCommit(bool value)
{
    if (!m_connected || value == m_autoCommit)
        return;
    if (value) {
        if (m_entries.ocon(&m_lda) != 0) {
            err_report(m_lda);
            throw OciError(QStringLiteral("Auto-CommitをONにできません。"));
        }
    } else if (m_entries.ocof(&m_lda) != 0) {
        err_report(m_lda);
        throw OciError(QStringLiteral("Auto-CommitをOFFにできません。"));
    }
    m_autoCommit = value;
}

QString TOCIctrl::err_report(const cda_def &area)
{
    QString text;
    if (area.fc != 0)
        text = QStringLiteral("-- ORACLE error when processing OCI function");
    char buffer[512] = {};
    if (m_entries.oerhms)
        m_entries.oerhms(&m_lda, static_cast<oci_sb2>(area.rc), reinterpret_cast<oci_text *>(buffer), sizeof buffer);
    // Whatever the library wrote, the text ends inside the buffer.
    buffer[sizeof buffer - 1] = '\0';
    text += u'\n';
    text += QString::fromLocal8Bit(buffer);
    LastError = text;
    return text;
}
