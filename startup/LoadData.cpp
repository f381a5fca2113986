#include "LoadData.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

#include "AppState.h"
#include "Begin.h"
#include "Clock.h"
#include "Forms.h"
#include "Timer.h"
#include "Twips.h"

namespace {

// The window's client area, in twips.
constexpr double ClientWidth = 4920;
constexpr double ClientHeight = 5310;

// How often the window repaints while a step runs: once a frame, often enough to look alive,
// seldom enough that repainting costs nothing next to the loading.
constexpr qint64 RepaintEveryMs = 16;

} // namespace

LoadData::LoadData()
    : Form(QStringLiteral("LoadData"))
{
    SetBorderless(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    struct Caption {
        int index;
        const char* text;
        double left, top, width, height;
    };
    // Captions reach the window's right margin, so that the running counts fit beside the text.
    const Caption captions[] = {
        {0, "Loading data ....", 510, 480, 1695, 300},
        {2, "Step 1: loading Chinese vocabulary", 540, 990, 4260, 195},
        {3, "Step 2: loading Chinese sentences", 540, 1980, 4260, 195},
        {4, "Step 3: loading all Chinese words (characters)", 540, 2970, 4260, 195},
        {1, "Step 4: loading vocabulary searched online", 540, 3960, 4260, 195},
    };
    for (const Caption& c : captions) {
        QLabel* label = Label1.Add(c.index, Kit::Label(this, Label1.Name(c.index), {c.left, c.top, c.width, c.height},
            QString::fromLatin1(c.text), {.font = {QStringLiteral("Noto Sans CJK SC")}, .points = c.index == 0 ? 12 : 8.25}));
        // Never shorter than the text, and the title never narrower.
        QRect r = label->geometry();
        r.setHeight(qMax(r.height(), label->sizeHint().height()));
        if (c.index == 0)
            r.setWidth(qMax(r.width(), label->sizeHint().width()));
        label->setGeometry(r);
    }

    auto makeBar = [this](const char* name, double top) {
        auto* bar = new QProgressBar(this);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setGeometry(Twips::ToPixels(540, top, 3885, 585));
        return bar;
    };
    ProgressBar2 = makeBar("ProgressBar2", 1260);
    ProgressBar3 = makeBar("ProgressBar3", 2250);
    ProgressBar4 = makeBar("ProgressBar4", 3240);
    ProgressBar1 = makeBar("ProgressBar1", 4230);

    Timer1 = new Timer(this, 200, false);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Timer::Tick, this, &LoadData::Timer1_Timer);

    SetSize(ClientWidth, ClientHeight);
}

void LoadData::Register() { Forms::RegisterFactory<LoadData>(); }

void LoadData::Form_Load()
{
    Move((Twips::ScreenWidth() - Width()) / 2, (Twips::ScreenHeight() - Height()) / 2);
    ProgressBar1->setVisible(true);
    Label1[1]->setVisible(true);
    if (State().CurrentActivity == -1)
        Timer1->SetEnabled(true);
}

void LoadData::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    LoadCourseTables(*this);
    Unload();
}

void LoadData::Form_Unload()
{
    if (State().CurrentActivity != -1)
        return;
    if (Begin* menu = Forms::Find<Begin>())
        menu->Timer2->SetEnabled(true);
}

void LoadData::Form_CloseRequested()
{
    // The window closes itself when the tables are loaded; the learner cannot close it.
}

void LoadData::paintEvent(QPaintEvent* e)
{
    Form::paintEvent(e);
    // A caption-less window still needs an edge against what lies behind it.
    QPainter p(this);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

QProgressBar* LoadData::Bar(int step) const
{
    switch (step) {
    case 1: return ProgressBar2;
    case 2: return ProgressBar3;
    case 3: return ProgressBar4;
    default: return ProgressBar1;
    }
}

QLabel* LoadData::Caption(int step) const
{
    switch (step) {
    case 1: return Label1[2];
    case 2: return Label1[3];
    case 3: return Label1[4];
    default: return Label1[1];
    }
}

void LoadData::SetMaximum(int step, int maximum)
{
    Bar(step)->setMaximum(maximum);
}

int LoadData::Maximum(int step) const
{
    return Bar(step)->maximum();
}

int LoadData::Value(int step) const
{
    return m_value[step];
}

void LoadData::SetValue(int step, int value)
{
    // QProgressBar::setValue repaints at once, before the next step, whenever the bar grows by
    // a chunk: the value reaches the bar in the next frame (ProcessEvents).
    m_value[step] = value;
}

void LoadData::SetCaption(int step, const QString& text)
{
    Caption(step)->setText(text);
}

void LoadData::ProcessEvents()
{
    const qint64 now = Clock::Msecs();
    if (m_lastRepaintMs >= 0 && now - m_lastRepaintMs < RepaintEveryMs)
        return;
    m_lastRepaintMs = now;
    // Each bar repaints here, once, if it grew by a chunk since the last frame.
    for (int step = 1; step <= 4; ++step)
        Bar(step)->setValue(m_value[step]);
    QCoreApplication::processEvents();
}
