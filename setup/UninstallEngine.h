#pragma once
// The uninstaller's work without its window. It removes only what the installer put there,
// as its manifest names it (and the learner's records when they are not kept): the fixed
// folders in their order, one folder per step, then the program folder's own files, then the
// two shortcuts. Folders go only when they are empty, so anything of the learner's stays.
// The running program's file, the manifest and the program folder go last, as the program
// ends (FinishAtExit). Every folder is opened through its parent's handle and its files are
// removed through its own (FolderHandle): nothing behind a link is touched, even one that
// takes a folder's place while the removal runs.

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "FolderHandle.h"

namespace Uninstaller {

// One fixed removal: the folder below the program folder is parent + name when name is
// empty or a number, else parent + "/" + name.
struct FolderRemoval {
    QString Parent;
    QString Name;
};
QList<FolderRemoval> FixedFolders(bool keepRecord);
QString FolderPath(const QString& appPath, const FolderRemoval& removal);
// The progress maximum: the bar is full once the letter folders of the syllables are gone.
int ProgressMaximum(bool keepRecord);

// Why the program folder must not be uninstalled, or nothing: no manifest (not installed by
// the installer), a mount root, the home folder or the file-system root.
std::optional<QString> Refusal(const QString& appPath, const QString& homeFolder);

class UninstallJob {
public:
    UninstallJob(const QString& appPath, const QString& programFile, bool keepRecord);

    // One step (a fixed folder, a file of the program folder, or the shortcuts); false when
    // everything is done.
    bool Step();
    int Progress() const { return m_progress; }
    int Maximum() const { return m_maximum; }
    // What was to go and stayed (a file that could not be removed, a link where a folder of
    // the program was), as paths below the program folder, in the order met.
    const QStringList& Left() const { return m_left; }
    // Called with each removed file's path below the program folder.
    std::function<void(const QString&)> Removed;

    // Removes the program file and the manifest, then the program folder when it is empty.
    // Called as the program ends.
    void FinishAtExit();

private:
    void RemoveFolder(const QString& relative, bool everything);
    void RemoveLeftovers();
    // Removes one file through its folder's handle; one that stays is left.
    void RemoveFile(const Installer::FolderHandle& folder, const QString& relative);
    // Removes an empty folder; one that stays for anything but what it still holds is left.
    void RemoveEmptyFolder(const QString& relative);
    void Leave(const QString& relative);

    QString m_appPath;       // ends in "/"
    Installer::FolderHandle m_root;
    QString m_programName;   // the running program's file name when it is in the program folder
    bool m_keepRecord;
    QSet<QString> m_manifest; // relative paths
    QList<FolderRemoval> m_folders;
    QStringList m_rootFiles;
    qsizetype m_next{0};
    int m_progress{0};
    int m_maximum;
    bool m_shortcutsDone{false};
    QStringList m_left;
    QSet<QString> m_leftSet;
};

// The message after the removal: the plain notice when nothing stayed, else how much stayed,
// in which folder, and the first few paths.
QString CompletionText(const QString& appPath, const QStringList& left);

// Runs job's FinishAtExit once, as the application's event loop ends.
void FinishWhenProgramEnds(std::shared_ptr<UninstallJob> job);

// The manifest's relative paths; empty when there is none.
QSet<QString> ReadManifest(const QString& appPath);

} // namespace Uninstaller
