#include "Vocabulary.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "AppState.h"
#include "Clock.h"
#include "Dictionary.h"
#include "FenPeiTiao.h"
#include "Forms.h"
#include "MsgBox.h"
#include "SyllableQueue.h"
#include "WavePlayer.h"

namespace {
const QStringList kChinese{QStringLiteral("Noto Sans CJK SC")};
const QStringList kLatin{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
const QStringList kRoman{QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif"), QStringLiteral("Noto Serif CJK SC")};

constexpr double kWidth = 11600;
constexpr double kHeight = 7300;
constexpr double kOptionLeft = 4590;
constexpr double kOptionTop = 2040;
constexpr double kOptionPitch = 335;
constexpr double kOptionWidth = 6540; // the widest an option is shown
constexpr int kBarTicks = 20;          // seconds to answer
constexpr int kPausePerMeaningMs = 2000;
constexpr int kRepeatAfterMs = 2000;

// Label4's elements beside "Correct", "Wrong", "Correctness Rate" and "No.".
constexpr int kRight = 0;
constexpr int kWrong = 1;
constexpr int kRate = 2;
constexpr int kNumber = 3;

QString SoundFile(const char* name) { return State().AppPath + QStringLiteral("Sound/") + QLatin1String(name); }
} // namespace

Vocabulary::Vocabulary()
    : LessonTaskWindow(QStringLiteral("Vocabulary"))
{
    SetCaption(QStringLiteral("Vocabulary"));
    SetSize(kWidth, kHeight);
    setMouseTracking(true);
    const Kit::Look plain{.font = kLatin, .points = 10};
    const Kit::Look value{.font = kLatin, .points = 10, .weight = QFont::Bold, .ink = QColor(0, 0, 200)};

    Label6 = Kit::Label(this, QStringLiteral("Label6"), {240, 150, 2500, 300}, QStringLiteral("Lesson"),
        {.font = kLatin, .points = 11, .weight = QFont::Bold});
    Label3.Add(0, Kit::Label(this, Label3.Name(0), {2900, 150, 8400, 300},
        QStringLiteral("To complete this task, your correctness rate must reach 50%"), {.font = kLatin, .points = 10, .ink = QColor(0, 0, 200)}));
    Label3.Add(1, Kit::Label(this, Label3.Name(1), {240, 480, 11100, 520},
        QStringLiteral("Your task is to find out the correct English meanings of the Chinese vocabulary showing above. "
                       "Pay attention to related sentences on the Dictionary window, please."),
        {.font = kLatin, .points = 9, .wrap = true}));
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {kOptionLeft, 1080, 6705, 560}, {},
        {.font = kRoman, .points = 24, .weight = QFont::Bold, .ink = QColor(0, 0, 255)});
    Label5 = Kit::Label(this, QStringLiteral("Label5"), {4110, 1680, 7400, 300},
        QStringLiteral("Which one is the correct English meaning of the Chinese vocabulary above?"), {.font = kLatin, .points = 9});

    const char* captions[] = {"Correct", "Wrong", "Correctness Rate", "No."};
    const char* names[] = {"Label12", "Label13", "Label14", "Label11"};
    const double tops[] = {1550, 1900, 2250, 1200};
    for (int k = 0; k < 4; ++k) {
        Kit::Label(this, QLatin1String(names[k]), {240, tops[k], 1800, 300}, QLatin1String(captions[k]), plain);
        Label4.Add(k, Kit::Label(this, Label4.Name(k), {2100, tops[k], 700, 300}, QStringLiteral("0"), value));
    }
    Kit::Label(this, QStringLiteral("Label15"), {2800, tops[kRate], 300, 300}, QStringLiteral("%"), plain);

    Command2 = Kit::Button(this, QStringLiteral("Command2"), {240, 2800, 1600, 450}, QStringLiteral("Start"),
        {.font = kLatin, .points = 10, .weight = QFont::Bold});
    Command5 = Kit::Button(this, QStringLiteral("Command5"), {2000, 2800, 1600, 450}, QStringLiteral("Close"),
        {.font = kLatin, .points = 10, .weight = QFont::Bold});

    Label7 = Kit::Label(this, QStringLiteral("Label7"), {240, 3830, 1850, 300}, QStringLiteral("Time progressbar:"), plain);
    FenPeiTiao1 = new FenPeiTiao(this);
    FenPeiTiao1->Move(2160, 3870, 1665, 195);

    for (int k = 0; k < kVocabularyOptions; ++k) {
        const double top = kOptionTop + kOptionPitch * k;
        Label8.Add(k, Kit::Label(this, Label8.Name(k), {4110, top, 480, 300}, QStringLiteral("  %1.  ").arg(k + 1), plain));
        Label2.Add(k, Kit::Label(this, Label2.Name(k), {kOptionLeft, top, kOptionWidth, 300}, {},
            {.font = kLatin, .points = 12}));
        Label2[k]->setCursor(Qt::PointingHandCursor);
        Label2[k]->hide();
        Label8[k]->hide();
    }
    Label2.OnClick([this](int k) { Label2_MouseUp(k); });
    Label2.OnMouseMove([this](int k) { Label2_MouseMove(k); });

    Label9 = Kit::Label(this, QStringLiteral("Label9"), {240, 4500, 11100, 2800}, {},
        {.font = kChinese, .points = 48, .weight = QFont::Bold, .ink = QColor(200, 0, 0), .align = Qt::AlignCenter});
    // The feedback reaches up over the last option: clicks go through it to the option below.
    Label9->setAttribute(Qt::WA_TransparentForMouseEvents);

    Timer1 = new Timer(this, 1000, false);
    Timer2 = new Timer(this, 0, false);
    Timer3 = new Timer(this, 0, false);
    Timer4 = new Timer(this, kRepeatAfterMs, false);
    connect(Timer1, &Timer::Tick, this, &Vocabulary::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &Vocabulary::Timer2_Timer);
    connect(Timer3, &Timer::Tick, this, &Vocabulary::Timer3_Timer);
    connect(Timer4, &Timer::Tick, this, &Vocabulary::Timer4_Timer);
    connect(Command2, &QPushButton::clicked, this, &Vocabulary::Command2_Click);
    connect(Command5, &QPushButton::clicked, this, &Form::Unload);
}

void Vocabulary::SetLessonLabel(const QString& text) { Label6->setText(text); }

void Vocabulary::Task_Load()
{
    AppState& s = State();
    Label1->setText(QStringLiteral("%1 vocabulary").arg(s.LessonWordCount));
    BarStep = static_cast<float>(FenPeiTiao1->Width() / kBarTicks);
    s.VocabularyTestOpen = -1;
    RegisterPlayDoneReceiver(SoundOwnerCode::Vocabulary, this);
}

void Vocabulary::Task_Unload()
{
    for (Timer* t : {Timer1, Timer2, Timer3, Timer4})
        t->SetEnabled(false);
    UnregisterPlayDoneReceiver(SoundOwnerCode::Vocabulary, this);
    State().SoundOwner = 0;
}

void Vocabulary::SetCount(int element, int count) { Label4[element]->setText(QString::number(count)); }

void Vocabulary::Paint(int option, const QColor& ink) { Kit::SetInk(Label2[option], ink); }

void Vocabulary::Command2_Click()
{
    Command2->setEnabled(false);
    RightCount = WrongCount = 0;
    Label1->clear();
    Label9->clear();
    FenPeiTiao1->Common01(0);
    for (int k = 0; k < 4; ++k)
        SetCount(k, 0);
    Random::Randomize();
    TestWords = ShuffledTestWords();
    WordIndex = 0;
    if (TestWords.isEmpty()) {
        // Nothing to ask: done as the typing task is without new characters.
        Protocol().NoNewWords();
        return;
    }
    AskNextWord();
}

void Vocabulary::AskNextWord()
{
    Random::Randomize();
    Label9->clear();
    ++WordIndex;
    const TestWord& word = TestWords[WordIndex - 1];
    Label1->setText(word.Chinese);
    MeaningCount = int(WordMeanings(word.English).size());
    m_options = VocabularyOptions(TestWords, WordIndex);
    for (int k = 0; k < kVocabularyOptions; ++k) {
        QLabel* option = Label2[k];
        option->setText(m_options[k].Text);
        option->setVisible(!m_options[k].Text.isEmpty());
        Label8[k]->show();
        Paint(k, Qt::black);
    }
    FenPeiTiao1->Common01(0);
    SetCount(kNumber, RightCount + WrongCount + 1);
    Timer1->SetEnabled(true);
    AnswersOpen = true;
    SpeakWord();
    if (Dictionary* dictionary = Forms::Find<Dictionary>()) {
        QString shown = Label1->text();
        dictionary->Common01(shown, true);
    }
}

void Vocabulary::SpeakWord()
{
    if (WordIndex >= 1 && WordIndex <= TestWords.size())
        PlayPinyinSequence(TestWords[WordIndex - 1].Pinyin);
}

void Vocabulary::Timer1_Timer()
{
    FenPeiTiao1->Common01(static_cast<float>(FenPeiTiao1->BarLength()) + BarStep);
    if (FenPeiTiao1->BarLength() < FenPeiTiao1->Width())
        return;
    // Time is up: counted as wrong.
    Timer1->SetEnabled(false);
    ++WrongCount;
    Label9->setText(QStringLiteral("Carry on!\n继续努力!"));
    PlaySoundFile(SoundFile("carryon.WAV"), SoundOwnerCode::Nobody);
    SetCount(kWrong, WrongCount);
    AfterAnswer();
}

void Vocabulary::AfterAnswer()
{
    AnswersOpen = false;
    Timer1->SetEnabled(false);
    Timer4->SetEnabled(false);
    const QString& word = TestWords[WordIndex - 1].Chinese;
    for (int k = 0; k < kVocabularyOptions; ++k) {
        if (IsRightOption(m_options[k], word))
            Paint(k, QColor(255, 0, 0));
        else
            Label2[k]->hide();
    }
    Label4[kRate]->setText(QString::number(VocabularyRate(RightCount, WrongCount)));
    Timer* pause = RightCount + WrongCount >= TestWords.size() ? Timer3 : Timer2;
    pause->SetInterval(MeaningCount * kPausePerMeaningMs);
    pause->SetEnabled(true);
}

void Vocabulary::Label2_MouseUp(int index)
{
    if (!AnswersOpen || index < 0 || index >= m_options.size())
        return;
    const QString& word = TestWords[WordIndex - 1].Chinese;
    if (IsRightOption(m_options[index], word)) {
        Paint(index, QColor(255, 0, 0));
        ++RightCount;
        Label9->setText(QStringLiteral("Good job!\n正确!"));
        PlaySoundFile(SoundFile("right.WAV"), SoundOwnerCode::Nobody);
        AfterAnswer();
        SetCount(kRight, RightCount);
    } else {
        ++WrongCount;
        Label9->setText(QStringLiteral("Be careful!\n仔细点!"));
        PlaySoundFile(SoundFile("careful.WAV"), SoundOwnerCode::Nobody);
        SetCount(kWrong, WrongCount);
        AfterAnswer();
    }
}

void Vocabulary::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    AskNextWord();
}

void Vocabulary::Common05()
{
    // A sound that ends after the answer (the pause shows the result) is not repeated.
    if (AnswersOpen)
        Timer4->SetEnabled(true);
}

void Vocabulary::Timer4_Timer()
{
    Timer4->SetEnabled(false);
    SpeakWord();
}

void Vocabulary::Timer3_Timer()
{
    for (Timer* t : {Timer3, Timer1, Timer2})
        t->SetEnabled(false);
    MMControl1()->Close();
    Timer4->SetEnabled(false);
    for (int k = 0; k < kVocabularyOptions; ++k) {
        Label2[k]->hide();
        Label8[k]->hide();
        Paint(k, Qt::black);
    }
    Command2->setEnabled(true);

    const QString rate = Label4[kRate]->text();
    if (Protocol().IsFrontier()) {
        // The pass test reads the rate back from its label.
        if (Protocol().Graded(rate.toInt()) == LessonTaskProtocol::Outcome::StaysOpen) {
            FenPeiTiao1->Common01(0);
            Label1->clear();
            Label9->clear();
        }
        return;
    }
    MsgBox::Notice(QStringLiteral("Your correctness rate is %1%.").arg(rate));
    FenPeiTiao1->Common01(0);
    Label1->clear();
    Label9->clear();
}

void Vocabulary::Label2_MouseMove(int index)
{
    if (index == HoverOption)
        return;
    ClearHover();
    QFont f = Label2[index]->font();
    f.setUnderline(true);
    Label2[index]->setFont(f);
    HoverOption = index;
}

void Vocabulary::ClearHover()
{
    if (HoverOption >= 0 && Label2[HoverOption]) {
        QFont f = Label2[HoverOption]->font();
        f.setUnderline(false);
        Label2[HoverOption]->setFont(f);
    }
    HoverOption = -1;
}

void Vocabulary::mouseMoveEvent(QMouseEvent* e)
{
    ClearHover();
    LessonTaskWindow::mouseMoveEvent(e);
}
