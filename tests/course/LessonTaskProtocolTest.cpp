// The lesson task protocol: frontier, recording, the go-on and fail messages, the 500 ms
// close, the warnings before closing and the hand-back, with the progress record checked.

#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

#include "AppState.h"
#include "Clock.h"
#include "LessonTaskProtocol.h"
#include "TestSupport.h"

namespace {
QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson & 0xFF), static_cast<char>((lesson >> 8) & 0xFF),
        static_cast<char>(step & 0xFF), static_cast<char>((step >> 8) & 0xFF)};
    return QByteArray(b, 4);
}

const char* kGoOn = "You have finished this task. Let's go on to do the next task.";
const char* kUnfinished =
    "You haven't finished the task yet. Let's finish it now, otherwise you are unable to do the next task.";

class ProtocolTest : public AppFixture {
protected:
    // The learner at lesson/step, looking at viewed; the window of step opened from the panel.
    std::unique_ptr<LessonTaskProtocol> Open(qint16 step, qint16 viewed, qint16 lesson, qint16 currentStep)
    {
        AppState& s = State();
        s.ViewedLesson = viewed;
        s.CurrentLesson = lesson;
        s.CurrentStep = currentStep;
        s.CurrentActivity = step;
        closed = 0;
        auto p = std::make_unique<LessonTaskProtocol>(step, [this] { ++closed; });
        p->Load();
        return p;
    }
    QByteArray Record() const { return ReadFile("Record/Study.vmq"); }
    // A recorder without answers left over from the case before.
    void FreshBoxes()
    {
        m_boxes.reset();
        m_boxes = std::make_unique<MsgBox::Recorder>();
    }

    int closed{0};
};
} // namespace

TEST_F(ProtocolTest, GradedRunsAtAndAwayFromTheFrontier)
{
    using O = LessonTaskProtocol::Outcome;
    struct Case {
        const char* name;
        qint16 step, viewed, currentStep;
        double rate;
        MsgBox::Result answer;
        O outcome;
        const char* text; // nullptr: no message
        MsgBox::Buttons buttons;
        bool recorded;
        bool closes;
    };
    const Case cases[] = {
        {"typing passed, OK", 2, 5, 2, 80, MsgBox::Ok, O::Closing, kGoOn, MsgBox::OkCancel, true, true},
        {"typing passed, Cancel", 2, 5, 2, 100, MsgBox::Cancel, O::StaysOpen, kGoOn, MsgBox::OkCancel, true, false},
        {"typing failed", 2, 5, 2, 79.99, MsgBox::Ok, O::Failed,
            "Your correctness rate hasn't reached 80%. Do the task again, please.", MsgBox::OkOnly, false, false},
        {"vocabulary passed at 50", 3, 5, 3, 50, MsgBox::Ok, O::Closing, kGoOn, MsgBox::OkCancel, true, true},
        {"vocabulary failed at 49", 3, 5, 3, 49, MsgBox::Ok, O::Failed,
            "Your correctness rate hasn't reached 50%. Do the task again, please.", MsgBox::OkOnly, false, false},
        {"blanks passed", 4, 5, 4, 80, MsgBox::Ok, O::Closing,
            "You have finished this task. Let's  go on to do the next task.", MsgBox::OkCancel, true, true},
        {"blanks failed", 4, 5, 4, 75, MsgBox::Ok, O::Failed,
            "Your correctness rate hasn't reached 80%. Do the task again, please", MsgBox::OkOnly, false, false},
        {"sentences passed", 5, 5, 5, 80, MsgBox::Ok, O::Closing, kGoOn, MsgBox::OkOnly, true, true},
        {"sentences failed", 5, 5, 5, 75, MsgBox::Ok, O::Failed,
            "Your correctness rate hasn't reached 80%. Do the task again, please", MsgBox::OkOnly, false, false},
        {"an earlier lesson", 3, 3, 3, 100, MsgBox::Ok, O::NotFrontier, nullptr, MsgBox::OkOnly, false, false},
        {"step 4 while the frontier is step 5", 4, 5, 5, 100, MsgBox::Ok, O::NotFrontier, nullptr, MsgBox::OkOnly,
            false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Path("Record/Study.vmq"));
        FreshBoxes();
        m_boxes->Answer(c.answer);
        auto p = Open(c.step, c.viewed, 5, c.currentStep);
        const bool frontier = c.viewed == 5 && c.step == c.currentStep;
        EXPECT_EQ(p->TaskFinished(), !frontier);

        EXPECT_EQ(p->Graded(c.rate), c.outcome);
        if (c.text) {
            ASSERT_EQ(m_boxes->Boxes().size(), 1);
            EXPECT_EQ(m_boxes->Boxes()[0].text, QString::fromLatin1(c.text));
            EXPECT_EQ(m_boxes->Boxes()[0].title, "Advice");
            EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Information);
            EXPECT_EQ(m_boxes->Boxes()[0].buttons, c.buttons);
        } else {
            EXPECT_TRUE(m_boxes->Boxes().isEmpty());
        }
        EXPECT_EQ(p->Recorded(), c.recorded);
        if (c.recorded) {
            EXPECT_EQ(State().CurrentStep, c.currentStep + 1);
            EXPECT_EQ(Record(), StudyBytes(5, c.currentStep + 1));
            EXPECT_TRUE(p->TaskFinished());
        } else {
            EXPECT_EQ(State().CurrentStep, c.currentStep);
            EXPECT_FALSE(QFileInfo::exists(Path("Record/Study.vmq")));
        }

        Clock::Advance(LessonTaskProtocol::kCloseDelayMs - 1);
        EXPECT_EQ(closed, 0);
        Clock::Advance(1);
        EXPECT_EQ(closed, c.closes ? 1 : 0);
        Clock::Advance(5000);
        EXPECT_EQ(closed, c.closes ? 1 : 0) << "the close timer fires once";
    }
}

TEST_F(ProtocolTest, AStepIsRecordedAtMostOnce)
{
    m_boxes->Answer(MsgBox::Cancel);
    auto p = Open(2, 5, 5, 2);
    EXPECT_EQ(p->Graded(100), LessonTaskProtocol::Outcome::StaysOpen);
    // Practising on after Cancel: the frontier has moved on, so nothing more is recorded.
    EXPECT_EQ(p->Graded(100), LessonTaskProtocol::Outcome::NotFrontier);
    EXPECT_EQ(State().CurrentStep, 3);
    EXPECT_EQ(Record(), StudyBytes(5, 3));
    EXPECT_TRUE(p->MayClose()) << "closing after Cancel asks nothing";
    EXPECT_EQ(m_boxes->Boxes().size(), 1);

    auto text = Open(1, 5, 5, 1);
    text->Unloading();
    text->Unloading();
    EXPECT_EQ(State().CurrentStep, 2);
    EXPECT_EQ(Record(), StudyBytes(5, 2));
}

TEST_F(ProtocolTest, ClosingAnUnfinishedTaskWarns)
{
    struct Case {
        const char* name;
        qint16 step, viewed, currentStep;
        bool workRemains;
        MsgBox::Result answer;
        const char* text; // nullptr: nothing asked
        MsgBox::Buttons buttons;
        bool mayClose;
    };
    const char* lessonWarning = "You haven't finished the task yet.\r\nLet's finish it now, otherwise you are unable "
                                "to do the next lesson.";
    const Case cases[] = {
        {"frontier typing, OK stays", 2, 5, 2, true, MsgBox::Ok, kUnfinished, MsgBox::OkCancel, false},
        {"frontier typing, Cancel closes", 2, 5, 2, true, MsgBox::Cancel, kUnfinished, MsgBox::OkCancel, true},
        {"frontier vocabulary", 3, 5, 3, true, MsgBox::Ok, kUnfinished, MsgBox::OkCancel, false},
        {"vocabulary of an earlier lesson", 3, 4, 3, true, MsgBox::Ok, nullptr, MsgBox::OkOnly, true},
        {"frontier blanks with blanks left", 4, 5, 4, true, MsgBox::Ok, kUnfinished, MsgBox::OkCancel, false},
        {"frontier blanks all answered", 4, 5, 4, false, MsgBox::Ok, "Please do this task again.", MsgBox::OkOnly,
            true},
        {"frontier sentences with questions left", 5, 5, 5, true, MsgBox::Cancel, kUnfinished, MsgBox::OkCancel,
            true},
        {"frontier sentences, none left", 5, 5, 5, false, MsgBox::Ok, nullptr, MsgBox::OkOnly, true},
        {"frontier reading aloud", 6, 5, 6, true, MsgBox::Ok, lessonWarning, MsgBox::OkCancel, false},
        {"reading aloud of a later lesson", 6, 6, 6, true, MsgBox::Ok, nullptr, MsgBox::OkOnly, true},
        {"frontier text study never asks", 1, 5, 1, true, MsgBox::Ok, nullptr, MsgBox::OkOnly, true},
        {"review never asks", 8, 5, 1, true, MsgBox::Ok, nullptr, MsgBox::OkOnly, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshBoxes();
        m_boxes->Answer(c.answer);
        auto p = Open(c.step, c.viewed, 5, c.currentStep);
        EXPECT_EQ(p->MayClose(c.workRemains), c.mayClose);
        if (c.text) {
            ASSERT_EQ(m_boxes->Boxes().size(), 1);
            EXPECT_EQ(m_boxes->Boxes()[0].text, QString::fromLatin1(c.text));
            EXPECT_EQ(m_boxes->Boxes()[0].buttons, c.buttons);
            EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Information);
            EXPECT_EQ(m_boxes->Boxes()[0].title, c.buttons == MsgBox::OkCancel ? "Advice" : "Notice");
        } else {
            EXPECT_TRUE(m_boxes->Boxes().isEmpty());
        }
        EXPECT_FALSE(QFileInfo::exists(Path("Record/Study.vmq"))) << "closing records nothing";
    }
}

TEST_F(ProtocolTest, EndOfTheReadingCompletesTheLesson)
{
    struct Case {
        const char* name;
        qint16 viewed;
        bool recorded;
    };
    const Case cases[] = {{"frontier", 5, true}, {"an earlier lesson", 2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshBoxes();
        QFile::remove(Path("Record/Study.vmq"));
        auto p = Open(6, c.viewed, 5, 6);
        p->ReadingFinished();
        EXPECT_TRUE(p->TaskFinished());
        if (c.recorded) {
            ASSERT_EQ(m_boxes->Boxes().size(), 1);
            EXPECT_EQ(m_boxes->Boxes()[0].text, "You have finished studying lesson 5");
            EXPECT_EQ(m_boxes->Boxes()[0].title, "Advice");
            EXPECT_EQ(State().CurrentLesson, 6);
            EXPECT_EQ(State().CurrentStep, 1);
            EXPECT_EQ(Record(), StudyBytes(6, 1));
        } else {
            EXPECT_TRUE(m_boxes->Boxes().isEmpty());
            EXPECT_FALSE(QFileInfo::exists(Path("Record/Study.vmq")));
        }
        Clock::Advance(LessonTaskProtocol::kCloseDelayMs);
        EXPECT_EQ(closed, 1) << "closes also away from the frontier";
        EXPECT_TRUE(p->MayClose());
    }
}

TEST_F(ProtocolTest, ALessonWithoutNewCharacters)
{
    struct Case {
        const char* name;
        qint16 viewed;
        QByteArray record;
    };
    const Case cases[] = {{"frontier", 5, StudyBytes(5, 3)}, {"an earlier lesson", 4, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshBoxes();
        QFile::remove(Path("Record/Study.vmq"));
        auto p = Open(2, c.viewed, 5, 2);
        p->NoNewCharacters();
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text, "There is no new Chinese characters in this lesson.");
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Notice");
        EXPECT_EQ(Record(), c.record);
        Clock::Advance(LessonTaskProtocol::kCloseDelayMs);
        EXPECT_EQ(closed, 1);
    }
}

TEST_F(ProtocolTest, HandBackAfterClosing)
{
    using K = HandBackStep;
    using W = StudyWindow;
    const QList<K> head{{K::CloseSharedPlayer}, {K::HideDictionary}};
    const QList<K> menus{{K::ShowStartMenu}, {K::ShowCoursePanel}};
    const K last{K::ActivityToCoursePanel};
    const auto focus = [](int button) { return K{K::FocusPanelButton, W::Dictionary, button}; };
    struct Case {
        const char* name;
        qint16 step, viewed, currentStep;
        QList<K> steps;
        QByteArray record;
    };
    const Case cases[] = {
        {"frontier text study records and focuses step 2", 1, 5, 1,
            head + QList<K>{{K::UnloadCompanion, W::WordsPanel}, {K::UnloadCompanion, W::Notepad}} + menus
                + QList<K>{focus(1), last},
            StudyBytes(5, 2)},
        {"text study of an earlier lesson", 1, 3, 1,
            head + QList<K>{{K::UnloadCompanion, W::WordsPanel}, {K::UnloadCompanion, W::Notepad}} + menus
                + QList<K>{last},
            {}},
        {"unfinished typing", 2, 5, 2,
            head + QList<K>{{K::UnloadCompanion, W::Expressions_Related}} + menus + QList<K>{focus(1), last}, {}},
        {"vocabulary test", 3, 5, 4, head + QList<K>{{K::ClearVocabularyTestOpen}} + menus + QList<K>{focus(3), last},
            {}},
        {"blanks keep the player", 4, 5, 4,
            QList<K>{{K::HideDictionary}, {K::UnloadCompanion, W::Result1}, {K::ClearQuizOpen}} + menus
                + QList<K>{focus(3), last},
            {}},
        {"sentences", 5, 5, 5, head + QList<K>{{K::ClearQuizOpen}} + menus + QList<K>{focus(4), last}, {}},
        {"reading aloud of the current lesson", 6, 5, 6,
            head + QList<K>{{K::UnloadCompanion, W::Expressions_Related}} + menus + QList<K>{last}, {}},
        {"review", 8, 5, 3, head + QList<K>{{K::UnloadCompanion, W::Expressions_Related}} + menus + QList<K>{last},
            {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Path("Record/Study.vmq"));
        auto p = Open(c.step, c.viewed, 5, c.currentStep);
        EXPECT_EQ(p->Unloading(), c.steps);
        EXPECT_EQ(Record(), c.record);
    }
}

TEST_F(ProtocolTest, AfterTheLessonIsDoneTheReviewTakesTheFocus)
{
    auto p = Open(6, 5, 5, 6);
    p->ReadingFinished();
    const QList<HandBackStep> steps = p->Unloading();
    ASSERT_GE(steps.size(), 2);
    EXPECT_EQ(steps[steps.size() - 2], (HandBackStep{HandBackStep::FocusPanelButton, StudyWindow::Dictionary, 7}));
    EXPECT_FALSE(p->CloseStarted()) << "unloading stops a pending close";
}
