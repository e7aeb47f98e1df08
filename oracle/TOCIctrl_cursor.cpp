// The cursor primitives of the session controller: thin calls on a cursor
// area that the caller owns. None stores a text or shows anything; the caller
// asks err_report(area) for the reason of a false result.
#include "oracle/TOCIctrl.h"

bool TOCIctrl::CloseCur(cda_def &area)
{
    return m_connected && m_entries.oclose(&area) == 0;
}

bool TOCIctrl::CtrlBind(const QObject *component) const
{
    return component == parent();
}
