// The vocabulary test driven through its options, its button and the test clock: every word
// asked once, the time bar, the rates and the pass mark, the repeated word, closing.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "AppState.h"
#include "BlankTrim.h"
#include "Clock.h"
#include "ComboBox.h"
#include "CourseForms.h"
#include "Dictionary.h"
#include "ListView.h"
#include "FenPeiTiao.h"
#include "FormCalls.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "TestSupport.h"
#include "Vocabulary.h"
#include "VocabularyRules.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {
QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson), 0, static_cast<char>(step), 0};
    return QByteArray(b, 4);
}

QByteArray Wav100ms() { return WavFile::Encode16(8000, 1, QByteArray(1600, '\x10')); }

class VocabularyWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        RegisterCourseForms();
        Random::Seed(5);
    }
    void TearDown() override
    {
        // An unfinished task asks before it closes: leave it.
        m_boxes.reset();
        m_boxes = std::make_unique<MsgBox::Recorder>();
        m_boxes->Answer(MsgBox::Cancel);
        AppFixture::TearDown();
    }

    // n words of lesson 1 ("词1" "meaning 1" "c.i2" ...), first ones replaced by extra; the test
    // opened as step 3 at the frontier or after it, and started.
    Vocabulary* Open(int n, bool frontier, const QList<std::array<QString, 3>>& extra = {})
    {
        AppState& s = State();
        for (int k = 1; k <= n; ++k) {
            std::array<QString, 3> w{QString("词%1").arg(k), QString("meaning %1").arg(k), QStringLiteral("c.i2")};
            if (k <= extra.size())
                w = extra[k - 1];
            for (int c = 0; c < 3; ++c)
                s.LessonWords[size_t(c)].append(w[size_t(c)]);
            m_english.insert(w[0], w[1]);
        }
        s.LessonWordCount = qint16(n);
        s.ViewedLesson = 1;
        s.CurrentLesson = 1;
        s.CurrentStep = frontier ? 3 : 4;
        s.CurrentActivity = 3;
        auto* test = Forms::Load<Vocabulary>();
        test->Show();
        QApplication::processEvents();
        Forms::Control<QPushButton>("Vocabulary", "Command2")->click();
        return test;
    }
    QLabel* Label(const QString& name) const { return Forms::Control<QLabel>("Vocabulary", name); }
    QString Text(const QString& name) const { return Label(name) ? Label(name)->text() : QStringLiteral("<closed>"); }
    QLabel* Option(int k) const { return Label(Forms::IndexedName("Label2", k)); }
    QString Count(int k) const { return Text(Forms::IndexedName("Label4", k)); }
    QStringList Meanings() const { return WordMeanings(m_english.value(Text("Label1"))); }
    // The first shown option that is (or is not) one of the asked word's meanings.
    int Find(bool meaning) const
    {
        for (int k = 0; k < 8; ++k)
            if (!Option(k)->isHidden() && Meanings().contains(BlankTrim(Option(k)->text())) == meaning)
                return k;
        return -1;
    }
    void Click(int k) const { QTest::mouseClick(Option(k), Qt::LeftButton); }
    // Answers and waits out the pause (two seconds per meaning).
    void Answer(bool right)
    {
        const int pause = int(Meanings().size()) * 2000;
        const int k = Find(right);
        ASSERT_GE(k, 0);
        Click(k);
        Clock::Advance(pause);
    }
    QColor Ink(int k) const { return Option(k)->palette().color(QPalette::WindowText); }

    QHash<QString, QString> m_english;
};
} // namespace

TEST_F(VocabularyWindowTest, EveryWordIsAskedOnceAndTheRateEndsTheTest)
{
    struct Case {
        int words;
        int right;
        const char* box;
    };
    const Case cases[] = {{4, 3, "Your correctness rate is 75%."}, {8, 1, "Your correctness rate is 12%."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        Forms::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QStringList& column : State().LessonWords)
            column.clear();
        m_boxes->Clear();
        Open(c.words, false);
        QSet<QString> asked;
        for (int k = 1; k <= c.words; ++k) {
            EXPECT_EQ(Count(3), QString::number(k));
            asked.insert(Text("Label1"));
            EXPECT_TRUE(m_boxes->Texts().isEmpty());
            Answer(k <= c.right);
        }
        EXPECT_EQ(asked.size(), c.words);
        EXPECT_EQ(m_boxes->Texts(), QStringList{c.box});
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Notice");
        EXPECT_EQ(Text("Label1"), "");
        EXPECT_TRUE(Forms::Control<QPushButton>("Vocabulary", "Command2")->isEnabled());
        for (int k = 0; k < 8; ++k)
            EXPECT_TRUE(Option(k)->isHidden());
        EXPECT_EQ(ReadFile("Record/Study.vmq"), QByteArray());
    }
}

TEST_F(VocabularyWindowTest, PassMarkOnTheFrontier)
{
    struct Case {
        int words;
        int right;
        const char* box;
        bool recorded;
    };
    const Case cases[] = {
        {2, 1, "You have finished this task. Let's go on to do the next task.", true},
        {35, 17, "Your correctness rate hasn't reached 50%. Do the task again, please.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        Forms::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QStringList& column : State().LessonWords)
            column.clear();
        m_boxes.reset();
        m_boxes = std::make_unique<MsgBox::Recorder>();
        m_boxes->Answer(MsgBox::Ok);
        QFile::remove(Path("Record/Study.vmq"));
        Open(c.words, true);
        for (int k = 1; k <= c.words; ++k)
            Answer(k <= c.right);
        EXPECT_EQ(m_boxes->Texts(), QStringList{c.box});
        EXPECT_EQ(ReadFile("Record/Study.vmq"), c.recorded ? StudyBytes(1, 4) : QByteArray());
        Clock::Advance(500);
        EXPECT_EQ(Forms::Find<Vocabulary>() == nullptr, c.recorded);
    }
    // The failed test left its last word and feedback on screen; Start begins a new one.
    EXPECT_NE(Text("Label9"), "");
    EXPECT_EQ(Count(2), "49");
}

TEST_F(VocabularyWindowTest, AClickAnywhereOnAnOptionReachesIt)
{
    // The window's own hit test decides where a click lands, the feedback line included.
    Vocabulary* test = Open(8, false);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        ASSERT_FALSE(Option(k)->isHidden());
        const QRect area = Option(k)->geometry();
        for (const QPoint& at : {area.center(), QPoint(area.center().x(), area.bottom() - 1)})
            EXPECT_EQ(test->childAt(at), Option(k));
    }
}

TEST_F(VocabularyWindowTest, TimeIsUpAtTheTwentiethTickAndALateClickCountsNothing)
{
    WriteFile("Sound/carryon.WAV", Wav100ms());
    Open(3, false);
    Clock::Advance(19000);
    EXPECT_EQ(Text("Label9"), "");
    EXPECT_EQ(Count(1), "0");
    Clock::Advance(1000);
    EXPECT_EQ(Text("Label9"), "Carry on!\n继续努力!");
    EXPECT_EQ(Count(1), "1");
    EXPECT_EQ(Count(2), "0");
    EXPECT_EQ(MMControl1()->FileName(), State().AppPath + "Sound/carryon.WAV");
    auto* bar = Forms::Find<Vocabulary>()->findChild<FenPeiTiao*>("FenPeiTiao1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->BarLength(), 1665);
    // Only the right meaning is left, in red; clicking it now counts nothing.
    const int right = Find(true);
    ASSERT_GE(right, 0);
    EXPECT_EQ(Find(false), -1);
    EXPECT_EQ(Ink(right), QColor(255, 0, 0));
    Click(right);
    EXPECT_EQ(Count(0), "0");
    EXPECT_EQ(Count(1), "1");
    EXPECT_EQ(Text("Label9"), "Carry on!\n继续努力!");
    Clock::Advance(2000);
    EXPECT_EQ(Count(3), "2");
    EXPECT_EQ(Text("Label9"), "");
}

TEST_F(VocabularyWindowTest, AWordWithTwoMeaningsHasTwoRightOptions)
{
    WriteFile("Sound/right.WAV", Wav100ms());
    Open(3, false, {{"我", "I; me", "w.o3"}});
    for (int k = 0; k < 3 && Text("Label1") != "我"; ++k)
        Answer(true);
    ASSERT_EQ(Text("Label1"), "我");
    QList<int> meanings;
    for (int k = 0; k < 8; ++k)
        if (Meanings().contains(BlankTrim(Option(k)->text())))
            meanings.append(k);
    ASSERT_EQ(meanings.size(), 2);
    const QString right = Count(0);
    Click(meanings[0]);
    EXPECT_EQ(Count(0), QString::number(right.toInt() + 1));
    EXPECT_EQ(Text("Label9"), "Good job!\n正确!");
    EXPECT_EQ(MMControl1()->FileName(), State().AppPath + "Sound/right.WAV");
    for (int k : meanings)
        EXPECT_EQ(Ink(k), QColor(255, 0, 0));
    Click(meanings[1]);
    EXPECT_EQ(Count(0), QString::number(right.toInt() + 1));
    // Two seconds per meaning shown in red.
    Clock::Advance(3999);
    EXPECT_EQ(Text("Label9"), "Good job!\n正确!");
    Clock::Advance(1);
    EXPECT_EQ(Text("Label9"), "");
}

TEST_F(VocabularyWindowTest, TheWordIsHeardAgainTwoSecondsAfterEachPlaying)
{
    WriteFile("Phonetic Symbols/W/wo3.wav", Wav100ms());
    WriteFile("Sound/careful.WAV", Wav100ms());
    const QString word = State().AppPath + "Phonetic Symbols/W/wo3.wav";
    Open(1, false, {{"我", "I", "w.o3"}});
    EXPECT_EQ(MMControl1()->FileName(), word);
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(100);
    EXPECT_NE(MMControl1()->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(1999);
    EXPECT_NE(MMControl1()->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(1);
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
    // The shared player's end for owner 12 reaches the test too.
    Clock::Advance(100);
    EXPECT_TRUE(TellPlayDone(SoundOwnerCode::Vocabulary));
    Clock::Advance(2000);
    EXPECT_EQ(MMControl1()->FileName(), word);
    // After an answer nothing repeats.
    Click(Find(false) >= 0 ? Find(false) : Find(true));
    Clock::Advance(1500);
    EXPECT_NE(MMControl1()->FileName(), word);
}

TEST_F(VocabularyWindowTest, ALessonWithoutWordsIsDoneAtOnce)
{
    Open(0, true);
    EXPECT_EQ(m_boxes->Texts(), QStringList{"There is no new vocabulary in this lesson."});
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(1, 4));
    Clock::Advance(500);
    EXPECT_EQ(Forms::Find<Vocabulary>(), nullptr);
}

TEST_F(VocabularyWindowTest, TheDictionaryShowsTheWordAndTheFlagsAreResetOnClosing)
{
    // The course's vocabulary holds the lesson's two words, each also in a later lesson.
    AppState& s = State();
    for (int lesson : {1, 2})
        for (const char* word : {"你", "我"}) {
            s.WordText[0].append(QString::fromUtf8(word));
            s.WordText[1].append(QString(" meaning %1 ").arg(lesson));
            s.WordSource[0].append(1);
            s.WordSource[1].append(qint16(lesson));
            s.WordPinyin.append("c.i2");
        }
    s.WordCount = s.WordCountCopy = s.LessonEntryCount = 4;
    Forms::RegisterFactory<Dictionary>();
    auto* dictionary = Forms::Load<Dictionary>();
    Open(2, true, {{"你", "meaning 1", "n.i3"}, {"我", "meaning 1", "w.o3"}});
    EXPECT_EQ(State().VocabularyTestOpen, -1);
    const int hit = dictionary->ListView1->SelectedItem();
    ASSERT_GT(hit, 0);
    EXPECT_EQ(dictionary->ListView1->SubItem(hit, 1), Text("Label1"));
    m_boxes->Answer(MsgBox::Ok);
    QTest::keyClick(Forms::Find<Vocabulary>(), Qt::Key_Escape);
    EXPECT_NE(Forms::Find<Vocabulary>(), nullptr);
    m_boxes->Answer(MsgBox::Cancel);
    Forms::Control<QPushButton>("Vocabulary", "Command5")->click();
    EXPECT_EQ(Forms::Find<Vocabulary>(), nullptr);
    EXPECT_EQ(State().VocabularyTestOpen, 0);
    EXPECT_EQ(State().SoundOwner, 0);
    EXPECT_EQ(State().CurrentActivity, 0);
    EXPECT_EQ(m_boxes->Texts().size(), 2);
}
