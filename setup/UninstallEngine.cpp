#include "UninstallEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

#include "DesktopEntries.h"
#include "InstallEngine.h"

namespace Uninstaller {

namespace {

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

bool IsNumber(const QString& text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

QString WithSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

// Whether every folder on the way from the program folder down to relative (itself
// included) is a real folder, none a link, and the resolved folder lies inside the resolved
// program folder. A learner may have moved a folder of the program to another disk and left
// a link in its place: nothing behind such a link is the uninstaller's to remove.
bool PlainFolderInside(const QString& appPath, const QString& relative)
{
    QString path = appPath;
    if (!relative.isEmpty()) {
        for (const QString& part : relative.split(u'/')) {
            if (part.isEmpty() || part == QStringLiteral(".") || part == QStringLiteral(".."))
                return false;
            path += part;
            const QFileInfo info(path);
            if (info.isSymLink() || !info.isDir())
                return false;
            path += u'/';
        }
    }
    const QString root = Canonical(appPath);
    const QString resolved = Canonical(path);
    return resolved == root || resolved.startsWith(WithSlash(root));
}

QString FolderOf(const QString& relative)
{
    const qsizetype slash = relative.lastIndexOf(u'/');
    return slash < 0 ? QString() : relative.left(slash);
}

} // namespace

QList<FolderRemoval> FixedFolders(bool keepRecord)
{
    QList<FolderRemoval> list;
    list.append({QStringLiteral("Characters"), QString()});
    for (int n = 1; n <= 91; ++n)
        list.append({QStringLiteral("Lessons/Script/Lesson_"), QString::number(n)});
    list.append({QStringLiteral("Lessons/Script"), QString()});
    list.append({QStringLiteral("Lessons"), QString()});
    list.append({QStringLiteral("Numbers"), QString()});
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        list.append({QStringLiteral("Phonetic Symbols"), QString(QLatin1Char(letter))});
    list.append({QStringLiteral("Phonetic Symbols"), QString()});
    if (!keepRecord)
        list.append({QStringLiteral("Record"), QString()});
    for (const char* folder : {"Sound", "Spoken/Sound", "Spoken", "Vocabulary"})
        list.append({QString::fromLatin1(folder), QString()});
    return list;
}

QString FolderPath(const QString& appPath, const FolderRemoval& removal)
{
    if (removal.Name.isEmpty() || IsNumber(removal.Name))
        return appPath + removal.Parent + removal.Name;
    return appPath + removal.Parent + u'/' + removal.Name;
}

int ProgressMaximum(bool keepRecord)
{
    return keepRecord ? 121 : 122;
}

QSet<QString> ReadManifest(const QString& appPath)
{
    QSet<QString> paths;
    QFile file(WithSlash(appPath) + Installer::ManifestName());
    if (!file.open(QIODevice::ReadOnly))
        return paths;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString path = QString::fromUtf8(line);
        // Only plain relative paths below the program folder count.
        if (path.isEmpty() || path.startsWith(u'/') || path.split(u'/').contains(QStringLiteral("..")))
            continue;
        paths.insert(path);
    }
    return paths;
}

std::optional<QString> Refusal(const QString& appPath, const QString& homeFolder)
{
    const QString folder = Canonical(appPath);
    const QString why = QStringLiteral("%1 cannot be uninstalled from %2: ").arg(Installer::ProductName(), folder);
    if (!QFileInfo::exists(WithSlash(appPath) + Installer::ManifestName()))
        return why + QStringLiteral("it was not installed there by its installer.");
    if (folder == QStringLiteral("/") || folder == Canonical(homeFolder)
        || Canonical(QStorageInfo(folder).rootPath()) == folder)
        return why + QStringLiteral("the folder is not a program folder of its own.");
    return std::nullopt;
}

UninstallJob::UninstallJob(const QString& appPath, const QString& programFile, bool keepRecord)
    : m_appPath(WithSlash(appPath)), m_programFile(Canonical(programFile)), m_keepRecord(keepRecord),
      m_manifest(ReadManifest(appPath)), m_folders(FixedFolders(keepRecord)),
      m_maximum(ProgressMaximum(keepRecord))
{
    for (const QString& name : Installer::FilesOf(m_appPath)) {
        if (!m_manifest.contains(name) || name == Installer::ManifestName()
            || Canonical(m_appPath + name) == m_programFile)
            continue; // the program and its manifest go as the program ends
        m_rootFiles << name;
    }
}

void UninstallJob::RemoveFolder(const QString& relative, bool everything)
{
    const QString folder = m_appPath + relative;
    if (PlainFolderInside(m_appPath, relative)) {
        for (const QString& name : Installer::FilesOf(folder)) {
            if (everything || m_manifest.contains(relative + u'/' + name))
                QFile::remove(folder + u'/' + name);
        }
        QDir().rmdir(folder); // only an empty folder goes
    }
    if (m_progress < m_maximum)
        ++m_progress;
}

bool UninstallJob::Step()
{
    const qsizetype folders = m_folders.size();
    if (m_next < folders) {
        const FolderRemoval& removal = m_folders.at(m_next++);
        const QString relative = FolderPath(QString(), removal);
        RemoveFolder(relative, removal.Parent == QStringLiteral("Record"));
        return true;
    }
    if (m_next < folders + m_rootFiles.size()) {
        QFile::remove(m_appPath + m_rootFiles.at(m_next - folders)); // a link goes as a link
        ++m_next;
        return true;
    }
    if (!m_shortcutsDone) {
        RemoveLeftovers();
        DesktopEntries::Remove();
        m_shortcutsDone = true;
        m_progress = m_maximum;
    }
    return false;
}

void UninstallJob::RemoveLeftovers()
{
    // Installed files in folders outside the fixed list, and the folders they leave empty,
    // deepest first. An entry that is itself a link goes as a link; one behind a linked
    // folder stays, and so does that folder.
    QStringList folders;
    for (const QString& relative : m_manifest) {
        const qsizetype slash = relative.lastIndexOf(u'/');
        if (slash < 0 || (m_keepRecord && relative.startsWith(QStringLiteral("Record/"))))
            continue;
        if (!PlainFolderInside(m_appPath, FolderOf(relative)))
            continue;
        QFile::remove(m_appPath + relative);
        for (QString folder = relative.left(slash); !folder.isEmpty();
             folder = folder.left(qMax<qsizetype>(folder.lastIndexOf(u'/'), 0))) {
            if (!folders.contains(folder))
                folders << folder;
        }
    }
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        return a.count(u'/') != b.count(u'/') ? a.count(u'/') > b.count(u'/') : a < b;
    });
    for (const QString& folder : folders) {
        if (PlainFolderInside(m_appPath, folder))
            QDir().rmdir(m_appPath + folder);
    }
}

void UninstallJob::FinishAtExit()
{
    if (m_manifest.contains(QFileInfo(m_programFile).fileName())
        && Canonical(QFileInfo(m_programFile).absolutePath()) == Canonical(m_appPath))
        QFile::remove(m_programFile);
    QFile::remove(m_appPath + Installer::ManifestName());
    QDir().rmdir(m_appPath);
}

void FinishWhenProgramEnds(std::shared_ptr<UninstallJob> job)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !job)
        return;
    // The program file may go while it runs: the running program keeps its open image.
    QObject::connect(app, &QCoreApplication::aboutToQuit, app, [job] { job->FinishAtExit(); },
        Qt::SingleShotConnection);
}

} // namespace Uninstaller
