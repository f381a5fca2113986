#include "Text.h"

#include <QComboBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "AppState.h"
#include "BlankTrim.h"
#include "ControlKit.h"
#include "Expressions_Related.h"
#include "FenPeiTiao.h"
#include "Forms.h"
#include "ReadAfter.h"
#include "RichTextBox.h"
#include "SelectionLookUp.h"
#include "SyllableQueue.h"
#include "TextFilters.h"
#include "Timer.h"
#include "Twips.h"

namespace {

// Layout, twips.
constexpr double FormWidth = 10500;
// Low enough for the lesson text stack (notepad, dictionary, text, word list) to fit 1024 x 768.
constexpr double FormHeight = 4800;
constexpr double Margin = 240;
constexpr double BoxTop = 720;
constexpr double BoxHeight = 3000;
constexpr double RowTop = BoxTop + BoxHeight + 150;
constexpr double ButtonHeight = 360;
constexpr double BarTop = RowTop + ButtonHeight + 120;

const QColor Paper(0xF4, 0xF1, 0xE6);
const QColor Ink(0x1F, 0x2A, 0x44);
const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};

const QString StudyTaskText = QStringLiteral(
    "Please get familiar with the text with the help of the dictionary above and the new words and phrases of this "
    "lesson listed below.");
const QString ReadAfterTaskText = QStringLiteral(
    "Your task is to read aloud the text after the computer teacher. Don't load on the job. It will benefit you.");

// The picture reading aloud shows behind the text: a quiet wash of the window's paper.
QPixmap ReadAloudPicture()
{
    QPixmap picture(Twips::ToPixelsX(FormWidth), Twips::ToPixelsY(FormHeight));
    QPainter painter(&picture);
    QLinearGradient wash(0, 0, 0, picture.height());
    wash.setColorAt(0, QColor(0xE3, 0xEE, 0xE0));
    wash.setColorAt(1, QColor(0xF7, 0xF4, 0xE8));
    painter.fillRect(picture.rect(), wash);
    return picture;
}

} // namespace

Text::Text()
    : LessonTaskWindow(QStringLiteral("Text"))
{
    SetCaption(QStringLiteral("Lesson Text"));
    SetSize(FormWidth, FormHeight);
    Kit::SetPaper(this, Paper);
    const Kit::Look sans{.font = SansFamilies, .points = 9, .ink = Ink};

    Label2 = Kit::Label(this, QStringLiteral("Label2"), {Margin, 150, 1500, 360}, QStringLiteral("Lesson 1"),
        {.font = SansFamilies, .points = 12, .weight = QFont::Bold, .ink = Ink});
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {1860, 90, FormWidth - 1860 - Margin, 540}, StudyTaskText,
        {.font = SansFamilies, .points = 9, .ink = Ink, .wrap = true});
    Image1 = Kit::Picture(this, QStringLiteral("Image1"), {0, 0, 15, 15}, ReadAloudPicture());
    Image1->hide();

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Twips::Place(RichTextBox1, Margin, BoxTop, FormWidth - 2 * Margin, BoxHeight);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Twips::Place(Combo1, Margin, RowTop, 4320, ButtonHeight);
    Kit::SetLook(Combo1, sans);
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {4680, RowTop, 960, ButtonHeight}, QStringLiteral("0 / 0"),
        {.font = SansFamilies, .points = 9, .ink = Ink, .align = Qt::AlignCenter});
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {5760, RowTop, 1080, ButtonHeight}, QStringLiteral(" Previous "), sans);
    Command4 = Kit::Button(this, QStringLiteral("Command4"), {6930, RowTop, 1080, ButtonHeight}, QStringLiteral(" Next "), sans);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {8100, RowTop, 1080, ButtonHeight}, QStringLiteral("Playback"), sans);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {9270, RowTop, FormWidth - 9270 - Margin, ButtonHeight},
        QStringLiteral("Close"), sans);

    FenPeiTiao1 = new FenPeiTiao(this);
    FenPeiTiao1->setObjectName(QStringLiteral("FenPeiTiao1"));
    FenPeiTiao1->Move(Margin, BarTop, 4320, 240);

    Timer1 = new Timer(this, 500);
    Timer2 = new Timer(this, 100);
    Timer5 = new Timer(this, 3000);

    connect(Combo1, &QComboBox::activated, this, &Text::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &Text::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Text::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Text::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Text::Command4_Click);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &Text::RichTextBox1_MouseUp);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &Text::RichTextBox1_KeyDown);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &Text::RichTextBox1_KeyUp);
    connect(Timer1, &Timer::Tick, this, &Text::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &Text::Timer2_Timer);
    connect(Timer5, &Timer::Tick, this, &Text::Timer5_Timer);
}

void Text::SetLessonLabel(const QString& text) { Label2->setText(text); }

void Text::UseImage1Background()
{
    QPalette p = palette();
    p.setBrush(QPalette::Window, Image1->pixmap());
    setPalette(p);
}

void Text::Task_Load()
{
    RegisterPlayDoneReceiver(SoundOwnerCode::Text, this);
    BuildText();
    if (BlankTrim(RichTextBox1->Text()).isEmpty()) {
        Command2->setEnabled(false);
        Command3->setEnabled(false);
        Command4->setEnabled(false);
        Combo1->setEnabled(false);
        return;
    }
    if (State().CurrentActivity == 6)
        SetupReadAfterTask();
    else
        SetupStudyTask();
}

void Text::Task_Unload()
{
    for (Timer* t : {Timer1, Timer2, Timer5})
        t->SetEnabled(false);
    UnregisterPlayDoneReceiver(SoundOwnerCode::Text, this);
}

void Text::BuildText()
{
    const LessonTextDocument doc = BuildLessonText(State().LessonLines, State().CurrentActivity == 6);
    for (const LessonTextRow& row : doc.Rows) {
        RichTextBox1->SetSelStart(RichTextBox1->TextLength());
        RichTextBox1->SetSelRTF(row.Rtf);
    }
    RichTextBox1->SetSelStart(0);
}

void Text::SetupStudyTask()
{
    CurrentSentence = 0;
    FenPeiTiao1->Common01(0);
    Label1->setText(SentenceCounter(0, State().LessonLineCount));
    Combo1->clear();
    Combo1->addItems(SentenceListItems(State().LessonLines));
    SetListIndex(0);
}

void Text::SetupReadAfterTask()
{
    Label3->setText(ReadAfterTaskText);
    Command3->setEnabled(false);
    Command4->setEnabled(false);
    Combo1->setEnabled(false);
}

void Text::SetListIndex(int index)
{
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->setCurrentIndex(index);
    }
    Combo1_Click();
}

void Text::Combo1_Click()
{
    const int k = Combo1->currentIndex();
    if (k <= 0) {
        RichTextBox1->SetSelStart(0);
        Command3->setEnabled(false);
        Command4->setEnabled(true);
        return;
    }
    CurrentSentence = qint16(k);
    Label1->setText(SentenceCounter(k, State().LessonLineCount));
    SelectSentence(k);
    SpeakSentence();
    const SentenceButtons buttons = SentenceButtonsAt(k, Combo1->count() - 1);
    Command3->setEnabled(buttons.Previous);
    Command4->setEnabled(buttons.Next);
    RichTextBox1->SetFocus();
}

void Text::SelectSentence(int line)
{
    const QVector<SentenceRecord>& lines = State().LessonLines;
    if (line < 1 || line > lines.size())
        return;
    const QString chinese = BlankTrim(lines[line - 1].Chinese);
    const qsizetype at = RichTextBox1->Text().indexOf(chinese);
    if (chinese.isEmpty() || at < 0)
        return; // spoken all the same, the selection unchanged
    RichTextBox1->SetSelStart(int(at));
    RichTextBox1->SetSelLength(int(chinese.size()));
}

void Text::SpeakSentence()
{
    const QVector<SentenceRecord>& lines = State().LessonLines;
    if (CurrentSentence < 1 || CurrentSentence > lines.size())
        return;
    const QString syllables = StripPunctuation(lines[CurrentSentence - 1].Pinyin);
    if (std::none_of(syllables.cbegin(), syllables.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        // No syllable to speak: no queue starts, so the bar would follow an old one.
        FenPeiTiao1->Common01(0);
        return;
    }
    m_progress.SentenceStarted();
    PlayPinyinSequence(syllables);
    Timer2->SetEnabled(true);
}

void Text::Command1_Click() { Unload(); }

void Text::Command2_Click()
{
    if (State().CurrentActivity == 6) {
        StartReading();
        return;
    }
    if (Combo1->currentIndex() > 0) {
        SelectSentence(CurrentSentence);
        SpeakSentence();
    } else {
        SetListIndex(1);
    }
}

void Text::Command3_Click()
{
    if (Combo1->currentIndex() >= 2)
        SetListIndex(Combo1->currentIndex() - 1);
}

void Text::Command4_Click()
{
    if (Combo1->currentIndex() < Combo1->count() - 1)
        SetListIndex(Combo1->currentIndex() + 1);
}

void Text::RichTextBox1_MouseUp(int, int, double x, double y)
{
    SelectionLookUp(LookUpMembers::Text, *this, *RichTextBox1, x, y);
}

void Text::RichTextBox1_KeyDown(int, int) { CollapseSelection(); }

void Text::RichTextBox1_KeyUp(int, int) { CollapseSelection(); }

void Text::CollapseSelection()
{
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
}

void Text::Common01()
{
    Timer2->SetEnabled(false);
    if (State().CurrentActivity == 1)
        FenPeiTiao1->Common01(0);
    else if (ReadPos > 0) // only while reading: before the start and after the end no word follows
        Timer5->SetEnabled(true);
}

void Text::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    m_progress.Clear();
    FenPeiTiao1->Common01(0);
}

void Text::Timer2_Timer()
{
    const AppState& s = State();
    const SentenceProgress::Step step =
        m_progress.Tick(s.SyllableQueueCount, s.SyllableQueuePos, float(FenPeiTiao1->Width()));
    if (!step.Running)
        Timer2->SetEnabled(false);
    FenPeiTiao1->Common01(step.Bar);
    if (step.Finished)
        Timer1->SetEnabled(true);
}

void Text::Timer5_Timer()
{
    Timer5->SetEnabled(false);
    if (ReadPos > 0)
        ReadNextWord();
}

void Text::StartReading()
{
    Command2->setEnabled(false); // for the rest of the window's life
    RichTextBox1->SetSelStart(0);
    SearchFrom = 1;
    ReadPos = 1;
    TextLength = RichTextBox1->TextLength();
    ReadNextWord();
    RichTextBox1->SetFocus();
}

void Text::ReadNextWord()
{
    const AppState& s = State();
    const ReadAfterWord next = SegmentNextWord(RichTextBox1->Text(), ReadPos, s.LessonWords[0].mid(0, s.LessonWordCount),
        s.WordText[0].mid(0, s.LessonEntryCount));
    if (next.End) {
        if (Expressions_Related* related = Forms::Find<Expressions_Related>())
            related->ClearRows();
        RichTextBox1->SetSelStart(0);
        ReadPos = 0;
        FinishReadAfterTask();
        return;
    }
    ReadPos = int(next.ReadPos);
    Label1->setText(QStringLiteral("%1/%2").arg(ReadPos).arg(TextLength));
    HighlightAndSpeakWord(next.Word, next.Entry, next.FromLesson, next.WholeWord);
}

void Text::HighlightAndSpeakWord(const QString& word, int entry, bool fromLesson, bool wholeWord)
{
    const AppState& s = State();
    const QString chinese = fromLesson ? s.LessonWords[0].value(entry - 1) : s.WordText[0].value(entry - 1);
    const QString numbered = fromLesson ? s.LessonWords[2].value(entry - 1) : s.WordPinyin.value(entry - 1);
    const QString pinyin = WordPinyinInEntry(word, chinese, numbered);
    const int n = int(word.size());

    const int start = int(ReadAfterHighlight(RichTextBox1->Text(), word, SearchFrom, ReadPos));
    ReadPos += n;
    RichTextBox1->SetSelStart(start);
    RichTextBox1->SetSelLength(n);
    SearchFrom = RichTextBox1->SelStart() + RichTextBox1->SelLength() + 1;

    if (Expressions_Related* related = Forms::Find<Expressions_Related>())
        related->Common04(word, true, entry, fromLesson, wholeWord);

    if (BlankTrim(pinyin).isEmpty()) {
        // Nothing to speak, so no queue will report its end: the pause starts at once.
        Timer5->SetEnabled(true);
        return;
    }
    PlayPinyinSequence(pinyin);
}

void Text::FinishReadAfterTask()
{
    RichTextBox1->SetSelStart(0);
    // Finished (recorded and congratulated at the frontier); the window closes 500 ms later.
    Protocol().ReadingFinished();
}
