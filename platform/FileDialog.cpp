#include "FileDialog.h"

#include <QFileDialog>

namespace {
FileDialog::Recorder* g_recorder = nullptr;

// "Description|*.a;*.b" becomes Qt's "Description (*.a *.b)".
QString QtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const int paren = description.indexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}
} // namespace

namespace FileDialog {

Recorder::Recorder() { g_recorder = this; }
Recorder::~Recorder()
{
    if (g_recorder == this)
        g_recorder = nullptr;
}

QString Recorder::Take()
{
    ++m_shown;
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

QString GetOpenFileName(QWidget* parent, const QString& filter)
{
    if (g_recorder)
        return g_recorder->Take();
    return QFileDialog::getOpenFileName(parent, QString(), QString(), QtFilter(filter));
}

} // namespace FileDialog
