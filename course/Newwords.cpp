#include "Newwords.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>

#include "AppState.h"
#include "Expressions_Related.h"
#include "Forms.h"
#include "NewwordsReview.h"
#include "Pinyin.h"
#include "RelatedRows.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "TextFilters.h"
#include "Timer.h"
#include "Twips.h"

namespace {

constexpr double FormWidth = 10500;
constexpr double FormHeight = 4800;
constexpr double RowTop = 4080;
constexpr double ButtonHeight = 360;

const QColor Paper(0xF4, 0xF1, 0xE6);
const QColor Ink(0x1F, 0x2A, 0x44);
const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
const QStringList SerifFamilies{QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif"),
    QStringLiteral("Noto Serif CJK SC")};

} // namespace

Newwords::Newwords()
    : LessonTaskWindow(QStringLiteral("Newwords"))
{
    SetCaption(QStringLiteral("New Words and Phrases"));
    SetSize(FormWidth, FormHeight);
    setMouseTracking(true); // the pad follows every move; it draws while the left button is held
    Kit::SetPaper(this, Paper);
    const Kit::Look sans{.font = SansFamilies, .points = 9, .ink = Ink};

    Label11 = Kit::Label(this, QStringLiteral("Label11"), {240, 150, 1500, 360}, QStringLiteral("Lesson 1"),
        {.font = SansFamilies, .points = 12, .weight = QFont::Bold, .ink = Ink});
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {1860, 90, 8400, 540},
        QStringLiteral("Your can review the new words and phrases of the lesson here. And you can write Chinese "
                       "characters here, too."),
        {.font = SansFamilies, .points = 9, .ink = Ink, .wrap = true});

    Label1.Add(0, Kit::Label(this, Label1.Name(0), {240, 780, 4800, 1500}, {},
        {.font = SerifFamilies, .points = 40, .ink = QColor(0, 0, 255), .paper = QColor(255, 255, 192),
            .align = Qt::AlignCenter}));
    Label1.Add(1, Kit::Label(this, Label1.Name(1), {240, 2340, 4800, 540}, {},
        {.font = SerifFamilies, .points = 18, .ink = QColor(255, 0, 0), .align = Qt::AlignCenter}));
    Label1.Add(2, Kit::Label(this, Label1.Name(2), {240, 2940, 4800, 900}, {},
        {.font = SansFamilies, .points = 10, .ink = QColor(0, 0, 0), .paper = QColor(192, 192, 255),
            .align = Qt::AlignCenter, .wrap = true}));
    Label1.Add(3, Kit::Label(this, Label1.Name(3), {5400, 780, 4860, 300},
        QStringLiteral("Write  -  left click and drag the cursor"), sans));
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {5400, 3600, 4860, 300}, QStringLiteral("Clear  -  right click"),
        sans);
    // Writing goes on across the labels: the pad underneath gets their mouse.
    for (const auto& [index, label] : Label1)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label2->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label4->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label11->setAttribute(Qt::WA_TransparentForMouseEvents);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Twips::Place(Combo1, 240, RowTop, 2400, ButtonHeight);
    Kit::SetLook(Combo1, sans);
    Command6 = Kit::Button(this, QStringLiteral("Command6"), {2760, RowTop, 900, ButtonHeight}, QStringLiteral("<<"), sans);
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {3720, RowTop, 1200, ButtonHeight}, QStringLiteral("0 / 0"),
        {.font = SansFamilies, .points = 9, .ink = Ink, .align = Qt::AlignCenter});
    Label3->setAttribute(Qt::WA_TransparentForMouseEvents);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {4980, RowTop, 900, ButtonHeight}, QStringLiteral(">>"), sans);
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {6960, RowTop, 1200, ButtonHeight},
        QStringLiteral("Playback"), sans);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {8280, RowTop, 1980, ButtonHeight}, QStringLiteral("Close"),
        sans);

    Timer1 = new Timer(this, 500);

    connect(Combo1, &QComboBox::activated, this, &Newwords::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &Newwords::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Newwords::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Newwords::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &Newwords::Command6_Click);
    connect(Timer1, &Timer::Tick, this, &Newwords::Timer1_Timer);
}

void Newwords::SetLessonLabel(const QString& text) { Label11->setText(text); }

void Newwords::Task_Load()
{
    const AppState& s = State();
    CurrentWord = 1;
    Label3->setText(ReviewCounterAtLoad(s.LessonWordCount));
    Combo1->addItems(ReviewListItems(s.LessonWords[0], s.LessonWordCount));
    Command2->setEnabled(true);
    Ready = true;
    Timer1->SetEnabled(true);
}

void Newwords::Task_Unload() { Timer1->SetEnabled(false); }

void Newwords::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    if (Combo1->count() >= 1) {
        SetListIndex(0);
        return;
    }
    // No words: nothing to browse, nothing to speak (and no way back either).
    Combo1->setEnabled(false);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    Command6->setEnabled(false);
}

void Newwords::SetListIndex(int index)
{
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->setCurrentIndex(index);
    }
    Combo1_Click();
}

void Newwords::Combo1_Click()
{
    const int index = Combo1->currentIndex();
    if (index < 0)
        return;
    const AppState& s = State();
    CurrentWord = qint16(index + 1);
    const ReviewButtons buttons = ReviewButtonsAt(CurrentWord, Combo1->count());
    Command6->setEnabled(buttons.Previous);
    Command2->setEnabled(buttons.Next);
    Label1[2]->setText(s.LessonWords[1].value(index));
    Label1[1]->setText(NumberedToMarkedPinyin(s.LessonWords[2].value(index)));
    Label3->setText(ReviewCounter(CurrentWord, s.LessonWordCount));
    Label1[0]->setText(s.LessonWords[0].value(index));
    SpeakCurrentWord();
    if (Expressions_Related* related = Forms::Find<Expressions_Related>())
        related->Common02(StripPunctuation(Label1[0]->text()), Label1[2]->text());
}

void Newwords::SpeakCurrentWord()
{
    const AppState& s = State();
    if (CurrentWord < 1 || CurrentWord > s.LessonWordCount)
        return;
    const WordSound sound = SoundOfWord(s.LessonWords[0].value(CurrentWord - 1), s.LessonWords[2].value(CurrentWord - 1));
    if (sound.Sequence) {
        PlayPinyinSequence(sound.Pinyin);
        return;
    }
    State().CurrentTone = sound.Tone;
    PlaySoundFile(sound.Path, SoundOwnerCode::Nobody);
}

void Newwords::Command1_Click() { Unload(); }

void Newwords::Command2_Click()
{
    if (Combo1->currentIndex() < Combo1->count() - 1)
        SetListIndex(Combo1->currentIndex() + 1);
}

void Newwords::Command6_Click()
{
    if (Combo1->currentIndex() > 0)
        SetListIndex(Combo1->currentIndex() - 1);
}

void Newwords::Command3_Click()
{
    if (Ready)
        SpeakCurrentWord();
}

void Newwords::resizeEvent(QResizeEvent* e)
{
    LessonTaskWindow::resizeEvent(e);
    FitPad();
}

void Newwords::FitPad()
{
    if (m_pad.size() == size())
        return;
    QPixmap grown(size());
    grown.fill(Qt::transparent);
    if (!m_pad.isNull())
        QPainter(&grown).drawPixmap(0, 0, m_pad);
    m_pad = grown;
}

void Newwords::paintEvent(QPaintEvent* e)
{
    LessonTaskWindow::paintEvent(e);
    QPainter(this).drawPixmap(0, 0, m_pad);
}

void Newwords::DrawPoint(const QPoint& at)
{
    FitPad();
    QPainter painter(&m_pad);
    painter.setPen(QPen(Qt::black, 1));
    // Successive points of one drag are joined, so a quick stroke stays a line.
    painter.drawLine(m_lastPoint, at);
    m_lastPoint = at;
    update();
}

void Newwords::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        MouseHeld = true;
        m_lastPoint = e->position().toPoint();
        DrawPoint(m_lastPoint);
    } else {
        FitPad();
        m_pad.fill(Qt::transparent);
        update();
    }
}

void Newwords::mouseMoveEvent(QMouseEvent* e)
{
    if (MouseHeld)
        DrawPoint(e->position().toPoint());
}

void Newwords::mouseReleaseEvent(QMouseEvent*) { MouseHeld = false; }
