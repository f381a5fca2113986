#include "AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

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

void StringGrid2::Redim(int columns)
{
    for (auto& row : m_rows)
        row.resize(std::max(columns, 0) + 1);
}

QString StringGrid2::At(int row, int column) const
{
    if (row < 0 || row > 1 || column < 0 || column > Columns())
        return {};
    return m_rows[row][column];
}

void StringGrid2::Set(int row, int column, const QString& value)
{
    if (row < 0 || row > 1 || column < 0)
        return;
    if (column > Columns())
        Redim(column);
    m_rows[row][column] = value;
}
