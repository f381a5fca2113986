#include "Result1.h"

#include "Background.h"
#include "BlankExercise.h"
#include "Exercise3.h"
#include "Forms.h"
#include "ListView.h"
#include "Twips.h"

namespace {
constexpr double FormWidth = 10500;
constexpr double FormHeight = 2100;
} // namespace

Result1::Result1()
    : Form(QStringLiteral("Result1"))
{
    SetCaption(QStringLiteral("Kyes and Results"));
    SetSize(FormWidth, FormHeight);
    SetKeyPreview(true);
    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Form_Resize();
    connect(ListView1, &ListView::Click, this, &Result1::ListView1_Click);
}

void Result1::Form_Resize()
{
    if (ListView1)
        Twips::Place(ListView1, 0, 0, Width(), Height());
}

void Result1::Form_Load()
{
    ListView1->AddColumn(QStringLiteral("Index"), 390);
    ListView1->AddColumn(QStringLiteral("Chinese"), 1560);
    ListView1->AddColumn(QStringLiteral("English"), 7000);
}

void Result1::Clear()
{
    ListView1->ClearItems();
    BlankCharIndex.clear();
}

void Result1::Common01()
{
    Clear();
    const Exercise3* exercise = Forms::Find<Exercise3>();
    if (!exercise)
        return;
    for (const ResultRow& r : ResultRows(exercise->Blanks())) {
        const int row = ListView1->AddItem(r.Index);
        ListView1->SetSubItem(row, 1, r.Chinese);
        ListView1->SetSubItem(row, 2, r.English);
        BlankCharIndex.append(Exercise3::CharacterIndex(r.Chinese));
    }
}

void Result1::ListView1_Click()
{
    Exercise3* exercise = Forms::Find<Exercise3>();
    if (!exercise || !exercise->Graded())
        return;
    const int i = ListView1->ItemText(ListView1->SelectedItem()).toInt();
    if (i < 1 || i > BlankCharIndex.size())
        return;
    exercise->SelectBlank(i);
    Exercise3::SpeakCharacter(BlankCharIndex[i - 1]);
}

void Result1::Form_Unload()
{
    // The focus goes back to the main window; it may not take it.
    if (Background* main = Forms::Find<Background>())
        main->setFocus();
}

void Result1::Form_KeyDown(int& keyCode, int)
{
    Background::MinimiseOnF4(keyCode);
}

void Result1::Form_KeyUp(int& keyCode, int)
{
    // Esc closes the exercise, which takes this list with it.
    if (keyCode == Keys::Escape)
        if (Exercise3* exercise = Forms::Find<Exercise3>())
            exercise->Unload();
}
