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

// Only plain relative paths below the program folder count.
QStringList BelowOnly(const QStringList& entries)
{
    QStringList paths;
    for (const QString& path : entries) {
        if (!path.startsWith(u'/') && !path.split(u'/').contains(QStringLiteral("..")))
            paths << path;
    }
    return paths;
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

QStringList ReadManifest(const QString& appPath)
{
    return BelowOnly(Installer::ReadManifest(Installer::FolderHandle::Open(appPath)).entries);
}

std::optional<QString> Refusal(const QString& appPath, const QString& homeFolder)
{
    const QString folder = Canonical(appPath);
    const QString why = QStringLiteral("%1 cannot be uninstalled from %2: ").arg(Installer::ProductName(), folder);
    switch (Installer::ReadManifest(Installer::FolderHandle::Open(appPath)).status) {
    case Installer::Manifest::Status::Missing:
        return why + QStringLiteral("it was not installed there by its installer.");
    case Installer::Manifest::Status::TooLarge:
        return why + Installer::ManifestTooLargeReason();
    case Installer::Manifest::Status::Read:
        break;
    }
    if (folder == QStringLiteral("/") || folder == Canonical(homeFolder)
        || Canonical(QStorageInfo(folder).rootPath()) == folder)
        return why + QStringLiteral("the folder is not a program folder of its own.");
    return std::nullopt;
}

UninstallJob::UninstallJob(const QString& appPath, bool keepRecord)
    : m_appPath(WithSlash(appPath)), m_root(Installer::FolderHandle::Open(m_appPath)), m_keepRecord(keepRecord),
      m_folders(FixedFolders(keepRecord)), m_maximum(ProgressMaximum(keepRecord))
{
    const Installer::Manifest manifest = Installer::ReadManifest(m_root);
    // Without its manifest (gone, or grown too large since it was checked) nothing goes.
    m_manifestRead = manifest.status == Installer::Manifest::Status::Read;
    if (!m_manifestRead) {
        m_folders.clear();
        Leave(Installer::ManifestName());
        return;
    }
    m_entries = BelowOnly(manifest.entries);
    m_manifest = QSet<QString>(m_entries.cbegin(), m_entries.cend());
    for (const auto& entry : m_root.Entries()) {
        if (!entry.folder && m_manifest.contains(entry.name) && entry.name != Installer::ManifestName())
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
        if (m_manifestRead) {
            RemoveLeftovers();
            DesktopEntries::Remove();
            KeepWhatStayed();
        }
        m_shortcutsDone = true;
        m_progress = m_maximum;
    }
    return false;
}

bool UninstallJob::Kept(const QString& relative) const
{
    return m_keepRecord && relative.startsWith(QStringLiteral("Record/"));
}

bool UninstallJob::Stayed(const QString& relative) const
{
    for (QString path = relative; !path.isEmpty(); path = FolderOf(path)) {
        if (m_leftSet.contains(path))
            return true;
    }
    return false;
}

void UninstallJob::KeepWhatStayed()
{
    QStringList stayed;
    for (const QString& entry : m_entries) {
        if (!Kept(entry) && Stayed(entry))
            stayed << entry;
    }
    if (!stayed.isEmpty()) {
        // Should the rewrite fail, the whole list stays, which another run can go by too.
        Installer::WriteManifest(m_root, stayed);
        return;
    }
    const int error = m_root.RemoveFile(Installer::ManifestName());
    if (error != 0 && error != ENOENT)
        Leave(Installer::ManifestName());
}

void UninstallJob::RemoveLeftovers()
{
    // Installed files in folders outside the fixed list, what a killed install left beside its
    // files and its manifest, and the folders they leave empty, deepest first. Nothing behind
    // a link goes.
    RemoveFile(m_root, Installer::PartName(Installer::ManifestName()));
    QStringList entries = m_entries;
    entries.sort();
    QStringList folders;
    // The entries are sorted: those of one folder follow one another and share its handle.
    QString folderPath;
    Installer::FolderHandle handle;
    bool opened = false;
    for (const QString& relative : entries) {
        if (Kept(relative))
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
        // The program folder's own files went one by one; the manifest goes last.
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
    // The folder goes once nothing of the program can still write into it.
    QObject::connect(app, &QCoreApplication::aboutToQuit, app, [job] { job->FinishAtExit(); },
        Qt::SingleShotConnection);
}

} // namespace Uninstaller
