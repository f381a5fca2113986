#include "DesktopEntries.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace DesktopEntries {

namespace {

// The string escapes of a desktop file's values.
QString EscapeValue(const QString& value)
{
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

void WriteEntry(const QString& folder, const QString& text, bool executable)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    const QString path = QDir(folder).filePath(FileName());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text.toUtf8());
    if (!file.commit())
        return;
    if (executable) // desktops start only entries marked as programs
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

} // namespace

QString FileName() { return QStringLiteral("velmora-2007.desktop"); }

QString DesktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString ApplicationsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

QString ExecArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    quoted.replace(u'%', QStringLiteral("%%"));
    return EscapeValue(quoted);
}

QString EntryText(const QString& name, const QString& program, const QString& workingFolder)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=%1\n"
                          "Comment=Mandarin course for English speakers\n"
                          "Exec=%2\n"
                          "Path=%3\n"
                          "Terminal=false\n"
                          "Categories=Education;Languages;\n")
        .arg(EscapeValue(name), ExecArgument(program), EscapeValue(workingFolder));
}

void Create(const QString& name, const QString& program, const QString& workingFolder)
{
    const QString text = EntryText(name, program, workingFolder);
    WriteEntry(DesktopFolder(), text, true);
    WriteEntry(ApplicationsFolder(), text, false);
}

void Remove()
{
    for (const QString& folder : {ApplicationsFolder(), DesktopFolder()}) {
        if (!folder.isEmpty())
            QFile::remove(QDir(folder).filePath(FileName()));
    }
}

} // namespace DesktopEntries
