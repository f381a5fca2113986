#include "UninstallEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>

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

QString FolderOf(const QString& relative)
{
    const qsizetype slash = relative.lastIndexOf(u'/');
    return slash < 0 ? QString() : relative.left(slash);
}

QString NameOf(const QString& relative)
{
    return relative.mid(relative.lastIndexOf(u'/') + 1);
}

QString Below(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder + u'/' + name;
}

// How many of the paths left the message names.
constexpr qsizetype NamedPaths = 5;

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
    const auto bytes = Installer::FolderHandle::Open(appPath).Read(Installer::ManifestName());
    if (!bytes)
        return paths;
    for (const QByteArray& line : bytes->split('\n')) {
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
    : m_appPath(WithSlash(appPath)), m_root(Installer::FolderHandle::Open(m_appPath)), m_keepRecord(keepRecord),
      m_manifest(ReadManifest(appPath)), m_folders(FixedFolders(keepRecord)),
      m_maximum(ProgressMaximum(keepRecord))
{
    const QFileInfo program(Canonical(programFile));
    if (Canonical(program.absolutePath()) == Canonical(m_appPath))
        m_programName = program.fileName();
    for (const auto& entry : m_root.Entries()) {
        if (entry.folder || !m_manifest.contains(entry.name) || entry.name == Installer::ManifestName()
            || entry.name == m_programName)
            continue; // the program and its manifest go as the program ends
        m_rootFiles << entry.name;
    }
}

void UninstallJob::Leave(const QString& relative)
{
    if (!m_leftSet.contains(relative)) {
        m_leftSet.insert(relative);
        m_left << relative;
    }
}

void UninstallJob::RemoveFile(const Installer::FolderHandle& folder, const QString& relative)
{
    // A link goes as a link.
    const int error = folder.RemoveFile(NameOf(relative));
    if (error == 0) {
        if (Removed)
            Removed(relative);
    } else if (error != ENOENT) {
        Leave(relative);
    }
}

void UninstallJob::RemoveEmptyFolder(const QString& relative)
{
    int error = 0;
    QString failedAt;
    const Installer::FolderHandle parent = m_root.Below(FolderOf(relative), false, &error, &failedAt);
    if (!parent.IsOpen()) {
        if (error != ENOENT)
            Leave(failedAt);
        return;
    }
    // A folder that still holds something stays: what it holds is the learner's, or is left.
    error = parent.RemoveFolder(NameOf(relative));
    if (error != 0 && error != ENOENT && error != ENOTEMPTY && error != EEXIST)
        Leave(relative);
}

void UninstallJob::RemoveFolder(const QString& relative, bool everything)
{
    int error = 0;
    QString failedAt;
    const Installer::FolderHandle folder = m_root.Below(relative, false, &error, &failedAt);
    if (folder.IsOpen()) {
        for (const auto& entry : folder.Entries()) {
            const QString path = relative + u'/' + entry.name;
            if (!entry.folder && (everything || m_manifest.contains(path)))
                RemoveFile(folder, path);
        }
        RemoveEmptyFolder(relative);
    } else if (error != ENOENT) {
        Leave(failedAt); // a link, or no folder, where a folder of the program was
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
        RemoveFile(m_root, m_rootFiles.at(m_next - folders));
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
    // Installed files in folders outside the fixed list, what a killed install left beside its
    // files, and the folders they leave empty, deepest first. Nothing behind a link goes.
    QStringList entries = m_manifest.values();
    entries.sort();
    QStringList folders;
    // The entries are sorted: those of one folder follow one another and share its handle.
    QString folderPath;
    Installer::FolderHandle handle;
    bool opened = false;
    for (const QString& relative : entries) {
        if (m_keepRecord && relative.startsWith(QStringLiteral("Record/")))
            continue;
        if (!opened || FolderOf(relative) != folderPath) {
            folderPath = FolderOf(relative);
            int error = 0;
            QString failedAt;
            handle = m_root.Below(folderPath, false, &error, &failedAt);
            opened = true;
            if (!handle.IsOpen() && error != ENOENT)
                Leave(failedAt);
        }
        if (!handle.IsOpen())
            continue;
        // The program folder's own files went one by one; the program and the manifest go last.
        if (!folderPath.isEmpty())
            RemoveFile(handle, relative);
        RemoveFile(handle, Below(folderPath, Installer::PartName(NameOf(relative))));
        for (QString up = folderPath; !up.isEmpty(); up = FolderOf(up)) {
            if (!folders.contains(up))
                folders << up;
        }
    }
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        return a.count(u'/') != b.count(u'/') ? a.count(u'/') > b.count(u'/') : a < b;
    });
    for (const QString& folder : folders)
        RemoveEmptyFolder(folder);
}

void UninstallJob::FinishAtExit()
{
    if (!m_programName.isEmpty() && m_manifest.contains(m_programName))
        m_root.RemoveFile(m_programName);
    m_root.RemoveFile(Installer::ManifestName());
    QDir().rmdir(m_appPath);
}

QString CompletionText(const QString& appPath, const QStringList& left)
{
    const QString product = Installer::ProductName();
    if (left.isEmpty())
        return product + QStringLiteral(" is uninstalled.");
    const QString crLf = QStringLiteral("\r\n");
    QString text = product + QStringLiteral(" was NOT uninstalled completely!") + crLf
        + QString::number(left.size())
        + (left.size() == 1 ? QStringLiteral(" file or folder") : QStringLiteral(" files or folders"))
        + QStringLiteral(" could not be removed from") + crLf + Canonical(appPath) + crLf;
    for (const QString& path : left.first(std::min(left.size(), NamedPaths)))
        text += crLf + path;
    if (left.size() > NamedPaths)
        text += crLf + QStringLiteral("... and %1 more").arg(left.size() - NamedPaths);
    return text;
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
