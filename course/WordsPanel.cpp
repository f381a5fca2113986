#include "WordsPanel.h"

#include <QStringList>

#include "AppState.h"
#include "Background.h"
#include "Forms.h"
#include "LessonWordFind.h"
#include "ListView.h"
#include "Pinyin.h"
#include "RichTextBox.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "Text.h"
#include "TextFilters.h"
#include "Twips.h"
#include "WavePlayer.h"

namespace {
constexpr double FormWidth = 10500;
constexpr double FormHeight = 1500;
constexpr int HiddenPinyinColumn = 4;
} // namespace

WordsPanel::WordsPanel()
    : Form(QStringLiteral("WordsPanel"))
{
    SetCaption(QStringLiteral("New Words and Phrases"));
    SetSize(FormWidth, FormHeight);
    SetKeyPreview(true);
    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Form_Resize();
    connect(ListView1, &ListView::Click, this, &WordsPanel::ListView1_Click);
}

void WordsPanel::Form_Resize()
{
    if (!ListView1)
        return;
    Twips::Place(ListView1, 0, 0, Width(), Height());
}

void WordsPanel::Form_Load()
{
    ListView1->AddColumn(QStringLiteral("Index"), 390);
    ListView1->AddColumn(QStringLiteral("Chinese"), 1560);
    ListView1->AddColumn(QStringLiteral("Pinyin"), 2210);
    ListView1->AddColumn(QStringLiteral("English"), 4845);
    ListView1->AddColumn(QStringLiteral("Pinyin1"), 0);
    // A column of width 0 is hidden; the list's last column would stretch to fill the row.
    ListView1->setColumnHidden(HiddenPinyinColumn, true);
    const AppState& s = State();
    for (int i = 1; i <= s.LessonWordCount; ++i) {
        const int row = ListView1->AddItem(QString::number(i));
        const QString numbered = s.LessonWords[2].value(i - 1);
        ListView1->SetSubItem(row, 1, s.LessonWords[0].value(i - 1));
        ListView1->SetSubItem(row, 2, NumberedToMarkedPinyin(numbered));
        ListView1->SetSubItem(row, 3, s.LessonWords[1].value(i - 1));
        ListView1->SetSubItem(row, HiddenPinyinColumn, numbered);
    }
}

void WordsPanel::ListView1_Click()
{
    const int row = ListView1->SelectedItem();
    if (row < 1)
        return;
    // A word never cuts into a sentence being spoken.
    if (MMControl1()->Mode() != WavePlayer::ModePlaying)
        PlayPinyinSequence(StripPunctuation(ListView1->SubItem(row, HiddenPinyinColumn)));

    Text* text = Forms::Find<Text>();
    if (!text)
        return;
    const int n = ListView1->ItemText(row).toInt();
    QStringList words;
    for (int j = 1; j <= n && j <= ListView1->ItemCount(); ++j)
        words.append(ListView1->SubItem(j, 1));
    const WordFindResult found = FindListWord(text->RichTextBox1->Text(), words, int(words.size()));
    if (!found.Found)
        return;
    text->RichTextBox1->SetSelStart(found.Start);
    text->RichTextBox1->SetSelLength(found.Length);
}

void WordsPanel::Form_KeyDown(int& keyCode, int)
{
    Background::MinimiseOnF4(keyCode);
}
