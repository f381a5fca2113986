#include "Begin.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "AppState.h"
#include "Forms.h"
#include "LoadingSteps.h"
#include "MenuArt.h"
#include "MenuPanel.h"
#include "Product.h"
#include "SyllableQueue.h"
#include "Timer.h"
#include "Twips.h"

namespace {

using Forms::IndexedName;

// Client area and item rectangles, in twips, as the menu was designed.
constexpr double FormWidth = 11550;
constexpr double FormHeight = 8670;
constexpr double ItemLeft = 3244;
constexpr double ItemHeight = 1080;
constexpr std::array<double, 6> ItemTop{0, 2400, 3600, 4800, 6000, 7200};
constexpr std::array<double, 6> ItemWidth{0, 3150, 3150, 3150, 3150, 3000};

struct PanelOfItem {
    const char* form;
    qint16 activity;
    const char* pinyin;
};
// Items 1-4 open a panel; item 5 is the exit.
constexpr std::array<PanelOfItem, 5> Panels{{
    {"", 0, ""},
    {"Begin1", 0, "ke4 cheng2"},
    {"Begin4", 10, "zhu4 shou3"},
    {"Setting", 20, "she4 zhi4"},
    {"frmAbout", 30, "guan1 yu2"},
}};

QLabel* PictureHolder(QWidget* parent, const QString& name, const QPixmap& picture)
{
    auto* holder = new QLabel(parent);
    holder->setObjectName(name);
    holder->setPixmap(picture);
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
    SetSize(FormWidth, FormHeight);
    setMouseTracking(true);

    std::array<QRect, 5> items;
    for (int k = 1; k <= 5; ++k)
        items[k - 1] = Twips::ToPixels(ItemLeft, ItemTop[k], ItemWidth[k], ItemHeight);
    // The bed under the panels reaches the menu's right margin.
    const QRect bed = Twips::ToPixels(PanelOffsetLeft, PanelOffsetTop, MenuPanel::PanelWidth, MenuPanel::PanelHeight);
    const QPixmap backdrop = MenuArt::Backdrop(size(), items, bed);
    m_face = MenuArt::Face(backdrop, items);

    for (int k = 1; k <= 5; ++k) {
        const QRect r = items[k - 1];
        Image1[k] = PictureHolder(this, IndexedName("Image1", k), MenuArt::ItemPicture(backdrop, r, k, MenuArt::Look::Hover));
        if (k < 5)
            Image2[k] = PictureHolder(this, IndexedName("Image2", k),
                MenuArt::ItemPicture(backdrop, r, k, MenuArt::Look::Selected));
        auto* item = new QLabel(this);
        item->setObjectName(IndexedName("Image3", k));
        item->setGeometry(r);
        item->setMouseTracking(true);
        item->setCursor(Qt::PointingHandCursor);
        item->setToolTip(MenuArt::ItemCaption(k).english);
        item->installEventFilter(this);
        Image3[k] = item;
    }
    Image4 = PictureHolder(this, QStringLiteral("Image4"), QPixmap());

    Timer1 = new Timer(this, 200);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Timer::Tick, this, &Begin::Timer1_Timer);
    Timer2 = new Timer(this, 200);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &Timer::Tick, this, &Begin::Timer2_Timer);
}

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
    if (Form* course = Forms::Load(QStringLiteral("Begin1"))) {
        PlacePanel(course);
        course->Show(Form::Modeless, this);
    }
    State().CurrentActivity = 0;
}

void Begin::Image3_Click(int index)
{
    if (index < 1 || index > 5 || index == SelectedItem || State().CurrentActivity < 0)
        return;
    if (SelectedItem > 0) {
        Image3[SelectedItem]->setPixmap(Image4->pixmap());
        if (SelectedItem < 5)
            if (Form* old = Forms::Find(QLatin1String(Panels[SelectedItem].form)))
                old->Hide();
    }
    SelectedItem = static_cast<qint16>(index);
    if (index == 5) {
        ExitProgram();
        return;
    }
    Image3[index]->setPixmap(Image2[index]->pixmap());
    const PanelOfItem& item = Panels[index];
    State().CurrentActivity = item.activity;
    if (Form* panel = Forms::Load(QLatin1String(item.form))) {
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
    for (const char* panel : {"Begin1", "Begin4", "Setting", "frmAbout"})
        Forms::Unload(QLatin1String(panel));
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
    Forms::Invoke(QStringLiteral("Background"), "MinimizeProgram");
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
    if (keyCode == Keys::Escape)
        Image3_Click(5);
}

void Begin::Form_CloseRequested()
{
    // The window manager's close on the menu ends the program the orderly way, even before
    // the items take clicks.
    ExitProgram();
}

bool Begin::eventFilter(QObject* watched, QEvent* e)
{
    for (int k = 1; k <= 5; ++k) {
        if (watched != Image3[k])
            continue;
        if (e->type() == QEvent::MouseMove) {
            Image3_MouseMove(k);
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton && Image3[k]->rect().contains(me->position().toPoint()))
                Image3_Click(k);
            return true;
        }
        return false;
    }
    return Form::eventFilter(watched, e);
}

void Begin::mouseMoveEvent(QMouseEvent* e)
{
    Form_MouseMove();
    Form::mouseMoveEvent(e);
}

void Begin::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_face);
}
