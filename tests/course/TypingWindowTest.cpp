// The typing window driven through its keys, labels and the test clock: pass ends on and off
// the frontier, the verdict blinking, the candidate keys, speaking, focus and closing.

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "CourseForms.h"
#include "Forms.h"
#include "FormCalls.h"
#include "RelatedExpressions.h"
#include "SharedPlayer.h"
#include "Pinyin.h"
#include "TestSupport.h"
#include "Typing.h"
#include "TypingRules.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {
// Fourteen characters whose toneless syllables never begin one another: typing one syllable
// lists exactly its character.
const std::pair<const char*, const char*> kCharacters[] = {{"你", "n.i3"}, {"我", "w.o3"}, {"他", "t.a1"},
    {"好", "h.ao3"}, {"是", "sh.i4"}, {"不", "b.u4"}, {"老", "l.ao3"}, {"学", "xu.e2"}, {"生", "sh.eng1"},
    {"们", "m.en0"}, {"大", "d.a4"}, {"小", "xi.ao3"}, {"人", "r.en2"}, {"中", "zh.ong1"}};

const char* kGoOn = "You have finished this task. Let's go on to do the next task.";
const char* kFailed = "Your correctness rate hasn't reached 80%. Do the task again, please.";

struct RelatedProbe : RelatedExpressionsFill {
    void Common03(QString& word, bool showPinyin) override { words << word + (showPinyin ? "+" : ""); }
    QStringList words;
};

class TypingWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        RegisterCourseForms();
        Random::Seed(3);
        AppState& s = State();
        for (const auto& [ch, pinyin] : kCharacters) {
            CharacterRecord r;
            r.Character = QString::fromUtf8(ch);
            r.Readings = ReadingsFromSyllables(QString::fromUtf8(pinyin));
            s.CharacterTable.append(r);
            m_syllable.insert(r.Character, r.Readings[0].Syllable);
            m_pinyin.insert(r.Character, QString::fromUtf8(pinyin));
        }
        s.CharacterCount = qint16(s.CharacterTable.size());
        RelatedExpressionsHook().Set(&m_related);
    }
    void TearDown() override
    {
        RelatedExpressionsHook().Clear(&m_related);
        // An unfinished task asks before it closes: leave it.
        m_boxes.reset();
        m_boxes = std::make_unique<MsgBox::Recorder>();
        m_boxes->Answer(MsgBox::Cancel);
        AppFixture::TearDown();
    }

    // The first n characters as one-character words of lesson 1; the window opened as step 2,
    // the learner's frontier or (frontier false) with step 2 already done.
    Typing* Open(int n, bool frontier)
    {
        AppState& s = State();
        for (int k = 0; k < n; ++k) {
            s.LessonWords[0].append(QString::fromUtf8(kCharacters[k].first));
            s.LessonWords[1].append(QStringLiteral("meaning"));
            s.LessonWords[2].append(QString::fromUtf8(kCharacters[k].second));
        }
        s.LessonWordCount = qint16(n);
        s.ViewedLesson = 1;
        s.CurrentLesson = 1;
        s.CurrentStep = frontier ? 2 : 3;
        s.CurrentActivity = 2;
        return Forms::Load<Typing>();
    }
    QLabel* Label(const char* name) const { return Forms::Control<QLabel>("Typing", QString::fromLatin1(name)); }
    QString Text(const char* name) const { return Label(name) ? Label(name)->text() : QStringLiteral("<closed>"); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(Forms::Find<Typing>(), key, mods);
    }
    static void Type(const QString& letters)
    {
        for (QChar c : letters)
            Key(Qt::Key(Qt::Key_A + (c.toLower().unicode() - 'a')), c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    }
    // Types the asked character's syllable (or another's) and picks the first candidate.
    void Answer(bool right)
    {
        const QString asked = Text("Label1");
        const QString other = asked == "你" ? "我" : "你";
        Type(m_syllable.value(right ? asked : other));
        Key(Qt::Key_Space);
    }
    // Answers and lets the verdict blink its course.
    void AnswerAndWait(bool right)
    {
        Answer(right);
        Clock::Advance(3600);
    }
    QByteArray Record() const { return ReadFile("Record/Study.vmq"); }

    QHash<QString, QString> m_syllable;
    QHash<QString, QString> m_pinyin;
    RelatedProbe m_related;
};

QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson), 0, static_cast<char>(step), 0};
    return QByteArray(b, 4);
}
} // namespace

TEST_F(TypingWindowTest, PassEndsOnTheFrontier)
{
    struct Case {
        const char* name;
        int n;
        int wrong;
        MsgBox::Result answer;
        const char* box;
        bool recorded;
        bool closes;
    };
    const Case cases[] = {
        {"exactly 80 %, OK closes", 5, 1, MsgBox::Ok, kGoOn, true, true},
        {"exactly 80 %, Cancel stays", 5, 1, MsgBox::Cancel, kGoOn, true, false},
        {"79 % repeats the pass", 14, 3, MsgBox::Ok, kFailed, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forms::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::remove(Path("Record/Study.vmq"));
        m_boxes.reset();
        m_boxes = std::make_unique<MsgBox::Recorder>();
        m_boxes->Answer(c.answer);
        for (QStringList& column : State().LessonWords)
            column.clear();
        Open(c.n, true);
        EXPECT_EQ(Text("Label17"), QString("1 / %1").arg(c.n));
        EXPECT_EQ(Text("Label10"), "");
        for (int k = 0; k < c.n; ++k)
            AnswerAndWait(k >= c.wrong);
        ASSERT_EQ(m_boxes->Texts(), QStringList{c.box});
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Advice");
        EXPECT_EQ(Record(), c.recorded ? StudyBytes(1, 3) : QByteArray());
        Clock::Advance(500);
        EXPECT_EQ(Forms::Find<Typing>() == nullptr, c.closes);
        if (c.closes)
            continue;
        // A fresh pass: position 1, counters at 0.
        EXPECT_EQ(Text("Label17"), QString("1 / %1").arg(c.n));
        EXPECT_EQ(Text("Label10"), "Correct: 0 , Wrong: 0 , Correctness Rate: 0 %");
        AnswerAndWait(true);
        EXPECT_EQ(Text("Label10"), "Correct: 1 , Wrong: 0 , Correctness Rate: 100 %");
    }
}

TEST_F(TypingWindowTest, AfterCancelNoPassEndsAgainAndThePositionWraps)
{
    Open(5, true);
    m_boxes->Answer(MsgBox::Cancel);
    for (int k = 0; k < 5; ++k)
        AnswerAndWait(true);
    ASSERT_EQ(m_boxes->Texts(), QStringList{kGoOn});
    for (int k = 0; k < 5; ++k)
        AnswerAndWait(false);
    EXPECT_EQ(m_boxes->Texts(), QStringList{kGoOn});
    EXPECT_EQ(Text("Label17"), "1 / 5");
    EXPECT_EQ(Text("Label10"), "Correct: 0 , Wrong: 5 , Correctness Rate: 0 %");
    EXPECT_EQ(Record(), StudyBytes(1, 3));
    // The task is finished: closing asks nothing.
    Forms::Find<Typing>()->Unload();
    EXPECT_EQ(Forms::Find<Typing>(), nullptr);
    EXPECT_EQ(m_boxes->Texts(), QStringList{kGoOn});
}

TEST_F(TypingWindowTest, OutsideTheFrontierCountersAddUpAndThePositionWraps)
{
    Open(2, false);
    for (int k = 0; k < 5; ++k)
        AnswerAndWait(k != 0);
    EXPECT_TRUE(m_boxes->Texts().isEmpty());
    EXPECT_EQ(Text("Label17"), "2 / 2");
    EXPECT_EQ(Text("Label10"), "Correct: 4 , Wrong: 1 , Correctness Rate: 80 %");
    EXPECT_EQ(Record(), QByteArray());
}

TEST_F(TypingWindowTest, TheVerdictBlinksEightTimesAndTheNextCharacterComesAfter3600ms)
{
    Open(3, false);
    const QString first = Text("Label1");
    Answer(true);
    EXPECT_EQ(Text("Label4"), first);
    EXPECT_EQ(Text("Label6"), "Correct! Press any key to go to next word.");
    QLabel* label6 = Label("Label6");
    for (int tick = 1; tick <= 8; ++tick) {
        Clock::Advance(400);
        SCOPED_TRACE(tick);
        EXPECT_EQ(label6->isHidden(), tick % 2 == 1);
        EXPECT_EQ(Text("Label17"), "1 / 3");
    }
    Clock::Advance(399);
    EXPECT_EQ(Text("Label4"), first);
    Clock::Advance(1);
    EXPECT_EQ(Text("Label4"), "?");
    EXPECT_EQ(Text("Label17"), "2 / 3");
    EXPECT_NE(Text("Label1"), first);
    EXPECT_FALSE(label6->isHidden());
    EXPECT_EQ(Text("Label6"), "Input the Pinyin of the Chinese Charater in the small box on the left.");
}

TEST_F(TypingWindowTest, AKeySkipsTheBlinkingOnlyAfterACorrectChoice)
{
    Open(3, true);
    // Wrong: keys are ignored, Esc included, and the blinking runs its course.
    Answer(false);
    Clock::Advance(400);
    Key(Qt::Key_Escape);
    Type("ni");
    EXPECT_NE(Forms::Find<Typing>(), nullptr);
    EXPECT_EQ(Text("Label17"), "1 / 3");
    EXPECT_EQ(Text("Label8"), "");
    Clock::Advance(3200);
    EXPECT_EQ(Text("Label17"), "2 / 3");

    // Right: Esc goes straight on to the next character and leaves the window open.
    Answer(true);
    Clock::Advance(400);
    ASSERT_TRUE(Label("Label6")->isHidden());
    Key(Qt::Key_Escape);
    EXPECT_EQ(Text("Label17"), "3 / 3");
    EXPECT_FALSE(Label("Label6")->isHidden());
    EXPECT_TRUE(m_boxes->Texts().isEmpty());
    Clock::Advance(4000);
    EXPECT_EQ(Text("Label17"), "3 / 3");
}

TEST_F(TypingWindowTest, CandidateKeys)
{
    Open(3, false);
    const QString asked = Text("Label1");
    // A sixth letter is ignored; keypad digits are not the main row's.
    Type("xiaoqx");
    EXPECT_EQ(Text("Label8"), "xiaoq ");
    EXPECT_EQ(Text("Label6"), "Such a Pinyin doesn't exist.");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text("Label5"), " 1 小 ");
    EXPECT_EQ(Text("Label6"), "Press number key to select the correct Chinese character.");
    for (int k = 0; k < 5; ++k)
        Key(Qt::Key_Backspace);
    EXPECT_EQ(Text("Label8"), " ");
    EXPECT_EQ(Text("Label5"), "");
    EXPECT_EQ(Text("Label6"), "Input the Pinyin of the Chinese Charater in the small box on the left.");
    Key(Qt::Key_Space); // nothing listed: nothing picked
    EXPECT_EQ(Text("Label4"), "?");

    Type(m_syllable.value(asked).toUpper());
    Key(Qt::Key_1, Qt::KeypadModifier);
    Key(Qt::Key_2);
    EXPECT_EQ(Text("Label4"), "?");
    Key(Qt::Key_1);
    EXPECT_EQ(Text("Label4"), asked);
    EXPECT_EQ(Text("Label5"), "");
    EXPECT_EQ(Text("Label8"), "");
    EXPECT_EQ(Text("Label10"), "Correct: 1 , Wrong: 0 , Correctness Rate: 100 %");
}

TEST_F(TypingWindowTest, ThePickedReadingIsHeardAndAWrongPickFillsTheRelatedList)
{
    Open(3, false);
    const QString asked = Text("Label1");
    EXPECT_EQ(m_related.words, QStringList{asked});
    Answer(false);
    const QString picked = Text("Label4");
    EXPECT_EQ(Text("Label6"), "Wrong!");
    EXPECT_EQ(m_related.words, (QStringList{asked, picked}));
    const QString syllable = m_syllable.value(picked);
    EXPECT_EQ(MMControl1()->FileName(),
        State().AppPath + "Phonetic Symbols/" + syllable.left(1).toUpper() + "/" + syllable + "3.wav");
    EXPECT_EQ(State().CurrentTone, "3");
}

TEST_F(TypingWindowTest, TheAskedCharacterIsSpokenAndAClickAfterLosingTheFocusSpeaksItAgain)
{
    for (const auto& [ch, pinyin] : kCharacters) {
        const QVector<CharacterReading> r = ReadingsFromSyllables(QString::fromUtf8(pinyin));
        WriteFile("Phonetic Symbols/" + r[0].Letter.toUpper() + "/" + r[0].Syllable + r[0].SoundTone + ".wav",
            WavFile::Encode16(8000, 1, QByteArray(1600, '\x10')));
    }
    Typing* typing = Open(3, false);
    typing->Show();
    QApplication::processEvents();
    const QString file = AskedSoundPath(m_pinyin.value(Text("Label1")));
    Clock::Advance(499);
    EXPECT_NE(MMControl1()->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(1);
    EXPECT_EQ(MMControl1()->FileName(), file);
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
    const QString hint = Text("Label6");

    // Another window takes the focus: the hint gives way to the focus message.
    Form* other = Forms::Load(QStringLiteral("Notepad"));
    other->Show();
    other->activateWindow();
    QApplication::processEvents();
    EXPECT_TRUE(typing->FocusLost);
    EXPECT_EQ(Text("Label6"), "This window has lost focus! Please click on it.");
    EXPECT_TRUE(Label("Label8")->isHidden());
    typing->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(Text("Label6"), hint);
    EXPECT_FALSE(Label("Label8")->isHidden());

    // The click speaks the asked character anew and clears the flag.
    MMControl1()->Close();
    QTest::mouseClick(Label("Label1"), Qt::LeftButton);
    EXPECT_FALSE(typing->FocusLost);
    EXPECT_EQ(MMControl1()->FileName(), file);
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
    // With the focus kept, a click on the window replays the last sound.
    Clock::Advance(100);
    EXPECT_NE(MMControl1()->Mode(), WavePlayer::ModePlaying);
    QTest::mouseClick(typing, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
}

TEST_F(TypingWindowTest, ThePinyinToggleHoldsFromCharacterToCharacter)
{
    Typing* typing = Open(3, false);
    typing->Show();
    QLabel* label3 = Label("Label3");
    EXPECT_FALSE(label3->isHidden());
    QTest::mouseClick(Label("Label11"), Qt::LeftButton);
    EXPECT_EQ(Text("Label11"), "Hide Pinyin");
    EXPECT_TRUE(label3->isHidden());
    AnswerAndWait(true);
    EXPECT_EQ(Text("Label17"), "2 / 3");
    EXPECT_TRUE(label3->isHidden());
    EXPECT_EQ(Text("Label3"), NumberedToMarkedPinyin(m_pinyin.value(Text("Label1"))));
    QTest::mouseClick(Label("Label11"), Qt::LeftButton);
    EXPECT_EQ(Text("Label11"), "Show Pinyin");
    EXPECT_FALSE(label3->isHidden());
}

TEST_F(TypingWindowTest, TheCloseButtonClosesOnlyWhenReleasedOnIt)
{
    Typing* typing = Open(3, false);
    typing->Show();
    QLabel* image3 = Label("Image3");
    const QPixmap normal = image3->pixmap();
    QTest::mousePress(image3, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_NE(image3->pixmap().cacheKey(), normal.cacheKey());
    QMouseEvent away(QEvent::MouseMove, QPointF(-20, 5), image3->mapToGlobal(QPointF(-20, 5)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(image3, &away);
    EXPECT_EQ(image3->pixmap().cacheKey(), Label("Image1")->pixmap().cacheKey());
    QTest::mouseRelease(image3, Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_NE(Forms::Find<Typing>(), nullptr);
    QTest::mousePress(image3, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(image3, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Forms::Find<Typing>(), nullptr);
    EXPECT_TRUE(m_boxes->Texts().isEmpty());
}

TEST_F(TypingWindowTest, ClosingAnUnfinishedFrontierTaskAsksFirst)
{
    Typing* typing = Open(3, true);
    m_boxes->Answer(MsgBox::Ok);
    // Esc closes on its release, so the release never reaches the menu that comes back.
    QTest::keyPress(typing, Qt::Key_Escape);
    EXPECT_TRUE(m_boxes->Texts().isEmpty());
    QTest::keyRelease(typing, Qt::Key_Escape);
    EXPECT_EQ(m_boxes->Texts().size(), 1);
    EXPECT_NE(Forms::Find<Typing>(), nullptr);
    m_boxes->Answer(MsgBox::Cancel);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Forms::Find<Typing>(), nullptr);
    EXPECT_EQ(m_boxes->Texts().size(), 2);
    EXPECT_EQ(State().CurrentActivity, 0);
    EXPECT_EQ(Record(), QByteArray());
}

TEST_F(TypingWindowTest, ALessonWithoutNewCharactersIsDoneAtOnce)
{
    // Lesson 2 whose only word was learnt in lesson 1.
    AppState& s = State();
    s.WordText[0] = QStringList{"你"};
    s.WordText[1] = QStringList{" you "};
    s.WordSource = {QVector<qint16>{1}, QVector<qint16>{1}};
    s.WordCount = s.WordCountCopy = s.LessonEntryCount = 1;
    s.LessonWords = {QStringList{"你"}, QStringList{"you"}, QStringList{"n.i3"}};
    s.LessonWordCount = 1;
    s.ViewedLesson = s.CurrentLesson = 2;
    s.CurrentStep = 2;
    s.CurrentActivity = 2;
    Forms::Load<Typing>();
    EXPECT_EQ(m_boxes->Texts(), QStringList{"There is no new Chinese characters in this lesson."});
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Notice");
    EXPECT_EQ(Record(), StudyBytes(2, 3));
    Clock::Advance(500);
    EXPECT_EQ(Forms::Find<Typing>(), nullptr);
}
