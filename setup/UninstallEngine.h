#pragma once
// The uninstaller's work without its window. It removes only what the installer put there,
// as its manifest names it (and the learner's records when they are not kept): the fixed
// folders in their order, one folder per step, then the program folder's own files (the
// running program's too: it keeps its open image), then the two shortcuts. Folders go only
// when they are empty, so anything of the learner's stays. The manifest then keeps the lines
// of what was to go and stayed, so that another run can finish the work, or goes when nothing
// stayed; the program folder goes as the program ends (FinishAtExit). Every folder is opened
// through its parent's handle and its files are removed through its own (FolderHandle):
// nothing behind a link or on another mount is touched, even one that takes a folder's place
// while the removal runs.

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
// the installer), a manifest too large to be read, a mount root, the home folder or the
// file-system root.
std::optional<QString> Refusal(const QString& appPath, const QString& homeFolder);

class UninstallJob {
public:
    UninstallJob(const QString& appPath, bool keepRecord);

    // One step (a fixed folder, a file of the program folder, or the shortcuts); false when
    // everything is done.
    bool Step();
    int Progress() const { return m_progress; }
    int Maximum() const { return m_maximum; }
    // What was to go and stayed (a file that could not be removed, a link or a mount where a
    // folder of the program was), as paths below the program folder, in the order met.
    const QStringList& Left() const { return m_left; }
    // Called with each removed file's path below the program folder.
    std::function<void(const QString&)> Removed;

    // Removes the program folder when it is empty. Called as the program ends.
    void FinishAtExit();

private:
    void RemoveFolder(const QString& relative, bool everything);
    void RemoveLeftovers();
    // Removes one file through its folder's handle; one that stays is left.
    void RemoveFile(const Installer::FolderHandle& folder, const QString& relative);
    // Removes an empty folder; one that stays for anything but what it still holds is left.
    void RemoveEmptyFolder(const QString& relative);
    void Leave(const QString& relative);
    // Whether relative, or a folder above it, was to go and stayed.
    bool Stayed(const QString& relative) const;
    bool Kept(const QString& relative) const;
    // Rewrites the manifest with the lines of what stayed, or removes it when nothing did.
    void KeepWhatStayed();

    QString m_appPath;       // ends in "/"
    Installer::FolderHandle m_root;
    bool m_keepRecord;
    bool m_manifestRead;
    QStringList m_entries;    // the manifest's relative paths, in its order
    QSet<QString> m_manifest; // the same, to look up
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

// The manifest's relative paths below the program folder, in its order; empty when there is
// none or it is too large to be read.
QStringList ReadManifest(const QString& appPath);

} // namespace Uninstaller
