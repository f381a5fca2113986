#include "Spoken.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>

#include "AppState.h"
#include "Clock.h"
#include "FenPeiTiao.h"
#include "Module3Rtf.h"
#include "MsgBox.h"
#include "RichTextBox.h"
#include "SearchCombo.h"
#include "SelectionLookUp.h"
#include "Timer.h"
#include "Twips.h"
#include "WavePlayer.h"

namespace {

constexpr double FormWidth = 11550;
constexpr double FormHeight = 6300;
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
const QString SearchHint = QStringLiteral("Search 搜索");

// Lines through the shared player as sound owner 6.
class SharedDialogPlayer : public DialogPlayer {
public:
    bool Play(const QString& path) override
    {
        PlaySoundFile(path, SoundOwnerCode::Spoken);
        return MMControl1()->Mode() == WavePlayer::ModePlaying;
    }
    void Close() override { MMControl1()->Close(); }
};

class ClockRandom : public DialogRandom {
public:
    void Reseed() override { Random::Randomize(); }
    double Rnd() override { return Random::Rnd(); }
};

double RowTop(int k) { return k == 0 ? 880 : 1720 + (k - 1) * 780; }

} // namespace

Spoken::Spoken()
    : ToolWindow(QStringLiteral("Spoken"), FormWidth, FormHeight)
    , m_player(std::make_unique<SharedDialogPlayer>())
    , m_random(std::make_unique<ClockRandom>())
{
    SetCaption(QStringLiteral("Dialogs"));
    const Kit::Look sans9{.font = Sans, .points = 9};
    Kit::Label(this, QStringLiteral("Label3"), {300, 120, 7000, 300},
        QStringLiteral("There are some simple dialogs here. Please select a role"), {.font = Sans, .points = 10,
            .weight = QFont::Bold});
    Kit::Label(this, QStringLiteral("Label1"), {300, 480, 1000, 300}, QStringLiteral("Your role"), sans9);
    Option1 = Kit::OptionButton(this, QStringLiteral("Option1"), {1350, 450, 1600, 330}, QStringLiteral("First person"),
        sans9);
    Option2 = Kit::OptionButton(this, QStringLiteral("Option2"), {3000, 450, 1800, 330},
        QStringLiteral("Second person"), sans9);
    Combo1 = new SearchCombo(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Twips::Place(Combo1, 5200, 430, 4200, 360);
    Kit::SetLook(Combo1, {.font = Sans, .points = 10});
    Combo1->SetText(SearchHint);
    Combo1->setToolTip(QStringLiteral("Input a few English or Chinese words here to search the question you want."));
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {9500, 430, 1050, 360}, QStringLiteral("Search"), sans9);

    Kit::Label(this, QStringLiteral("Label4"), {300, 1100, 800, 300}, QStringLiteral("Ask"), sans9);
    Kit::Label(this, QStringLiteral("Label6"), {300, 1940, 800, 300}, QStringLiteral("Reply"), sans9);
    const QIcon speaker = QApplication::style()->standardIcon(QStyle::SP_MediaVolume);
    const char* letters[] = {"", "A", "B", "C", "D", "E"};
    for (int k = 0; k <= 5; ++k) {
        const double top = RowTop(k);
        auto* box = RichTextBox1.Add(k, new RichTextBox(this));
        box->setObjectName(RichTextBox1.Name(k));
        Twips::Place(box, 1700, top, 8700, 760);
        box->document()->setDocumentMargin(2);
        box->setReadOnly(true);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (k >= 1) {
            QPushButton* choose = Command1.Add(k, Kit::Button(this, Command1.Name(k), {1150, top + 190, 420, 380},
                QLatin1String(letters[k]), {.font = Sans, .points = 9, .weight = QFont::Bold}));
            connect(choose, &QPushButton::clicked, this, [this, k] { m_flow->Command1_Click(k); });
        }
        QPushButton* hear = Command2.Add(k, Kit::Button(this, Command2.Name(k), {10500, top + 190, 500, 380}, {}));
        hear->setIcon(speaker);
        connect(hear, &QPushButton::clicked, this, [this, k] { m_flow->Command2_Click(k); });
        connect(box, &RichTextBox::MouseUp, this,
            [this, k](int, int, double x, double y) { RichTextBox1_MouseUp(k, x, y); });
        // The keyboard never leaves text selected: each key collapses the selection to its end.
        auto collapse = [box](int, int) { box->SetSelStart(box->SelStart() + box->SelLength()); };
        connect(box, &RichTextBox::KeyDown, this, collapse);
        connect(box, &RichTextBox::KeyUp, this, collapse);
    }

    Command4 = Kit::Button(this, QStringLiteral("Command4"), {1700, 5700, 1500, 360}, QStringLiteral(" Previous page "),
        sans9);
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {3300, 5740, 1100, 300}, QStringLiteral(" Page "),
        {.font = Sans, .points = 9, .align = Qt::AlignCenter});
    Command5 = Kit::Button(this, QStringLiteral("Command5"), {4500, 5700, 1500, 360}, QStringLiteral(" Next page "),
        sans9);
    FenPeiTiao1 = new FenPeiTiao(this);
    FenPeiTiao1->setObjectName(QStringLiteral("FenPeiTiao1"));
    FenPeiTiao1->Move(6300, 5770, 2900, 225);
    Command6 = Kit::Button(this, QStringLiteral("Command6"), {9500, 5700, 1050, 360}, QStringLiteral("Close"), sans9);
    Timer1 = new Timer(this, 40, false);

    m_flow = new DialogFlow(*m_player, *m_random, [](const QString& t) { MsgBox::Warning(t); },
        [](const QString& t) { MsgBox::Notice(t); }, State().AppPath + QStringLiteral("Spoken/Sound/"), this);

    connect(Option1, &QRadioButton::clicked, m_flow, &DialogFlow::Option1_Click);
    connect(Option2, &QRadioButton::clicked, m_flow, &DialogFlow::Option2_Click);
    connect(Command3, &QPushButton::clicked, this, &Spoken::Command3_Click);
    connect(Command4, &QPushButton::clicked, m_flow, &DialogFlow::Command4_Click);
    connect(Command5, &QPushButton::clicked, m_flow, &DialogFlow::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Spoken::Command6_Click);
    connect(Combo1, &ComboBox::Click, this, &Spoken::Combo1_Click);
    connect(Timer1, &Timer::Tick, this, &Spoken::Timer1_Timer);
    connect(m_flow, &DialogFlow::Changed, this, &Spoken::Render);
    connect(m_flow, &DialogFlow::SearchTextSet, Combo1, &ComboBox::SetText);
    connect(m_flow, &DialogFlow::HistoryAdded, Combo1, [this](const QString& t) { Combo1->AddItem(t); });
    connect(m_flow, &DialogFlow::FocusSearchBox, this, [this] {
        if (isVisible() && Combo1->isEnabled())
            Combo1->SetFocus();
    });
    connect(m_flow, &DialogFlow::FocusRow, this, [this](int k) {
        if (RichTextBox* box = RichTextBox1[k])
            box->SetFocus();
    });
    connect(m_flow, &DialogFlow::ValueBarReset, this, [this] { FenPeiTiao1->Common01(0); });
    connect(m_flow, &DialogFlow::CloseWindow, this, &Form::Unload);
}

Spoken::~Spoken() = default;

QWidget* Spoken::FirstFocus() { return Combo1; }

void Spoken::Form_Load()
{
    RegisterPlayDoneReceiver(SoundOwnerCode::Spoken, this);
    m_flow->Load(State().AppPath + QStringLiteral("Spoken/Script.vmq"));
    Render();
}

void Spoken::Tool_Unload()
{
    Timer1->SetEnabled(false);
    UnregisterPlayDoneReceiver(SoundOwnerCode::Spoken, this);
    MMControl1()->Close();
}

void Spoken::CloseTool()
{
    // Close and Esc wait while a line plays; the window frame's close does not.
    if (Command6->isEnabled())
        ToolWindow::CloseTool();
}

void Spoken::Command6_Click() { CloseTool(); }

void Spoken::Form_KeyDown(int& keyCode, int shift)
{
    if (keyCode == Keys::Return) {
        keyCode = 0; // the search, never also a click of the focused button
        Command3_Click();
        return;
    }
    ToolWindow::Form_KeyDown(keyCode, shift);
}

void Spoken::Command3_Click() { m_flow->Command3_Click(Combo1->Text()); }

void Spoken::Combo1_Click() { m_flow->Command3_Click(Combo1->Text()); }

void Spoken::Timer1_Timer()
{
    const qint64 length = MMControl1()->LengthMs();
    // A sound of no length shows no progress.
    const double value = length > 0 ? FenPeiTiao1->Width() * double(MMControl1()->PositionMs()) / double(length) : 0;
    FenPeiTiao1->Common01(float(value));
}

void Spoken::RichTextBox1_MouseUp(int index, double x, double y)
{
    if (RichTextBox* box = RichTextBox1[index])
        SelectionLookUp(LookUpMembers::Spoken, *this, *box, x, y);
}

void Spoken::Render()
{
    const DialogScreen& s = m_flow->Screen();
    for (int k = 0; k <= 5; ++k) {
        RichTextBox* box = RichTextBox1[k];
        if (!m_rowWritten[k] || s.Rows[k] != m_shownRows[k]) {
            box->SetText(QString());
            if (!s.Rows[k].Chinese.isEmpty() || !s.Rows[k].English.isEmpty()) {
                box->SetSelRTF(k == 0 ? RtfRedSong16Par(s.Rows[k].Chinese) : RtfBlueSong16Par(s.Rows[k].Chinese));
                box->SetSelRTF(RtfGreySans10(s.Rows[k].English));
            }
            box->SetSelStart(0);
            m_shownRows[k] = s.Rows[k];
            m_rowWritten[k] = true;
        }
        if (k >= 1)
            Command1[k]->setEnabled(s.Choose[k]);
        Command2[k]->setEnabled(s.Hear[k]);
    }
    Command4->setEnabled(s.Previous);
    Command5->setEnabled(s.Next);
    Command6->setEnabled(s.Close);
    Option1->setEnabled(s.FirstPersonOption);
    Option2->setEnabled(s.SecondPersonOption);
    Option1->setChecked(s.FirstPerson);
    Option2->setChecked(!s.FirstPerson);
    Command3->setEnabled(s.Search);
    Combo1->setEnabled(s.SearchBox);
    Label2->setText(s.PageLabel);
    Timer1->SetEnabled(s.ValueBar);
}
