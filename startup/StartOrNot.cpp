#include "StartOrNot.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "Background.h"
#include "ControlKit.h"
#include "FormEvents.h"
#include "Forms.h"
#include "StartOrNotPictures.h"
#include "Timer.h"
#include "Twips.h"

namespace {
// Layout, twips.
constexpr double kWidth = 9900;
constexpr double kHeight = 7200;
constexpr double kBanner = 1800;
constexpr double kLeft = kBanner + 300;
constexpr double kInner = kWidth - kLeft - 300;
constexpr double kPictureTop = 2700;
constexpr double kPictureHeight = 3450;

Kit::Look Sans(double points, QFont::Weight weight = QFont::Normal, const QColor& ink = {})
{
    return {.font = {QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")},
        .points = points, .weight = weight, .ink = ink};
}
} // namespace

StartOrNot::StartOrNot()
    : Form(QStringLiteral("StartOrNot"))
{
    SetCaption(QStringLiteral("You have to change the language settings of the system for running Velmora 2007"));
    SetSize(kWidth, kHeight);
    setFixedSize(size());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, QColor(32, 32, 32));
    setPalette(pal);
    SetKeyPreview(true);

    auto* banner = Kit::Picture(this, QStringLiteral("SidePicture"), {0, 0, kBanner, kHeight});
    banner->setPixmap(StartOrNotPictures::SideBanner(banner->size()));

    Label1 = Kit::Label(this, QStringLiteral("Label1"), {kLeft, 240, kInner, 480},
        QStringLiteral("Chinese words are invisible !"), Sans(15, QFont::Bold, QColor(204, 0, 0)));

    Kit::Look wrapped = Sans(9.75);
    wrapped.wrap = true;
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {kLeft, 780, kInner, 780},
        QStringLiteral("You must change the setting of Regional and Language Options before using this "
                       "Chinese program; otherwise, your computer won't dispaly Chinese characters "
                       "correctly."),
        wrapped);

    QRadioButton** options[] = {&Option1, &Option2, &Option3};
    for (int i = 0; i < 3; ++i)
        *options[i] = Kit::OptionButton(this, QStringLiteral("Option%1").arg(i + 1), {kLeft + i * 1500, 1650, 1400, 360},
            QStringLiteral("Step %1").arg(i + 1), Sans(9.75, QFont::Bold));

    Label4 = Kit::Label(this, QStringLiteral("Label4"), {kLeft, 2040, kInner, 600}, {}, wrapped);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setLineWidth(1);
    Twips::Place(Picture1, kLeft, kPictureTop, kInner, kPictureHeight);
    QLabel** images[] = {&Image1, &Image2, &Image3};
    const QSize inside = Picture1->size() - QSize(2, 2);
    for (int i = 0; i < 3; ++i) {
        // Inside the frame's one-pixel line.
        auto* image = Kit::Picture(Picture1, QStringLiteral("Image%1").arg(i + 1), {},
            StartOrNotPictures::Step(i + 1, inside));
        image->setGeometry(QRect(QPoint(1, 1), inside));
        image->hide();
        *images[i] = image;
    }

    Command1 = Kit::Button(this, QStringLiteral("Command1"), {kWidth - 300 - 2400 - 150 - 2700, kHeight - 750, 2700, 450},
        QStringLiteral("No, I'll do that later"), Sans(9.75));
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {kWidth - 300 - 2400, kHeight - 750, 2400, 450},
        QStringLiteral("Cancel launching"), Sans(9.75));

    // An option's click is its becoming the chosen one, by mouse or by the arrow keys.
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) { if (on) Option3_Click(); });
    connect(Command1, &QPushButton::clicked, this, &StartOrNot::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &StartOrNot::Command2_Click);
}

QString StartOrNot::StepText(int step)
{
    switch (step) {
    case 1: return QStringLiteral("Step 1: Open Control Panel and then open Regional and Language Options");
    case 2: return QStringLiteral("Step 2: Open Language tab and install files of East Asian languages.");
    case 3:
        return QStringLiteral("Step 3: Open Advanced tab, select Chinese (PRC) and apply the setting. You must restart "
                              "your computer.");
    default: return QString();
    }
}

void StartOrNot::Form_Load()
{
    Move((Twips::ScreenWidth() - Width()) / 2, (Twips::ScreenHeight() - Height()) / 2);
    if (Option1->isChecked())
        Option1_Click();
    else
        Option1->setChecked(true);
}

void StartOrNot::showEvent(QShowEvent* e)
{
    Form::showEvent(e);
    // Shown in place of the start menu, it takes the keys as the menu does, on its first control
    // (the chosen step), so that Esc cancels the launch and Tab reaches the buttons at once: the
    // window manager would give them to the main window shown just before. Only the first time:
    // shown again after a minimise, the keys stay on the step or button the learner went to.
    if (std::exchange(m_keysGiven, true))
        return;
    QMetaObject::invokeMethod(this, [this] { if (isVisible()) FormEvents::GiveFocus(Option1); }, Qt::QueuedConnection);
}

void StartOrNot::ShowStep(int step)
{
    Image1->setVisible(step == 1);
    Image2->setVisible(step == 2);
    Image3->setVisible(step == 3);
    Label4->setText(StepText(step));
}

void StartOrNot::Command1_Click()
{
    if (Background* main = Forms::Find<Background>())
        main->Common04();
    Unload();
}

void StartOrNot::Command2_Click()
{
    if (Background* main = Forms::Find<Background>())
        main->Timer2->SetEnabled(true);
    Unload();
}

void StartOrNot::Form_KeyUp(int& keyCode, int)
{
    if (keyCode == Keys::Escape)
        Command2_Click();
}

void StartOrNot::Form_CloseRequested()
{
    // Closing the window by its frame cancels the launch, as Esc does: closing it alone would
    // leave the backdrop with neither the start menu nor a way to end the program.
    Command2_Click();
}
