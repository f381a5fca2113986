#include "InstallEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <sys/stat.h>

#include "CodePage.h"
#include "DriveType.h"
#include "Product.h"

namespace Installer {

namespace {

constexpr int DefaultMaximum = 100; // the progress bar's own maximum when nothing was counted
constexpr unsigned FileMode = 0644;  // the manifest and the failure report
const QString CrLf = QStringLiteral("\r\n");

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

bool IsInside(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return path == folder || path.startsWith(folder + u'/');
}

QString Joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

QString ProductName() { return Product::Name(); }
QString InstallFolderName() { return QStringLiteral("Norvale"); }
QString ProgramFileName() { return QStringLiteral("velmora"); }
QString ManifestName() { return QStringLiteral(".velmora-installed"); }
QString PartName(const QString& name) { return u'.' + name + QStringLiteral(".installing"); }

QString InstallPath(const QString& base)
{
    QString root = base;
    while (root.size() > 1 && root.endsWith(u'/'))
        root.chop(1);
    return Joined(root, InstallFolderName()) + u'/';
}

qint64 FreeMegabytes(quint64 freeBytes)
{
    return static_cast<qint64>(std::nearbyint(static_cast<double>(freeBytes) / 1024.0 / 1024.0));
}

DriveVerdict CheckDrive(int driveType, quint64 freeBytes)
{
    if (driveType == Drives::CdRom)
        return DriveVerdict::CdRom;
    if (driveType == Drives::Removable)
        return DriveVerdict::Removable;
    return FreeMegabytes(freeBytes) >= 50 ? DriveVerdict::Enough : DriveVerdict::NotEnoughSpace;
}

QString VerdictText(DriveVerdict verdict)
{
    switch (verdict) {
    case DriveVerdict::CdRom: return QStringLiteral("Cannot install on a CD driver!");
    case DriveVerdict::Removable: return QStringLiteral("Cannot install on a thumb driver!");
    case DriveVerdict::NotEnoughSpace: return QStringLiteral("The free space is not enough!");
    case DriveVerdict::Enough: break;
    }
    return QStringLiteral("The free space is enough.");
}

QStringList FilesOf(const QString& folder)
{
    QStringList files;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QFileInfo& info : entries) {
        // Regular files and links to regular files; no devices, sockets or pipes.
        if (info.isFile())
            files << info.fileName();
    }
    return files;
}

FolderWalk::FolderWalk(const QString& root, const QString& excluded)
    : m_root(Canonical(root)), m_excluded(excluded.isEmpty() ? QString() : Canonical(excluded))
{
}

void FolderWalk::Visit(const QString& folder)
{
    m_fileCount += FilesOf(folder).size();
    const QFileInfoList subs =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& info : subs) {
        if (info.isSymLink())
            continue; // a link may lead anywhere, even back up the tree
        const QString path = Canonical(info.absoluteFilePath());
        if (IsInside(path, m_excluded) || !IsInside(path, m_root))
            continue;
        m_folders << path;
    }
}

bool FolderWalk::Step()
{
    if (m_next < 0) {
        Visit(m_root);
        m_next = 0;
        return !m_folders.isEmpty();
    }
    if (m_next >= m_folders.size())
        return false;
    Visit(m_folders.at(m_next++));
    return m_next < m_folders.size();
}

bool CopyReplacing(const QString& source, const FolderHandle& folder, const QString& name)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    struct stat st {};
    if (::fstat(in.handle(), &st) != 0)
        return false;
    return folder.Replace(name, PartName(name), st.st_mode, [&in](int fd) {
        QByteArray chunk;
        while (!(chunk = in.read(1 << 20)).isEmpty()) {
            if (!WriteAll(fd, chunk))
                return false;
        }
        return in.error() == QFileDevice::NoError;
    });
}

CopyJob::CopyJob(const QString& sourceRoot, const QStringList& folders, const QString& installPath,
                 qint64 fileCount)
    : m_sourceRoot(Canonical(sourceRoot)), m_installPath(installPath),
      m_maximum(fileCount > 0 ? fileCount : DefaultMaximum)
{
    Plan(folders);
}

void CopyJob::Plan(const QStringList& folders)
{
    QString installFolder = m_installPath;
    if (installFolder.size() > 1 && installFolder.endsWith(u'/'))
        installFolder.chop(1);
    m_tasks.append({QString(), installFolder, QString()});
    PlanFiles(m_sourceRoot, installFolder, QString());
    // Records already there are the learner's: only a first install starts from the medium's.
    const QString records = QStringLiteral("Record");
    const QFileInfo installedRecords(Joined(installFolder, records));
    const bool keepRecords = installedRecords.exists() || installedRecords.isSymLink();
    for (const QString& folder : folders) {
        const QString relative = folder.mid(m_sourceRoot.size() + 1);
        if (keepRecords && (relative == records || relative.startsWith(records + u'/')))
            continue;
        const QString destination = Joined(installFolder, relative);
        m_tasks.append({QString(), destination, relative});
        PlanFiles(folder, destination, relative);
    }
}

void CopyJob::PlanFiles(const QString& sourceFolder, const QString& destinationFolder, const QString& relative)
{
    for (const QString& name : FilesOf(sourceFolder)) {
        // A medium that was itself installed has a manifest of its own: copied, it would
        // replace the list this copy keeps.
        if (relative.isEmpty() && name == ManifestName())
            continue;
        m_tasks.append({Joined(sourceFolder, name), Joined(destinationFolder, name),
                        relative.isEmpty() ? name : relative + u'/' + name});
    }
}

bool CopyJob::Step()
{
    if (m_next >= m_tasks.size())
        return false;
    const Task& task = m_tasks.at(m_next++);
    if (task.relative.isEmpty()) {
        // The install folder is where the learner chose to have it: a link there is followed.
        if (!QFileInfo::exists(task.destination) && !QDir().mkpath(task.destination))
            m_failedFolders << task.destination;
        m_root = FolderHandle::Open(task.destination);
        m_folder = m_root.Below(QString(), false);
        StartManifest(); // the install folder, even left empty, can be uninstalled
    } else if (task.source.isEmpty()) {
        // Something other than a folder in the way is no failure to create one; the files
        // that go into it fail instead.
        const QFileInfo info(task.destination);
        const bool inTheWay = info.exists() || info.isSymLink();
        m_folder = m_root.Below(task.relative, true);
        if (!m_folder.IsOpen() && !inTheWay)
            m_failedFolders << task.destination;
    } else {
        // A file is copied only once the manifest names it, so the uninstaller finds it.
        const bool listed = List(task.relative);
        if (listed && Listed)
            Listed(task.relative);
        if (!listed || !CopyReplacing(task.source, m_folder, QFileInfo(task.destination).fileName()))
            m_failedFiles << task.source;
        if (Log)
            Log(task.destination);
        m_progress = std::min(m_progress + 1, m_maximum);
    }
    if (m_next >= m_tasks.size()) {
        m_progress = m_maximum;
        return false;
    }
    return true;
}

QString CopyJob::FailureReport() const
{
    QString report;
    if (!m_failedFolders.isEmpty()) {
        report += QStringLiteral("The following folders were not created successfully:") + CrLf;
        for (const QString& folder : m_failedFolders)
            report += CrLf + folder;
        report += CrLf;
    }
    if (!m_failedFiles.isEmpty()) {
        report += QStringLiteral("The following files were not copied successfully:") + CrLf;
        for (const QString& file : m_failedFiles)
            report += CrLf + file;
    }
    return report;
}

bool CopyJob::WriteErrorFile()
{
    const QString name = QStringLiteral("Install Error.txt");
    const QByteArray bytes = CodePage::ToGbk(FailureReport() + CrLf);
    List(name);
    return m_root.Replace(name, PartName(name), FileMode, [&bytes](int fd) { return WriteAll(fd, bytes); });
}

void CopyJob::StartManifest()
{
    const Manifest earlier = ReadManifest(m_root);
    if (earlier.status == Manifest::Status::TooLarge) {
        // Not read, so never written over: nothing is listed, and so nothing is copied.
        m_manifestRefused = true;
        return;
    }
    for (const QString& entry : earlier.entries)
        m_listed.insert(entry);
    // Written whole once, so that every later entry is appended after a complete line.
    WriteManifest(m_root, earlier.entries);
    m_manifestSize = earlier.entries.isEmpty() ? 0 : (earlier.entries.join(u'\n') + u'\n').toUtf8().size();
}

bool CopyJob::List(const QString& relative)
{
    if (m_listed.contains(relative))
        return true;
    const QByteArray line = (relative + u'\n').toUtf8();
    if (m_manifestRefused || m_manifestSize + line.size() > ManifestLimit || !m_root.Append(ManifestName(), line))
        return false;
    m_manifestSize += line.size();
    m_listed.insert(relative);
    return true;
}

Manifest ReadManifest(const FolderHandle& folder)
{
    Manifest manifest;
    bool tooLarge = false;
    const auto bytes = folder.Read(ManifestName(), ManifestLimit, &tooLarge);
    if (!bytes) {
        manifest.status = tooLarge ? Manifest::Status::TooLarge : Manifest::Status::Missing;
        return manifest;
    }
    manifest.status = Manifest::Status::Read;
    QSet<QString> seen;
    for (const QByteArray& line : bytes->split('\n')) {
        const QString entry = QString::fromUtf8(line);
        if (!entry.isEmpty() && !seen.contains(entry)) {
            seen.insert(entry);
            manifest.entries << entry;
        }
    }
    return manifest;
}

bool WriteManifest(const FolderHandle& folder, const QStringList& entries)
{
    const QByteArray bytes = entries.isEmpty() ? QByteArray() : (entries.join(u'\n') + u'\n').toUtf8();
    if (bytes.size() > ManifestLimit)
        return false;
    return folder.Replace(ManifestName(), PartName(ManifestName()), FileMode,
                          [&bytes](int fd) { return WriteAll(fd, bytes); });
}

QString ManifestTooLargeReason()
{
    return QStringLiteral("its list of installed files, %1, is larger than any installation writes (over %2 MB), "
                          "so it is not read.")
        .arg(ManifestName())
        .arg(ManifestLimit / (1024 * 1024));
}

std::optional<QString> InstallRefusal(const QString& installPath)
{
    const FolderHandle folder = FolderHandle::Open(installPath);
    if (!folder.IsOpen() || ReadManifest(folder).status != Manifest::Status::TooLarge)
        return std::nullopt;
    return QStringLiteral("%1 cannot be installed into %2: ").arg(ProductName(), Canonical(installPath))
        + ManifestTooLargeReason();
}

} // namespace Installer
