#include "Alphabet1.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "AlphabetRules.h"
#include "AppState.h"
#include "Dictionary.h"
#include "Forms.h"
#include "Timer.h"
#include "Twips.h"
#include "WavePlayer.h"

namespace {

constexpr double FormWidth = 9600;
constexpr double FormHeight = 5400;
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
const QStringList Roman{QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif CJK SC")};
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

QComboBox* ListBox(QWidget* form, const QString& name, const Kit::Rect& at)
{
    auto* box = new QComboBox(form);
    box->setObjectName(name);
    box->setMaxVisibleItems(20);
    Twips::Place(box, at.left, at.top, at.width, at.height);
    Kit::SetLook(box, {.font = Sans, .points = 10});
    return box;
}

} // namespace

Alphabet1::Alphabet1()
    : ToolWindow(QStringLiteral("Alphabet1"), FormWidth, FormHeight)
{
    SetCaption(QStringLiteral("Pinyin"));
    setMouseTracking(true);

    const QStringList captions{
        QStringLiteral("Pinyin: Chinese phonetic symbols"),
        QStringLiteral("the 1st tone"),
        QStringLiteral("the 2nd tone"),
        QStringLiteral("the 3rd tone"),
        QStringLiteral("the 4th tone"),
        QStringLiteral("Characters sharing the phonetic symbol"),
        QStringLiteral("Full Pinyin  /  Simplified Pinyin"),
        QStringLiteral("Click on them and you will see some related words and phrases on the dictionary."),
    };
    Label6.Add(0, Kit::Label(this, Label6.Name(0), {300, 200, 6000, 400}, captions[0],
                      {.font = Sans, .points = 12, .weight = QFont::Bold}));
    Label6.Add(6, Kit::Label(this, Label6.Name(6), {5000, 750, 4300, 300}, captions[6], {.font = Sans, .points = 9}));

    Combo2 = ListBox(this, QStringLiteral("Combo2"), {300, 700, 1800, 360});
    Command4 = Kit::Button(this, QStringLiteral("Command4"), {2250, 700, 1150, 360}, QStringLiteral(" Previous "),
        {.font = Sans, .points = 9});
    Command5 = Kit::Button(this, QStringLiteral("Command5"), {3500, 700, 1150, 360}, QStringLiteral(" Next "),
        {.font = Sans, .points = 9});
    Combo1 = ListBox(this, QStringLiteral("Combo1"), {300, 1250, 1800, 360});
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {2250, 1250, 1150, 360}, QStringLiteral(" Previous "),
        {.font = Sans, .points = 9});
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {3500, 1250, 1150, 360}, QStringLiteral(" Next "),
        {.font = Sans, .points = 9});
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {4850, 1300, 1500, 300}, {}, {.font = Sans, .points = 10});

    for (int t = 1; t <= 4; ++t) {
        const double left = 300 + (t - 1) * 2300;
        Label6.Add(t, Kit::Label(this, Label6.Name(t), {left, 1950, 2200, 300}, captions[t],
                          {.font = Sans, .points = 9, .align = Qt::AlignCenter}));
        Label4.Add(t, Kit::Label(this, Label4.Name(t), {left, 2300, 2200, 700}, {},
                          {.font = Roman, .points = 26, .weight = QFont::Bold, .ink = Blue, .align = Qt::AlignCenter}));
        Label4[t]->setCursor(Qt::PointingHandCursor);
    }
    Label6.Add(7, Kit::Label(this, Label6.Name(7), {300, 3150, 9000, 300}, captions[7], {.font = Sans, .points = 9}));
    Label6.Add(5, Kit::Label(this, Label6.Name(5), {300, 3600, 9000, 300}, captions[5],
                      {.font = Sans, .points = 9, .weight = QFont::Bold}));
    Label5 = Kit::Label(this, QStringLiteral("Label5"), {300, 3950, 7600, 1100}, {},
        {.font = {QStringLiteral("Noto Sans CJK SC")}, .points = 18, .wrap = true});
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {8100, 4800, 1200, 400}, QStringLiteral("Close"),
        {.font = Sans, .points = 9});

    Timer1 = new Timer(this, 500, false);
    Timer2 = new Timer(this, 300, false);

    connect(Combo2, &QComboBox::activated, this, &Alphabet1::Combo2_Click);
    connect(Combo1, &QComboBox::activated, this, &Alphabet1::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &Alphabet1::CloseTool);
    connect(Command2, &QPushButton::clicked, this, &Alphabet1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Alphabet1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Alphabet1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Alphabet1::Command5_Click);
    Label4.OnMouseMove([this](int t) { Label4_MouseMove(t); });
    Label4.OnClick([this](int t) { Label4_Click(t); });
    connect(Timer1, &Timer::Tick, this, &Alphabet1::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &Alphabet1::Timer2_Timer);
}

void Alphabet1::Form_Load()
{
    RegisterPlayDoneReceiver(SoundOwnerCode::Alphabet1, this);
    Combo2->addItems(AlphabetGroups());
    Combo2->setCurrentIndex(0);
    Combo2_Click();
}

void Alphabet1::Tool_Unload()
{
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    MMControl1()->Close();
    UnregisterPlayDoneReceiver(SoundOwnerCode::Alphabet1, this);
}

QWidget* Alphabet1::FirstFocus() { return Command2; }

void Alphabet1::Combo2_Click()
{
    const int group = Combo2->currentIndex();
    Command4->setEnabled(group > 0);
    Command5->setEnabled(group < Combo2->count() - 1);
    m_chart.ChartLetter = Combo2->currentText().right(1);
    FillSyllableChart(m_chart);
    m_index = 1;
    Label2->setText(QStringLiteral("1 / %1").arg(m_chart.ChartSyllableCount));
    ShowSyllable(1);
    Combo1->clear();
    for (int k = 1; k <= m_chart.ChartSyllableCount; ++k)
        Combo1->addItem(QStringLiteral("%1)%2").arg(k).arg(JoinSyllable(m_chart.SyllableChart[k - 1])));
    Combo1->setCurrentIndex(0);
    Combo1_Click();
}

void Alphabet1::Combo1_Click()
{
    m_index = Combo1->currentIndex() + 1;
    Command3->setEnabled(m_index != 1);
    Label2->setText(QStringLiteral("%1 / %2").arg(m_index).arg(m_chart.ChartSyllableCount));
    Label5->clear();
    ShowSyllable(m_index);
    if (Command2->isVisible() && Command2->isEnabled())
        Command2->setFocus();
}

void Alphabet1::Command2_Click()
{
    m_index = NextSyllable(m_index, m_chart.ChartSyllableCount);
    Command3->setEnabled(m_index != 1);
    Combo1->setCurrentIndex(m_index - 1);
    Combo1_Click();
}

void Alphabet1::Command3_Click()
{
    if (m_index < 2)
        return;
    m_index = PreviousSyllable(m_index);
    Command3->setEnabled(m_index != 1);
    Combo1->setCurrentIndex(m_index - 1);
    Combo1_Click();
}

void Alphabet1::Command4_Click()
{
    if (Combo2->currentIndex() <= 0)
        return;
    Combo2->setCurrentIndex(Combo2->currentIndex() - 1);
    Combo2_Click();
}

void Alphabet1::Command5_Click()
{
    if (Combo2->currentIndex() >= Combo2->count() - 1)
        return;
    Combo2->setCurrentIndex(Combo2->currentIndex() + 1);
    Combo2_Click();
}

void Alphabet1::ShowSyllable(int index)
{
    if (index < 1 || index > m_chart.ChartSyllableCount)
        return;
    const AppState& s = State();
    const auto forms = ToneForms(m_chart.SyllableChart[index - 1], s.CharacterTable, s.CharacterCount);
    for (int t = 1; t <= 4; ++t) {
        // A tone the syllable lacks keeps no name or characters of the syllable shown before.
        Label4[t]->setText(forms[t - 1].Caption);
        Label4[t]->setToolTip(forms[t - 1].ToolTip);
        m_tags[t - 1] = forms[t - 1].Tag;
    }
}

void Alphabet1::ColourToneLabels()
{
    for (int t = 1; t <= 4; ++t)
        Kit::SetInk(Label4[t], t == m_hovered ? Red : Blue);
}

void Alphabet1::Label4_MouseMove(int tone)
{
    if (Label4[tone]->text().isEmpty() || tone == m_hovered)
        return;
    m_hovered = tone;
    State().CurrentTone = QString::number(tone);
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    Label5->clear();
    m_toneToPlay = tone;
    Timer2->SetEnabled(true);
    ColourToneLabels();
}

void Alphabet1::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    State().CurrentTone = QString::number(m_toneToPlay);
    PlaySoundFile(AlphabetSoundPath(State().AppPath, m_chart.ChartLetter, m_chart.SyllableChart[m_index - 1],
                      m_toneToPlay),
        SoundOwnerCode::Alphabet1);
    if (m_hovered >= 1)
        Label5->setText(m_tags[m_hovered - 1]);
}

void Alphabet1::Common01() { Timer1->SetEnabled(true); }

void Alphabet1::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    ReplaySound(SoundOwnerCode::Alphabet1);
}

void Alphabet1::mouseMoveEvent(QMouseEvent* e)
{
    if (m_hovered != 0) {
        Timer1->SetEnabled(false);
        Timer2->SetEnabled(false);
        MMControl1()->Close();
        m_hovered = 0;
        ColourToneLabels();
    }
    ToolWindow::mouseMoveEvent(e);
}

void Alphabet1::Label4_Click(int tone)
{
    QString word = Label4[tone]->toolTip();
    if (word.isEmpty())
        return;
    if (Dictionary* dictionary = Forms::Find<Dictionary>())
        dictionary->Common01(word, false);
}
