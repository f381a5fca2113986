#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "Alphabet1.h"
#include "AlphabetRules.h"
#include "AssistantsFixture.h"
#include "Clock.h"
#include "ComboBox.h"
#include "ListView.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"

using namespace assistants_test;

namespace {

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

CharacterRecord Character(const char16_t* ch, const QStringList& readings)
{
    CharacterRecord record;
    record.Character = QString::fromUtf16(ch);
    for (const QString& r : readings) {
        CharacterReading reading;
        reading.DottedSyllable = r.chopped(1);
        reading.MarkTone = r.right(1);
        record.Readings << reading;
    }
    return record;
}

QVector<CharacterRecord> SomeCharacters()
{
    return {
        Character(u"驴", {"l.v2"}),
        Character(u"吕", {"l.v3"}),
        Character(u"旅", {"l.v3"}),
        Character(u"绿", {"l.v4", "l.u4"}),
        Character(u"吕", {"l.v3"}), // a second record of the same character
        Character(u"率", {"sh.uai4", "l.v4"}),
        Character(u"儿", {".er2"}),
        Character(u"耳", {".er3"}),
        Character(u"妈", {"m.a1"}),
    };
}

TEST(AlphabetRulesTest, ToneFormsOfAChartEntry)
{
    const QVector<CharacterRecord> table = SomeCharacters();
    const struct {
        const char* entry;
        std::array<const char16_t*, 4> captions, tips, tags;
    } cases[] = {
        {"l|v0111", {u"", u"lǘ", u"lǚ", u"lǜ"}, {u"", u"lv2", u"lv3", u"lv4"}, {u"", u"驴", u"吕旅", u"绿率"}},
        {"|er0111", {u"", u"ér", u"ěr", u"èr"}, {u"", u"er2", u"er3", u"er4"}, {u"", u"儿", u"耳", u""}},
        {"lv|e0011", {u"", u"", u"lüě", u"lüè"}, {u"", u"", u"lve3", u"lve4"}, {u"", u"", u"", u""}},
        {"m|e1000", {u"mē", u"", u"", u""}, {u"me1", u"", u"", u""}, {u"", u"", u"", u""}},
        {"m|a1111", {u"mā", u"má", u"mǎ", u"mà"}, {u"ma1", u"ma2", u"ma3", u"ma4"}, {u"妈", u"", u"", u""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        const auto forms = ToneForms(QLatin1String(c.entry), table, int(table.size()));
        for (int t = 0; t < 4; ++t) {
            SCOPED_TRACE(t + 1);
            EXPECT_EQ(forms[t].Caption, QString::fromUtf16(c.captions[t]));
            EXPECT_EQ(forms[t].ToolTip, QString::fromUtf16(c.tips[t]));
            EXPECT_EQ(forms[t].Tag, QString::fromUtf16(c.tags[t]));
        }
    }
    // Only the table's counted records are searched.
    EXPECT_EQ(ToneForms(QStringLiteral("l|v0111"), table, 1)[2].Tag, QString());
}

TEST(AlphabetRulesTest, NamesAndSoundFiles)
{
    EXPECT_EQ(JoinSyllable(QStringLiteral("l|v0111")), QStringLiteral("lv"));
    EXPECT_EQ(JoinSyllable(QStringLiteral("|er0111")), QStringLiteral("er"));
    EXPECT_EQ(JoinSyllable(QStringLiteral("chu|ang1111")), QStringLiteral("chuang"));
    EXPECT_EQ(AlphabetSoundPath(QStringLiteral("/app/"), QStringLiteral("L"), QStringLiteral("l|v0111"), 2),
        QStringLiteral("/app/Phonetic Symbols/L/lv2.wav"));
    EXPECT_EQ(AlphabetSoundPath(QStringLiteral("/app/"), QStringLiteral("E"), QStringLiteral("|er0111"), 3),
        QStringLiteral("/app/Phonetic Symbols/E/er3.wav"));
    const QStringList groups = AlphabetGroups();
    ASSERT_EQ(groups.size(), 23);
    EXPECT_EQ(groups.first(), QStringLiteral("Group A"));
    EXPECT_EQ(groups.last(), QStringLiteral("Group Z"));
    EXPECT_FALSE(groups.contains(QStringLiteral("Group I")));
    EXPECT_FALSE(groups.contains(QStringLiteral("Group U")));
    EXPECT_FALSE(groups.contains(QStringLiteral("Group V")));
}

class AlphabetTest : public AssistantsFixture {
protected:
    void PrepareTables() override
    {
        AppState& s = State();
        s.CharacterTable = SomeCharacters();
        s.CharacterCount = qint16(s.CharacterTable.size());
        // Two words of the vocabulary, for the look-up of a clicked form.
        s.WordText[0] << QStringLiteral("驴") << QStringLiteral("绿");
        s.WordText[1] << QStringLiteral(" donkey ") << QStringLiteral(" green ");
        s.WordPinyin << QStringLiteral("l.v2") << QStringLiteral("l.v4");
        s.WordSource[0] << 1 << 1;
        s.WordSource[1] << 3 << 4;
        s.WordCount = s.WordCountCopy = s.LessonEntryCount = 2;
    }
    void SetUp() override
    {
        AssistantsFixture::SetUp();
        for (const char* name : {"L/lv2", "L/lv3", "L/lv4", "E/er2", "O/o1"})
            WriteFile(QStringLiteral("Phonetic Symbols/%1.wav").arg(QLatin1String(name)), Sound(400));
        SetUpSharedPlayers();
        Open("Command7");
        alphabet = Forms::Find<Alphabet1>();
        ASSERT_NE(alphabet, nullptr);
    }
    void TearDown() override
    {
        CloseSharedPlayers();
        AssistantsFixture::TearDown();
    }

    template <class T> T* Control(const QString& name) const
    {
        return Forms::Control<T>(QStringLiteral("Alphabet1"), name);
    }
    QLabel* Tone(int t) const { return Control<QLabel>(QStringLiteral("Label4(%1)").arg(t)); }
    QString Text(const char* label) const { return Control<QLabel>(QLatin1String(label))->text(); }

    void ChooseGroup(QChar letter)
    {
        auto* box = Control<QComboBox>(QStringLiteral("Combo2"));
        const int i = box->findText(QStringLiteral("Group ") + letter);
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    void ChooseSyllable(int index)
    {
        auto* box = Control<QComboBox>(QStringLiteral("Combo1"));
        box->setCurrentIndex(index - 1);
        emit box->activated(index - 1);
    }
    static void MoveOver(QWidget* w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
            Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    // The file playing on the shared player, relative to AppPath; empty when none plays.
    static QString Playing()
    {
        if (MMControl1()->Mode() != WavePlayer::ModePlaying)
            return {};
        return MMControl1()->FileName().mid(State().AppPath.size());
    }
    bool Red(int t) const { return Tone(t)->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }

    Alphabet1* alphabet{nullptr};
};

TEST_F(AlphabetTest, OpensOnGroupAWithTheFocusOnNext)
{
    EXPECT_EQ(Control<QComboBox>(QStringLiteral("Combo2"))->currentText(), QStringLiteral("Group A"));
    EXPECT_EQ(Control<QComboBox>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("1)a"));
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 5"));
    EXPECT_EQ(Tone(1)->text(), QStringLiteral("ā"));
    EXPECT_EQ(Tone(3)->text(), QString());
    EXPECT_FALSE(Control<QPushButton>(QStringLiteral("Command4"))->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(QStringLiteral("Command3"))->isEnabled());
    EXPECT_EQ(alphabet->FirstFocus(), Control<QPushButton>(QStringLiteral("Command2")));
    EXPECT_EQ(alphabet->focusWidget(), Control<QPushButton>(QStringLiteral("Command2")));
}

TEST_F(AlphabetTest, GroupsAndSyllablesStepAndWrap)
{
    auto* next = Control<QPushButton>(QStringLiteral("Command2"));
    auto* previous = Control<QPushButton>(QStringLiteral("Command3"));
    ChooseGroup(u'O');
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 2"));
    next->click();
    EXPECT_EQ(Text("Label2"), QStringLiteral("2 / 2"));
    EXPECT_EQ(Tone(1)->text(), QStringLiteral("ōu"));
    EXPECT_TRUE(previous->isEnabled());
    next->click(); // back to the first
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 2"));
    EXPECT_EQ(Control<QComboBox>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("1)o"));
    EXPECT_FALSE(previous->isEnabled());
    previous->click(); // nothing before the first
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 2"));

    // The group buttons stop at both ends.
    auto* groupNext = Control<QPushButton>(QStringLiteral("Command5"));
    auto* groupPrevious = Control<QPushButton>(QStringLiteral("Command4"));
    groupNext->click();
    EXPECT_EQ(Control<QComboBox>(QStringLiteral("Combo2"))->currentText(), QStringLiteral("Group P"));
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 17"));
    ChooseGroup(u'Z');
    EXPECT_FALSE(groupNext->isEnabled());
    EXPECT_TRUE(groupPrevious->isEnabled());
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 36"));
}

TEST_F(AlphabetTest, HoverWaitsPlaysPausesAndRepeatsUntilThePointerReachesTheBackground)
{
    ChooseGroup(u'L');
    ChooseSyllable(20);
    ASSERT_EQ(Tone(2)->toolTip(), QStringLiteral("lv2"));

    MoveOver(Tone(2));
    EXPECT_TRUE(Red(2));
    EXPECT_FALSE(Red(1) || Red(3) || Red(4));
    Clock::Advance(299);
    EXPECT_EQ(Playing(), QString());
    Clock::Advance(1);
    EXPECT_EQ(Playing(), QStringLiteral("Phonetic Symbols/L/lv2.wav"));
    EXPECT_EQ(State().SoundOwner, SoundOwnerCode::Alphabet1);
    EXPECT_EQ(State().CurrentTone, QStringLiteral("2"));
    EXPECT_EQ(Text("Label5"), QStringLiteral("驴"));

    // The end of the play, a 500 ms pause, the same form again; and so on.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Clock::Advance(400);
        EXPECT_EQ(Playing(), QString());
        Clock::Advance(499);
        EXPECT_EQ(Playing(), QString());
        Clock::Advance(1);
        EXPECT_EQ(Playing(), QStringLiteral("Phonetic Symbols/L/lv2.wav"));
    }

    // Straight on to another form: its characters and sound after a new 300 ms wait.
    MoveOver(Tone(4));
    EXPECT_EQ(Text("Label5"), QString());
    EXPECT_TRUE(Red(4));
    EXPECT_FALSE(Red(2));
    Clock::Advance(300);
    EXPECT_EQ(Playing(), QStringLiteral("Phonetic Symbols/L/lv4.wav"));
    EXPECT_EQ(Text("Label5"), QStringLiteral("绿率"));
    Clock::Advance(100);

    // The background stops it all.
    MoveOver(alphabet);
    EXPECT_EQ(Playing(), QString());
    EXPECT_FALSE(Red(4));
    Clock::Advance(3000);
    EXPECT_EQ(Playing(), QString());

    // The tone this syllable lacks cannot be hovered.
    MoveOver(Tone(1));
    EXPECT_FALSE(Red(1));
    Clock::Advance(1000);
    EXPECT_EQ(Playing(), QString());
}

TEST_F(AlphabetTest, ErHasNoFirstToneAndKeepsNothingOfTheSyllableBefore)
{
    ChooseGroup(u'E');
    ChooseSyllable(1); // |e1111: every tone
    ASSERT_EQ(Tone(1)->toolTip(), QStringLiteral("e1"));
    ChooseSyllable(3);
    EXPECT_EQ(Tone(1)->text(), QString());
    EXPECT_EQ(Tone(1)->toolTip(), QString());
    EXPECT_EQ(Tone(2)->text(), QStringLiteral("ér"));
    EXPECT_EQ(Tone(2)->toolTip(), QStringLiteral("er2"));
    MoveOver(Tone(1));
    Clock::Advance(1000);
    EXPECT_EQ(Playing(), QString());
    MoveOver(Tone(2));
    Clock::Advance(300);
    EXPECT_EQ(Playing(), QStringLiteral("Phonetic Symbols/E/er2.wav"));
}

TEST_F(AlphabetTest, AClickLooksTheToneFormUpInTheLocalDictionary)
{
    ChooseGroup(u'L');
    ChooseSyllable(20);
    auto* dictionary = Forms::Find<Dictionary>();
    QTest::mouseClick(Tone(4), Qt::LeftButton);
    EXPECT_EQ(dictionary->Combo1->Text(), QStringLiteral("lv4"));
    ASSERT_GE(dictionary->ListView1->ItemCount(), 1);
    EXPECT_EQ(dictionary->ListView1->SubItem(1, 1), QStringLiteral("绿"));

    // A tone the syllable lacks has nothing to look up.
    ChooseSyllable(19); // l|u1111 then l|v0111 lacks tone 1
    ChooseSyllable(20);
    QTest::mouseClick(Tone(1), Qt::LeftButton);
    EXPECT_EQ(dictionary->Combo1->Text(), QStringLiteral("lv4"));
}

TEST_F(AlphabetTest, ClosingStopsTheSoundAndReturnsToTheMenu)
{
    ChooseGroup(u'L');
    ChooseSyllable(20);
    MoveOver(Tone(3));
    Clock::Advance(300);
    ASSERT_EQ(Playing(), QStringLiteral("Phonetic Symbols/L/lv3.wav"));
    Control<QPushButton>(QStringLiteral("Command1"))->click();
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Alphabet1")));
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(State().CurrentActivity, 10);
    EXPECT_TRUE(panel->isVisible());
    // A late end of play reaches nobody.
    Clock::Advance(2000);
    EXPECT_EQ(Playing(), QString());
}

} // namespace
