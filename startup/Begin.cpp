#include "Begin.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "AppState.h"
#include "Background.h"
#include "FormEvents.h"
#include "Forms.h"
#include "LoadingSteps.h"
#include "MenuArt.h"
#include "MenuItems.h"
#include "MenuPanel.h"
#include "Product.h"
#include "SyllableQueue.h"
#include "Timer.h"
#include "Twips.h"

namespace {

// Item rectangles, in twips, as the menu was designed.
constexpr double ItemLeft = 3244;
constexpr double ItemHeight = 1080;
constexpr std::array<double, 6> ItemTop{0, 2400, 3600, 4800, 6000, 7200};
constexpr std::array<double, 6> ItemWidth{0, 3150, 3150, 3150, 3150, 3000};

QLabel* PictureHolder(QWidget* parent, const QString& name, const QPixmap& picture)
{
    QLabel* holder = Kit::Picture(parent, name, {}, picture);
    holder->hide();
    return holder;
}

} // namespace

Begin::Begin()
    : Form(QStringLiteral("Begin"))
{
    SetBorderless(true);
    SetKeyPreview(true);
    SetCaption(Product::Name());
    // The menu covers the main window's design area.
    SetSize(Background::DesignWidth, Background::DesignHeight);
    setMouseTracking(true);

    const MenuArt::Pictures& art = PrepareArt();
    for (int k = 1; k <= 5; ++k) {
        Image1.Add(k, PictureHolder(this, Image1.Name(k), art.hover[k]));
        if (k < 5)
            Image2.Add(k, PictureHolder(this, Image2.Name(k), art.selected[k]));
        QLabel* item = Image3.Add(k, Kit::Label(this, Image3.Name(k), {ItemLeft, ItemTop[k], ItemWidth[k], ItemHeight}));
        item->setCursor(Qt::PointingHandCursor);
        item->setToolTip(MenuArt::ItemCaption(k).english);
    }
    Image3.OnMouseMove([this](int k) { Image3_MouseMove(k); });
    Image3.OnClick([this](int k) { Image3_Click(k); });
    Image4 = PictureHolder(this, QStringLiteral("Image4"), QPixmap());

    Timer1 = new Timer(this, 200);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Timer::Tick, this, &Begin::Timer1_Timer);
    Timer2 = new Timer(this, 200);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &Timer::Tick, this, &Begin::Timer2_Timer);
}

namespace {
MenuArt::Layout MenuLayout()
{
    MenuArt::Layout layout;
    layout.size = QSize(std::max(1, Twips::ToPixelsX(Background::DesignWidth)),
        std::max(1, Twips::ToPixelsY(Background::DesignHeight)));
    for (int k = 1; k <= 5; ++k)
        layout.items[k - 1] = Twips::ToPixels(ItemLeft, ItemTop[k], ItemWidth[k], ItemHeight);
    // The bed under the panels reaches the menu's right margin.
    layout.panelBed = Twips::ToPixels(Begin::PanelOffsetLeft, Begin::PanelOffsetTop, MenuPanel::PanelWidth, MenuPanel::PanelHeight);
    return layout;
}
} // namespace

const MenuArt::Pictures& Begin::PrepareArt() { return MenuArt::PicturesFor(MenuLayout()); }

void Begin::PrepareArtAhead() { MenuArt::DrawAhead(MenuLayout()); }

void Begin::Form_Load() { Timer1->SetEnabled(true); }

void Begin::PlacePanel(Form* panel) const { panel->Move(Left() + PanelOffsetLeft, Top() + PanelOffsetTop); }

void Begin::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    QPointer<Begin> self(this);
    if (Form* loading = Forms::Load(QStringLiteral("LoadData"))) {
        PlacePanel(loading);
        loading->Show(Form::Modal, this);
    } else {
        // Without a loading window there is nothing to wait for: go on to the course panel.
        Timer2->SetEnabled(true);
    }
    if (!self || IsUnloading())
        return;
    Forms::Load(QStringLiteral("Dictionary"));
    Forms::Load(QStringLiteral("DictionaryOnline"));
}

void Begin::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    SelectedItem = 1;
    Image3[1]->setPixmap(Image2[1]->pixmap());
    if (Form* course = Forms::Load(QLatin1String(MenuItems[1].panel))) {
        PlacePanel(course);
        course->Show(Form::Modeless, this);
        // The keys go to the course panel's chosen row: the window manager gave the activation
        // to the main window when the loading window closed, and showing the panel does not
        // take it from there.
        FormEvents::GiveKeysTo(course);
    }
    State().CurrentActivity = MenuItems[1].activity;
}

void Begin::Image3_Click(int index)
{
    if (index < 1 || index > 5 || index == SelectedItem || State().CurrentActivity < 0)
        return;
    if (SelectedItem > 0) {
        Image3[SelectedItem]->setPixmap(Image4->pixmap());
        if (SelectedItem < 5)
            if (Form* old = Forms::Find(QLatin1String(MenuItems[SelectedItem].panel)))
                old->Hide();
    }
    SelectedItem = static_cast<qint16>(index);
    if (index == ExitItem) {
        ExitProgram();
        return;
    }
    Image3[index]->setPixmap(Image2[index]->pixmap());
    const MenuItem& item = MenuItems[index];
    State().CurrentActivity = item.activity;
    if (Form* panel = Forms::Load(QLatin1String(item.panel))) {
        PlacePanel(panel);
        panel->Show(Form::Modeless, this);
    }
    PlayPinyinSequence(QLatin1String(item.pinyin));
}

void Begin::ExitProgram()
{
    if (IsUnloading())
        return;
    Forms::Unload(QStringLiteral("Zoom"));
    Forms::Unload(QStringLiteral("Dictionary"));
    Forms::Unload(QStringLiteral("DictionaryOnline"));
    EraseCourseTables();
    if (Form* main = Forms::Find(QStringLiteral("Background"))) {
        main->Hide();
        main->Unload();
    }
    Unload();
}

void Begin::Form_Unload()
{
    // An unloaded menu takes no further start-up step.
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    for (int item = 1; item < ExitItem; ++item)
        Forms::Unload(QLatin1String(MenuItems[item].panel));
}

void Begin::Common01() { Image3_Click(5); }

void Begin::Image3_MouseMove(int index)
{
    if (index == HoverItem || State().CurrentActivity < 0)
        return;
    HoverItem = static_cast<qint16>(index);
    for (int k = 1; k <= 5; ++k) {
        if (k == SelectedItem)
            continue;
        Image3[k]->setPixmap(k == index ? Image1[index]->pixmap() : Image4->pixmap());
    }
}

void Begin::Form_MouseMove()
{
    if (HoverItem >= 1 && HoverItem != SelectedItem) {
        Image3[HoverItem]->setPixmap(Image4->pixmap());
        HoverItem = 0;
    }
}

void Begin::MinimizeProgram()
{
    if (State().CurrentActivity < 0)
        return;
    if (Background* main = Forms::Find<Background>())
        main->MinimizeProgram();
}

void Begin::Form_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode == Keys::F4)
        MinimizeProgram();
}

void Begin::Form_KeyUp(int& keyCode, int shift)
{
    (void)shift;
    // Hidden behind a tool window it opened, the menu can still hold the window system's focus
    // for a moment: an Esc meant for the tool must not end the program here. (The release of
    // an Esc pressed elsewhere never reaches the menu: the form runtime pairs releases with
    // their presses.)
    if (keyCode == Keys::Escape && isVisible())
        Image3_Click(5);
}

void Begin::Form_CloseRequested()
{
    // The window manager's close on the menu ends the program the orderly way, even before
    // the items take clicks.
    ExitProgram();
}

void Begin::mouseMoveEvent(QMouseEvent* e)
{
    Form_MouseMove();
    Form::mouseMoveEvent(e);
}

void Begin::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, PrepareArt().face);
}
