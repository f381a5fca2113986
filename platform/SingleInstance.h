#pragma once
// One running copy of the program. The lock is an advisory lock (flock) on a file: the kernel
// drops it when the process ends, however it ends, so a crashed run never leaves it stuck and
// a lock file left behind on disk means nothing by itself. Only a lock held by a running copy
// means "running": a lock file that cannot be used (planted link, foreign file, folder others
// may write) never keeps the program from starting.

#include <QString>

class InstanceLock {
public:
    enum Outcome {
        Taken,         // this object holds the lock now
        HeldElsewhere, // another holder (another copy of the program) has it
        Unusable,      // the file cannot be opened or locked, is a link or is not ours
    };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock on the file at path, creating it (mode 0600) when absent. A link at path
    // is never followed.
    Outcome Take(const QString& path);
    // Take() == Taken.
    bool TryLock(const QString& path) { return Take(path) == Taken; }
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd{-1};
};

namespace SingleInstance {
// The folder of the lock: runtimeDir when it is a folder owned by this user that nobody else
// may enter (mode 0700); otherwise velmora-<uid> inside tempDir, created with mode 0700 when
// absent and used only when it is a real folder of this user (its mode is set back to 0700).
// Empty when neither can be trusted.
QString LockFolder(const QString& runtimeDir, const QString& tempDir);
// The lock file of this user's Velmora, named after the user id, in LockFolder() of
// VELMORA_LOCK_DIR (tests) or else XDG_RUNTIME_DIR, and the temporary folder. Empty when
// there is no folder to trust.
QString LockPath();
// Takes the program's lock for the rest of the run. False only when another copy runs (holds
// the lock); a lock that cannot be used lets the program start unguarded.
bool AcquireForThisRun();
// Gives the program's lock back (tests that start the program more than once).
void ReleaseForThisRun();
} // namespace SingleInstance
