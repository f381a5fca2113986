#include "Surname.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

#include "AppState.h"
#include "ControlKit.h"
#include "DictionaryOnline.h"
#include "Forms.h"
#include "ListView.h"
#include "MsgBox.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "Timer.h"
#include "Twips.h"

namespace {

constexpr double FormWidth = 10200;
// Low enough for the tool stack, with both dictionaries and the frames, to fit 1024 x 768.
constexpr double FormHeight = 6480;
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
const QStringList Roman{QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif CJK SC")};

} // namespace

Surname::Surname()
    : ToolWindow(QStringLiteral("Surname"), FormWidth, FormHeight)
{
    SetCaption(QStringLiteral("Chinese surnames"));
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {300, 150, 9600, 560},
        QStringLiteral("Chinese have more than 400 surnames, of which the majority consist of one Chinese character "
                       "and the rest consist of two Chinese characters."),
        {.font = Sans, .points = 9, .wrap = true});

    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Twips::Place(ListView1, 300, 800, 7600, 5500);
    Kit::SetLook(ListView1, {.font = Sans, .points = 10});
    ListView1->header()->setSectionsClickable(true);

    Kit::Label(this, QStringLiteral("Label2(0)"), {8100, 800, 1900, 300}, QStringLiteral("Writing:"),
        {.font = Sans, .points = 9});
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {8100, 1150, 1900, 1100}, {},
        {.font = Roman, .points = 36, .weight = QFont::Bold, .ink = QColor(0, 0, 255), .align = Qt::AlignCenter});
    Kit::Label(this, QStringLiteral("Label2(1)"), {8100, 2500, 1900, 300}, QStringLiteral("Phonetic symbol:"),
        {.font = Sans, .points = 9});
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {8100, 2850, 1900, 500}, {},
        {.font = Roman, .points = 14.25, .weight = QFont::Bold, .ink = QColor(255, 0, 0), .align = Qt::AlignCenter});
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {8500, 5900, 1200, 400}, QStringLiteral("Close"),
        {.font = Sans, .points = 9});

    Timer1 = new Timer(this, 800, false);

    connect(ListView1, &ListView::Click, this, &Surname::ListView1_Click);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, &Surname::ListView1_ColumnClick);
    connect(Command1, &QPushButton::clicked, this, &Surname::CloseTool);
    connect(Timer1, &Timer::Tick, this, &Surname::Timer1_Timer);
}

void Surname::Form_Load()
{
    m_byIndex = SurnameTable();
    ListView1->AddColumn(QStringLiteral("Index"), 910);
    ListView1->AddColumn(QStringLiteral("Surname 姓"), 1690);
    ListView1->AddColumn(QStringLiteral("Pinyin 拼音"), 1885);
    ListView1->AddColumn(QStringLiteral("Celebrity 名人"), 2665);
    m_rows = m_byIndex;
    m_sort = SurnameSort{};
    m_sort.Apply(m_rows);
    FillList(0);
    if (!QFileInfo::exists(State().AppPath + QStringLiteral("Phonetic Symbols/Z/za1.wav")))
        Timer1->SetEnabled(true);
}

void Surname::FillList(int selectedIndex)
{
    ListView1->ClearItems();
    int selected = 0;
    for (const SurnameRecord& row : m_rows) {
        const int item = ListView1->AddItem(PadIndex(row.Index));
        ListView1->SetSubItem(item, 1, row.Text);
        ListView1->SetSubItem(item, 2, row.Marked);
        ListView1->SetSubItem(item, 3, row.Bearers);
        ListView1->topLevelItem(item - 1)->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        if (row.Index == selectedIndex)
            selected = item;
    }
    if (selected) {
        ListView1->SetSelectedItem(selected);
        ListView1->EnsureVisible(selected);
    }
}

void Surname::ListView1_ColumnClick(int column)
{
    const int selected = ListView1->SelectedItem();
    const int keep = selected ? ListView1->ItemText(selected).trimmed().toInt() : 0;
    m_sort.HeaderClicked(column);
    m_sort.Apply(m_rows);
    FillList(keep);
}

void Surname::ListView1_Click()
{
    const int item = ListView1->SelectedItem();
    if (item == 0)
        return;
    // The row's own number picks its sound, whatever the list's order.
    const int index = ListView1->ItemText(item).trimmed().toInt();
    if (index < 1 || index > m_byIndex.size())
        return;
    const SurnameRecord& row = m_byIndex[index - 1];
    const SurnameSound sound = SoundOf(row);
    if (!sound.File.isEmpty()) {
        State().CurrentTone = sound.Tone;
        PlaySoundFile(sound.File, SoundOwnerCode::Nobody);
    } else {
        PlayPinyinSequence(sound.Sequence);
    }
    Label1->setText(row.Text);
    Label3->setText(row.Marked);
    if (DictionaryOnline* online = Forms::Find<DictionaryOnline>(); online && online->AutoLookUp())
        online->Common01(row.Text, 0, QString());
}

void Surname::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    MsgBox::Notice(QStringLiteral("Fail to find enough sound file."));
}
