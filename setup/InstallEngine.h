#pragma once
// The installer's work without its window: the drive verdict, the breadth-first walk of the
// program folder, the copy one step at a time (so the window serves events and sees Cancel
// between steps), the failure report and the manifest the uninstaller goes by.

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "FolderHandle.h"

namespace Installer {

// The product's name in shortcuts, questions and the uninstaller; the folder it installs into.
QString ProductName();
QString InstallFolderName();
// The program's file in the program folder: what the shortcuts start, what "run it now"
// starts and what the uninstaller removes as the program ends.
QString ProgramFileName();
// The manifest of what was installed, in the install folder: one relative path per line.
QString ManifestName();
// No installation writes a manifest near this size (a whole course lists well under 1 MB);
// one beyond it is not read, and never written.
constexpr qint64 ManifestLimit = 16 * 1024 * 1024;
struct Manifest {
    enum class Status { Read, Missing, TooLarge };
    Status status{Status::Missing};
    QStringList entries; // each once, in the order written
};
// The manifest in folder; Missing also for a link or anything but a regular file.
Manifest ReadManifest(const FolderHandle& folder);
// Writes the manifest whole, beside its place and renamed over it; false when it failed or
// would be larger than ManifestLimit (nothing is then written).
bool WriteManifest(const FolderHandle& folder, const QStringList& entries);
// Why a manifest beyond the limit stops the installer and the uninstaller.
QString ManifestTooLargeReason();
// Why nothing may be installed at installPath, or nothing: its manifest is too large to be
// kept up to date.
std::optional<QString> InstallRefusal(const QString& installPath);
// What a file is written as before it is renamed into place; one a killed install left is
// removed with its file.
QString PartName(const QString& name);

// base + "/Norvale/" (base without a trailing "/").
QString InstallPath(const QString& base);

// Free space in whole megabytes, a half going to the even neighbour.
qint64 FreeMegabytes(quint64 freeBytes);

enum class DriveVerdict { CdRom, Removable, NotEnoughSpace, Enough };
DriveVerdict CheckDrive(int driveType, quint64 freeBytes);
// The status label's text; red for every verdict but Enough.
QString VerdictText(DriveVerdict verdict);

// The program folder's sub-folders, breadth first: all folders one level down, then all two
// levels down in the order their parents were visited, and so on. Links to folders are not
// followed, and a folder that holds the destination is left out, so an install into the
// program folder never copies itself. Hidden files are copied like any other.
class FolderWalk {
public:
    FolderWalk(const QString& root, const QString& excluded);
    // Walks one folder; false once the walk is complete.
    bool Step();
    const QStringList& Folders() const { return m_folders; }
    qint64 FileCount() const { return m_fileCount; }

private:
    void Visit(const QString& folder);

    QString m_root;
    QString m_excluded;
    QStringList m_folders;
    qint64 m_fileCount{0};
    qsizetype m_next{-1}; // -1: the root itself comes first
};

// The files of one folder, in name order, links to folders and special files left out.
QStringList FilesOf(const QString& folder);

// Copies the program folder into the install folder, one file (or one folder creation) per
// Step. A file is copied beside its place and renamed over it, so a failed copy never leaves
// a truncated file. Below the install folder nothing is written through a link: a folder
// that is a link fails, and a link in place of a file is replaced by the file. A Record
// folder that is already there is the learner's and is never copied over. Failures are
// collected and the copy goes on.
class CopyJob {
public:
    CopyJob(const QString& sourceRoot, const QStringList& folders, const QString& installPath,
            qint64 fileCount);

    // One step; false when there is nothing left. Each copied (or failed) file's destination
    // goes to the log callback.
    bool Step();
    std::function<void(const QString&)> Log;
    // Called with each file's path below the install folder once its manifest line is
    // written, just before it is copied. A file that cannot be listed (the manifest would
    // grow past its limit, or could not be written) is not copied and fails.
    std::function<void(const QString&)> Listed;

    qint64 Progress() const { return m_progress; }
    qint64 Maximum() const { return m_maximum; }
    const QStringList& FailedFolders() const { return m_failedFolders; }
    const QStringList& FailedFiles() const { return m_failedFiles; }
    bool Failed() const { return !m_failedFolders.isEmpty() || !m_failedFiles.isEmpty(); }

    // The report shown and written to "Install Error.txt" after a failed copy.
    QString FailureReport() const;
    // Writes the report into the install folder and lists it on the manifest; false when it
    // could not be written.
    bool WriteErrorFile();

private:
    struct Task {
        QString source;      // empty: create the folder `destination`
        QString destination;
        QString relative;    // path below the install folder
    };
    void Plan(const QStringList& folders);
    // The manifest grows as the copy goes, each file listed before it is copied, so whatever
    // was copied before a Cancel, a failure or a crash can be uninstalled. It starts from an
    // earlier manifest's entries: a reinstallation keeps what the earlier one installed on
    // the list.
    void StartManifest();
    // Lists a file on the manifest; false when it could not be listed (it is then not copied).
    bool List(const QString& relative);
    void PlanFiles(const QString& sourceFolder, const QString& destinationFolder, const QString& relative);

    QString m_sourceRoot;
    QString m_installPath;
    FolderHandle m_root;   // the install folder, once made
    FolderHandle m_folder; // the folder whose files are being copied
    QList<Task> m_tasks;
    qsizetype m_next{0};
    qint64 m_progress{0};
    qint64 m_maximum{0};
    QStringList m_failedFolders;
    QStringList m_failedFiles;
    QSet<QString> m_listed;
    qint64 m_manifestSize{0};
    bool m_manifestRefused{false}; // an earlier manifest too large to be read: never replaced
};

// Copies source into folder as name, so that an existing file is replaced only by a complete
// copy, and a link standing there is replaced rather than written through.
bool CopyReplacing(const QString& source, const FolderHandle& folder, const QString& name);

} // namespace Installer
