#include "Expressions_Related.h"

#include <QMouseEvent>

#include "AppState.h"
#include "Background.h"
#include "FormEvents.h"
#include "Forms.h"
#include "ListView.h"
#include "RelatedRows.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "TextFilters.h"
#include "Twips.h"
#include "Typing.h"
#include "WavePlayer.h"

namespace {
constexpr double FormWidth = 10500;
constexpr double FormHeight = 1800;
constexpr int ChineseColumn = 1;
constexpr int PinyinColumn = 2;
constexpr int EnglishColumn = 3;
constexpr int HiddenPinyinColumn = 4;
} // namespace

Expressions_Related::Expressions_Related()
    : Form(QStringLiteral("Expressions_Related"))
{
    SetCaption(QStringLiteral("Related Expressions"));
    SetSize(FormWidth, FormHeight);
    SetKeyPreview(true);
    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Form_Resize();
    connect(ListView1, &ListView::Click, this, &Expressions_Related::ListView1_Click);
}

void Expressions_Related::Form_Resize()
{
    if (ListView1)
        Twips::Place(ListView1, 0, 0, Width(), Height());
}

void Expressions_Related::Form_Load()
{
    ListView1->AddColumn(QStringLiteral("Index"), 390);
    ListView1->AddColumn(QStringLiteral("Chinese"), 1560);
    ListView1->AddColumn(QStringLiteral("Pinyin"), 2200);
    ListView1->AddColumn(QStringLiteral("English"), 4800);
    ListView1->AddColumn(QStringLiteral("Pinyin1"), 0);
    ListView1->setColumnHidden(HiddenPinyinColumn, true);
    RelatedExpressionsHook().Set(this);
}

void Expressions_Related::Form_Unload() { RelatedExpressionsHook().Clear(this); }

void Expressions_Related::Common02(const QString& word, const QString& english)
{
    Fill(ReviewRelatedRows(word, english));
}

void Expressions_Related::Common03(QString& word, bool showPinyin) { Fill(TypingRelatedRows(word, showPinyin)); }

void Expressions_Related::Common04(const QString& word, bool showPinyin, int entry, bool fromLesson, bool wholeWord)
{
    Fill(ReadAfterRelatedRows(word, showPinyin, entry, fromLesson, wholeWord));
}

void Expressions_Related::ClearRows()
{
    ListView1->ClearItems();
    RowCount = 0;
}

void Expressions_Related::Fill(const QList<RelatedRow>& rows)
{
    ListView1->ClearItems();
    ListReady = false;
    m_rowSource.clear();
    for (const RelatedRow& r : rows) {
        const int n = ListView1->AddItem(QString::number(ListView1->ItemCount() + 1));
        ListView1->SetSubItem(n, ChineseColumn, r.Chinese);
        ListView1->SetSubItem(n, PinyinColumn, r.Pinyin);
        ListView1->SetSubItem(n, EnglishColumn, r.English);
        ListView1->SetSubItem(n, HiddenPinyinColumn, r.HiddenPinyin);
        m_rowSource.append({r.SourceKind, r.SourceNumber});
        ListReady = true;
    }
    RowCount = qint16(rows.size());
}

void Expressions_Related::ListView1_Click()
{
    // A row never cuts into a sound that plays, nor speaks a list being refilled.
    const bool spoke = RowCount > 0 && MMControl1()->Mode() != WavePlayer::ModePlaying && ListReady
        && SpeakRow(ListView1->SelectedItem());
    if (spoke && State().CurrentActivity == 2)
        if (Typing* typing = Forms::Find<Typing>())
            typing->FocusLost = true; // its next click speaks the asked character anew
    FocusTypingTask();
}

bool Expressions_Related::SpeakRow(int row)
{
    if (row < 1 || row > ListView1->ItemCount())
        return false;
    const WordSound sound = SoundOfWord(ListView1->SubItem(row, ChineseColumn), ListView1->SubItem(row, HiddenPinyinColumn));
    if (sound.Sequence) {
        PlayPinyinSequence(sound.Pinyin);
        return true;
    }
    State().CurrentTone = sound.Tone;
    PlaySoundFile(sound.Path, SoundOwnerCode::Nobody);
    return true;
}

// The typing task takes its keys itself: the list gives the focus straight back.
void Expressions_Related::FocusTypingTask()
{
    if (State().CurrentActivity != 2)
        return;
    if (Typing* typing = Forms::Find<Typing>())
        FormEvents::GiveFocus(typing);
}

void Expressions_Related::mousePressEvent(QMouseEvent* e)
{
    Form::mousePressEvent(e);
    FocusTypingTask();
}

void Expressions_Related::Form_KeyDown(int& keyCode, int)
{
    Background::MinimiseOnF4(keyCode);
}
