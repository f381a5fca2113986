#include "SentencesSingle.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include "AppState.h"
#include "BlankTrim.h"
#include "ControlKit.h"
#include "Dictionary.h"
#include "FenPeiTiao.h"
#include "Forms.h"
#include "ListView.h"
#include "Module3Rtf.h"
#include "MsgBox.h"
#include "Pinyin.h"
#include "RichTextBox.h"
#include "SearchCombo.h"
#include "SelectionLookUp.h"
#include "SentenceSearch.h"
#include "SyllableQueue.h"
#include "TextBoxes.h"
#include "TextFilters.h"
#include "TutorMail.h"
#include "Twips.h"

namespace {

constexpr double FormWidth = 11550;
// Low enough for the tool stack, with both dictionaries and the frames, to fit 1024 x 768.
constexpr double FormHeight = 6480;
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};

// The pop-up with every reading of the character: where the stored pinyin has no syllable
// for the selected character.
constexpr LookUpMember AllReadings{"SentencesSingle", PopupRule::WindowDecides, false, 260, true, true, false};

// The ask box: a press empties it while it shows the prompt, and leaving it empty brings the
// prompt back.
class AskBox : public LineBox {
public:
    using LineBox::LineBox;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (text().contains(Sentences::AskPrompt, Qt::CaseInsensitive))
            clear();
        LineBox::mousePressEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        LineBox::focusOutEvent(e);
        if (text().isEmpty())
            setText(Sentences::AskPrompt);
    }
};

} // namespace

SentencesSingle::SentencesSingle()
    : ToolWindow(QStringLiteral("SentencesSingle"), FormWidth, FormHeight)
{
    SetCaption(QStringLiteral("Everyday Chinese and Search Engine"));
    const Kit::Look sans9{.font = Sans, .points = 9};
    const QColor panel(36, 72, 112);
    Kit::Label(this, QStringLiteral("Image1"), {0, 0, 1935, FormHeight}, {}, {.paper = panel});
    Kit::Label(this, QStringLiteral("Label3"), {150, 1650, 1635, 1845},
        QStringLiteral("There are thousands of spoken Chinese sentences here. You can find a sentence that you want "
                       "to speak by inputing a keyword and clicking on the Search button."),
        {.font = Sans, .points = 7.5, .ink = Qt::white, .wrap = true});
    Kit::Label(this, QStringLiteral("Label5"), {150, 3450, 1635, 1845},
        QStringLiteral("You can view the sentence structures of some sentences that are frequently used in our "
                       "everyday life by selecting a category from the drop-down list above."),
        {.font = Sans, .points = 7.5, .ink = Qt::white, .wrap = true});
    FenPeiTiao1 = new FenPeiTiao(this);
    FenPeiTiao1->setObjectName(QStringLiteral("FenPeiTiao1"));
    FenPeiTiao1->Move(270, 5310, 1395, 225);
    FenPeiTiao1->setVisible(false);

    Label2 = Kit::Label(this, QStringLiteral("Label2"), {2190, 1005, 645, 330}, QStringLiteral("0"),
        {.font = Sans, .points = 12, .align = Qt::AlignCenter});
    Label2->setToolTip(QStringLiteral("The number of related sentences"));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Twips::Place(Combo2, 3000, 990, 2895, 360);
    Kit::SetLook(Combo2, sans9);
    Combo1 = new SearchCombo(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Twips::Place(Combo1, 6030, 990, 4290, 360);
    Kit::SetLook(Combo1, sans9);
    Combo1->setToolTip(QStringLiteral("Input a few English or Chinese words here to search the sentences you want."));
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {10470, 990, 930, 330}, QStringLiteral("Search"), sans9);

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    Twips::Place(RichTextBox1, 2190, 1470, 9195, 1425);
    RichTextBox1->setReadOnly(true);
    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Twips::Place(ListView1, 2190, 3030, 9195, 2925);
    Kit::SetLook(ListView1, sans9);

    Command6 = Kit::Button(this, QStringLiteral("Command6"), {330, 6090, 1290, 330}, QStringLiteral("Close"), sans9);
    Text2 = new AskBox(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Twips::Place(Text2, 2190, 6090, 8115, 360);
    Kit::SetLook(Text2, sans9);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {10470, 6090, 930, 330}, QStringLiteral("Ask us"), sans9);

    connect(Combo2, &QComboBox::activated, this, &SentencesSingle::Combo2_Click);
    connect(Combo1, &ComboBox::Click, this, &SentencesSingle::Command3_Click);
    connect(Command3, &QPushButton::clicked, this, &SentencesSingle::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &SentencesSingle::Command1_Click);
    connect(&TutorOutbox::Instance(), &TutorOutbox::Changed, this, &SentencesSingle::FollowOutbox);
    FollowOutbox();
    connect(Command6, &QPushButton::clicked, this, &SentencesSingle::CloseTool);
    connect(ListView1, &ListView::Click, this, &SentencesSingle::ListView1_Click);
    connect(RichTextBox1, &RichTextBox::MouseUp, this,
        [this](int, int, double x, double y) { RichTextBox1_MouseUp(x, y); });
    auto collapse = [this](int, int) { RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength()); };
    connect(RichTextBox1, &RichTextBox::KeyDown, this, collapse);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, collapse);
}

QWidget* SentencesSingle::FirstFocus() { return Combo1; }

void SentencesSingle::Form_Load()
{
    ListView1->AddColumn(QStringLiteral("Position"), 0);
    ListView1->AddColumn(QStringLiteral("Index"), 780);
    ListView1->AddColumn(QStringLiteral("Related sentences "), 8100);
    ListView1->setColumnHidden(0, true);
    {
        const QSignalBlocker quiet(Combo2);
        Combo2->addItems(Sentences::TopicCaptions());
        Combo2->setCurrentIndex(0);
    }
    Combo2_Click();
    Combo1->SetText(Sentences::KeywordHint);
    Text2->setText(Sentences::AskPrompt);
}

void SentencesSingle::Form_KeyDown(int& keyCode, int shift)
{
    if (keyCode == Keys::Return) {
        keyCode = 0; // the search, never also a click of the focused button
        Command3_Click();
        return;
    }
    ToolWindow::Form_KeyDown(keyCode, shift);
}

void SentencesSingle::AddRow(int position, const QString& text)
{
    const int item = ListView1->AddItem(QString::number(position));
    ListView1->SetSubItem(item, 1, QString::number(item));
    ListView1->SetSubItem(item, 2, text);
}

void SentencesSingle::Combo2_Click()
{
    ListView1->ClearItems();
    RichTextBox1->SetText(QString());
    const int item = Combo2->currentIndex();
    if (item <= 0) {
        Label2->setText(QString::number(ListView1->ItemCount()));
        RichTextBox1->SetFocus();
        return;
    }
    const Sentences::CaptionParts parts = Sentences::SplitCaption(Combo2->itemText(item));
    RichTextBox1->SetSelRTF(RtfBoldBlueSong24(parts.Head));
    RichTextBox1->SetSelRTF(RtfGreySans12(QStringLiteral("    ") + parts.English));
    RichTextBox1->SetSelStart(0);
    const AppState& s = State();
    if (s.SpokenLastSentence == 0)
        return;
    for (int k : Sentences::TopicRows(s.SentenceTable, s.SpokenFirstSentence, s.SpokenLastSentence, item))
        AddRow(k, s.SentenceTable[k - 1].English);
    SentenceShown = false;
    Label2->setText(QString::number(ListView1->ItemCount()));
    RichTextBox1->SetFocus();
}

void SentencesSingle::Command3_Click()
{
    const QString typed = Combo1->Text();
    const QString s = BlankTrim(Sentences::StripKeywordPunctuation(typed));
    if (typed == Sentences::SorryText || typed == Sentences::KeywordHint || s.isEmpty()) {
        Combo1->SetFocus();
        return;
    }
    {
        const QSignalBlocker quiet(Combo2);
        Combo2->setCurrentIndex(0);
    }
    Combo2_Click();
    ListView1->ClearItems();

    const QStringList keywords = Sentences::SplitKeywords(s);
    const QString tooShort = Sentences::KeywordLengthMessage(s, keywords);
    if (!tooShort.isEmpty()) {
        RichTextBox1->SetText(QString());
        RichTextBox1->SetSelRTF(RtfGreySans12Par(tooShort));
        Combo1->SetFocus();
        return;
    }

    FenPeiTiao1->setVisible(true);
    const AppState& state = State();
    const int count = state.SentenceCount;
    const double barWidth = FenPeiTiao1->Width();
    const QList<Sentences::Hit> hits = Sentences::Search(state.SentenceTable, count, s,
        [&](int k) { FenPeiTiao1->Common01(float(barWidth * k / count)); });
    for (const Sentences::Hit& hit : hits)
        AddRow(hit.Position, hit.Text);
    FenPeiTiao1->setVisible(false);

    if (!hits.isEmpty()) {
        if (Sentences::AddSearchHistory(m_history, s))
            Combo1->AddItem(s);
        Label2->setText(QString::number(ListView1->ItemCount()));
        Combo1->SetText(s);
    } else {
        Label2->setText(QStringLiteral("0"));
        Combo1->SetText(Sentences::SorryText);
        RichTextBox1->SetText(QString());
        RichTextBox1->SetSelRTF(RtfGreySans12Par(QStringLiteral("Sorry, no sentences related are found.")));
        RichTextBox1->SetSelRTF(RtfGreySans12Par(
            QStringLiteral("Please email us your English sentences and we will translate them into Chinese for you.")));
    }
    if (keywords.size() == 1) {
        if (Dictionary* dictionary = Forms::Find<Dictionary>()) {
            QString word = s;
            dictionary->Common01(word, false);
        }
    }
    Combo1->SetFocus();
}

void SentencesSingle::ListView1_Click()
{
    if (Label2->text() == QLatin1String("0") && Combo2->currentIndex() <= 0)
        return;
    SentenceShown = true;
    RichTextBox1->SetText(QString());
    const int item = ListView1->SelectedItem();
    const AppState& s = State();
    const int k = item > 0 ? ListView1->ItemText(item).toInt() : 0;
    if (k < 1 || k > s.SentenceTable.size()) {
        m_shownPosition = 0;
        return;
    }
    const SentenceRecord& r = s.SentenceTable[k - 1];
    m_shownPosition = k;
    m_syllables = SplitNumberedPinyin(r.Pinyin);
    RichTextBox1->SetSelRTF(RtfBlackRoman16Par(NumberedToMarkedPinyin(r.Pinyin)));
    // Where the Chinese line starts, as the box counts it.
    ChineseStart = RichTextBox1->TextLength();
    RichTextBox1->SetSelRTF(RtfBoldBlueSong24Par(r.Chinese));
    RichTextBox1->SetSelRTF(RtfGreySans10(r.English));
    RichTextBox1->SetSelStart(0);
    PlayPinyinSequence(StripPunctuation(r.Pinyin));
}

void SentencesSingle::RichTextBox1_MouseUp(double x, double y)
{
    const QString selected = RichTextBox1->SelText();
    const QString sel = BlankTrim(selected);
    const bool oneCharacter = sel.size() == 1 && !HasNonHanzi(sel);
    if (!oneCharacter || !SentenceShown || m_shownPosition < 1 || m_shownPosition > State().SentenceTable.size()) {
        SelectionLookUp(LookUpMembers::SentencesSingle, *this, *RichTextBox1, x, y, false);
        return;
    }
    const int start = RichTextBox1->SelStart() + int(selected.indexOf(sel));
    const int p = start - ChineseStart + 1;
    const QString& chinese = State().SentenceTable[m_shownPosition - 1].Chinese;
    const int i = p >= 1 && p <= chinese.size() ? Sentences::SyllableIndexAt(chinese, p) : 0;
    if (i >= 1 && i <= m_syllables.size())
        SelectionLookUp(LookUpMembers::SentencesSingle, *this, *RichTextBox1, x, y, true, m_syllables[i - 1]);
    else
        SelectionLookUp(AllReadings, *this, *RichTextBox1, x, y, true);
}

void SentencesSingle::Command1_Click()
{
    const AppState& s = State();
    const QString text = Text2->text();
    const QString problem = Sentences::AskUsProblem(s.TutorMailbox, s.UserName, text);
    if (!problem.isEmpty()) {
        MsgBox::Show(problem, MsgBox::OkOnly, MsgBox::Information, QStringLiteral("Attention"));
        return;
    }
    // Sending errors are not shown; the ask box keeps its text. Send is off until the mail
    // program has answered (FollowOutbox).
    TutorOutbox::Instance().Send(TutorMailKind::Sentence, s.TutorMailbox, Sentences::AskUsSubject(s.UserName), text, {});
}

QWidget* SentencesSingle::KeysAfter(QWidget* control)
{
    return control == Command1 ? Text2 : ToolWindow::KeysAfter(control);
}

void SentencesSingle::FollowOutbox()
{
    // One sentence mail at a time, from whichever window: a second one would mail it twice.
    Command1->setEnabled(!TutorOutbox::Instance().Going(TutorMailKind::Sentence));
}
