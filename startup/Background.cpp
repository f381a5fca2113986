#include "Background.h"

#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <cmath>

#include "AppState.h"
#include "Begin.h"
#include "Clock.h"
#include "Clocks.h"
#include "CodePage.h"
#include "ControlKit.h"
#include "DriveType.h"
#include "FormEvents.h"
#include "Forms.h"
#include "MenuArt.h"
#include "MenuItems.h"
#include "Picture.h"
#include "Product.h"
#include "RecordFolder.h"
#include "SafeFile.h"
#include "SettingRecord.h"
#include "SettingsFiles.h"
#include "SharedPlayer.h"
#include "Timer.h"
#include "TimeZone.h"
#include "Twips.h"

namespace {
void MoveLabel(QLabel* label, double left, double top) { label->move(Twips::ToPixelsX(left), Twips::ToPixelsY(top)); }
double LabelWidth(QLabel* label) { return Twips::FromPixelsX(label->width()); }
double LabelHeight(QLabel* label) { return Twips::FromPixelsY(label->height()); }
double LabelTop(QLabel* label) { return Twips::FromPixelsY(label->y()); }
} // namespace

Background::Background()
    : Form(QStringLiteral("Background"))
{
    // The start menu's artwork, most of which is loading its fonts, and the backdrop picture
    // are drawn and decoded on worker threads while this window and the menu are built; the
    // window takes them before it shows (PrepareToShow).
    if (CodePage::SystemCanShowChinese())
        Begin::PrepareArtAhead();
    m_picturePath = ChooseBackdropPicture();
    if (!m_picturePath.isEmpty())
        m_picture = std::async(std::launch::async, [picture = m_picturePath] { return Picture::LoadImage(picture); });
    SetCaption(Product::Name());
    SetBorderless(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 128));
    setPalette(pal);
    SetSize(DesignWidth, DesignHeight);
    SetKeyPreview(true);

    Image1 = Kit::Picture(this, QStringLiteral("Image1"), {});
    Image1->setScaledContents(true);
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QStringList latin{QStringLiteral("Arial Black"), QStringLiteral("Noto Sans CJK SC")};
    const QStringList chinese{QStringLiteral("Noto Sans CJK SC")};
    // White text straight on the backdrop; each label takes its text's size. A thin dark ring
    // keeps the text readable on a light picture too.
    const QColor ring(0, 0, 0, 200);
    Label10 = Kit::Label(this, QStringLiteral("Label10"), {}, Product::Name() + QStringLiteral(" - ") + Product::MakerWebAddress(),
        {.font = latin, .points = 14.25, .weight = QFont::Black, .ink = Qt::white, .outline = ring});
    Label6 = Kit::Label(this, QStringLiteral("Label6"), {}, {}, {.font = chinese, .points = 9.75, .ink = Qt::white, .outline = ring});
    Label5 = Kit::Label(this, QStringLiteral("Label5"), {}, {}, {.font = chinese, .points = 9.75, .ink = Qt::white, .outline = ring});
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {}, QStringLiteral("Tone"),
        {.font = chinese, .points = 20.25, .ink = Qt::white, .outline = ring});
    for (QLabel* label : {Label10, Label6, Label5, Label4}) {
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
    }

    Timer1 = new Timer(this, 100);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new Timer(this, 200);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer5 = new Timer(this, 60000);
    Timer5->setObjectName(QStringLiteral("Timer5"));
    connect(Timer1, &Timer::Tick, this, &Background::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &Background::Timer2_Timer);
    connect(Timer5, &Timer::Tick, this, &Background::Timer5_Timer);
}

void Background::Form_Load()
{
    RegisterToneLabelView(this);
    Twips::Place(Image1, 0, 0, Twips::ScreenWidth(), Twips::ScreenHeight());
    LoadBackdropPicture();
    State().CurrentActivity = -1;
    QString zoneName;
    BeijingOffset = static_cast<qint16>(480 - GetLocalTZ(zoneName));
    MoveLabel(Label10, 130, 0);

    const int drive = Drives::DriveType(State().AppPath);
    if (drive == Drives::CdRom || drive == Drives::Removable || State().InstallRequested) {
        // Installer road (also asked for on the command line): the installer runs alone; this
        // window and the start-up window go away 200 ms later.
        if (Form* install = Forms::Load(QStringLiteral("Install")))
            install->Show(Form::Modeless);
        hide();
        Timer2->SetEnabled(true);
        return;
    }

    SetUpSharedPlayers();
    State().TaskbarHeight = GetTaskbarHeight();
    Timer5_Timer();
    Timer5->SetEnabled(true);
    Label5->show();
    Label6->show();
    Label10->show();
    ApplySavedBackdrop();
    Timer1->SetEnabled(true);
    // The start-up step waits 100 ms before the window and the menu show: what they
    // need is made ready during that wait instead of after it.
    QMetaObject::invokeMethod(this, [this] { PrepareToShow(); }, Qt::QueuedConnection);
}

void Background::PrepareToShow()
{
    if (m_prepared || IsUnloading())
        return;
    m_prepared = true;
    // The picture chosen at load, unless another one was put in its place meanwhile.
    const QImage image = m_picture.valid() ? m_picture.get() : QImage();
    if (!m_picturePath.isEmpty() && Image1->pixmap().isNull()) {
        if (image.isNull())
            Image1->hide();
        else
            Image1->setPixmap(QPixmap::fromImage(image));
    }
    m_picturePath.clear();
    // The label scales the picture to the screen once and keeps it: do it now, off screen.
    if (!Image1->isHidden() && !Image1->pixmap().isNull()) {
        QPixmap scratch(Image1->size());
        Image1->render(&scratch);
    }
    if (CodePage::SystemCanShowChinese())
        Begin::PrepareArt();
}

void Background::Form_Unload()
{
    MenuArt::FinishDrawingAhead();
    UnregisterToneLabelView(this);
    CloseSharedPlayers();
}

void Background::ShowToneText(const QString& text)
{
    Label4->setText(text);
    Label4->adjustSize();
    Label4->setVisible(true);
}

QString Background::ChooseBackdropPicture()
{
    const QString candidate = ReadOneLineRecord(SettingsFiles::BackgroundPath);
    QString picture;
    if (!candidate.isEmpty() && QFileInfo(SafeFile::Native(candidate)).isFile())
        picture = SafeFile::Native(candidate);
    else if (QFileInfo(State().AppPath + QStringLiteral("background.jpg")).isFile())
        picture = State().AppPath + QStringLiteral("background.jpg");
    // The file is not read here: it is decoded on a thread of its own, and a file that is no
    // picture hides the picture when the decoding is taken, before the window shows
    // (PrepareToShow).
    return picture;
}

void Background::LoadBackdropPicture()
{
    // The picture was chosen, and its decoding started, when the window was built.
    Image1->setVisible(!m_picturePath.isEmpty());
}

void Background::ApplySavedBackdrop()
{
    // A settings file that cannot be read reads as zeros, so the window still gets mode 0
    // instead of staying at its design size.
    EnsureRecordFolder();
    Common01(ReadSettingRecord().BackdropMode, 0);
}

qint16 Background::GetTaskbarHeight() const
{
    const QRect screen = Twips::ScreenPixels();
    const QRect work = Twips::WorkAreaPixels();
    // Bottom edges are exclusive here (y + height), as the old work-area rectangle was.
    const int strip = (screen.y() + screen.height()) - (work.y() + work.height());
    return static_cast<qint16>(std::lround(strip * Twips::PerPixelY()));
}

void Background::Common01(qint16 mode, qint16 save)
{
    const float screenWidth = static_cast<float>(Twips::ScreenWidth());
    const float screenHeight = static_cast<float>(Twips::ScreenHeight());
    if (mode == 0)
        Move(0, 0, screenWidth, screenHeight);
    else if (mode == 1)
        Move(0, 0, screenWidth, screenHeight - static_cast<float>(State().TaskbarHeight));
    else
        Move((screenWidth - static_cast<float>(DesignWidth)) / 2, screenHeight / 2 - 130, DesignWidth, Twips::PerPixelY());

    const double w = Width();
    const double h = Height();
    MoveLabel(Label5, w - LabelWidth(Label5) - 130, h - LabelHeight(Label5) - 65);
    MoveLabel(Label6, w - LabelWidth(Label6) - 130, LabelTop(Label5) - LabelHeight(Label6) - 65);
    MoveLabel(Label4, 130, h - LabelHeight(Label4) - 65);

    if (save) {
        SettingRecord record = ReadSettingRecord();
        record.BackdropMode = mode;
        if (!WriteSettingRecord(record))
            ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
    }
}

void Background::Common04()
{
    Form* begin = Forms::Load(QStringLiteral("Begin"));
    if (!begin)
        return;
    const float left = (static_cast<float>(Twips::ScreenWidth()) - static_cast<float>(begin->Width())) / 2;
    const float top = (static_cast<float>(Twips::ScreenHeight()) - static_cast<float>(begin->Height())) / 2 - 260;
    begin->Move(left, top);
    begin->Show(Form::Modeless, this);
    FormEvents::GiveFocus(begin);
    Forms::Load(QStringLiteral("Zoom"));
}

qint32 Background::GetLocalTZ(QString& zoneName) const { return Clocks::LocalOffset(TimeZone::Query(), zoneName); }

bool Background::MinimiseOnF4(int& keyCode)
{
    if (keyCode != Keys::F4)
        return false;
    keyCode = 0;
    if (Background* main = Forms::Find<Background>())
        main->MinimizeProgram();
    return true;
}

void Background::MinimizeProgram()
{
    if (State().CurrentActivity < 0)
        return;
    SetWindowState(Form::Minimized);
}

void Background::Form_Resize()
{
    if (State().CurrentActivity < 0)
        return;
    Form* panel = Forms::Find(PanelOfActivity(State().CurrentActivity));
    if (!panel)
        return;
    // The panel normally goes down with the menu that owns it, and the form runtime brings it
    // back with it: hiding it here as well would make the restore miss it. The restore shows
    // only a panel that the minimise hid: one the program had hidden itself (the settings
    // under the uninstaller) stays hidden.
    if (WindowState() == Form::Minimized) {
        if (panel->isVisible()) {
            panel->Hide();
            m_panelHidden = panel;
        }
    } else if (WindowState() == Form::Normal) {
        if (m_panelHidden == panel && !panel->isVisible())
            panel->Show(Form::Modeless);
        m_panelHidden = nullptr;
    }
}

void Background::Form_KeyDown(int& keyCode, int)
{
    if (keyCode == Keys::F4)
        MinimizeProgram();
}

void Background::Form_CloseRequested()
{
    // A close from the window manager ends the program as the start menu's exit does; before
    // the menu exists it ends it as the second timer does. Unloading this window alone would
    // leave the windows it owns running without it. While a lesson task or a tool is open (its
    // code is no panel's: 0, 10, 20, 30), the menu is hidden and its exit out of reach, and the
    // exit would leave that task's windows running: the close then ends nothing.
    const int activity = State().CurrentActivity;
    if (activity > 0 && activity % 10 != 0)
        return;
    if (Begin* menu = Forms::Find<Begin>())
        menu->ExitProgram();
    else
        Timer2_Timer();
}

void Background::mouseDoubleClickEvent(QMouseEvent* e)
{
    // A double click on the bare backdrop or on the picture (which lets mouse events through).
    if (e->button() == Qt::LeftButton)
        MinimizeProgram();
}

void Background::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    PrepareToShow();
    // Minimised by the learner before this step, the program stays down: the menu waits for
    // the restore.
    if (!IsDown())
        Show(Form::Modeless);
    Forms::Unload(QStringLiteral("RegisterOCX"));
    if (CodePage::SystemCanShowChinese()) {
        Common04();
    } else if (Form* help = Forms::Load(QStringLiteral("StartOrNot"))) {
        help->Show(Form::Modeless, this);
    }
}

void Background::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    Forms::Unload(QStringLiteral("RegisterOCX"));
    Unload();
}

void Background::Timer5_Timer()
{
    const Clocks::ClockTexts c = Clocks::Tick(Clock::Now(), BeijingOffset);
    LocalWeekdayChinese = c.LocalWeekdayChinese;
    LocalWeekdayEnglish = c.LocalWeekdayEnglish;
    BeijingWeekdayChinese = c.BeijingWeekdayChinese;
    BeijingWeekdayEnglish = c.BeijingWeekdayEnglish;
    Label6->setText(c.Local);
    Label6->adjustSize();
    Label5->setText(c.Beijing);
    Label5->adjustSize();
}
