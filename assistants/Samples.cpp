#include "Samples.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "AppState.h"
#include "CharacterTable.h"
#include "ControlKit.h"
#include "Dictionary.h"
#include "Forms.h"
#include "MsgBox.h"
#include "SampleRules.h"
#include "SharedPlayer.h"
#include "Timer.h"
#include "Twips.h"
#include "WavePlayer.h"
#include "WriteCharacter.h"

namespace {

constexpr double FormWidth = 3900;
constexpr double FormHeight = 6375;
constexpr int TickMs = 30;
constexpr int DotPixels = 5;
const QColor DotInk(192, 0, 0);
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
const QStringList Roman{QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif CJK SC")};
const QString StopCaption = QStringLiteral("Stop");
const QString StartCaption = QStringLiteral("Start");

} // namespace

Samples::Samples()
    : ToolWindow(QStringLiteral("Samples"), FormWidth, FormHeight, Role::Companion)
{
    SetCaption(QStringLiteral("Samples"));
    const Kit::Look small{.font = Sans, .points = 8.25};
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Twips::Place(Combo1, 60, 90, 1560, 345);
    Kit::SetLook(Combo1, {.font = Sans, .points = 9});
    Combo1->setMaxVisibleItems(20);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {1680, 90, 480, 345}, QStringLiteral("<<"), small);
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {2200, 90, 480, 345}, QStringLiteral(">>"), small);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {2760, 90, 1050, 345}, StopCaption, small);
    // The drawing runs from 40 pixels below the top to about 4700 twips; the character and
    // the counter stand below it.
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {120, 4740, 1900, 1600}, {},
        {.font = Roman, .points = 72, .align = Qt::AlignCenter});
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {2220, 5200, 1500, 285}, QStringLiteral("Penstrokes:"), small);
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {2220, 5520, 1500, 345}, {},
        {.font = Sans, .points = 12, .weight = QFont::Bold});
    Label2->setToolTip(QStringLiteral("Pen strokes"));

    Timer1 = new Timer(this, TickMs, false);
    MMControl1 = new WavePlayer(this);

    connect(Combo1, &QComboBox::activated, this, &Samples::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &Samples::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Samples::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Samples::Command3_Click);
    connect(Timer1, &Timer::Tick, this, &Samples::Timer1_Timer);
    connect(MMControl1, &WavePlayer::Done, this, &Samples::MMControl1_Done);
}

void Samples::Form_Load()
{
    Form_Resize();
    MMControl1->SetDeviceType(QStringLiteral("WaveAudio"));
    MMControl1->SetNotify(false);
    Combo1->addItems(SampleListItems());
    SetListIndex(0);
}

void Samples::Form_Resize()
{
    m_drawing.Cover(size());
}

void Samples::CloseTool()
{
    if (WriteCharacter* pad = Forms::Find<WriteCharacter>(); pad && !pad->IsUnloading())
        pad->Unload();
    else
        Unload();
}

void Samples::Tool_Unload()
{
    Timer1->SetEnabled(false);
    MMControl1->Close();
    // However this window goes (Esc, the window manager's close), the pad goes with it.
    if (WriteCharacter* pad = Forms::Find<WriteCharacter>(); pad && !pad->IsUnloading())
        pad->Unload();
}

void Samples::paintEvent(QPaintEvent*)
{
    m_drawing.Paint(this);
}

void Samples::SetListIndex(int index)
{
    if (index < 0 || index >= Combo1->count())
        return;
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

void Samples::Combo1_Click()
{
    const int index = Combo1->currentIndex();
    const SampleButtons buttons = SampleButtonsAt(index, Combo1->count());
    Command1->setEnabled(buttons.Previous);
    Command3->setEnabled(buttons.Next);
    if (index <= 0) {
        Timer1->SetEnabled(false);
        Command2->setEnabled(false);
        Label1->clear();
        Label2->clear();
        Command2->setText(StopCaption);
        ClearDrawing();
        return;
    }
    const QString ch = SampleCharacterOf(Combo1->itemText(index));
    if (ch.isEmpty() || ch == Label1->text())
        return;
    SampleStrokes strokes = ReadSampleStrokes(State().AppPath, ch.at(0));
    if (strokes.Result == SampleStrokes::Missing) {
        MsgBox::Warning(QStringLiteral("Fail to find character file ") + strokes.Number + QStringLiteral(".vmq"));
        return;
    }
    Label1->setText(ch);
    Command2->setText(StopCaption);
    Timer1->SetEnabled(false);
    Command2->setEnabled(true);
    ClearDrawing();
    m_strokes = std::move(strokes.Data);
    m_animation.Load(m_strokes);
    if (strokes.Result == SampleStrokes::Empty) {
        MsgBox::Warning(QStringLiteral("File ") + strokes.Number + QStringLiteral(".vmq is empty!"));
        Command2->setEnabled(false);
        return;
    }
    Label2->setText(StrokeCounterText(m_animation.CurrentStroke(), m_animation.StrokeCount()));
    const AppState& s = std::as_const(State());
    const int k = FindCharacterRecord(ch);
    CharacterIndex = k >= 1 && k <= s.CharacterCount && k <= s.CharacterTable.size() ? k : 0;
    PronounceCharacter();
    Timer1->SetEnabled(true);
    if (Dictionary* dictionary = Forms::Find<Dictionary>()) {
        QString word = ch;
        dictionary->Common01(word, false);
    }
}

void Samples::Command1_Click() { SetListIndex(Combo1->currentIndex() - 1); }

void Samples::Command3_Click() { SetListIndex(Combo1->currentIndex() + 1); }

void Samples::Command2_Click()
{
    // Either way the drawing starts again from the first record at stroke 1.
    m_animation.Load(m_strokes);
    if (Command2->text() != StopCaption) {
        Command2->setText(StopCaption);
        Label2->setText(StrokeCounterText(m_animation.CurrentStroke(), m_animation.StrokeCount()));
        Timer1->SetEnabled(true);
        PronounceCharacter();
    } else {
        Command2->setText(StartCaption);
        Timer1->SetEnabled(false);
        Label2->clear();
    }
    ClearDrawing();
}

void Samples::Timer1_Timer()
{
    const StrokeTick tick = m_animation.Advance();
    if (tick.Draw) {
        const QPointF at = SampleDotPosition(tick.Point, Twips::PerPixelY());
        m_drawing.Dot(QPointF(at.x() / Twips::PerPixelX(), at.y() / Twips::PerPixelY()), DotInk, DotPixels, true);
        update();
    }
    if (tick.SetCounter)
        Label2->setText(tick.Counter);
    if (tick.Clear) {
        // Past the last record: the drawing starts over and the character is said again.
        Timer1->SetEnabled(false);
        ClearDrawing();
        if (tick.Stop)
            return;
        Timer1->SetEnabled(true);
        PronounceCharacter();
    }
}

void Samples::PronounceCharacter()
{
    if (!PopupMaySpeak() || CharacterIndex == 0)
        return;
    const QVector<CharacterRecord>& table = std::as_const(State()).CharacterTable;
    if (CharacterIndex > table.size() || table.at(CharacterIndex - 1).Readings.isEmpty())
        return;
    MMControl1->SetNotify(true);
    PlayReadingSound(*MMControl1, CharacterReadingSound(table.at(CharacterIndex - 1).Readings.first()));
}

void Samples::MMControl1_Done(int notifyCode)
{
    if (notifyCode == WavePlayer::Successful)
        MMControl1->Close();
}

void Samples::ClearDrawing()
{
    m_drawing.Clear();
    update();
}
