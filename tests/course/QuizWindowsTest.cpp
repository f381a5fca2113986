// Steps 4 and 5 driven through their windows on the test clock, with the shared player's
// silent backend: the fill-in exercise with its candidates, hover speech, grading and result
// list, and sentence finding with its questions, replays, corrections, runs and the progress
// each records.

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QMap>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Background.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "CourseForms.h"
#include "Dictionary.h"
#include "Exercise3.h"
#include "FenPeiTiao.h"
#include "FindSentence.h"
#include "FormCalls.h"
#include "Forms.h"
#include "ListView.h"
#include "QuizRules.h"
#include "RichTextBox.h"
#include "SharedPlayer.h"
#include "StudyStackWindows.h"
#include "StudyStacks.h"
#include "StudyWindowFixture.h"
#include "TestSupport.h"
#include "Twips.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "Zoom.h"

namespace {

QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson), 0, static_cast<char>(step), 0};
    return QByteArray(b, 4);
}

// Draws that repeat values over and over.
QuizDraw Cycle(QList<double> values)
{
    auto at = std::make_shared<qsizetype>(0);
    return [values, at] { return values[(*at)++ % values.size()]; };
}

SentenceRecord Line(const char* pinyin, const QString& chinese, const char* english, qint16 source = 1)
{
    return {QLatin1String(pinyin), chinese, QLatin1String(english), source};
}

class QuizWindows : public StudyWindowFixture {
protected:
    void SetUp() override
    {
        SetUpStudyWindows(true);
        for (const auto& [file, ms] : {std::pair{"N/ni3", 300}, {"H/hao3", 500}, {"W/wo3", 200}, {"S/shi4", 200},
                 {"T/ta1", 200}, {"X/xie4", 200}, {"X/xie1", 200}, {"D/di4", 200}})
            WriteFile(QStringLiteral("Phonetic Symbols/%1.wav").arg(QLatin1String(file)), SilentSound(ms));
        for (const auto& [ch, pinyin] : {std::pair{u"你", "n.i3"}, {u"好", "h.ao3"}, {u"我", "w.o3"}, {u"是", "sh.i4"},
                 {u"谢", "xi.e4"}, {u"他", "t.a1"}})
            AppendCharacterRecord({QString::fromUtf16(ch), ReadingsFromSyllables(QLatin1String(pinyin)), {}});

        AppState& s = State();
        s.SentenceTable = {
            Line("", u"x"_qs, "Good morning."),
            Line("", u"y"_qs, "<<Greetings>>"),
            Line("", u"z"_qs, "See you."),
        };
        s.SentenceCount = 3;
        s.ViewedLesson = 3;
        s.CurrentLesson = 3;
    }
    void TearDown() override
    {
        // A quiz left unfinished asks before it closes: let it close.
        for (int i = 0; i < 3; ++i)
            m_boxes->Answer(MsgBox::Cancel);
        Forms::UnloadAll();
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("FindSentence")));
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Exercise3")));
        Random::UseGenerator();
        StudyWindowFixture::TearDown();
    }

    void SetLines(const QVector<SentenceRecord>& lines)
    {
        State().LessonLines = lines;
        State().LessonLineCount = qint16(lines.size());
    }
    void OpenStep(qint16 step, qint16 currentStep)
    {
        State().CurrentStep = currentStep;
        ASSERT_NE(OpenStudyStackWindows(*LauncherForCode(step)), nullptr);
    }
    void Settle() const { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static void Move(QWidget* w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }

    // The fill-in exercise.
    Exercise3* Ex() const { return Forms::Find<Exercise3>(); }
    RichTextBox* ExBox() const { return Get<RichTextBox>("Exercise3", QStringLiteral("RichTextBox1")); }
    QLabel* Candidate(int k) const { return Get<QLabel>("Exercise3", Forms::IndexedName("Label1", k)); }
    QStringList Candidates() const
    {
        QStringList shown;
        for (int k = 1; k <= 4; ++k)
            shown << Candidate(k)->text();
        return shown;
    }
    int CurrentBlankIndex() const
    {
        for (int i = 0; i < Ex()->Blanks().size(); ++i)
            if (Ex()->Blanks()[i].UserAnswer.isEmpty())
                return i;
        return -1;
    }
    // Clicks the candidate showing the current blank's answer, or another one.
    void Fill(bool right)
    {
        const QString answer = Ex()->Blanks()[CurrentBlankIndex()].Answer;
        for (int k = 1; k <= 4; ++k) {
            const QString c = Candidate(k)->text();
            if (!c.isEmpty() && (c == answer) == right) {
                QTest::mouseClick(Candidate(k), Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no candidate to click";
    }
    QString ExRate() const { return Get<QLabel>("Exercise3", QStringLiteral("Label4"))->text(); }
    ListView* Results() const { return Get<ListView>("Result1", QStringLiteral("ListView1")); }

    // Sentence finding.
    FindSentence* Quiz() const { return Forms::Find<FindSentence>(); }
    RichTextBox* QuizBox() const { return Get<RichTextBox>("FindSentence", QStringLiteral("RichTextBox1")); }
    QPushButton* Option(int i) const { return Get<QPushButton>("FindSentence", Forms::IndexedName("Command2", i)); }
    QPushButton* NextButton() const { return Get<QPushButton>("FindSentence", QStringLiteral("Command4")); }
    QString QuizLabel(const char* name) const { return Get<QLabel>("FindSentence", QLatin1String(name))->text(); }
    void Answer(bool right)
    {
        const int correct = Quiz()->CorrectOption();
        Option(right ? correct : (correct + 1) % 3)->click();
        if (!right)
            NextButton()->click();
    }
};

const QVector<SentenceRecord> ThreeLines = {
    Line("d.i4 y.i1 k.e4", u"1)第一课"_qs, "Lesson One", 0),
    Line("n.i3 h.ao3", u"1.你好。"_qs, "Hello."),
    Line("xi.e4 xi.e0 n.i3", u"2.谢谢你。"_qs, "Thank you."),
    Line("w.o3 h.ao3", u"3.我好。"_qs, "I am well."),
};

const QVector<SentenceRecord> FiveLines = {
    Line("d.i4 y.i1 k.e4", u"1)第一课"_qs, "Lesson One", 0),
    Line("n.i3 h.ao3", u"1.你好老师。"_qs, "Hello, teacher."),
    Line("w.o3 sh.i4", u"2.我是学生。"_qs, "I am a student."),
    Line("h.ao3", u"3.好。"_qs, "Good."),
    Line("t.a1 sh.i4", u"4.他是老师吗？"_qs, "Is he a teacher?"),
    Line("xi.e4 xi.e0", u"5.谢谢你们。"_qs, "Thank you."),
};

} // namespace

TEST_F(QuizWindows, ThreeBlanksShareOneDealOfTheirAnswers)
{
    SetLines(ThreeLines);
    OpenStep(4, 4);
    EXPECT_EQ(State().QuizOpen, -1);
    EXPECT_TRUE(Forms::Find(QStringLiteral("Result1"))->isVisible());
    ASSERT_EQ(Ex()->Blanks().size(), 3);
    const QStringList dealt = Candidates();
    EXPECT_EQ(dealt[3], QString()) << "the fourth label stays empty";
    QStringList answers;
    for (const BlankRecord& b : Ex()->Blanks())
        answers << b.Answer;
    EXPECT_EQ(QSet<QString>(dealt.begin(), dealt.begin() + 3), QSet<QString>(answers.begin(), answers.end()));
    EXPECT_TRUE(ExBox()->Text().contains(u"1)第一课"_qs)) << "the heading keeps its text";

    for (int blank = 0; blank < 3; ++blank) {
        SCOPED_TRACE(blank);
        EXPECT_EQ(ExBox()->SelStart(), Ex()->Blanks()[blank].TextPos);
        EXPECT_EQ(ExBox()->SelText(), "__");
        EXPECT_EQ(Candidates(), dealt);
        Fill(true);
    }
}

TEST_F(QuizWindows, GradingAtTheFrontierPassesAtEightyAndFailsBelow)
{
    struct Case {
        const char* name;
        QVector<SentenceRecord> lines;
        QList<bool> answers;
        const char* rate;
        QStringList boxes;
        QByteArray study; // empty: nothing written
    };
    const QStringList goOn{QStringLiteral("You have finished this task. Let's  go on to do the next task.")};
    const QStringList fail{QStringLiteral("Your correctness rate hasn't reached 80%. Do the task again, please")};
    const Case cases[] = {
        {"two of three", ThreeLines, {true, false, true}, "67", fail, {}},
        {"four of five", FiveLines, {true, true, false, true, true}, "80", goOn, StudyBytes(3, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Path("Record/Study.vmq"));
        m_boxes->Clear();
        SetLines(c.lines);
        OpenStep(4, 4);
        ASSERT_EQ(Ex()->Blanks().size(), c.answers.size());
        for (bool right : c.answers) {
            EXPECT_FALSE(Ex()->Graded());
            Fill(right);
        }
        EXPECT_TRUE(Ex()->Graded());
        EXPECT_EQ(ExRate(), c.rate);
        EXPECT_EQ(m_boxes->Texts(), c.boxes);
        EXPECT_EQ(Candidates(), QStringList(4, QString())) << "nothing more to choose";
        EXPECT_EQ(ReadFile("Record/Study.vmq"), c.study);
        Clock::Advance(500);
        Settle();
        EXPECT_EQ(Forms::IsLoaded(QStringLiteral("Exercise3")), c.study.isEmpty()) << "a pass closes after 500 ms";
        if (Ex()) {
            // Closing after a failed grading: no question, only the advice to do it again.
            m_boxes->Clear();
            Get<QPushButton>("Exercise3", QStringLiteral("Command2"))->click();
            Settle();
            EXPECT_EQ(m_boxes->Texts(), QStringList{QStringLiteral("Please do this task again.")});
            EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Exercise3")));
        }
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Result1")));
        EXPECT_EQ(State().QuizOpen, 0);
        EXPECT_EQ(State().CurrentActivity, 0);
        State().CurrentStep = 4;
    }
}

TEST_F(QuizWindows, ThePassAnswerCancelStaysOpenAndOffTheFrontierNothingIsSaid)
{
    SetLines(ThreeLines);
    m_boxes->Answer(MsgBox::Cancel);
    OpenStep(4, 4);
    for (int i = 0; i < 3; ++i)
        Fill(true);
    EXPECT_EQ(ExRate(), "100");
    Clock::Advance(2000);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Exercise3"))) << "Cancel leaves it open";
    Forms::Unload(QStringLiteral("Exercise3"));
    EXPECT_EQ(m_boxes->Boxes().size(), 1) << "closing asks nothing";

    m_boxes->Clear();
    QFile::remove(Path("Record/Study.vmq"));
    OpenStep(4, 6); // done already
    for (int i = 0; i < 3; ++i)
        Fill(false);
    EXPECT_EQ(ExRate(), "0");
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_FALSE(QFile::exists(Path("Record/Study.vmq")));
    EXPECT_EQ(State().CurrentStep, 6);
}

TEST_F(QuizWindows, ClosingBeforeTheLastBlankAsksFirst)
{
    SetLines(ThreeLines);
    OpenStep(4, 4);
    Fill(true);
    m_boxes->Answer(MsgBox::Ok);
    Get<QPushButton>("Exercise3", QStringLiteral("Command2"))->click();
    Settle();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Advice");
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Exercise3"))) << "OK: finish it now";
    m_boxes->Answer(MsgBox::Cancel);
    Get<QPushButton>("Exercise3", QStringLiteral("Command2"))->click();
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Exercise3")));
    EXPECT_EQ(State().CurrentStep, 4);
}

TEST_F(QuizWindows, ACandidateRestedOnIsSpokenAfterFourHundredMilliseconds)
{
    Random::UseScript(Cycle({0.0})); // blanks 你, 谢, 我, dealt in that order
    SetLines(ThreeLines);
    OpenStep(4, 4);
    ASSERT_EQ(Candidates(), (QStringList{u"你"_qs, u"谢"_qs, u"我"_qs, QString()}));
    const int k = 1;
    const int other = 2;
    ExBox()->SetSelStart(0);

    Move(Candidate(k));
    EXPECT_EQ(Candidate(k)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(ExBox()->SelText(), "__") << "the current blank is selected again";
    Clock::Advance(399);
    EXPECT_EQ(Playing(), QString());
    Clock::Advance(1);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    EXPECT_EQ(State().SoundOwner, 0);

    Move(Candidate(other));
    EXPECT_EQ(Playing(), QString()) << "a new hover stops the sound";
    EXPECT_EQ(Candidate(k)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    Move(Ex());
    Clock::Advance(1000);
    EXPECT_EQ(Playing(), QString()) << "leaving the candidates cancels the pending sound";
    EXPECT_EQ(Candidate(other)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(QuizWindows, TheResultListShowsEachBlankAndAClickFindsIt)
{
    SetLines(ThreeLines);
    OpenStep(4, 3); // not the frontier: no message in the way
    EXPECT_EQ(Results()->ItemCount(), 0);
    Results()->SetSelectedItem(0);
    emit Results()->Click();
    EXPECT_EQ(ExBox()->SelStart(), Ex()->Blanks()[0].TextPos) << "rows do nothing before grading";
    EXPECT_EQ(Results()->ColumnHeader(2), "English");
    EXPECT_EQ(Forms::Find(QStringLiteral("Result1"))->Caption(), "Kyes and Results");
    Fill(true);
    Fill(false);
    const QString wrongChoice = Ex()->Blanks()[1].UserAnswer;
    Fill(true);
    ASSERT_EQ(Results()->ItemCount(), 3);
    EXPECT_EQ(Results()->SubItem(1, 1), Ex()->Blanks()[0].Answer);
    EXPECT_EQ(Results()->SubItem(1, 2), u"Right  正确"_qs);
    EXPECT_EQ(Results()->SubItem(2, 2), "Your answer " + wrongChoice + " is wrong");

    const QMap<QString, QString> sounds{{u"你"_qs, "N/ni3"}, {u"好"_qs, "H/hao3"}, {u"谢"_qs, "X/xie4"}, {u"我"_qs, "W/wo3"}};
    for (int row : {3, 1}) {
        SCOPED_TRACE(row);
        Clock::Advance(2000);
        Results()->SetSelectedItem(row);
        emit Results()->Click();
        EXPECT_EQ(ExBox()->SelStart(), Ex()->Blanks()[row - 1].TextPos);
        EXPECT_EQ(ExBox()->SelLength(), 2);
        EXPECT_EQ(Playing(), "Phonetic Symbols/" + sounds.value(Ex()->Blanks()[row - 1].Answer) + ".wav");
    }
}

TEST_F(QuizWindows, EachBlankIsSelectedInItsOwnLine)
{
    // Numbering starts again after the heading: "1.你__" stands inside the earlier "11.你__好".
    Random::UseScript(Cycle({0.5, 0.0, 0.99, 0.0}));
    SetLines({
        Line("n.i3", u"11.你吗好"_qs, "a"),
        Line("k.e4", u"2)课文"_qs, "Text", 0),
        Line("t.a1", u"1.他们"_qs, "b"),
        Line("n.i3", u"1.你吗"_qs, "c"),
    });
    OpenStep(4, 3);
    ASSERT_EQ(Ex()->Blanks().size(), 3);
    ASSERT_EQ(Ex()->Blanks()[2].BlankedLine, u"1.你__"_qs);
    const int lastLine = int(ExBox()->Text().lastIndexOf(u"1.你__"_qs));
    Fill(true);
    Fill(true);
    EXPECT_EQ(ExBox()->SelStart(), lastLine + 3);
    EXPECT_EQ(ExBox()->SelText(), "__");
}

TEST_F(QuizWindows, ALessonWithoutSentencesHasNothingToFillIn)
{
    struct Case {
        const char* name;
        qint16 currentStep;
        QByteArray study;
    };
    const Case cases[] = {{"at the frontier", 4, StudyBytes(3, 5)}, {"done already", 6, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_boxes->Clear();
        QFile::remove(Path("Record/Study.vmq"));
        SetLines({Line("d.i4 y.i1 k.e4", u"1)第一课"_qs, "Lesson One", 0)});
        OpenStep(4, c.currentStep);
        EXPECT_EQ(m_boxes->Texts(), QStringList{QStringLiteral("There is no sentence in this lesson.")});
        EXPECT_EQ(ReadFile("Record/Study.vmq"), c.study);
        Clock::Advance(500);
        Settle();
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Exercise3")));
        EXPECT_EQ(m_boxes->Boxes().size(), 1) << "closed without a question";
    }
}

TEST_F(QuizWindows, SentenceFindingAsksBySoundAndCorrectsWithTheSwapsMarked)
{
    Random::UseScript(Cycle({0.5, 0.1, 0.0, 0.99}));
    SetLines(FiveLines.mid(1));
    OpenStep(5, 5);
    EXPECT_EQ(State().QuizOpen, -1);
    EXPECT_EQ(QuizLabel("Label1"), "1");
    EXPECT_TRUE(Quiz()->SoundQuestion());
    EXPECT_EQ(Quiz()->CorrectOption(), 1);
    const QString text = QuizBox()->Text();
    for (const QString& option : {u"A.好你老师。"_qs, u"B.你好老师。"_qs, u"C.你好师老。"_qs})
        EXPECT_TRUE(text.contains(option)) << option.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Hello, teacher.")));

    Option(0)->click();
    EXPECT_EQ(QuizLabel("Label2"), u"Wrong  不对!"_qs);
    EXPECT_EQ(QuizLabel("Label4"), "0");
    const QString correction = QuizBox()->Text();
    EXPECT_TRUE(correction.contains(QStringLiteral("The red one is the correct answer.")));
    EXPECT_TRUE(correction.contains(u"A.[好][你]老师。"_qs));
    EXPECT_TRUE(correction.contains(u"C.你好[师][老]。"_qs));
    EXPECT_TRUE(NextButton()->isEnabled());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(Option(i)->isEnabled());
    Option(1)->click();
    EXPECT_EQ(QuizLabel("Label4"), "0") << "a disabled button counts nothing";

    NextButton()->click();
    EXPECT_FALSE(NextButton()->isEnabled());
    EXPECT_EQ(QuizLabel("Label1"), "2");
    EXPECT_EQ(QuizLabel("Label2"), QString());
    EXPECT_TRUE(Option(2)->isEnabled());
}

TEST_F(QuizWindows, MeaningQuestionsOfferTheEnglishAmongPoolSentences)
{
    Random::UseScript(Cycle({0.0, 0.9, 0.99, 0.0}));
    SetLines(FiveLines.mid(1));
    OpenStep(5, 5);
    EXPECT_FALSE(Quiz()->SoundQuestion());
    const QString text = QuizBox()->Text();
    EXPECT_TRUE(text.contains(QStringLiteral("A) Hello, teacher.")));
    EXPECT_TRUE(text.contains(QStringLiteral("B) See you.")));
    EXPECT_TRUE(text.contains(QStringLiteral("C) Good morning.")));
    EXPECT_TRUE(text.contains(u"你好老师。"_qs));
    EXPECT_FALSE(text.contains(u"1.你好老师。"_qs));
    Option(2)->click();
    EXPECT_TRUE(QuizBox()->Text().contains(QStringLiteral("The red one is the correct answer.")));
}

TEST_F(QuizWindows, TheSentenceIsSpokenAgainAndAgainUntilTheNextQuestion)
{
    SetLines(FiveLines);
    OpenStep(5, 5);
    auto* bar = Get<FenPeiTiao>("FindSentence", QStringLiteral("FenPeiTiao1"));
    Clock::Advance(1999);
    EXPECT_EQ(Playing(), QString()) << "first spoken two seconds after the window opened";
    Clock::Advance(1);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    Clock::Advance(100);
    EXPECT_EQ(bar->BarLength(), 2445 / 2);
    Clock::Advance(300);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    Clock::Advance(600);
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(bar->BarLength(), 13) << "emptied after the sentence";
    Clock::Advance(1999); // two syllables: 1000 ms, then 2000 ms of pause
    EXPECT_EQ(Playing(), QString());
    Clock::Advance(1);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav") << "spoken again";

    // While a correction is shown the sentence goes on repeating; the next question speaks its own at once.
    Answer(false);
    EXPECT_EQ(Playing(), "Phonetic Symbols/W/wo3.wav");
}

TEST_F(QuizWindows, ALineWithoutSyllablesIsAskedInSilence)
{
    SetLines({Line("", u"1.你好老师。"_qs, "Hello, teacher."), Line("", u"2.我是学生。"_qs, "I am a student.")});
    OpenStep(5, 5);
    for (int i = 0; i < 3; ++i) {
        Clock::Advance(5000);
        EXPECT_EQ(Playing(), QString());
    }
    Answer(true);
    Clock::Advance(5000);
    EXPECT_EQ(Playing(), QString());
    EXPECT_EQ(QuizLabel("Label1"), "2");
}

TEST_F(QuizWindows, RunsPassAtEightyAndStartAgainBelow)
{
    struct Case {
        const char* name;
        int lines; // sentence lines of FiveLines
        QList<bool> answers;
        const char* rate;
        bool passed;
    };
    const Case cases[] = {
        {"five of five", 5, {true, true, true, true, true}, "100", true},
        {"four of five, the last one right", 5, {false, true, true, true, true}, "80", true},
        {"three of four", 4, {true, true, false, true}, "75", false},
    };
    Random::UseScript(Cycle({0.3, 0.9, 0.5, 0.5})); // meaning questions: every line is asked
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_boxes->Clear();
        QFile::remove(Path("Record/Study.vmq"));
        SetLines(FiveLines.mid(0, c.lines + 1));
        OpenStep(5, 5);
        for (bool right : c.answers) {
            ASSERT_TRUE(Quiz());
            Answer(right);
        }
        EXPECT_EQ(QuizLabel("Label4"), c.rate);
        if (c.passed) {
            EXPECT_EQ(m_boxes->Texts(),
                QStringList{QStringLiteral("You have finished this task. Let's go on to do the next task.")});
            EXPECT_EQ(m_boxes->Boxes()[0].buttons, MsgBox::OkOnly);
            EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(3, 6));
            Clock::Advance(500);
            Settle();
            EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("FindSentence")));
            EXPECT_EQ(State().QuizOpen, 0);
            State().CurrentStep = 5;
            continue;
        }
        EXPECT_EQ(m_boxes->Texts(), QStringList{QStringLiteral("Your correctness rate hasn't reached 80%. Do the task again, please")});
        EXPECT_FALSE(QFile::exists(Path("Record/Study.vmq")));
        Clock::Advance(200);
        EXPECT_EQ(Quiz()->LineIndex(), 2) << "a new run from the first line";
        EXPECT_EQ(QuizLabel("Label1"), "1");
        EXPECT_EQ(QuizLabel("Label4"), "0");
        EXPECT_TRUE(Option(0)->isEnabled());
        Forms::Unload(QStringLiteral("FindSentence"));
        Settle();
    }
}

TEST_F(QuizWindows, AShortLineIsSkippedAsASoundQuestionAndHeadingsAreNeverAsked)
{
    Random::UseScript(Cycle({0.1})); // sound questions only
    SetLines(FiveLines);
    OpenStep(5, 5);
    QList<int> asked;
    for (int question = 1; question <= 4; ++question) {
        EXPECT_EQ(QuizLabel("Label1"), QString::number(question));
        asked << Quiz()->LineIndex();
        Answer(true);
    }
    EXPECT_EQ(asked, (QList<int>{2, 3, 5, 6}));
    EXPECT_EQ(m_boxes->Texts(), QStringList{QStringLiteral("You have finished this task. Let's go on to do the next task.")});
}

TEST_F(QuizWindows, RetakingAnEarlierLessonClosesAfterTheLastQuestionWithoutAWord)
{
    State().ViewedLesson = 2;
    SetLines(FiveLines.mid(0, 3));
    OpenStep(5, 5);
    Answer(false);
    Answer(true);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    Clock::Advance(500);
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("FindSentence")));
    EXPECT_FALSE(QFile::exists(Path("Record/Study.vmq")));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(QuizWindows, ClosingWithQuestionsLeftAsksFirst)
{
    SetLines(FiveLines);
    OpenStep(5, 5);
    m_boxes->Answer(MsgBox::Ok);
    Get<QPushButton>("FindSentence", QStringLiteral("Command1"))->click();
    Settle();
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("FindSentence")));
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
    m_boxes->Answer(MsgBox::Cancel);
    Get<QPushButton>("FindSentence", QStringLiteral("Command1"))->click();
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("FindSentence")));
    EXPECT_EQ(State().QuizOpen, 0);
    EXPECT_EQ(Playing(), QString());
}

TEST_F(QuizWindows, ARunThatAskedNothingDoesNotStartAgain)
{
    struct Case {
        const char* name;
        QVector<SentenceRecord> lines;
        QByteArray study;
    };
    const Case cases[] = {
        {"headings only", {Line("d.i4", u"1)第一课"_qs, "Lesson One", 0)}, StudyBytes(3, 6)},
        {"no line at all", {}, StudyBytes(3, 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_boxes->Clear();
        QFile::remove(Path("Record/Study.vmq"));
        State().CurrentStep = 5;
        SetLines(c.lines);
        OpenStep(5, 5);
        EXPECT_EQ(m_boxes->Texts(), QStringList{QStringLiteral("There is no sentence in this lesson.")});
        EXPECT_EQ(ReadFile("Record/Study.vmq"), c.study);
        Clock::Advance(5000);
        Settle();
        EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("FindSentence")));
        EXPECT_EQ(m_boxes->Boxes().size(), 1) << "no new run, no further message";
    }
}

