#include "InstallEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "CodePage.h"
#include "DriveType.h"
#include "Product.h"

namespace Installer {

namespace {

constexpr int DefaultMaximum = 100; // the progress bar's own maximum when nothing was counted
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

bool CopyReplacing(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit())
        return false;
    QFile::setPermissions(destination, in.permissions());
    return true;
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
    for (const QString& folder : folders) {
        const QString relative = folder.mid(m_sourceRoot.size() + 1);
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
    if (task.source.isEmpty()) {
        const QFileInfo info(task.destination);
        if (!info.exists() && !QDir().mkpath(task.destination))
            m_failedFolders << task.destination;
        if (task.relative.isEmpty())
            StartManifest(); // the install folder, even left empty, can be uninstalled
    } else {
        if (CopyReplacing(task.source, task.destination))
            List(task.relative);
        else
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
    QSaveFile file(Joined(m_installPath, name));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = CodePage::ToGbk(FailureReport() + CrLf);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return false;
    List(name);
    return true;
}

void CopyJob::StartManifest()
{
    const QString path = Joined(m_installPath, ManifestName());
    QStringList entries;
    QFile earlier(path);
    if (earlier.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : earlier.readAll().split('\n')) {
            const QString entry = QString::fromUtf8(line);
            if (!entry.isEmpty() && !m_listed.contains(entry)) {
                m_listed.insert(entry);
                entries << entry;
            }
        }
        earlier.close();
    }
    // Written whole once, so that every later entry is appended after a complete line.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray bytes = entries.isEmpty() ? QByteArray() : (entries.join(u'\n') + u'\n').toUtf8();
    if (file.write(bytes) == bytes.size())
        file.commit();
}

void CopyJob::List(const QString& relative)
{
    if (m_listed.contains(relative))
        return;
    QFile file(Joined(m_installPath, ManifestName()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write((relative + u'\n').toUtf8());
        if (file.flush())
            m_listed.insert(relative);
    }
}

} // namespace Installer
