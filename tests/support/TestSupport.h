#pragma once
// Shared helpers of the tests: a temporary AppPath with a fresh state, a manual clock, a
// message-box recorder, and QString printing for GoogleTest.

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <thread>

#include "MsgBox.h"

class QWidget;

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// While it lives, opens a FIFO's writing end as soon as some reader waits on its other end,
// and closes it again: a reader that blocks in open() then reads an empty file instead of
// hanging the test.
class FifoUnblocker {
public:
    explicit FifoUnblocker(const QString& fifo);
    ~FifoUnblocker();
    FifoUnblocker(const FifoUnblocker&) = delete;
    FifoUnblocker& operator=(const FifoUnblocker&) = delete;

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Runs the event loop until every mail started has been reported (its program ended); one
// still running after the wait fails the test and is ended.
void WaitForMail();
// Waits until the background writer has written every file asked for, then delivers the
// outcomes it reported.
void WaitForWrites();
// Writes an executable shell script: the tests' stand-in mail programs.
void WriteScript(const QString& path, const QString& script);
// A shell command for a stand-in that hangs: it runs while this test program runs, and ends
// by itself once the program is gone, however it went (a crash, a sanitizer's end, a kill by
// the test runner), so that no stand-in outlives the run. The tests still end every one.
QString HangWhileTestsRun();
// The processes of a process group that have not ended (a zombie has ended).
QList<qint64> LiveProcessesOfGroup(qint64 group);

// Gives control the keys (its window activated) and presses key where they are: a form's key
// preview sees only the keys on their way to its focus widget. False when the control never
// got the keys.
bool PressWithKeys(QWidget* control, int key);

// Fresh shared state in an empty temporary application folder, a manual clock starting at
// 2026-03-02 09:00 (a Monday), a recorder for message boxes; every form unloaded and every
// mail program ended afterwards.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Absolute path of a file under the temporary AppPath ("\" accepted).
    QString Path(const QString& relative) const;
    void WriteFile(const QString& relative, const QByteArray& data) const;
    QByteArray ReadFile(const QString& relative) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MsgBox::Recorder> m_boxes;
};
