#pragma once
// One running copy of the program. The lock is an advisory lock (flock) on a file: the kernel
// drops it when the process ends, however it ends, so a crashed run never leaves it stuck and
// a lock file left behind on disk means nothing by itself.

#include <QString>

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock on the file at path (created when absent). False when another holder
    // (another copy of the program) has it, or the file cannot be opened.
    bool TryLock(const QString& path);
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd{-1};
};

namespace SingleInstance {
// The lock file of this user's Velmora: VELMORA_LOCK_DIR (tests), else the user's runtime
// folder, else the temporary folder; the file is named after the user id.
QString LockPath();
// Takes the program's lock for the rest of the run. False when another copy runs.
bool AcquireForThisRun();
// Gives the program's lock back (tests that start the program more than once).
void ReleaseForThisRun();
} // namespace SingleInstance
