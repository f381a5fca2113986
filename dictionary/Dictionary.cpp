#include "Dictionary.h"

#include <QCheckBox>
#include <QPalette>
#include <QPushButton>

#include "AppState.h"
#include "Background.h"
#include "BlankTrim.h"
#include "ComboBox.h"
#include "ControlKit.h"
#include "DictionaryOnline.h"
#include "Forms.h"
#include "ListView.h"
#include "Module3Rtf.h"
#include "RichTextBox.h"
#include "SelectionLookUp.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "ToneLabel.h"
#include "Twips.h"
#include "WavePlayer.h"
#include "Zoom.h"

namespace {

// Layout, twips. The window sits above every study and tool window: its height is what lets
// the tallest stacks (the lesson text with its notepad and word list, a tool with both
// dictionaries) fit a 1024 x 768 screen with their frames, with three whole rows of hits
// above the list's scroll bar. Taller screens give it more (MostGrowth).
constexpr double FormWidth = 9600;
constexpr double FormHeight = 2100;
constexpr double TallestHeight = 3720;
constexpr double Margin = 120;
constexpr double BarTop = 90;
constexpr double BarHeight = 360;
constexpr double Gap = 90;
constexpr double BodyTop = BarTop + BarHeight + Gap;
constexpr double BodyHeight = FormHeight - BodyTop - Gap;
// The hit list shows the index, the Chinese word and a usual English meaning whole, without
// scrolling sideways (the pinyin and origin columns lie to the right); the entry box takes the
// rest of the width.
constexpr double IndexColumnWidth = 1110;   // its heading, "Index  序号"
constexpr double ChineseColumnWidth = 2160;
constexpr double EnglishColumnWidth = 2700; // about 30 characters
constexpr double ListFrameAndScrollBar = 300;
constexpr double ListWidth = IndexColumnWidth + ChineseColumnWidth + EnglishColumnWidth + ListFrameAndScrollBar;

const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};

// What the entry box shows until the first hit.
QString WelcomeRtf()
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Microsoft Sans Serif;}}"
                          "\\viewkind4\\uc1\\pard\\f0\\fs20 ")
        + RtfEncodeText(QStringLiteral("You can input a Chinese vocabulary, its phonetic symbols (such as \"wo3 men0\"), "
                                       "or an Engish word in the search box."),
            RtfFontMode::Plain)
        + QStringLiteral("\\par}");
}

} // namespace

const double Dictionary::MostGrowth = TallestHeight - FormHeight;

Dictionary::Dictionary()
    : Form(QStringLiteral("Dictionary"))
{
    SetSize(FormWidth, FormHeight);
    SetKeyPreview(true);
    Kit::SetPaper(this, QColor(0xEE, 0xF3, 0xFA));
    const Kit::Look sans{.font = SansFamilies, .points = 9};

    Combo1 = new ComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Twips::Place(Combo1, Margin, BarTop, 3600, BarHeight);
    Kit::SetLook(Combo1, {.font = SansFamilies, .points = 10});
    Combo1->SetText(QString::fromUtf16(InitialSearchText));
    Combo1->setToolTip(QStringLiteral("Input a few Chinese characters or PinYins (such as ai4, guo2, dian4 etc.) or an "
                                      "English word here."));

    Command1 = Kit::Button(this, QStringLiteral("Command1"), {3840, BarTop, 1080, BarHeight}, QStringLiteral("Search"), sans);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {5040, BarTop, 1080, BarHeight}, QStringLiteral("Locate"), sans);
    Check2 = Kit::CheckBox(this, QStringLiteral("Check2"), {6300, BarTop, 1800, BarHeight}, QStringLiteral("Automatically"), sans);
    Check2->setChecked(true);
    Check2->setToolTip(QStringLiteral(" Automatically look up the text that is selected by the cursor."));

    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Twips::Place(ListView1, Margin, BodyTop, ListWidth, BodyHeight);
    Kit::SetLook(ListView1, sans);

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    Twips::Place(RichTextBox1, Margin + ListWidth + Margin, BodyTop, FormWidth - ListWidth - 3 * Margin, BodyHeight);
    RichTextBox1->SetTextRTF(WelcomeRtf());

    MMControl1 = new WavePlayer(this);
    MMControl1->setObjectName(QStringLiteral("MMControl1"));

    connect(Command1, &QPushButton::clicked, this, &Dictionary::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Dictionary::Command2_Click);
    connect(Combo1, &ComboBox::Click, this, &Dictionary::Combo1_Click);
    connect(Combo1, &ComboBox::DblClick, this, &Dictionary::Combo1_DblClick);
    // The old box's Click came with every change of its value, by the learner or by code.
    connect(Check2, &QCheckBox::toggled, this, &Dictionary::Check2_Click);
    connect(ListView1, &ListView::Click, this, &Dictionary::ListView1_Click);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &Dictionary::RichTextBox1_MouseUp);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &Dictionary::RichTextBox1_KeyDown);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &Dictionary::RichTextBox1_KeyUp);
    connect(MMControl1, &WavePlayer::Done, this, &Dictionary::MMControl1_Done);
}

void Dictionary::Form_Load()
{
    MMControl1->SetNotify(true);
    MMControl1->SetDeviceType(QStringLiteral("WaveAudio"));
    ListView1->AddColumn(QStringLiteral("Index  序号"), IndexColumnWidth);
    ListView1->AddColumn(QStringLiteral("Chinese  汉语"), ChineseColumnWidth);
    ListView1->AddColumn(QStringLiteral("English  英语"), EnglishColumnWidth);
    ListView1->AddColumn(QStringLiteral("Pinyin  拼音"));
    ListView1->AddColumn(QStringLiteral("Origin1"));
    ListView1->AddColumn(QStringLiteral("Origin2"));
    // The window loads after the course tables: the search index is built now, not on the
    // learner's first search.
    m_rules.PrepareSearch();
}

void Dictionary::Form_Activate()
{
    m_rules.Inactive = false;
}

void Dictionary::Form_Deactivate()
{
    m_rules.Inactive = true;
    MMControl1->Close();
}

void Dictionary::Form_CloseRequested()
{
    // Hidden, not unloaded: the study and tool stacks show only a loaded dictionary, and every
    // look-up goes to it.
    Hide();
}

void Dictionary::Form_KeyDown(int& keyCode, int)
{
    switch (keyCode) {
    case Keys::Return:
        keyCode = 0; // the search, never also a click of the focused button
        Command1_Click();
        break;
    case Keys::Escape:
        ClearSearchBox();
        break;
    case Keys::F4:
        Background::MinimiseOnF4(keyCode);
        break;
    default:
        break;
    }
}

QWidget* Dictionary::KeysAfter(QWidget* control) { return control == Command2 ? Combo1 : Form::KeysAfter(control); }

void Dictionary::Form_Resize()
{
    // The hit list and the entry fill the body, whatever the window's height.
    const int body = std::max(1, height() - Twips::ToPixelsY(BodyTop + Gap));
    ListView1->resize(ListView1->width(), body);
    RichTextBox1->resize(RichTextBox1->width(), body);
}

bool Dictionary::AutoLookUp() const
{
    return Check2->isChecked();
}

void Dictionary::Common01(QString& word, bool exact)
{
    Combo1->SetText(word);
    const SearchOutcome out = m_rules.Search(word, exact);
    if (out.Result == SearchOutcome::Ignored) {
        // The search box takes the keys back only while the learner works in this window: a
        // word handed over again by another window leaves the keys with that window.
        if (out.FocusSearchBox && isActiveWindow())
            Combo1->SetFocus();
        return;
    }
    ListView1->ClearItems();
    RichTextBox1->SetSelStart(0);
    if (out.Result == SearchOutcome::NotFound) {
        Command2->setEnabled(false);
        Combo1->SetText(out.SearchBoxText);
        RichTextBox1->SetTextRTF(RtfRedSans12(QStringLiteral("Sorry, it is not found.")));
        return;
    }
    QList<QStringList> rows;
    rows.reserve(out.Rows.size());
    for (const HitRow& row : out.Rows)
        rows.append({row.Index, row.Chinese, row.English, row.Pinyin, row.Origin1, row.Origin2});
    ListView1->AddItems(rows);
    RichTextBox1->SetText(QString());
    Command2->setEnabled(true);
    if (out.HistoryAdded)
        Combo1->AddItem(word, 0);
    Combo1->SetText(out.SearchBoxText);
    if (out.OpenRow) {
        ListView1->SetSelectedItem(out.OpenRow);
        if (out.ScrollIntoView)
            ListView1->EnsureVisible(out.OpenRow);
        ListView1_Click();
    }
}

void Dictionary::Command1_Click()
{
    QString word = BlankTrim(Combo1->Text());
    Common01(word, false);
    Combo1->SetFocus();
}

void Dictionary::Combo1_DblClick()
{
    Combo1->SetSelStart(0);
    Combo1->SetSelLength(int(Combo1->Text().size()));
}

void Dictionary::Check2_Click()
{
    // The two "Automatically" boxes exclude each other.
    if (Check2->isChecked())
        if (DictionaryOnline* online = Forms::Find<DictionaryOnline>())
            online->SetAutoLookUp(false);
}

void Dictionary::ListView1_Click()
{
    const int item = ListView1->SelectedItem();
    if (item == 0)
        return;
    const HitRow row{ListView1->ItemText(item), ListView1->SubItem(item, 1), ListView1->SubItem(item, 2),
        ListView1->SubItem(item, 3), ListView1->SubItem(item, 4), ListView1->SubItem(item, 5)};
    const AppState& s = State();
    const Zoom* popup = Forms::Find<Zoom>();
    const EntryContext context{s.QuizOpen != 0, s.CurrentActivity, ::MMControl1()->Mode() == WavePlayer::ModePlaying,
        popup && popup->isVisible()};
    const std::optional<EntryView> view = m_rules.ShowHit(row, context);
    if (!view)
        return;

    switch (view->Sound.Play) {
    case EntrySound::SyllableQueue:
        PlayPinyinSequence(view->Sound.Sequence);
        break;
    case EntrySound::SyllableFile:
        State().CurrentTone = view->Sound.Tone;
        PlayWaveFile(view->Sound.Path);
        ShowToneLabel(view->Sound.Tone, view->Sound.Syllable);
        break;
    case EntrySound::Nothing:
        break;
    }
    RichTextBox1->SetText(QString());
    RichTextBox1->SetSelRTF(view->Rtf);
    RichTextBox1->SetSelStart(0);
}

void Dictionary::RichTextBox1_MouseUp(int, int, double x, double y)
{
    const LookUpPlan plan = SelectionLookUp(LookUpMembers::Dictionary, *this, *RichTextBox1, x, y);
    if (plan.FillSearchBox)
        Combo1->SetText(plan.SearchBoxText);
    if (plan.SetLocateFrom)
        m_rules.LocateFrom = plan.LocateFrom;
}

void Dictionary::CollapseEntrySelection()
{
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
}

void Dictionary::RichTextBox1_KeyDown(int, int)
{
    CollapseEntrySelection();
}

void Dictionary::RichTextBox1_KeyUp(int, int)
{
    CollapseEntrySelection();
}

void Dictionary::MMControl1_Done(int notifyCode)
{
    if (notifyCode == WavePlayer::Successful)
        MMControl1->Close();
}

void Dictionary::ClearSearchBox()
{
    Combo1->SetText(QString());
    Combo1->SetFocus();
}

void Dictionary::Locate()
{
    const int item = ListView1->SelectedItem();
    if (item == 0)
        return;
    const QString target = LocateTarget(BlankTrim(ListView1->SubItem(item, 1)));
    if (target.isEmpty())
        return;
    const LocateStep step = LocateNext(target, RichTextBox1->Text(), m_rules.LocateFrom, int(Combo1->Text().size()));
    m_rules.LocateFrom = step.LocateFrom;
    RichTextBox1->SetSelStart(step.SelStart);
    if (!step.Found)
        return;
    RichTextBox1->SetSelLength(step.SelLength);
    RichTextBox1->SetFocus();
}

void Dictionary::PlayWaveFile(const QString& path)
{
    MMControl1->Close();
    MMControl1->SetFileName(path);
    MMControl1->Open();
    MMControl1->SetNotify(true);
    MMControl1->Play();
}
