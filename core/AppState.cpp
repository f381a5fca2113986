#include "AppState.h"

#include <QCoreApplication>
#include <QDir>

namespace {
AppState* g_state = nullptr;
}

AppState& State()
{
    if (!g_state) {
        g_state = new AppState;
        g_state->AppPath = DefaultAppPath();
    }
    return *g_state;
}

void ResetState()
{
    delete g_state;
    g_state = new AppState;
    g_state->AppPath = DefaultAppPath();
}

QString DefaultAppPath()
{
    QString path = qEnvironmentVariable("VELMORA_APPPATH");
    if (path.isEmpty() && QCoreApplication::instance())
        path = QCoreApplication::applicationDirPath();
    if (path.isEmpty())
        path = QDir::currentPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}
