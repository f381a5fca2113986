#pragma once
// The uninstaller window: "Keep the study record", the question, then the removal of what the
// installer put there, one folder or file per timer tick with the bar stepping, the final
// message and the close 500 ms later. After a removal its close releases the shared tables,
// leaves the emptied program folder to be removed as the program ends, and
// ends the program; a close without a removal brings the start menu and the settings back.
//
// Who calls whom: the settings panel loads it and shows it owned by the main window.

#include <memory>

#include "Form.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class Timer;

namespace Uninstaller {
class UninstallJob;
}

class Uninstall : public Form {
    Q_OBJECT
public:
    Uninstall();
    ~Uninstall() override;

    QCheckBox* Check1{nullptr};     // "Keep the study record"
    QPushButton* Command6{nullptr}; // "Uninstall"
    QPushButton* Command2{nullptr}; // "Cancel"
    QLabel* Label3{nullptr};
    QLabel* Label2{nullptr};
    QProgressBar* ProgressBar1{nullptr};
    Timer* Timer1{nullptr};         // 500 ms from the final message to the close

protected:
    void Form_Load() override;
    void Form_Unload() override;
    // The window manager's close is Cancel; while the removal runs it is ignored.
    void Form_CloseRequested() override;

private:
    void Command6_Click();
    void Command2_Click();
    void Timer1_Timer();
    void RemovalTimer_Timer();
    void ClosePlayers();

    Timer* m_removalTimer{nullptr};
    std::shared_ptr<Uninstaller::UninstallJob> m_job;
};
