#include "FindSentence.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <algorithm>

#include "AppState.h"
#include "BlankExercise.h"
#include "FenPeiTiao.h"
#include "RichTextBox.h"
#include "SelectionLookUp.h"
#include "SyllableQueue.h"
#include "TextFilters.h"
#include "Timer.h"
#include "Twips.h"
#include "WavePlayer.h"

namespace {
constexpr double FormWidth = 11640;
constexpr double FormHeight = 4800;
constexpr double Margin = 240;
constexpr double BoxLeft = 3870;
constexpr double BoxTop = 1020;
constexpr double BoxHeight = 2835;
constexpr double BarTop = 4020;
constexpr double ButtonTops[] = {2160, 2550, 2940};
constexpr int SyllableMs = 500;

const QColor Paper(0xEE, 0xF2, 0xEA);
const QColor Ink(0x1F, 0x2A, 0x44);
const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};

bool HasSyllables(const QString& pinyin)
{
    return std::any_of(pinyin.cbegin(), pinyin.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

FindSentence::FindSentence()
    : LessonTaskWindow(QStringLiteral("FindSentence"))
{
    SetCaption(QStringLiteral("Find the Sentence"));
    SetSize(FormWidth, FormHeight);
    Kit::SetPaper(this, Paper);
    const Kit::Look sans{.font = SansFamilies, .points = 9, .ink = Ink};
    // Buttons keep the palette's own disabled text, so a disabled answer looks it.
    const Kit::Look button{.font = SansFamilies, .points = 9};
    const Kit::Look value{.font = SansFamilies, .points = 14, .weight = QFont::Bold, .ink = QColor(0xC0, 0, 0)};

    Label6 = Kit::Label(this, QStringLiteral("Label6"), {Margin, 150, 1500, 360}, QStringLiteral("Lesson 1"),
        {.font = SansFamilies, .points = 12, .weight = QFont::Bold, .ink = Ink});
    Label3.Add(3, Kit::Label(this, Label3.Name(3), {BoxLeft, 150, FormWidth - BoxLeft - Margin, 300},
        QStringLiteral("Your task is to find out the correct sentence that match the sound you hear."), sans));
    Label3.Add(2, Kit::Label(this, Label3.Name(2), {BoxLeft, 480, FormWidth - BoxLeft - Margin, 300},
        QStringLiteral("To complete this task, your correctness rate must reach 80%"), sans));
    Label3.Add(0, Kit::Label(this, Label3.Name(0), {Margin, 1080, 600, 360}, QStringLiteral("No."), sans));
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {840, 1020, 900, 420}, QStringLiteral("0"), value);
    Kit::Label(this, QStringLiteral("Label5"), {Margin, 1560, 1700, 360}, QStringLiteral("Correctness Rate"), sans);
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {1900, 1500, 800, 420}, QStringLiteral("0"), value);
    Kit::Label(this, QStringLiteral("Label7"), {2700, 1560, 300, 360}, QStringLiteral("%"), sans);
    Label3.Add(1, Kit::Label(this, Label3.Name(1), {Margin, 2190, 1900, 300}, QStringLiteral("Options:"),
        {.font = SansFamilies, .points = 10, .weight = QFont::Bold, .ink = Ink}));
    const char* letters[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i)
        Command2.Add(i, Kit::Button(this, Command2.Name(i), {2220, ButtonTops[i], 1380, 360}, QLatin1String(letters[i]),
            {.font = SansFamilies, .points = 10, .weight = QFont::Bold}));
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {Margin, 3420, 3400, 420}, QString(),
        {.font = SansFamilies, .points = 12, .weight = QFont::Bold, .ink = QColor(255, 0, 0)});

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Twips::Place(RichTextBox1, BoxLeft, BoxTop, FormWidth - BoxLeft - Margin, BoxHeight);

    FenPeiTiao1 = new FenPeiTiao(this);
    FenPeiTiao1->setObjectName(QStringLiteral("FenPeiTiao1"));
    FenPeiTiao1->Move(BoxLeft, BarTop, 2445, 240);
    Command4 = Kit::Button(this, QStringLiteral("Command4"), {FormWidth - Margin - 2580, BarTop - 60, 1200, 400},
        QStringLiteral("Next"), button);
    Command4->setEnabled(false);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {FormWidth - Margin - 1200, BarTop - 60, 1200, 400},
        QStringLiteral("Close"), button);

    Timer1 = new Timer(this, 100);
    Timer2 = new Timer(this, 2000);
    Timer4 = new Timer(this, 500);
    Timer5 = new Timer(this, 0);
    Timer6 = new Timer(this, 200);

    for (int i = 0; i < 3; ++i)
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    connect(Command1, &QPushButton::clicked, this, &FindSentence::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &FindSentence::Command4_Click);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &FindSentence::RichTextBox1_MouseUp);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &FindSentence::CollapseSelection);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &FindSentence::CollapseSelection);
    connect(Timer1, &Timer::Tick, this, &FindSentence::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &FindSentence::Timer2_Timer);
    connect(Timer4, &Timer::Tick, this, &FindSentence::Timer4_Timer);
    connect(Timer5, &Timer::Tick, this, &FindSentence::Timer5_Timer);
    connect(Timer6, &Timer::Tick, this, &FindSentence::Timer6_Timer);
}

void FindSentence::SetLessonLabel(const QString& text) { Label6->setText(text); }

void FindSentence::Task_Load()
{
    RegisterPlayDoneReceiver(SoundOwnerCode::FindSentence, this);
    State().QuizOpen = -1;
    StartQuiz();
}

void FindSentence::Task_Unload()
{
    for (Timer* t : {Timer1, Timer2, Timer4, Timer5, Timer6})
        t->SetEnabled(false);
    UnregisterPlayDoneReceiver(SoundOwnerCode::FindSentence, this);
}

bool FindSentence::WorkRemains() const { return m_lineIndex < State().LessonLineCount; }

void FindSentence::Common02()
{
    Timer1->SetEnabled(false);
    Timer5->SetEnabled(false);
    FenPeiTiao1->Common01(0);
}

void FindSentence::Common05()
{
    for (int i = 0; i < 3; ++i)
        Command2[i]->setEnabled(false);
}

void FindSentence::StartQuiz()
{
    FenPeiTiao1->Common01(0);
    m_lineIndex = QuestionCount = RightCount = WrongCount = 0;
    Label4->setText(QStringLiteral("0"));
    for (int i = 0; i < 3; ++i)
        Command2[i]->setEnabled(true);
    NextQuestion();
}

void FindSentence::NextQuestion()
{
    Common02();
    const AppState& s = State();
    const QVector<SentenceRecord> pool = s.SentenceTable.mid(0, std::clamp<int>(s.SentenceCount, 0, int(s.SentenceTable.size())));
    for (;;) {
        if (m_lineIndex >= s.LessonLineCount || m_lineIndex >= s.LessonLines.size()) {
            EndRun();
            return;
        }
        ++m_lineIndex;
        m_line = s.LessonLines[m_lineIndex - 1];
        m_question = MakeQuestion(m_line, pool, QuizDraws());
        RichTextBox1->SetText(QString());
        if (m_question.Asked)
            break;
    }
    ++QuestionCount;
    Append(QuestionRtf(m_line, m_question));
    RichTextBox1->SetSelStart(0);
    // The first question is asked while the window loads: spoken once it has been shown.
    if (isVisible())
        Timer2_Timer();
    else
        Timer2->SetEnabled(true);
    for (int i = 0; i < 3; ++i)
        Command2[i]->setEnabled(true);
    Label1->setText(QString::number(QuestionCount));
    Label2->clear();
}

void FindSentence::Append(const QStringList& rtf)
{
    for (const QString& doc : rtf) {
        RichTextBox1->SetSelStart(RichTextBox1->TextLength());
        RichTextBox1->SetSelRTF(doc);
    }
}

void FindSentence::EndRun()
{
    Command4->setEnabled(false);
    Common05();
    RichTextBox1->SetText(QString());
    MMControl1()->Close();
    Timer5->SetEnabled(false);
    Timer2->SetEnabled(false);
    if (QuestionCount == 0) {
        // Nothing was asked: a new run would ask nothing again.
        Protocol().NothingToAsk(NoSentenceNotice());
        return;
    }
    if (!Protocol().IsFrontier()) {
        Protocol().StartClose();
        return;
    }
    Label2->clear();
    // The pass test reads the rate back from its label.
    if (Protocol().Graded(Label4->text().toInt()) == LessonTaskProtocol::Outcome::Failed)
        Timer6->SetEnabled(true);
}

void FindSentence::UpdateRate() { Label4->setText(QuizRateText(QuizRate(RightCount, WrongCount))); }

void FindSentence::Command2_Click(int option)
{
    if (!Command2[option]->isEnabled())
        return;
    Common05();
    if (option == m_question.Correct) {
        ++RightCount;
        UpdateRate();
        NextQuestion();
        return;
    }
    Label2->setText(WrongFeedback());
    ++WrongCount;
    RichTextBox1->SetText(QString());
    Append(CorrectionRtf(m_line, m_question));
    RichTextBox1->SetSelStart(0);
    Command4->setEnabled(true);
    Command4->setFocus();
    UpdateRate();
}

void FindSentence::Command4_Click()
{
    if (!Command4->isEnabled())
        return;
    Command4->setEnabled(false);
    NextQuestion();
    RichTextBox1->SetFocus();
}

void FindSentence::Command1_Click() { Unload(); }

void FindSentence::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    const QString syllables = StripPunctuation(m_line.Pinyin);
    // A line without syllables has nothing to speak, so nothing to repeat.
    if (!HasSyllables(syllables))
        return;
    PlayPinyinSequence(syllables);
    const qint16 count = State().SyllableQueueCount;
    if (count <= 0)
        return;
    Timer1->SetEnabled(true);
    Timer5->SetInterval(count * SyllableMs);
    Timer5->SetEnabled(true);
}

void FindSentence::Timer5_Timer()
{
    Timer5->SetEnabled(false);
    Timer2->SetEnabled(true);
}

void FindSentence::Timer1_Timer()
{
    const AppState& s = State();
    if (s.SyllableQueueCount <= 0) {
        Timer1->SetEnabled(false);
        FenPeiTiao1->Common01(0);
        return;
    }
    FenPeiTiao1->Common01(float(FenPeiTiao1->Width()) * float(s.SyllableQueuePos) / float(s.SyllableQueueCount));
    if (s.SyllableQueuePos == s.SyllableQueueCount) {
        Timer1->SetEnabled(false);
        Timer4->SetEnabled(true);
    }
}

void FindSentence::Timer4_Timer()
{
    Timer4->SetEnabled(false);
    FenPeiTiao1->Common01(0);
}

void FindSentence::Timer6_Timer()
{
    Timer6->SetEnabled(false);
    StartQuiz();
}

void FindSentence::RichTextBox1_MouseUp(int, int, double x, double y)
{
    SelectionLookUp(LookUpMembers::FindSentence, *this, *RichTextBox1, x, y);
}

void FindSentence::CollapseSelection()
{
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
}
