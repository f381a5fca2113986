// Reading aloud after the teacher (step 6) and the new-words review (the review row), driven
// through their windows on the test clock with the shared player's silent backend: the pace
// of the words, the end of the text on and off the frontier, the related-expressions list
// beside them, the review's buttons and its writing pad.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Background.h"
#include "Clock.h"
#include "CourseForms.h"
#include "Dictionary.h"
#include "Expressions_Related.h"
#include "FormCalls.h"
#include "Forms.h"
#include "ListView.h"
#include "Newwords.h"
#include "RichTextBox.h"
#include "SharedPlayer.h"
#include "StudyStackWindows.h"
#include "StudyWindowFixture.h"
#include "TestSupport.h"
#include "Twips.h"
#include "Typing.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

class ReadAloudWindows : public StudyWindowFixture {
protected:
    void SetUp() override
    {
        SetUpStudyWindows(false);
        for (const auto& [file, ms] : {std::pair{"N/ni3", 300}, {"H/hao3", 500}, {"X/xie1", 200}, {"M/ma1", 200}})
            WriteFile(QStringLiteral("Phonetic Symbols/%1.wav").arg(QLatin1String(file)), SilentSound(ms));
        // Present but not a recording: skipped like a missing file.
        WriteFile(QStringLiteral("Phonetic Symbols/X/xie4.wav"), "RIFF\x10\0\0\0WAVEjunk");

        AppState& s = State();
        s.LessonLines = {
            {QStringLiteral("n.i3 h.ao3, xi.e4 xi.e0 l.ao3 sh.i1 m.en0"), u"1.你好，谢谢老师们。"_qs,
                QStringLiteral("Hello, thank you, teachers."), 1},
        };
        s.LessonLineCount = 1;
        s.LessonWords = {QStringList{u"你好"_qs, u"谢谢"_qs, u"吗"_qs}, QStringList{"hello", "thanks", "(question)"},
            QStringList{"n.i3 h.ao3", "xi.e4 xi.e0", "m.a0"}};
        s.LessonWordCount = 3;
        // The course's lesson entries: 老师 has no recordings, 们 no pinyin at all.
        s.WordText = {QStringList{u"好"_qs, u"老师"_qs, u"们"_qs, u"你好"_qs},
            QStringList{" good ", " teacher ", " (plural) ", " hello "}};
        s.WordPinyin = QStringList{"h.ao3", "l.ao3 sh.i1", "", "n.i3 h.ao3"};
        s.WordSource = {QVector<qint16>{1, 1, 1, 2}, QVector<qint16>{3, 3, 3, 4}};
        s.WordCount = s.WordCountCopy = 4;
        s.LessonEntryCount = 3;
        s.ViewedLesson = 3;
        s.CurrentLesson = 3;
        s.CurrentStep = 6;
    }
    RichTextBox* Box() const { return Get<RichTextBox>("Text", "RichTextBox1"); }
    ListView* Related() const { return Get<ListView>("Expressions_Related", "ListView1"); }
    QStringList RelatedWords() const
    {
        QStringList words;
        for (int row = 1; row <= Related()->ItemCount(); ++row)
            words << Related()->SubItem(row, 1);
        return words;
    }
    void Gone() const { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(ReadAloudWindows, EachWordIsSpokenThenTheLearnerHasThreeSeconds)
{
    OpenStep(6);
    ASSERT_TRUE(Forms::Find<Expressions_Related>()->isVisible());
    auto* playback = Get<QPushButton>("Text", "Command2");
    playback->click();
    EXPECT_FALSE(playback->isEnabled());

    const QString text = Box()->Text();
    const int at = int(text.indexOf(u"你好，"_qs));
    EXPECT_EQ(Box()->SelText(), u"你好"_qs);
    EXPECT_EQ(Box()->SelStart(), at);
    EXPECT_EQ(Get<QLabel>("Text", "Label1")->text(), QStringLiteral("%1/%2").arg(at + 1).arg(text.size()));
    EXPECT_EQ(RelatedWords(), QStringList{u"你好"_qs});
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    Clock::Advance(400);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    Clock::Advance(600); // the word has been spoken; the pause runs
    EXPECT_EQ(Playing(), QString());
    Clock::Advance(2700);
    EXPECT_EQ(Box()->SelText(), u"你好"_qs) << "still the learner's turn";

    // The next word: its damaged first recording is passed over.
    Clock::Advance(200);
    EXPECT_EQ(Box()->SelText(), u"谢谢"_qs);
    EXPECT_EQ(Box()->SelStart(), at + 3);
    EXPECT_EQ(Playing(), "Phonetic Symbols/X/xie1.wav");
    EXPECT_EQ(RelatedWords(), QStringList{u"谢谢"_qs});

    // 老师 has no recordings at all: straight to the pause (xie1 ends near 4000 ms).
    Clock::Advance(3200);
    EXPECT_EQ(Box()->SelText(), u"老师"_qs);
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(RelatedWords(), QStringList{u"老师"_qs});
    Clock::Advance(2800);
    EXPECT_EQ(Box()->SelText(), u"老师"_qs);

    // 们 has no pinyin: nothing to speak, and still the reading goes on after the pause.
    Clock::Advance(200);
    EXPECT_EQ(Box()->SelText(), u"们"_qs);
    EXPECT_EQ(Get<QLabel>("Text", "Label1")->text(), QStringLiteral("%1/%2").arg(at + 8).arg(text.size()));
    Clock::Advance(2800);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    Clock::Advance(200);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].text, "You have finished studying lesson 3");
    EXPECT_EQ(Related()->ItemCount(), 0);
    EXPECT_EQ(Forms::Find<Expressions_Related>()->RowCount, 0);
}

TEST_F(ReadAloudWindows, TheEndOfTheTextFinishesTheTaskAndClosesTheWindow)
{
    struct Case {
        const char* name;
        qint16 viewed;
        QString chinese;
        int readFor; // ms until the end of the text
        bool recorded;
    };
    const Case cases[] = {
        {"at the frontier", 3, u"1.好。"_qs, 500 + 3000 + 100, true},
        {"an earlier lesson", 2, u"1.好。"_qs, 500 + 3000 + 100, false},
        {"a text without Chinese, at the frontier", 3, QStringLiteral("1. OK."), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        State().ViewedLesson = c.viewed;
        State().CurrentLesson = 3;
        State().CurrentStep = 6;
        State().LessonLines[0].Chinese = c.chinese;
        m_boxes->Clear();
        OpenStep(6);
        Get<QPushButton>("Text", "Command2")->click();
        Clock::Advance(c.readFor);
        EXPECT_EQ(m_boxes->Boxes().size(), c.recorded ? 1 : 0);
        EXPECT_EQ(State().CurrentLesson, c.recorded ? 4 : 3);
        EXPECT_EQ(State().CurrentStep, c.recorded ? 1 : 6);
        EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Text")));
        Clock::Advance(500);
        Gone();
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Text")));
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Expressions_Related")));
        EXPECT_EQ(State().CurrentActivity, 0);
    }
}

TEST_F(ReadAloudWindows, ClosingDuringThePauseStopsEverything)
{
    OpenStep(6);
    Get<QPushButton>("Text", "Command2")->click();
    Clock::Advance(1000);
    m_boxes->Answer(MsgBox::Ok); // stay and finish
    Get<QPushButton>("Text", "Command1")->click();
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Text")));
    m_boxes->Answer(MsgBox::Cancel);
    Get<QPushButton>("Text", "Command1")->click();
    Gone();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Text")));
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Expressions_Related")));
    Clock::Advance(20000);
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(m_boxes->Boxes().size(), 2) << "only the two questions";
    EXPECT_EQ(State().CurrentStep, 6);
}

TEST_F(ReadAloudWindows, ARelatedRowIsSpokenWhenNothingElsePlays)
{
    OpenStep(6);
    auto* related = Forms::Find<Expressions_Related>();
    auto click = [this](int row) {
        Related()->SetSelectedItem(row);
        emit Related()->Click();
    };
    click(1); // an empty list
    EXPECT_EQ(Playing(), QString());

    QString word = u"好"_qs;
    related->Common03(word, true);
    EXPECT_EQ(RelatedWords(), (QStringList{u"好"_qs, u"你好"_qs}));
    EXPECT_EQ(related->RowSource(2), (QPair<qint16, qint16>{2, 4}));
    click(1);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    EXPECT_EQ(State().SoundOwner, SoundOwnerCode::Nobody);
    click(2);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav") << "a row never cuts into a sound";
    Clock::Advance(600);
    click(2);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
}

TEST_F(ReadAloudWindows, WhileTheTypingTaskRunsAClickHandsItTheFocusBack)
{
    OpenStep(2); // a lesson without new characters: the task only tells so, and closes later
    auto* related = Forms::Find<Expressions_Related>();
    auto* typing = Forms::Find<Typing>();
    ASSERT_NE(typing, nullptr);
    QString word = u"好"_qs;
    related->Common03(word, false);
    EXPECT_EQ(Related()->SubItem(1, 2), QString()) << "the typing task's list shows no pinyin";

    related->activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), related);
    typing->FocusLost = false;
    Related()->SetSelectedItem(1);
    emit Related()->Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    EXPECT_TRUE(typing->FocusLost) << "it speaks its character anew next time";
    EXPECT_EQ(QApplication::activeWindow(), typing);

    // A click that speaks nothing still hands the focus back, and leaves the flag alone.
    related->activateWindow();
    QCoreApplication::processEvents();
    typing->FocusLost = false;
    emit Related()->Click(); // the row still plays
    QCoreApplication::processEvents();
    EXPECT_FALSE(typing->FocusLost);
    EXPECT_EQ(QApplication::activeWindow(), typing);
}

class NewwordsReview : public ReadAloudWindows {
protected:
    void SetWords(int count)
    {
        AppState& s = State();
        const QStringList chinese{u"你好"_qs, u"吗"_qs, u"谢谢"_qs};
        const QStringList english{"hello", "(question)", "thanks"};
        const QStringList pinyin{"n.i3 h.ao3", "m.a0", "xi.e4 xi.e1"};
        s.LessonWords = {chinese.mid(0, count), english.mid(0, count), pinyin.mid(0, count)};
        s.LessonWordCount = qint16(count);
    }
    QPushButton* Button(const char* name) const { return Get<QPushButton>("Newwords", name); }
    QString Shown(int k) const { return Get<QLabel>("Newwords", QStringLiteral("Label1(%1)").arg(k).toLatin1())->text(); }
    QString Counter() const { return Get<QLabel>("Newwords", "Label3")->text(); }
};

TEST_F(NewwordsReview, TheFirstWordComesHalfASecondAfterLoading)
{
    SetWords(3);
    OpenStep(8);
    EXPECT_EQ(Get<QLabel>("Newwords", "Label11")->text(), "Lesson 3");
    EXPECT_EQ(Counter(), "0 / 3 ");
    EXPECT_EQ(Get<QComboBox>("Newwords", "Combo1")->itemText(2), u"3. 谢谢"_qs);
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(Related()->ItemCount(), 0);

    Clock::Advance(500);
    EXPECT_EQ(Shown(0), u"你好"_qs);
    EXPECT_EQ(Shown(1), u"nǐ hǎo"_qs);
    EXPECT_EQ(Shown(2), "hello");
    EXPECT_EQ(Counter(), "1 / 3");
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    EXPECT_EQ(RelatedWords(), QStringList{u"好"_qs}) << "its character; the word itself has the same meaning";
}

TEST_F(NewwordsReview, TheButtonsFollowTheWord)
{
    struct Case {
        const char* name;
        int words;
        const char* press; // pressed before looking; nullptr: nothing
        const char* counter;
        bool previous, next, playback, list;
        const char* sound;
    };
    const Case cases[] = {
        {"first of three", 3, nullptr, "1 / 3", false, true, true, true, "Phonetic Symbols/N/ni3.wav"},
        {"middle: a neutral-tone character plays its first-tone file", 3, "Command2", "2 / 3", true, true, true, true,
            "Phonetic Symbols/M/ma1.wav"},
        {"last", 3, "Command2", "3 / 3", true, false, true, true, "Phonetic Symbols/X/xie1.wav"},
        {"back", 3, "Command6", "2 / 3", true, true, true, true, "Phonetic Symbols/M/ma1.wav"},
        {"a single word", 1, nullptr, "1 / 1", false, false, true, true, "Phonetic Symbols/N/ni3.wav"},
        {"no words", 0, nullptr, "0 / 0 ", false, false, false, false, ""},
    };
    int open = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (open != c.words) {
            Forms::Unload(QStringLiteral("Newwords"));
            Gone();
            SetWords(c.words);
            OpenStep(8);
            Clock::Advance(500);
            open = c.words;
        }
        if (c.press) {
            Clock::Advance(2000);
            Button(c.press)->click();
        }
        EXPECT_EQ(Counter(), c.counter);
        EXPECT_EQ(Button("Command6")->isEnabled(), c.previous);
        EXPECT_EQ(Button("Command2")->isEnabled(), c.next);
        EXPECT_EQ(Button("Command3")->isEnabled(), c.playback);
        EXPECT_EQ(Get<QComboBox>("Newwords", "Combo1")->isEnabled(), c.list);
        EXPECT_EQ(Playing(), QLatin1String(c.sound));
    }
    EXPECT_EQ(Related()->ItemCount(), 0) << "the list is not asked without words";
}

TEST_F(NewwordsReview, PlaybackSpeaksAgainOnlyOnceLoaded)
{
    SetWords(3);
    OpenStep(8);
    Clock::Advance(500);
    Button("Command2")->click();
    Clock::Advance(2000);
    auto* review = Forms::Find<Newwords>();
    review->Ready = false;
    Button("Command3")->click();
    EXPECT_EQ(Playing(), QString());
    review->Ready = true;
    Button("Command3")->click();
    EXPECT_EQ(Playing(), "Phonetic Symbols/M/ma1.wav");
    EXPECT_EQ(State().SoundOwner, SoundOwnerCode::Nobody);
    EXPECT_EQ(State().CurrentTone, "0");
}

TEST_F(NewwordsReview, ThePadKeepsWritingAcrossTheLabelsUntilAnotherButton)
{
    SetWords(1);
    OpenStep(8);
    Clock::Advance(500);
    auto* review = Forms::Find<Newwords>();
    QWindow* window = review->windowHandle();
    ASSERT_NE(window, nullptr);
    QLabel* hint = Get<QLabel>("Newwords", "Label1(3)");
    // A stroke that starts on the bare window and runs up into the writing hint's label.
    const int x = hint->geometry().right() - 20;
    const QPoint from(x, hint->geometry().bottom() + 30);
    const QPoint into(x, hint->geometry().center().y());
    const QPoint between(x, hint->geometry().bottom() + 10);
    auto ink = [review](QPoint at) { return review->grab().toImage().pixelColor(at); };
    const QColor paper = ink(from);

    QTest::mousePress(window, Qt::LeftButton, {}, from);
    EXPECT_TRUE(review->MouseHeld);
    QTest::mouseMove(window, into);
    QTest::mouseRelease(window, Qt::LeftButton, {}, into);
    EXPECT_FALSE(review->MouseHeld);
    EXPECT_NE(ink(into), paper) << "written over the label";
    EXPECT_NE(ink(between), paper);

    // A stroke may start on the word itself.
    const QPoint onWord = Get<QLabel>("Newwords", "Label1(0)")->geometry().center();
    QTest::mousePress(window, Qt::LeftButton, {}, onWord);
    EXPECT_TRUE(review->MouseHeld);
    QTest::mouseRelease(window, Qt::LeftButton, {}, onWord);
    EXPECT_FALSE(review->MouseHeld);

    QTest::mousePress(window, Qt::RightButton, {}, from);
    QTest::mouseRelease(window, Qt::RightButton, {}, from);
    EXPECT_EQ(ink(from), paper) << "cleared";
    EXPECT_EQ(ink(between), paper);
}

TEST_F(NewwordsReview, ClosingHandsBack)
{
    SetWords(3);
    OpenStep(8);
    Clock::Advance(500);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    Button("Command1")->click();
    Gone();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Newwords")));
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Expressions_Related")));
    EXPECT_FALSE(Forms::Find<Dictionary>()->isVisible());
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(State().CurrentActivity, 0);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

} // namespace

