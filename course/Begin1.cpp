#include "Begin1.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "AppState.h"
#include "Begin.h"
#include "CourseProgress.h"
#include "FormEvents.h"
#include "Forms.h"
#include "LessonScript.h"
#include "LessonTaskWindow.h"
#include "StudyStackWindows.h"
#include "Timer.h"
#include "Twips.h"

namespace {
struct RowCaption {
    int index;
    double left;
    double top;
    const char* text;
};
// The row captions beside their buttons, and the two headings between the rows.
constexpr RowCaption kCaptions[] = {
    {0, 540, 1380, "(Please get familiar with the text first.)"},
    {7, 420, 1830, "Your tasks:"},
    {1, 540, 2190, "Task 1 - Typing the new Chinese words"},
    {2, 540, 2520, "Task 2 - Memorizing the vocabulary"},
    {3, 540, 2850, "Task 3 - Filling in the blanks"},
    {4, 540, 3180, "Task 4 - Finding out correct sentences"},
    {5, 540, 3510, "Task 5 - Reading aloud the text"},
    {8, 420, 4020, "Review"},
    {9, 540, 4380, "New words and phrases in this lesson"},
};
// The "Open" buttons: element and top.
constexpr std::pair<int, double> kButtons[] = {{0, 1350}, {1, 2160}, {2, 2490}, {3, 2820}, {4, 3150}, {5, 3480}, {7, 4350}};

// How often, and how far apart, an open stack is placed again while the window manager frames
// its windows: their outer heights are known only once they are on the screen.
constexpr int kReplaceInterval = 200;
constexpr int kReplaceTimes = 3;
} // namespace

Begin1::Begin1()
    : MenuPanel(QStringLiteral("Begin1"))
{
    QFont panelFont(QStringLiteral("Noto Sans CJK SC"));
    panelFont.setPointSizeF(8.25);
    setFont(panelFont);

    Label1 = Kit::Label(this, QStringLiteral("Label1"), {420, 420, 0, 0}, QStringLiteral("Lesson"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMaxVisibleItems(20);
    Twips::Place(Combo1, 420, 840, 4200, 330);
    for (const RowCaption& c : kCaptions)
        Label2.Add(c.index, Kit::Label(this, Label2.Name(c.index), {c.left, c.top, 0, 0}, QLatin1String(c.text)));
    for (const auto& [k, top] : kButtons) {
        QPushButton* b = Command1.Add(k, Kit::Button(this, Command1.Name(k), {3630, top, 975, 285}, QStringLiteral("Open")));
        connect(b, &QPushButton::clicked, this, [this, k = k] { Command1_Click(k); });
    }
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {420, 4950, 4400, 285}, {}, {.ink = QColor(255, 0, 0)});
    auto* label3Events = new Kit::RowEvents(this);
    label3Events->Watch(Label3, 0);
    label3Events->click = [this](int) { Label3_Click(); };
    m_replaceTimer = new Timer(this, kReplaceInterval, false);

    connect(Combo1, &QComboBox::activated, this, &Begin1::Combo1_Click);
    connect(m_replaceTimer, &Timer::Tick, this, &Begin1::ReplaceTimer_Tick);
}

void Begin1::Form_Load()
{
    RegisterProgressView(this);
    Common09();
}

void Begin1::Form_Unload()
{
    m_replaceTimer->SetEnabled(false);
    UnregisterProgressView(this);
}

void Begin1::Common09()
{
    ReadStudyProgress();
    const qint16 lesson = State().CurrentLesson;
    Combo1->clear();
    m_noSelection = -1;
    Combo1->addItems(LessonListItems(State().LessonTitles));
    SelectLesson(CurrentLessonIndex(lesson));
    Label3->setText(ProgressLine(lesson));
}

void Begin1::SelectLesson(int index)
{
    // Qt reports only the learner's picks (activated): a choice made here runs the handling itself.
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

void Begin1::Combo1_Click()
{
    const int index = Combo1->currentIndex();
    if (index == m_noSelection)
        return;
    AppState& s = State();
    s.ViewedLesson = static_cast<qint16>(index + 1);
    LoadLessonScript();
    Common07();
    if (QPushButton* b = Command1[FocusAfterChoosing(s.ViewedLesson, s.CurrentLesson, s.CurrentStep)])
        b->setFocus();
    if (s.ViewedLesson == s.CurrentLesson)
        Label3->setText(ProgressLine(s.CurrentLesson));
}

void Begin1::Common07()
{
    const AppState& s = State();
    const LessonRows rows = RowsFor(s.ViewedLesson, s.CurrentLesson, s.CurrentStep);
    for (int k = 0; k < kLessonSteps; ++k) {
        Kit::SetInk(Label2[k], rows.Steps[static_cast<size_t>(k)].Colour);
        Command1[k]->setEnabled(rows.Steps[static_cast<size_t>(k)].Enabled);
    }
    Kit::SetInk(Label2[9], rows.Review.Colour);
}

void Begin1::SetLabel3(const QString& text) { Label3->setText(text); }

void Begin1::Label3_Click() { SelectLesson(CurrentLessonIndex(State().CurrentLesson)); }

void Begin1::FocusStepButton(int index)
{
    if (QPushButton* b = Command1[index])
        if (!FormEvents::GiveFocus(b))
            FormEvents::Activate(this);
}

void Begin1::Command1_Click(int index)
{
    if (const StudyLauncher* launcher = LauncherForButton(index))
        OpenStudyStack(*launcher);
}

void Begin1::Common02() { OpenStudyStack(*LauncherForCode(3)); }

void Begin1::OpenStudyStack(const StudyLauncher& launcher)
{
    if (!OpenStudyStackWindows(launcher))
        return;
    Hide();
    if (Begin* menu = Forms::Find<Begin>())
        menu->Hide();
    m_openStack = &launcher;
    m_replaceTicks = 0;
    m_replaceTimer->SetEnabled(true);
}

void Begin1::ReplaceTimer_Tick()
{
    if (!m_openStack || !PlaceStudyStackWindows(*m_openStack) || ++m_replaceTicks >= kReplaceTimes) {
        m_replaceTimer->SetEnabled(false);
        m_openStack = nullptr;
    }
}
