// Step 1 of a lesson driven through its windows: the text window's list, counter, buttons and
// sentence bar (on the test clock, with the shared player's silent backend), its look-up,
// the step recorded on closing, the word list's find and sound, and the questions notepad's
// prompt, saving and mail.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Background.h"
#include "Clock.h"
#include "ComboBox.h"
#include "CourseForms.h"
#include "Dictionary.h"
#include "FenPeiTiao.h"
#include "FormCalls.h"
#include "Forms.h"
#include "ListView.h"
#include "LoopbackService.h"
#include "MailSender.h"
#include "MsgBox.h"
#include "Notepad.h"
#include "QuestionNotes.h"
#include "RichTextBox.h"
#include "SelectionLookUp.h"
#include "SharedPlayer.h"
#include "StudyStackWindows.h"
#include "SyllableQueue.h"
#include "StudyWindowFixture.h"
#include "TestSupport.h"
#include "Text.h"
#include "Twips.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "Zoom.h"

namespace {

constexpr int BarStub = 13;
constexpr int BarFull = 4320;

class TextStudyWindows : public StudyWindowFixture {
protected:
    void SetUp() override
    {
        SetUpStudyWindows(true);
        for (const auto& [file, ms] : {std::pair{"N/ni3", 300}, {"H/hao3", 500}, {"X/xie4", 200}, {"X/xie1", 200},
                 {"D/di4", 200}, {"Y/yi1", 200}, {"K/ke4", 200}, {"W/wen2", 200}})
            WriteFile(QStringLiteral("Phonetic Symbols/%1.wav").arg(QLatin1String(file)), SilentSound(ms));

        AppState& s = State();
        s.LessonLines = {
            {QStringLiteral("d.i4 y.i1 k.e4"), u"1)第一课"_qs, QStringLiteral("Lesson One"), 0},
            {QStringLiteral("n.i3 h.ao3"), u"1.你好（朋友）。"_qs, QStringLiteral("Hello (friend)."), 1},
            {QStringLiteral("k.e4 w.en2"), u"2)课文"_qs, QStringLiteral("Text"), 0},
            {QStringLiteral("xi.e4 xi.e0"), u"1.谢谢。"_qs, QStringLiteral("Thanks."), 1},
            {QString(), u"2.嗯。"_qs, QStringLiteral("Hm."), 1},
        };
        s.LessonLineCount = 5;
        s.LessonWords = {QStringList{u"你好"_qs, u"好(hǎo)"_qs, u"谢谢"_qs, u"第.一"_qs, u"朋友"_qs},
            QStringList{"hello", "good", "thanks", "first", "friend"},
            QStringList{"n.i3 h.ao3", "h.ao3", "xi.e4 xi.e0", "d.i4 y.i1", "p.eng2 y.ou0"}};
        s.LessonWordCount = 5;
        s.ViewedLesson = 3;
        s.CurrentLesson = 3;
        s.CurrentStep = 1;
    }
    RichTextBox* Box() const { return Get<RichTextBox>("Text", "RichTextBox1"); }
    QComboBox* Combo1() const { return Get<QComboBox>("Text", "Combo1"); }
    QPushButton* TextButton(const char* name) const { return Get<QPushButton>("Text", name); }
    int Bar() const { return Get<FenPeiTiao>("Text", "FenPeiTiao1")->BarLength(); }
    void Pick(int index) const
    {
        Combo1()->setCurrentIndex(index);
        emit Combo1()->activated(index);
    }
    void ClickWord(int row) const
    {
        auto* list = Get<ListView>("WordsPanel", "ListView1");
        list->SetSelectedItem(row);
        emit list->Click();
    }
    NoteBox* Text1() const { return Get<NoteBox>("Notepad", "Text1"); }
};

} // namespace

TEST_F(TextStudyWindows, StepOneOpensItsFourWindowStack)
{
    OpenStep(1);
    for (const char* name : {"Notepad", "Dictionary", "Text", "WordsPanel"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Forms::Find(QLatin1String(name))->isVisible());
    }
    EXPECT_EQ(Get<QLabel>("Text", "Label2")->text(), "Lesson 3");
    EXPECT_EQ(Forms::Find(QStringLiteral("Notepad"))->Width(), Forms::Find(QStringLiteral("Text"))->Width());
    EXPECT_EQ(Box()->SelStart(), 0);
    EXPECT_TRUE(Box()->Text().contains(u" 1.你好（朋友）。 "_qs));
}

TEST_F(TextStudyWindows, F4InTheSentenceListMinimisesAndOpensNoList)
{
    OpenStep(1);
    ASSERT_TRUE(PressWithKeys(Combo1(), Qt::Key_F4));
    EXPECT_EQ(Forms::Find<Background>()->WindowState(), Form::Minimized);
    EXPECT_FALSE(Combo1()->view()->isVisible());
}

TEST_F(TextStudyWindows, TheListCounterAndButtonsFollowTheSentence)
{
    OpenStep(1);
    ASSERT_EQ(Combo1()->count(), 6);
    EXPECT_EQ(Combo1()->itemText(0), "You can select from here.");
    EXPECT_EQ(Combo1()->itemText(3), "3. Text");

    struct Case {
        const char* name;
        std::function<void()> act;
        int index;
        const char* counter;
        bool previous, next;
        QString selected;
    };
    const Case cases[] = {
        {"at first", [] {}, 0, "0 / 5", false, true, QString()},
        {"Playback at the prompt item", [this] { TextButton("Command2")->click(); }, 1, "1 / 5", false, true,
            u"1)第一课"_qs},
        {"Next", [this] { TextButton("Command4")->click(); }, 2, "2 / 5", true, true, u"1.你好（朋友）。"_qs},
        {"the last line", [this] { Pick(5); }, 5, "5 / 5", true, false, u"2.嗯。"_qs},
        {"Previous", [this] { TextButton("Command3")->click(); }, 4, "4 / 5", true, true, u"1.谢谢。"_qs},
        {"Playback again", [this] { TextButton("Command2")->click(); }, 4, "4 / 5", true, true, u"1.谢谢。"_qs},
        {"back to the prompt item", [this] { Pick(0); }, 0, "4 / 5", false, true, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        EXPECT_EQ(Combo1()->currentIndex(), c.index);
        EXPECT_EQ(Get<QLabel>("Text", "Label1")->text(), c.counter);
        EXPECT_EQ(TextButton("Command3")->isEnabled(), c.previous);
        EXPECT_EQ(TextButton("Command4")->isEnabled(), c.next);
        EXPECT_EQ(Box()->SelText(), c.selected);
        Clock::Advance(2000);
    }
}

TEST_F(TextStudyWindows, TheBarFollowsTheSentenceAndEmptiesAfterIt)
{
    OpenStep(1);
    Pick(2); // ni3 (300 ms), hao3 (500 ms)
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    EXPECT_EQ(Bar(), BarStub);
    Clock::Advance(100);
    EXPECT_EQ(Bar(), BarFull / 2);
    Clock::Advance(350);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    EXPECT_EQ(Bar(), BarFull);
    Clock::Advance(500);
    EXPECT_EQ(Bar(), BarStub) << "emptied half a second after the queue's end";
}

TEST_F(TextStudyWindows, AnotherSoundStopsTheBar)
{
    OpenStep(1);
    Pick(2);
    Clock::Advance(100);
    EXPECT_EQ(Bar(), BarFull / 2);
    PlayPinyinSequence(QStringLiteral("xie4 xie1 ni3"));
    Clock::Advance(100);
    EXPECT_EQ(Bar(), BarStub);
    Clock::Advance(1000);
    EXPECT_EQ(Bar(), BarStub);
}

TEST_F(TextStudyWindows, ALineWithoutSyllablesLeavesTheBarEmpty)
{
    OpenStep(1);
    Pick(5); // nothing has played since the start: the queue is empty
    EXPECT_EQ(Playing(), QString());
    Clock::Advance(500);
    EXPECT_EQ(Bar(), BarStub);

    Pick(2);
    Clock::Advance(2000); // a whole queue spoken
    Pick(5);
    Clock::Advance(100);
    EXPECT_EQ(Bar(), BarStub) << "the old queue's end is not shown as this line's";
}

TEST_F(TextStudyWindows, SelectionsAreLookedUpByTheTextWindowsRules)
{
    OpenStep(1);
    auto* dictionary = Forms::Find<Dictionary>();
    const QString text = Box()->Text();
    struct Case {
        const char* name;
        QString selected;
        int skip; // characters before the occurrence searched from
        qint16 activity;
        bool ticked;
        bool popup;
        const char* prev;
        const char* next;
        bool local;
    };
    const Case cases[] = {
        {"one character in text study", u"好"_qs, int(text.indexOf(u"你好"_qs)), 1, true, true, "你", "", true},
        {"one character while reading aloud", u"好"_qs, int(text.indexOf(u"你好"_qs)), 6, true, false, "", "", true},
        {"two characters", u"你好"_qs, 0, 1, true, false, "", "", true},
        {"the box unticked", u"谢"_qs, 0, 1, false, true, "", "谢", false},
        {"five characters and more", u"你好（朋友）"_qs, 0, 1, true, false, "", "", false},
        {"a number", QStringLiteral("1"), 0, 1, true, false, "", "", false},
        {"across a line break", u"。 \r\n"_qs, 0, 1, true, false, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int at = int(text.indexOf(c.selected, c.skip));
        ASSERT_GE(at, 0);
        State().CurrentActivity = c.activity;
        dictionary->Check2->setChecked(c.ticked);
        dictionary->Combo1->SetText(QStringLiteral("-"));
        Box()->SetSelStart(at);
        Box()->SetSelLength(int(c.selected.size()));

        SelectionEvent seen;
        seen.BoxText = text;
        seen.SelStart = at;
        seen.SelLength = int(c.selected.size());
        seen.LocalTicked = c.ticked;
        seen.CurrentActivity = c.activity;
        const LookUpPlan plan = PlanSelectionLookUp(LookUpMembers::Text, seen);
        EXPECT_EQ(plan.Popup, c.popup);
        EXPECT_EQ(plan.PrevCharacter, QString::fromUtf8(c.prev));
        EXPECT_EQ(plan.NextCharacter, QString::fromUtf8(c.next));
        EXPECT_FALSE(plan.Online);

        emit Box()->MouseUp(1, 0, 600, 600);
        EXPECT_EQ(dictionary->Combo1->Text() != QStringLiteral("-"), c.local);
        EXPECT_EQ(Box()->SelLength(), 0);
        EXPECT_EQ(Box()->SelStart(), at + c.selected.size());
    }
    State().CurrentActivity = 1;
}

TEST_F(TextStudyWindows, TextStudyIsRecordedOnceWhenTheFrontierWindowCloses)
{
    struct Case {
        const char* name;
        qint16 viewed, step, activity;
        qint16 stepAfter;
        bool written;
    };
    const Case cases[] = {
        {"the learner's next step", 3, 1, 1, 2, true},
        {"text study done already", 3, 2, 1, 2, false},
        {"an earlier lesson", 2, 1, 1, 1, false},
        {"reading aloud left unfinished", 3, 6, 6, 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Path("Record/Study.vmq"));
        State().ViewedLesson = c.viewed;
        State().CurrentLesson = 3;
        State().CurrentStep = c.step;
        OpenStep(c.activity);
        if (c.activity == 6)
            m_boxes->Answer(MsgBox::Cancel); // reading aloud asks before it closes unfinished
        TextButton("Command1")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Text")));
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("WordsPanel")));
        EXPECT_EQ(State().CurrentLesson, 3);
        EXPECT_EQ(State().CurrentStep, c.stepAfter);
        EXPECT_EQ(QFile::exists(Path("Record/Study.vmq")), c.written);
        EXPECT_EQ(State().CurrentActivity, 0);
        m_boxes->Clear();
    }
}

TEST_F(TextStudyWindows, AClickedWordIsSpokenAndFoundAfterTheWordsBeforeIt)
{
    OpenStep(1);
    auto* list = Get<ListView>("WordsPanel", "ListView1");
    ASSERT_EQ(list->ItemCount(), 5);
    EXPECT_EQ(list->ColumnHeader(4), "Pinyin1");
    EXPECT_TRUE(list->isColumnHidden(4));
    EXPECT_EQ(list->ItemText(2), "2");
    EXPECT_EQ(list->SubItem(1, 2), u"nǐ hǎo"_qs);
    EXPECT_EQ(list->SubItem(3, 4), "xi.e4 xi.e0");

    const QString text = Box()->Text();
    struct Case {
        const char* name;
        int row;
        int start;
        int length;
        const char* sound;
    };
    const Case cases[] = {
        {"a word", 3, int(text.indexOf(u"谢谢"_qs)), 2, "Phonetic Symbols/X/xie4.wav"},
        {"after the previous word, without its note", 2, int(text.indexOf(u"你好"_qs)) + 1, 1,
            "Phonetic Symbols/H/hao3.wav"},
        {"dotted, before the previous word: its first occurrence", 4, int(text.indexOf(u"第"_qs)), 1,
            "Phonetic Symbols/D/di4.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickWord(c.row);
        EXPECT_EQ(Playing(), QLatin1String(c.sound));
        EXPECT_EQ(Box()->SelStart(), c.start);
        EXPECT_EQ(Box()->SelLength(), c.length);
        Clock::Advance(2000);
    }

    // While a sentence is spoken the word is found but not spoken.
    Pick(2);
    ClickWord(3);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    EXPECT_EQ(Box()->SelText(), u"谢谢"_qs);
}

TEST_F(TextStudyWindows, ThePromptGivesWayToTheLearnersText)
{
    OpenStep(1);
    EXPECT_EQ(Text1()->Text(), QuestionPrompt());
    QTest::mouseClick(Text1()->viewport(), Qt::LeftButton);
    EXPECT_EQ(Text1()->Text(), QString());
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(Text1(), &out);
    EXPECT_EQ(Text1()->Text(), QuestionPrompt());

    const QString quoting = QStringLiteral("Is this right? ") + QuestionPrompt();
    Text1()->SetText(quoting);
    QTest::mouseClick(Text1()->viewport(), Qt::LeftButton);
    EXPECT_EQ(Text1()->Text(), quoting);
    Forms::Unload(QStringLiteral("Text"));
    EXPECT_EQ(ReadQuestions(Path("Record/Question.txt")), quoting) << "a quoted prompt is a question";

    // Left at its prompt, the notepad keeps an empty line, and opens empty next time.
    OpenStep(1);
    EXPECT_EQ(Text1()->Text(), quoting);
    Text1()->SetText(QuestionPrompt().toUpper());
    Forms::Unload(QStringLiteral("Text"));
    EXPECT_EQ(ReadFile("Record/Question.txt"), "\r\n");
    OpenStep(1);
    EXPECT_EQ(Text1()->Text(), QString());
}

TEST_F(TextStudyWindows, QuestionsAreSavedAtTheFifthTickAfterAChangeAndOnClosing)
{
    WriteFile("Record/Question.txt", "old\n");
    OpenStep(1);
    EXPECT_EQ(Text1()->Text(), "old");
    Clock::Advance(10 * 60000);
    EXPECT_EQ(ReadFile("Record/Question.txt"), "old\n") << "nothing changed, nothing written";

    Text1()->moveCursor(QTextCursor::End);
    Text1()->insertPlainText(u"\n问题"_qs);
    Clock::Advance(4 * 60000);
    EXPECT_EQ(ReadFile("Record/Question.txt"), "old\n");
    Clock::Advance(60000);
    EXPECT_EQ(ReadQuestions(Path("Record/Question.txt")), u"old\r\n问题"_qs);

    Text1()->insertPlainText(QStringLiteral("?"));
    Clock::Advance(5 * 60000 - 1);
    EXPECT_EQ(ReadQuestions(Path("Record/Question.txt")), u"old\r\n问题"_qs);
    Clock::Advance(1);
    EXPECT_EQ(ReadQuestions(Path("Record/Question.txt")), u"old\r\n问题?"_qs);

    Text1()->insertPlainText(QStringLiteral("!"));
    TextButton("Command1")->click();
    EXPECT_EQ(ReadQuestions(Path("Record/Question.txt")), u"old\r\n问题?!"_qs);
}

TEST_F(TextStudyWindows, AnUnwritableRecordFolderIsReported)
{
    WriteFile("Record", "a file where the folder should be");
    State().CurrentStep = 2; // no progress record to write as well
    OpenStep(1);
    Text1()->SetText(QStringLiteral("why?"));
    Forms::Unload(QStringLiteral("Text"));
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
    EXPECT_TRUE(m_boxes->Boxes()[0].text.startsWith(QStringLiteral("Velmora 2007 is unable to write the disk")));
}

class NotepadMail : public TextStudyWindows {
protected:
    void SetUp() override
    {
        TextStudyWindows::SetUp();
        ASSERT_TRUE(m_mail.isValid());
        InstallSendmail(0);
        OpenStep(1);
    }
    void TearDown() override
    {
        qunsetenv("VELMORA_SENDMAIL");
        TextStudyWindows::TearDown();
    }
    // A stand-in that keeps every message it takes, then ends with exitCode or, hanging, says
    // it took the message and never ends.
    void InstallSendmail(int exitCode, bool hang = false)
    {
        const QString script = m_mail.filePath("sendmail");
        const QString end = hang ? QStringLiteral("echo > '%1'\n%2\n").arg(m_mail.filePath("took"), HangWhileTestsRun())
                                 : QStringLiteral("exit %1\n").arg(exitCode);
        ASSERT_NO_FATAL_FAILURE(
            WriteScript(script, QStringLiteral("#!/bin/sh\ncat >> '%1'\n").arg(m_mail.filePath("message")) + end));
        qputenv("VELMORA_SENDMAIL", script.toUtf8());
    }
    QByteArray Message() const
    {
        WaitForMail();
        QFile f(m_mail.filePath("message"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Send()
    {
        Get<QPushButton>("Notepad", "Command1")->click();
        WaitForMail();
    }

    QTemporaryDir m_mail;
};

TEST_F(NotepadMail, SendChecksTheSettingsAndTheQuestionFirst)
{
    struct Case {
        const char* tutor;
        const char* name;
        QString text;
        const char* says;
    };
    const Case cases[] = {
        {"", "", u"问题"_qs, "Please fill in your tutor's email address on Setting panel."},
        {"lee", "", u"问题"_qs, "Please fill in your name on Setting panel."},
        {"lee", "Ann", QStringLiteral("   "), "What do you want to ask of us?"},
        {"lee", "Ann", QuestionPrompt(), "What do you want to ask of us?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        State().TutorMailbox = QLatin1String(c.tutor);
        State().UserName = QLatin1String(c.name);
        Text1()->SetText(c.text);
        m_boxes->Clear();
        Send();
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text, QLatin1String(c.says));
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Attention");
        EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Information);
        EXPECT_TRUE(Message().isEmpty());
    }
}

TEST_F(NotepadMail, QuestionsGoToTheTutorWithoutAWordAndStay)
{
    State().TutorMailbox = QStringLiteral("lee");
    State().UserName = QStringLiteral("Ann\r\nBcc: eve@example.org");
    Text1()->SetText(u"“吧”怎么用？\r\nThanks"_qs);
    Send();
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    const QByteArray message = Message();
    const QList<QByteArray> headers = message.left(message.indexOf("\r\n\r\n")).split('\n');
    EXPECT_EQ(headers.value(0), "To: lee@velmora.example, tutor@velmora.example\r");
    for (const QByteArray& line : headers)
        EXPECT_FALSE(line.startsWith("Bcc")) << line.constData();
    EXPECT_TRUE(message.contains("Subject: Ann  Bcc: eve@example.org's questions about lesson 3\r\n"))
        << message.constData();
    EXPECT_EQ(QByteArray::fromBase64(message.mid(message.indexOf("\r\n\r\n") + 4)),
        u"“吧”怎么用？\r\nThanks"_qs.toUtf8());
    EXPECT_EQ(Text1()->Text(), u"“吧”怎么用？\r\nThanks"_qs);
}

TEST_F(NotepadMail, SendWaitsForTheMailThatIsGoing)
{
    State().TutorMailbox = QStringLiteral("tutor");
    State().UserName = QStringLiteral("Ann");
    Text1()->SetText(u"问题"_qs);
    QPushButton* send = Get<QPushButton>("Notepad", "Command1");
    send->click();
    EXPECT_FALSE(send->isEnabled());
    send->click();
    WaitForMail();
    EXPECT_TRUE(send->isEnabled());
    EXPECT_EQ(Message().count("Subject:"), 1);
}

TEST_F(NotepadMail, AFailedSendIsReportedAndKeepsTheText)
{
    InstallSendmail(75);
    State().TutorMailbox = QStringLiteral("tutor");
    State().UserName = QStringLiteral("Ann");
    Text1()->SetText(u"问题"_qs);
    Send();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
    EXPECT_EQ(m_boxes->Boxes()[0].text, SendFailedText());
    EXPECT_EQ(Text1()->Text(), u"问题"_qs);
}

TEST_F(NotepadMail, OneMailOfQuestionsAtATimeWhateverNotepadAsksAndItsResultOutlivesTheWindow)
{
    InstallSendmail(0, true);
    State().TutorMailbox = QStringLiteral("tutor");
    State().UserName = QStringLiteral("Ann");
    Text1()->SetText(u"问题"_qs);
    Get<QPushButton>("Notepad", "Command1")->click();
    ASSERT_TRUE(RunUntil([&] { return QFile::exists(m_mail.filePath("took")); }));

    // The stack closed and opened again while the mail program hangs.
    Forms::Unload(QStringLiteral("Text"));
    ASSERT_EQ(Forms::Find<Notepad>(), nullptr);
    OpenStep(1);
    QPushButton* send = Get<QPushButton>("Notepad", "Command1");
    EXPECT_FALSE(send->isEnabled());
    send->click();
    Clock::Advance(MailSender::TimeLimitMs);
    WaitForMail();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].text, SendUncertainText());
    EXPECT_EQ(Message().count("Subject:"), 1);

    // The next mail goes.
    InstallSendmail(0);
    ASSERT_TRUE(send->isEnabled());
    Send();
    EXPECT_EQ(Message().count("Subject:"), 2);
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
}
