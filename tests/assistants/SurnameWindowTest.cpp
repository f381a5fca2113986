#include <QHeaderView>
#include <QLabel>
#include <gtest/gtest.h>

#include "AssistantsFixture.h"
#include "Clock.h"
#include "ListView.h"
#include "SharedPlayer.h"
#include "Surname.h"
#include "WavFile.h"
#include "WavePlayer.h"

using namespace assistants_test;

namespace {

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

class SurnameWindowTest : public AssistantsWithPlayers {
protected:
    void OpenWithSounds(const QStringList& names)
    {
        for (const QString& name : names)
            WriteFile(QStringLiteral("Phonetic Symbols/%1.wav").arg(name), Sound(300));
        Open("Command3");
        list = Forms::Control<ListView>(QStringLiteral("Surname"), QStringLiteral("ListView1"));
        ASSERT_NE(list, nullptr);
    }
    // Clicks the row showing surname; false when the list has none.
    bool ClickRow(const QString& surname)
    {
        for (int item = 1; item <= list->ItemCount(); ++item)
            if (list->SubItem(item, 1) == surname) {
                list->SetSelectedItem(item);
                emit list->Click();
                return true;
            }
        return false;
    }
    void ClickHeader(int column) { emit list->header()->sectionClicked(column); }
    static QString Playing()
    {
        if (MMControl1()->Mode() != WavePlayer::ModePlaying)
            return {};
        return MMControl1()->FileName().mid(State().AppPath.size());
    }
    QString Shown(const char* label) const
    {
        return Forms::Control<QLabel>(QStringLiteral("Surname"), QLatin1String(label))->text();
    }

    ListView* list{nullptr};
};

TEST_F(SurnameWindowTest, ListsTheRowsByIndexAndFlipsTheSortOnEveryHeaderClick)
{
    OpenWithSounds({"Z/za1"});
    ASSERT_EQ(list->ItemCount(), 190);
    EXPECT_EQ(list->ColumnHeader(0), QStringLiteral("Index"));
    EXPECT_EQ(list->ColumnHeader(3), QStringLiteral("Celebrity 名人"));
    EXPECT_NEAR(list->ColumnWidth(2), 1885, 15);
    const struct {
        int item;
        const char* index;
        const char16_t* surname;
        const char16_t* pinyin;
        const char16_t* bearers;
    } rows[] = {{1, "  1", u"赵", u"zhào", u"赵匡胤"}, {10, " 10", u"陈", u"chén", u"陈胜"},
        {100, "100", u"贾", u"jiǎ", u"贾谊"}, {190, "190", u"司徒", u"sī tú", u""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.item);
        EXPECT_EQ(list->ItemText(r.item), QLatin1String(r.index));
        EXPECT_EQ(list->SubItem(r.item, 1), QString::fromUtf16(r.surname));
        EXPECT_EQ(list->SubItem(r.item, 2), QString::fromUtf16(r.pinyin));
        EXPECT_EQ(list->SubItem(r.item, 3), QString::fromUtf16(r.bearers));
    }

    ClickHeader(0);
    EXPECT_EQ(list->ItemText(1), QStringLiteral("190"));
    EXPECT_EQ(list->ItemText(190), QStringLiteral("  1"));
    ClickHeader(0);
    EXPECT_EQ(list->ItemText(1), QStringLiteral("  1"));
    // Back in the first direction, a click on another column sorts it descending.
    ClickHeader(1);
    EXPECT_GT(list->SubItem(1, 1).compare(list->SubItem(190, 1)), 0);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(SurnameWindowTest, AClickPlaysThatRowsOwnSoundAfterAnySort)
{
    OpenWithSounds({"Z/za1", "Z/zhao4", "O/ou1", "S/si1", "M/ma3", "Q/qian2"});
    ClickHeader(2); // by pinyin, descending
    ASSERT_NE(list->SubItem(1, 1), QStringLiteral("赵"));

    const struct {
        const char16_t* surname;
        const char* first;
        const char* tone;
        const char* then;
        const char16_t* pinyin;
    } cases[] = {
        {u"赵", "Phonetic Symbols/Z/zhao4.wav", "4", "", u"zhào"},
        {u"钱", "Phonetic Symbols/Q/qian2.wav", "2", "", u"qián"},
        {u"欧", "Phonetic Symbols/O/ou1.wav", "1", "", u"ōu"},
        {u"司马", "Phonetic Symbols/S/si1.wav", "1", "Phonetic Symbols/M/ma3.wav", u"sī mǎ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.surname).toStdString());
        CloseSharedPlayers();
        ASSERT_TRUE(ClickRow(QString::fromUtf16(c.surname)));
        EXPECT_EQ(Playing(), QLatin1String(c.first));
        EXPECT_EQ(State().CurrentTone, QLatin1String(c.tone));
        EXPECT_EQ(Shown("Label1"), QString::fromUtf16(c.surname));
        EXPECT_EQ(Shown("Label3"), QString::fromUtf16(c.pinyin));
        Clock::Advance(300);
        EXPECT_EQ(Playing(), QLatin1String(c.then));
        Clock::Advance(300);
    }
}

TEST_F(SurnameWindowTest, TheOnlineDictionaryIsAskedOnlyWhileItsBoxIsTicked)
{
    OpenWithSounds({"Z/za1"});
    auto* online = Forms::Find<DictionaryOnline>();
    online->SetLastQuery(QString());
    online->SetAutoLookUp(false);
    ASSERT_TRUE(ClickRow(QStringLiteral("欧阳")));
    EXPECT_EQ(online->LastQuery(), QString());
    online->SetAutoLookUp(true);
    ASSERT_TRUE(ClickRow(QStringLiteral("欧阳")));
    EXPECT_EQ(online->LastQuery(), QStringLiteral("欧阳"));
}

TEST_F(SurnameWindowTest, MissingSoundsAreNoticedOnce800MsAfterOpening)
{
    OpenWithSounds({});
    Clock::Advance(799);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    Clock::Advance(1);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, QStringLiteral("Notice"));
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Information);
    Clock::Advance(5000);
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
    // The table works all the same.
    EXPECT_EQ(list->ItemCount(), 190);
    EXPECT_TRUE(ClickRow(QStringLiteral("赵")));
    EXPECT_EQ(Shown("Label1"), QStringLiteral("赵"));
}

} // namespace
