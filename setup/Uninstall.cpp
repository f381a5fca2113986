#include "Uninstall.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "ControlKit.h"
#include "Dictionary.h"
#include "FormEvents.h"
#include "Forms.h"
#include "InstallEngine.h"
#include "LoadingSteps.h"
#include "MsgBox.h"
#include "Setting.h"
#include "SharedPlayer.h"
#include "Timer.h"
#include "Twips.h"
#include "UninstallEngine.h"
#include "WavePlayer.h"
#include "Zoom.h"

namespace {
// One removal step per tick: the window is redrawn and the bar moves between steps.
constexpr int StepInterval = 1;
} // namespace

Uninstall::Uninstall()
    : Form(QStringLiteral("Uninstall"))
{
    SetCaption(QStringLiteral("Uninstall ") + Installer::ProductName());
    SetSize(5400, 2580);
    setFixedSize(size());

    Check1 = Kit::CheckBox(this, QStringLiteral("Check1"), {360, 300, 3600, 300}, QStringLiteral("Keep the study record"));
    Check1->setChecked(true);
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {360, 720, 4680, 255});
    Label3->hide();
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {360, 1080, 1500, 255}, QStringLiteral("Progress"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Twips::Place(ProgressBar1, 360, 1350, 4680, 300);
    Command6 = Kit::Button(this, QStringLiteral("Command6"), {2040, 1920, 1440, 375}, QStringLiteral("Uninstall"));
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {3600, 1920, 1440, 375}, QStringLiteral("Cancel"));

    Timer1 = new Timer(this, 500);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    m_removalTimer = new Timer(this, StepInterval);

    connect(Command6, &QPushButton::clicked, this, &Uninstall::Command6_Click);
    connect(Command2, &QPushButton::clicked, this, &Uninstall::Command2_Click);
    connect(Timer1, &Timer::Tick, this, &Uninstall::Timer1_Timer);
    connect(m_removalTimer, &Timer::Tick, this, &Uninstall::RemovalTimer_Timer);
}

Uninstall::~Uninstall() = default;

void Uninstall::Form_Load()
{
    Move((Twips::ScreenWidth() - Width()) / 2, (Twips::ScreenHeight() - Height()) / 2);
}

void Uninstall::Command6_Click()
{
    const QString appPath = State().AppPath;
    // Only a folder the installer filled is emptied; the learner's home or a whole volume never.
    if (const auto refusal = Uninstaller::Refusal(appPath, QDir::homePath())) {
        MsgBox::Warning(*refusal);
        return;
    }
    const QString question = QStringLiteral("Do you really want to uninstall ") + Installer::ProductName()
        + QStringLiteral(" ?");
    if (MsgBox::Show(question, MsgBox::YesNo, MsgBox::Information, QStringLiteral("Attention"), MsgBox::DefaultSecond)
        != MsgBox::Yes)
        return;
    Command6->setEnabled(false);
    Command2->setEnabled(false);
    Label3->setText(QStringLiteral("Uninstalling ..."));
    Label3->show();
    const bool keepRecord = Check1->isChecked();
    ProgressBar1->setMaximum(Uninstaller::ProgressMaximum(keepRecord));
    ClosePlayers();
    m_job = std::make_shared<Uninstaller::UninstallJob>(appPath, keepRecord);
    m_removalTimer->SetEnabled(true);
}

void Uninstall::ClosePlayers()
{
    MMControl1()->Close();
    MMControl2()->Close();
    if (Dictionary* dictionary = Forms::Find<Dictionary>(); dictionary && dictionary->MMControl1)
        dictionary->MMControl1->Close();
    if (Zoom* popUp = Forms::Find<Zoom>(); popUp && popUp->MMControl1)
        popUp->MMControl1->Close();
}

void Uninstall::RemovalTimer_Timer()
{
    const bool more = m_job->Step();
    ProgressBar1->setValue(m_job->Progress());
    if (more)
        return;
    m_removalTimer->SetEnabled(false);
    ProgressBar1->setValue(ProgressBar1->maximum());
    Label3->setText(QStringLiteral("The uninstallation is completed."));
    // A removal that left anything says what and where, rather than that all is gone.
    const QString text = Uninstaller::CompletionText(State().AppPath, m_job->Left());
    if (m_job->Left().isEmpty())
        MsgBox::Notice(text);
    else
        MsgBox::Warning(text);
    Timer1->SetEnabled(true);
}

void Uninstall::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    Unload();
}

void Uninstall::Command2_Click() { Unload(); }

void Uninstall::Form_CloseRequested()
{
    if (Command2->isEnabled())
        Command2_Click();
}

void Uninstall::Form_Unload()
{
    m_removalTimer->SetEnabled(false);
    if (!m_job) {
        // Nothing was removed: back to the start menu and the settings, which take the keys
        // again as after a box of theirs (the window manager gives them to the main window as
        // this window goes).
        Begin* menu = Forms::Find<Begin>();
        if (menu)
            menu->Show(Form::Modeless, Forms::Find<Background>());
        if (Setting* setting = Forms::Find<Setting>()) {
            setting->Show(Form::Modeless, menu);
            FormEvents::GiveBack(setting);
        }
        return;
    }
    EraseCourseTables();
    Uninstaller::FinishWhenProgramEnds(m_job);
    Forms::UnloadAll();
}
