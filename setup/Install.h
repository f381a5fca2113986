#pragma once
// The installer window: the licence agreement, the choice of where to install (the home
// folder first), the walk of the program folder and the copy into <base>/Norvale/, both one
// step per timer tick so that Cancel and Close stay live, the log of copied files, the failure
// report, the two desktop entries and the offer to start the installed program.
//
// Who calls whom: the main window opens it alone on the installer road (a start from a CD-ROM
// or a removable drive, or with --install); the program ends when it closes.

#include <QString>
#include <QStringList>
#include <memory>

#include "Form.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class RichTextBox;
class Timer;

namespace Installer {
class CopyJob;
class FolderWalk;
} // namespace Installer

class Install : public Form {
    Q_OBJECT
public:
    Install();
    ~Install() override;

    // Appends one line to the log. A learner who clicked or typed in the log does not get the
    // line inserted there: it goes to the end. A log scrolled away from its end stays put.
    void AppendLog(const QString& line);

    // The licence agreement shown when the window opens.
    static QString LicenceText();

    RichTextBox* RichTextBox1{nullptr};
    QPushButton* Command1{nullptr}; // "I accept"
    QLabel* Label1{nullptr};
    QComboBox* Drive1{nullptr};     // the places to install below, home folder first
    QLabel* Label3{nullptr};        // drive verdict, then progress text
    QLabel* Label4{nullptr};
    QLabel* Label5{nullptr};        // the install path
    QLabel* Label2{nullptr};
    QProgressBar* ProgressBar1{nullptr};
    QPushButton* Command6{nullptr}; // "Install", "Cancel" while installing
    QPushButton* Command2{nullptr}; // "Close"
    Timer* Timer1{nullptr};         // 200 ms from the end of the walk to the copy

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_CloseRequested() override;

private:
    void Command1_Click();
    void Drive1_Change();
    void Command6_Click();
    void Command2_Click();
    void Timer1_Timer();
    void WalkTimer_Timer();
    void CopyTimer_Timer();
    void RichTextBox1_KeyDown();
    void RichTextBox1_MouseDown();
    void RichTextBox1_MouseMove();
    void RichTextBox1_MouseUp();

    // The drive check of the selected place: verdict, colour, Install enabled or not.
    void CheckSelectedDrive();
    QString SelectedBase() const;
    QString InstallPath() const;
    // Asks a question with the walk and the copy held still, so nothing moves while the
    // learner decides.
    int AskPaused(const QString& text);
    void FinishCopy();
    void StartInstalledProgram();

    // Window state, cleared when it loads.
    qint64 FileCount{0};
    bool CopyStarted{false};
    bool CancelRequested{false};
    bool CloseWithoutAsking{false};
    bool LogTouched{false};
    bool LogMouseDown{false};

    QStringList m_bases;
    QString m_installPath; // fixed when the installation starts
    Timer* m_walkTimer{nullptr};
    Timer* m_copyTimer{nullptr};
    std::unique_ptr<Installer::FolderWalk> m_walk;
    std::unique_ptr<Installer::CopyJob> m_copy;
};
