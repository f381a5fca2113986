#include "Install.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <algorithm>
#include <climits>

#include "AppState.h"
#include "ControlKit.h"
#include "DesktopEntries.h"
#include "DriveType.h"
#include "InstallEngine.h"
#include "MsgBox.h"
#include "RecordFolder.h"
#include "RichTextBox.h"
#include "SetupHost.h"
#include "SingleInstance.h"
#include "Timer.h"
#include "Twips.h"

namespace {

// One walk or copy step per tick: the window serves its events between any two steps.
constexpr int StepInterval = 1;
const QColor Red(255, 0, 0);
const QString CrLf = QStringLiteral("\r\n");
const QString Attention = QStringLiteral("Attention");

} // namespace

QString Install::LicenceText()
{
    const QString product = Installer::ProductName();
    return product + QStringLiteral(" Licence Agreement") + CrLf + CrLf
        + QStringLiteral("Please read this agreement before you install ") + product
        + QStringLiteral(". By clicking \"I accept\" you agree to its terms.") + CrLf + CrLf
        + QStringLiteral("1. ") + product
        + QStringLiteral(" (the program, its windows and its own course texts) is licensed to you for your own "
                         "study of Mandarin Chinese. You may install it on the computers you use and keep copies "
                         "for your own use.")
        + CrLf + CrLf
        + QStringLiteral("2. The course content and the data generated from other works (word lists, character "
                         "readings, stroke data and sounds) carry their own notices, in the notice and licence "
                         "files that come with the program. Those notices apply to that content and data as "
                         "they state.")
        + CrLf + CrLf
        + QStringLiteral("3. The program is provided \"as is\", without warranty of any kind. Its makers are not "
                         "liable for any damage arising from its use.")
        + CrLf + CrLf
        + QStringLiteral("4. If you do not accept this agreement, click \"Close\" and do not install ") + product
        + QStringLiteral(".");
}

Install::Install()
    : Form(QStringLiteral("Install"))
{
    SetCaption(QStringLiteral("Installing ") + Installer::ProductName());
    SetSize(7200, 6420);
    setFixedSize(size());

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    Twips::Place(RichTextBox1, 240, 240, 6720, 2880);
    // Read-only, but the caret and the selection still follow the mouse and the keys.
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichTextBox1->document()->setUndoRedoEnabled(false);
    QFont sans(QStringLiteral("Noto Sans"));
    sans.setStyleHint(QFont::SansSerif);
    sans.setPointSizeF(9);
    RichTextBox1->setFont(sans);

    Command1 = Kit::Button(this, QStringLiteral("Command1"), {5400, 3270, 1560, 375}, QStringLiteral("I accept"));
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {240, 3330, 3000, 255}, QStringLiteral("Please select a disk"));
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Twips::Place(Drive1, 240, 3660, 4920, 330);
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {240, 4080, 6720, 255});
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {240, 4440, 1200, 255}, QStringLiteral("Install Path: "));
    Label5 = Kit::Label(this, QStringLiteral("Label5"), {1440, 4440, 5520, 255});
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {240, 4860, 1500, 255}, QStringLiteral("Progress"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Twips::Place(ProgressBar1, 240, 5130, 6720, 300);
    Command6 = Kit::Button(this, QStringLiteral("Command6"), {3840, 5700, 1500, 375}, QStringLiteral("Install"));
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {5460, 5700, 1500, 375}, QStringLiteral("Close"));

    Drive1->setEnabled(false);
    Label3->hide();
    Label4->hide();
    Label5->hide();
    Command6->setEnabled(false);

    Timer1 = new Timer(this, 200);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    m_walkTimer = new Timer(this, StepInterval);
    m_copyTimer = new Timer(this, StepInterval);

    connect(Command1, &QPushButton::clicked, this, &Install::Command1_Click);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &Install::Drive1_Change);
    connect(Command6, &QPushButton::clicked, this, &Install::Command6_Click);
    connect(Command2, &QPushButton::clicked, this, &Install::Command2_Click);
    connect(Timer1, &Timer::Tick, this, &Install::Timer1_Timer);
    connect(m_walkTimer, &Timer::Tick, this, &Install::WalkTimer_Timer);
    connect(m_copyTimer, &Timer::Tick, this, &Install::CopyTimer_Timer);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &Install::RichTextBox1_KeyDown);
    connect(RichTextBox1, &RichTextBox::MouseDown, this, &Install::RichTextBox1_MouseDown);
    connect(RichTextBox1, &RichTextBox::MouseMove, this, &Install::RichTextBox1_MouseMove);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &Install::RichTextBox1_MouseUp);
}

Install::~Install() = default;

void Install::Form_Load()
{
    Move((Twips::ScreenWidth() - Width()) / 2, (Twips::ScreenHeight() - Height()) / 2);
    RichTextBox1->SetText(LicenceText());
    // The home folder comes first and is the default; the drive check waits for the window.
    m_bases = Installer::CurrentHost().TargetBases();
    Drive1->addItems(m_bases);
    Drive1->setCurrentIndex(m_bases.isEmpty() ? -1 : 0);
}

void Install::Form_Unload()
{
    // A close in the middle of the walk or the copy stops it here: what was copied stays.
    for (Timer* timer : {Timer1, m_walkTimer, m_copyTimer})
        timer->SetEnabled(false);
}

void Install::Form_CloseRequested()
{
    // The window manager's close is the Close button, question included.
    Command2_Click();
}

QString Install::SelectedBase() const
{
    const int index = Drive1->currentIndex();
    return index >= 0 && index < m_bases.size() ? m_bases.at(index) : QString();
}

QString Install::InstallPath() const
{
    return SelectedBase().isEmpty() ? QString() : Installer::InstallPath(SelectedBase());
}

void Install::Command1_Click()
{
    Command1->setEnabled(false);
    Drive1->setEnabled(true);
    CheckSelectedDrive();
    Label5->setText(InstallPath());
    Label4->show();
    Label5->show();
    Drive1->setFocus();
    Label3->show();
}

void Install::Drive1_Change()
{
    if (isVisible())
        CheckSelectedDrive();
}

void Install::CheckSelectedDrive()
{
    const QString base = SelectedBase();
    if (base.isEmpty()) {
        Command6->setEnabled(false);
        return;
    }
    Installer::Host& host = Installer::CurrentHost();
    const int type = host.DriveType(base);
    // The free space matters only on a drive the program may go to at all.
    const bool ownDrive = type != Drives::CdRom && type != Drives::Removable;
    const Installer::DriveVerdict verdict = Installer::CheckDrive(type, ownDrive ? host.FreeBytes(base) : 0);
    Label3->setText(Installer::VerdictText(verdict));
    const bool enough = verdict == Installer::DriveVerdict::Enough;
    Kit::SetInk(Label3, enough ? palette().color(QPalette::ButtonText) : Red);
    Command6->setEnabled(enough);
    Label5->setText(InstallPath());
}

int Install::AskPaused(const QString& text)
{
    Timer* running[] = {Timer1, m_walkTimer, m_copyTimer};
    bool wasOn[3];
    for (int k = 0; k < 3; ++k) {
        wasOn[k] = running[k]->Enabled();
        running[k]->SetEnabled(false);
    }
    const int answer = MsgBox::Show(text, MsgBox::YesNo, MsgBox::Information, Attention);
    for (int k = 0; k < 3; ++k)
        running[k]->SetEnabled(wasOn[k]);
    return answer;
}

void Install::Command6_Click()
{
    if (Command6->text() != QStringLiteral("Install")) {
        if (AskPaused(QStringLiteral("Do you really want to cancel installation?")) == MsgBox::Yes)
            CancelRequested = true;
        return;
    }
    const QString path = InstallPath();
    if (path.isEmpty())
        return;
    // An earlier installation's manifest that cannot be read could not be kept up to date.
    if (const auto refusal = Installer::InstallRefusal(path)) {
        MsgBox::Warning(*refusal);
        return;
    }
    QString folder = path;
    folder.chop(1);
    const QFileInfo existing(folder);
    if (existing.exists() || existing.isSymLink()) {
        const QString question = QStringLiteral("It seems that ") + Installer::ProductName()
            + QStringLiteral(" has already been installed on disk ") + SelectedBase() + QStringLiteral(".") + CrLf
            + QStringLiteral("Would you like to reinstall it?");
        if (MsgBox::Show(question, MsgBox::OkCancel, MsgBox::Information, Attention) != MsgBox::Ok)
            return;
    }
    m_installPath = path;
    Command6->setText(QStringLiteral("Cancel"));
    Drive1->setEnabled(false);
    Label3->setText(QStringLiteral("Preparing ..."));
    Kit::SetInk(Label3, palette().color(QPalette::ButtonText));
    m_walk = std::make_unique<Installer::FolderWalk>(State().AppPath, m_installPath);
    m_walkTimer->SetEnabled(true);
}

void Install::WalkTimer_Timer()
{
    if (CancelRequested) {
        Unload();
        return;
    }
    const bool more = m_walk->Step();
    if (m_walk->FileCount() != FileCount) {
        FileCount = m_walk->FileCount();
        Label3->setText(QStringLiteral("Preparing ... (") + QString::number(FileCount) + QStringLiteral(" files)"));
    }
    if (!more) {
        m_walkTimer->SetEnabled(false);
        Timer1->SetEnabled(true);
    }
}

void Install::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    if (CancelRequested) {
        Unload();
        return;
    }
    Label3->setText(QStringLiteral("Installing ..."));
    RichTextBox1->SetText(QString());
    m_copy = std::make_unique<Installer::CopyJob>(State().AppPath, m_walk->Folders(), m_installPath, FileCount);
    m_copy->Log = [this](const QString& line) { AppendLog(line); };
    ProgressBar1->setMaximum(static_cast<int>(std::min<qint64>(m_copy->Maximum(), INT_MAX)));
    CopyStarted = true;
    LogTouched = true;
    RichTextBox1->SetFocus();
    m_copyTimer->SetEnabled(true);
}

void Install::CopyTimer_Timer()
{
    if (CancelRequested) {
        Unload();
        return;
    }
    const bool more = m_copy->Step();
    ProgressBar1->setValue(static_cast<int>(std::min<qint64>(m_copy->Progress(), ProgressBar1->maximum())));
    if (!more) {
        m_copyTimer->SetEnabled(false);
        FinishCopy();
    }
}

void Install::FinishCopy()
{
    ProgressBar1->setValue(ProgressBar1->maximum());
    Label3->setText(QStringLiteral("The installation is completed."));
    // Nothing is left to cancel.
    Command6->setEnabled(false);
    const QString program = m_installPath + Installer::ProgramFileName();
    DesktopEntries::Create(Installer::ProductName(), program, m_installPath);
    if (!m_copy->Failed()) {
        const QString question = Installer::ProductName() + QStringLiteral(" was installed successfully!") + CrLf
            + QStringLiteral("Would you like to run it right now?");
        if (MsgBox::Show(question, MsgBox::YesNo, MsgBox::Information, QStringLiteral("Notice")) == MsgBox::Yes)
            StartInstalledProgram();
        Unload();
        return;
    }
    RichTextBox1->SetText(m_copy->FailureReport());
    if (!m_copy->WriteErrorFile())
        ShowDiskWriteWarning(m_installPath);
    CloseWithoutAsking = true;
    MsgBox::Warning(Installer::ProductName() + QStringLiteral(" was NOT installed successfully!"));
}

void Install::StartInstalledProgram()
{
    // The installed program is another copy of this one: it may start only once this run
    // no longer holds the single-instance lock.
    SingleInstance::ReleaseForThisRun();
    QString folder = m_installPath;
    folder.chop(1);
    Installer::CurrentHost().StartProgram(m_installPath + Installer::ProgramFileName(), folder);
}

void Install::Command2_Click()
{
    if (CloseWithoutAsking
        || AskPaused(QStringLiteral("Do you really want to exit the setup program?")) == MsgBox::Yes)
        Unload();
}

void Install::AppendLog(const QString& line)
{
    QScrollBar* bar = RichTextBox1->verticalScrollBar();
    const bool followEnd = bar->value() >= bar->maximum();
    const int kept = bar->value();
    if (LogTouched) {
        LogTouched = false;
        RichTextBox1->SetSelStart(RichTextBox1->TextLength());
    }
    RichTextBox1->SetSelText(line + CrLf);
    bar->setValue(followEnd ? bar->maximum() : kept);
}

void Install::RichTextBox1_KeyDown() { LogTouched = true; }

void Install::RichTextBox1_MouseDown()
{
    LogTouched = true;
    LogMouseDown = true;
}

void Install::RichTextBox1_MouseMove()
{
    if (LogMouseDown)
        LogTouched = true;
}

void Install::RichTextBox1_MouseUp() { LogMouseDown = false; }
