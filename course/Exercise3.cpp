#include "Exercise3.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>

#include "AppState.h"
#include "CharacterTable.h"
#include "Forms.h"
#include "RichTextBox.h"
#include "Result1.h"
#include "SelectionLookUp.h"
#include "SharedPlayer.h"
#include "Timer.h"
#include "Twips.h"
#include "WavePlayer.h"
#include "ZoomRules.h"

namespace {
constexpr double FormWidth = 10500;
constexpr double FormHeight = 5160;
constexpr double Margin = 240;
constexpr double BoxTop = 900;
constexpr double BoxHeight = 3060;
constexpr double RowTop = BoxTop + BoxHeight + 180;
constexpr double CandidateSize = 780;

const QColor Paper(0xF2, 0xF0, 0xE8);
const QColor Ink(0x1F, 0x2A, 0x44);
const QColor CandidateInk(0, 0, 255); // &HFF0000
const QColor HoverInk(255, 0, 0);     // 255
const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
const QStringList SongFamilies{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")};
} // namespace

Exercise3::Exercise3()
    : LessonTaskWindow(QStringLiteral("Exercise3"))
{
    SetCaption(QStringLiteral("Fill in the Blanks"));
    SetSize(FormWidth, FormHeight);
    Kit::SetPaper(this, Paper);
    setMouseTracking(true);
    const Kit::Look sans{.font = SansFamilies, .points = 9, .ink = Ink};

    Label6 = Kit::Label(this, QStringLiteral("Label6"), {Margin, 150, 1500, 360}, QStringLiteral("Lesson 1"),
        {.font = SansFamilies, .points = 12, .weight = QFont::Bold, .ink = Ink});
    Label3.Add(0, Kit::Label(this, Label3.Name(0), {1860, 60, FormWidth - 1860 - Margin, 480},
        QStringLiteral("Your task is to correctly fill in the blacks with the Chinese characters listed at the bottom of "
                       "this window."), {.font = SansFamilies, .points = 9, .ink = Ink, .wrap = true}));
    Label3.Add(1, Kit::Label(this, Label3.Name(1), {1860, 570, FormWidth - 1860 - Margin, 300},
        QStringLiteral("To complete this task, your correctness rate must reach 80%"), sans));

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Twips::Place(RichTextBox1, Margin, BoxTop, FormWidth - 2 * Margin, BoxHeight);

    Label2 = Kit::Label(this, QStringLiteral("Label2"), {Margin, RowTop + 240, 1000, 300}, QStringLiteral("Options:"),
        {.font = SansFamilies, .points = 10, .weight = QFont::Bold, .ink = Ink});
    for (int k = 1; k <= CandidateLabels; ++k)
        Label1.Add(k, Kit::Label(this, Label1.Name(k), {1260 + (k - 1) * (CandidateSize + 180), RowTop, CandidateSize, CandidateSize},
            QString(), {.font = SongFamilies, .points = 24, .weight = QFont::Bold, .ink = CandidateInk,
                            .paper = QColor(0xFF, 0xFF, 0xFF), .align = Qt::AlignCenter}));
    Label14 = Kit::Label(this, QStringLiteral("Label14"), {5460, RowTop + 240, 1700, 300},
        QStringLiteral("Correctness Rate"), sans);
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {7160, RowTop + 180, 700, 400}, QStringLiteral("0"),
        {.font = SansFamilies, .points = 14, .weight = QFont::Bold, .ink = QColor(0xC0, 0, 0), .align = Qt::AlignCenter});
    Kit::Label(this, QStringLiteral("Label5"), {7860, RowTop + 240, 300, 300}, QStringLiteral("%"), sans);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {FormWidth - Margin - 1200, RowTop + 180, 1200, 420},
        QStringLiteral("Close"), {.font = SansFamilies, .points = 9});

    Timer2 = new Timer(this, 400);

    Label1.OnMouseMove([this](int k) { Label1_MouseMove(k); });
    Label1.OnClick([this](int k) { Label1_MouseUp(k); });
    connect(Command2, &QPushButton::clicked, this, &Exercise3::Command2_Click);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &Exercise3::RichTextBox1_MouseUp);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &Exercise3::CollapseSelection);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &Exercise3::CollapseSelection);
    connect(Timer2, &Timer::Tick, this, &Exercise3::Timer2_Timer);
}

void Exercise3::SetLessonLabel(const QString& text) { Label6->setText(text); }

void Exercise3::Task_Load()
{
    State().QuizOpen = -1;
    m_graded = false;
    Label4->setText(QStringLiteral("0"));
    if (Result1* results = Forms::Find<Result1>())
        results->Clear();
    BuildExercise();
    if (m_blanks.isEmpty())
        Protocol().NothingToAsk(NoSentenceNotice());
}

void Exercise3::Task_Unload()
{
    Timer2->SetEnabled(false);
    m_graded = false;
    HoverIndex = 0;
}

void Exercise3::BuildExercise()
{
    const BlankExerciseText exercise = BuildBlankExercise(State().LessonLines, QuizDraws());
    m_blanks = exercise.Blanks;
    for (const LessonTextRow& row : exercise.Text.Rows) {
        RichTextBox1->SetSelStart(RichTextBox1->TextLength());
        RichTextBox1->SetSelRTF(row.Rtf);
    }
    RichTextBox1->SetSelStart(0);
    CurrentBlank = 1;
    if (m_blanks.isEmpty())
        return;
    // Below five blanks every answer is dealt once and serves all of them; from five on,
    // NextBlank draws for each blank.
    if (!CandidatesPerBlank(int(m_blanks.size())))
        ShowCandidates(CandidatesFor(Answers(m_blanks), 1, QuizDraws()));
    NextBlank();
}

void Exercise3::ShowCandidates(const QStringList& candidates)
{
    for (int k = 1; k <= CandidateLabels; ++k) {
        const QString c = candidates.value(k - 1);
        Label1[k]->setText(c);
        m_tags[k] = c.isEmpty() ? 0 : CharacterIndex(c);
    }
}

void Exercise3::NextBlank()
{
    if (CandidatesPerBlank(int(m_blanks.size())))
        ShowCandidates(CandidatesFor(Answers(m_blanks), CurrentBlank, QuizDraws()));
    BlankSelStart = 0;
    SelectNextBlank();
    RichTextBox1->SetFocus();
}

void Exercise3::SelectNextBlank()
{
    if (CurrentBlank < 1 || CurrentBlank > m_blanks.size())
        return;
    if (RichTextBox1->SelStart() != BlankSelStart || RichTextBox1->SelStart() == 0) {
        SelectBlank(CurrentBlank);
        BlankSelStart = RichTextBox1->SelStart();
    } else if (RichTextBox1->SelLength() != 2) {
        RichTextBox1->SetSelLength(2);
    }
}

void Exercise3::SelectBlank(int i)
{
    if (i < 1 || i > m_blanks.size())
        return;
    RichTextBox1->SetSelStart(m_blanks[i - 1].TextPos);
    RichTextBox1->SetSelLength(2);
}

void Exercise3::SetHover(int k)
{
    Timer2->SetEnabled(false);
    MMControl1()->Close();
    if (QLabel* previous = Label1[HoverIndex])
        Kit::SetInk(previous, CandidateInk);
    if (QLabel* now = Label1[k])
        Kit::SetInk(now, HoverInk);
    HoverIndex = k;
}

void Exercise3::Label1_MouseMove(int k)
{
    if (Label1[k]->text().isEmpty() || k == HoverIndex)
        return;
    SetHover(k);
    SelectNextBlank();
    if (m_tags[k] > 0)
        Timer2->SetEnabled(true);
}

void Exercise3::mouseMoveEvent(QMouseEvent* e)
{
    if (HoverIndex > 0)
        SetHover(0);
    LessonTaskWindow::mouseMoveEvent(e);
}

void Exercise3::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    if (HoverIndex > 0)
        SpeakCharacter(m_tags[HoverIndex]);
}

void Exercise3::Label1_MouseUp(int k)
{
    const QString chosen = Label1[k]->text();
    if (chosen.isEmpty() || CurrentBlank > m_blanks.size())
        return;
    Timer2->SetEnabled(false);
    m_blanks[CurrentBlank - 1].UserAnswer = chosen;
    ++CurrentBlank;
    if (CurrentBlank > m_blanks.size())
        GradeExercise();
    else
        NextBlank();
}

void Exercise3::GradeExercise()
{
    RichTextBox1->SetSelStart(0);
    const BlankGrade grade = GradeBlanks(m_blanks);
    m_graded = true;
    Label4->setText(QuizRateText(grade.Rate));
    if (Result1* results = Forms::Find<Result1>())
        results->Common01();
    ShowCandidates({});
    // The pass test reads the rate back from its label.
    Protocol().Graded(Label4->text().toInt());
}

void Exercise3::Command2_Click() { Unload(); }

void Exercise3::RichTextBox1_MouseUp(int, int, double x, double y)
{
    SelectionLookUp(LookUpMembers::Exercise3, *this, *RichTextBox1, x, y);
}

void Exercise3::CollapseSelection()
{
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
}

int Exercise3::CharacterIndex(const QString& ch)
{
    const int r = FindCharacterRecord(ch);
    return r >= 1 && r <= State().CharacterCount ? r : 0;
}

void Exercise3::SpeakCharacter(int index)
{
    const QVector<CharacterRecord>& table = std::as_const(State().CharacterTable);
    if (index < 1 || index > table.size() || table[index - 1].Readings.isEmpty())
        return;
    const ReadingSound sound = CharacterReadingSound(table[index - 1].Readings.first());
    State().CurrentTone = sound.Tone;
    PlaySoundFile(sound.Path, SoundOwnerCode::Nobody);
}
