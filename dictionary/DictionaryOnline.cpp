#include "DictionaryOnline.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>

#include "Background.h"
#include "BlankTrim.h"
#include "ComboBox.h"
#include "ControlKit.h"
#include "Dictionary.h"
#include "Forms.h"
#include "Module3Rtf.h"
#include "OnlineRules.h"
#include "ResultPage.h"
#include "RichTextBox.h"
#include "Twips.h"
#include "WebPage.h"
#include "Zoom.h"

namespace {

const Kit::Look Sans{.font = {QStringLiteral("Microsoft Sans Serif")}, .points = 8};

// The search row, the result box (the character pop-up is placed from it) and the progress
// bar under it, in a window low enough for a tool stack to fit a 1024 x 768 screen.
constexpr double RowTop = 90;
constexpr Kit::Rect ResultBoxAt{120, 540, 9120, 840};
constexpr double ProgressGap = 30;
constexpr double ProgressHeight = 90;
constexpr double ProgressTop = ResultBoxAt.top + ResultBoxAt.height + ProgressGap;
// Under the result box: the progress bar and the margin below it, however tall the window.
constexpr double BelowResultBox = DictionaryOnline::DesignHeight - ResultBoxAt.top - ResultBoxAt.height;

} // namespace

DictionaryOnline::DictionaryOnline()
    : Form(QStringLiteral("DictionaryOnline"))
{
    SetCaption(QStringLiteral("On-line Dictionary"));
    SetSize(DesignWidth, DesignHeight);
    SetKeyPreview(true);

    Combo1 = new ComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Kit::SetLook(Combo1, {.font = {QStringLiteral("Microsoft Sans Serif")}, .points = 10});
    Twips::Place(Combo1, 120, RowTop, 3900, 360);

    Command1 = Kit::Button(this, QStringLiteral("Command1"), {4140, RowTop, 1050, 360}, QStringLiteral("Search"), Sans);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {5280, RowTop, 1050, 360}, QStringLiteral("Locate"), Sans);
    Check1 = Kit::CheckBox(this, QStringLiteral("Check1"), {6450, RowTop + 30, 1620, 300}, QStringLiteral("Automatically"), Sans);
    Check1->setToolTip(QStringLiteral(" Automatically look up the text that is selected by the cursor."));
    Check2 = Kit::CheckBox(this, QStringLiteral("Check2"), {8160, RowTop + 30, 1140, 300}, QStringLiteral("Smartly"), Sans);
    Check2->setToolTip(QStringLiteral(" Automatically analyze the Chinese charcters selected in a text box."));
    Check2->setChecked(true);

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    Twips::Place(RichTextBox1, ResultBoxAt.left, ResultBoxAt.top, ResultBoxAt.width, ResultBoxAt.height);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    Twips::Place(ProgressBar1, 120, ProgressTop, 9120, ProgressHeight);

    WebBrowser1 = new WebPage(this);
    m_lookup = std::make_unique<OnlineLookup>(*this, *WebBrowser1);

    connect(Command1, &QPushButton::clicked, this, &DictionaryOnline::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DictionaryOnline::Command2_Click);
    connect(Check1, &QCheckBox::clicked, this, &DictionaryOnline::Check1_Click);
    connect(Combo1, &ComboBox::Click, this, &DictionaryOnline::Combo1_Click);
    connect(Combo1, &ComboBox::DblClick, this, &DictionaryOnline::Combo1_DblClick);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &DictionaryOnline::RichTextBox1_MouseUp);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &DictionaryOnline::RichTextBox1_KeyDown);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &DictionaryOnline::RichTextBox1_KeyUp);
}

DictionaryOnline::~DictionaryOnline() = default;

void DictionaryOnline::Form_Load()
{
    m_lookup->SetLastQuery(QString());
    LocateStart = 1;
    ProgressBar1->setValue(0);
    ShowHelpText();
}

void DictionaryOnline::ShowHelpText()
{
    RichTextBox1->SetText(QStringLiteral(
        "You can input a Chinese vocabulary, an Engish vocabulary or the phonetic symbol of a Chinese vocabulary, "
        "such as han4 yu3, in the search box. Attention:  most Chinese vocabulary consist of more than one word. "
        "If you  keep searching only a single Chinese word, you will find out that it is impossible to understand "
        "Chinese at all. So please look up two or more contigeous words when that happens."));
    RichTextBox1->selectAll();
    RichTextBox1->SetSelFontName(QStringLiteral("Microsoft Sans Serif"));
    RichTextBox1->SetSelFontSize(10);
    RichTextBox1->SetSelStart(0);
}

void DictionaryOnline::Form_Unload()
{
    WebBrowser1->Stop();
    m_lookup->Cache().SaveCache();
}

void DictionaryOnline::Form_CloseRequested()
{
    Hide();
}

void DictionaryOnline::Form_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode == Keys::Return) {
        keyCode = 0;
        Command1_Click();
    } else {
        Background::MinimiseOnF4(keyCode);
    }
}

void DictionaryOnline::Form_Resize()
{
    const int box = std::max(1, height() - Twips::ToPixelsY(ResultBoxAt.top + BelowResultBox));
    RichTextBox1->resize(RichTextBox1->width(), box);
    ProgressBar1->move(ProgressBar1->x(), RichTextBox1->y() + box + Twips::ToPixelsY(ProgressGap));
}

void DictionaryOnline::Common01(const QString& word, int charIndex, const QString& followingText)
{
    m_lookup->SetSmartly(Check2->isChecked());
    if (m_lookup->Common01(word, charIndex, followingText) == OnlineLookup::FromCache)
        LocateStart = int(m_lookup->LastQuery().size()) + 1;
}

QString DictionaryOnline::LastQuery() const { return m_lookup->LastQuery(); }

void DictionaryOnline::SetLastQuery(const QString& query) { m_lookup->SetLastQuery(query); }

bool DictionaryOnline::AutoLookUp() const { return Check1->isChecked(); }

void DictionaryOnline::SetAutoLookUp(bool on) { Check1->setChecked(on); }

void DictionaryOnline::Check1_Click()
{
    // At most one dictionary looks selections up by itself.
    if (Check1->isChecked())
        if (Dictionary* local = Forms::Find<Dictionary>())
            local->Check2->setChecked(false);
}

void DictionaryOnline::Command1_Click()
{
    // The keys go back to the search box, from a click on Search too. Given before the look-up:
    // while a page loads the box is disabled, and it takes them back with the page.
    Combo1->SetFocus();
    const QString query = BlankTrim(Combo1->Text());
    if (!query.isEmpty())
        Common01(query, 0, QString());
}

void DictionaryOnline::Combo1_Click()
{
    Command1_Click();
}

void DictionaryOnline::Combo1_DblClick()
{
    Combo1->SetSelStart(0);
    Combo1->SetSelLength(int(Combo1->Text().size()));
}

void DictionaryOnline::Command2_Click()
{
    const LocateResult found = LocateNext(RichTextBox1->Text(), m_lookup->LastQuery(), LocateStart, Combo1->Text());
    LocateStart = found.locateStart;
    if (found.selStart < 0) {
        RichTextBox1->SetSelStart(0);
        return;
    }
    RichTextBox1->SetSelStart(found.selStart);
    RichTextBox1->SetSelLength(found.selLength);
    RichTextBox1->SetFocus();
}

void DictionaryOnline::RichTextBox1_MouseUp(int button, int shift, double x, double y)
{
    (void)button;
    (void)shift;
    const SelectionLookup action = LookUpSelection(RichTextBox1->Text(), RichTextBox1->SelStart(),
        RichTextBox1->SelLength(), RichTextBox1->SelText());
    if (action.fillSearchBox)
        Combo1->SetText(action.searchText);
    if (action.popup) {
        if (Zoom* zoom = Forms::Find<Zoom>())
            zoom->ChaZhao(action.searchText, action.previous, action.next, Left(), ResultBoxAt.left, x, Top(),
                ResultBoxAt.top, y, 130);
    }
    if (action.moveCaret) {
        RichTextBox1->SetSelStart(action.caret);
        // The zero-based caret taken as a one-based start, as the window always did.
        LocateStart = action.caret;
    }
}

void DictionaryOnline::RichTextBox1_KeyDown(int keyCode, int shift)
{
    (void)keyCode;
    (void)shift;
    // The keyboard cannot extend a selection.
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
}

void DictionaryOnline::RichTextBox1_KeyUp(int keyCode, int shift)
{
    RichTextBox1_KeyDown(keyCode, shift);
}

QString DictionaryOnline::ShowResult(const QString& rtf)
{
    // A result the box would not take (one it would take seconds to lay out) must not leave
    // the word before it standing in its place, where it would be cached under the new word.
    if (!RichTextBox1->SetTextRTF(rtf))
        RichTextBox1->SetTextRTF(RtfRedSans12(QLatin1String(TooLargeText)));
    return RichTextBox1->Text();
}

void DictionaryOnline::SetLoading(bool loading)
{
    ProgressBar1->setVisible(loading);
    // A box disabled with the keys leaves them on the window and takes them back when enabled,
    // unless the learner has moved them meanwhile (Form::KeysAfter).
    Combo1->setEnabled(!loading);
}

void DictionaryOnline::SetProgress(int value) { ProgressBar1->setValue(value); }

int DictionaryOnline::Progress() const { return ProgressBar1->value(); }

void DictionaryOnline::AddSearchHistory(const QString& word)
{
    QStringList history;
    for (int i = 0; i < Combo1->ListCount(); ++i)
        history.append(Combo1->List(i));
    const qsizetype before = history.size();
    AddToHistory(history, word);
    if (history.size() != before)
        Combo1->AddItem(word, 0);
    Combo1->SetText(word);
}

void DictionaryOnline::SetSearchText(const QString& text) { Combo1->SetText(text); }

void DictionaryOnline::CaretToStart() { RichTextBox1->SetSelStart(0); }
