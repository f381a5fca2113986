#include "FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

#include "FormEvents.h"

namespace {
FileDialog::Recorder* g_recorder = nullptr;

// "*.jpg" becomes "*.[jJ][pP][gG]": Qt matches name filters with the case sensitivity of the
// file system, and the old dialogs ignored case.
QString EitherCase(const QString& pattern)
{
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}
} // namespace

namespace FileDialog {

// "Description|*.a;*.b" becomes Qt's "Description (*.a *.b)", each pattern in either case.
QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const int paren = description.indexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << EitherCase(pattern.trimmed());
        out << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

QString PicturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

Recorder::Recorder() { g_recorder = this; }
Recorder::~Recorder()
{
    if (g_recorder == this)
        g_recorder = nullptr;
}

QString Recorder::Take(const QString& filter, const QString& folder)
{
    ++m_shown;
    m_lastFilter = filter;
    m_lastFolder = folder;
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

QString GetOpenFileName(QWidget* parent, const QString& filter, const QString& folder)
{
    if (g_recorder)
        return g_recorder->Take(filter, folder);
    const QPointer<QWidget> owner = parent ? parent->window() : nullptr;
    // The patterns spelled for either case are not for the learner's eyes: the list shows the
    // descriptions only.
    const QString path = QFileDialog::getOpenFileName(parent, QString(), folder,
        QtNameFilters(filter).join(QStringLiteral(";;")), nullptr, QFileDialog::HideNameFilterDetails);
    // The window that opened the dialog has the keys again: the window manager gives them to
    // a window of its own choosing (the full-screen main window).
    FormEvents::GiveBack(owner);
    return path;
}

} // namespace FileDialog
