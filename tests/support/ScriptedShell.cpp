#include "ScriptedShell.h"

ScriptedShell::ScriptedShell()
    : m_previous(&platform::shellService())
{
    platform::setShellService(this);
}

ScriptedShell::~ScriptedShell()
{
    platform::setShellService(m_previous);
}

bool ScriptedShell::openDocument(const QString &path)
{
    m_opened << path;
    return m_result;
}
