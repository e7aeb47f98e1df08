#include "oracle/TOCIcur.h"

#include "oracle/TOCIctrl.h"

namespace {
const char *const kUnbound = "OCI-Controlにバインドされていません";
}

TOCIcur::TOCIcur(QObject *owner)
    : QObject(owner)
{
}

// Calls nothing of the library: the session closes open cursors when it logs
// off, and the area may belong to a library that is already gone.
TOCIcur::~TOCIcur() = default;

TOCIctrl *TOCIcur::session()
{
    auto *candidate = qobject_cast<TOCIctrl *>(m_ociParent.data());
    if (!candidate || !candidate->CtrlBind(parent()))
        m_ociParent = nullptr;
    return qobject_cast<TOCIctrl *>(m_ociParent.data());
}

QObject *TOCIcur::OCIParent()
{
    session();
    return m_ociParent;
}

void TOCIcur::setOCIParent(QObject *component)
{
    m_ociParent = component;
    session();
}

bool TOCIcur::CleanUP()
{
    TOCIctrl *ctrl = session();
    if (!ctrl) {
        LastError = QString::fromUtf8(kUnbound);
        return false;
    }
    if (!m_opened)
        return true;
    bool closed = ctrl->CloseCur(m_cda);
    if (closed)
        m_opened = false;
    else
        LastError = ctrl->err_report(m_cda);
    return closed;
}
