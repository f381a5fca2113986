// The course panel driven through its controls: the lesson list, the rows, the progress line,
// the stacks each row opens (what a task window's load sees, where the windows go) and the
// hand-back when the task window closes.

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "Begin1.h"
#include "Clock.h"
#include "CodedFixture.h"
#include "CourseForms.h"
#include "CourseProgress.h"
#include "Dictionary.h"
#include "FormCalls.h"
#include "Forms.h"
#include "StudyPlaceholders.h"
#include "TestSupport.h"
#include "Twips.h"

namespace {
// The start menu and the main window, without their start-up.
class MenuStandIn : public Begin {
    Q_OBJECT
protected:
    void Form_Load() override {}
};
class MainStandIn : public Background {
    Q_OBJECT
protected:
    void Form_Load() override {}
};

// What each task window's load saw: CurrentActivity and QuizOpen.
QMap<QString, QPair<qint16, qint16>>& SeenAtLoad()
{
    static QMap<QString, QPair<qint16, qint16>> seen;
    return seen;
}

class LoadProbe : public StudyTaskPlaceholder {
    Q_OBJECT
public:
    using StudyTaskPlaceholder::StudyTaskPlaceholder;

protected:
    void Task_Load() override { SeenAtLoad()[FormName()] = {State().CurrentActivity, State().QuizOpen}; }
};

QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson), 0, static_cast<char>(step), 0};
    return QByteArray(b, 4);
}

class CoursePanelTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Twips::OverrideScreen(QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728));
        SeenAtLoad().clear();
        RegisterCourseForms();
        for (const char* name : {"Text", "Typing", "Vocabulary", "Exercise3", "FindSentence", "Newwords"}) {
            const QString n = QLatin1String(name);
            Forms::RegisterFactory(n, [n] { return new LoadProbe(n, 10500, 4800, QStringLiteral("Label6")); });
        }
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new MenuStandIn; });
        Forms::RegisterFactory(QStringLiteral("Background"), [] { return new MainStandIn; });
        Forms::RegisterFactory<Dictionary>();
        for (int i = 1; i <= 91; ++i)
            State().LessonTitles.append(QStringLiteral("Title %1").arg(i));
        m_main = Forms::Load(QStringLiteral("Background"));
        m_menu = Forms::Load(QStringLiteral("Begin"));
        m_dictionary = Forms::Load(QStringLiteral("Dictionary"));
        m_dictionary->SetSize(10000, 2000);
    }
    void TearDown() override
    {
        Twips::ClearScreenOverride();
        AppFixture::TearDown();
    }

    // The panel as the start menu opens it, with the learner at lesson/step.
    Begin1* OpenPanel(qint16 lesson, qint16 step)
    {
        WriteFile("Record/Study.vmq", StudyBytes(lesson, step));
        auto* panel = Forms::Load<Begin1>();
        panel->Show(Form::Modeless, m_menu);
        m_menu->Show(Form::Modeless, m_main);
        State().CurrentActivity = 0;
        return panel;
    }
    QComboBox* Combo1() const { return Forms::Control<QComboBox>(QStringLiteral("Begin1"), QStringLiteral("Combo1")); }
    QPushButton* Command1(int k) const
    {
        return Forms::Control<QPushButton>(QStringLiteral("Begin1"), Forms::IndexedName("Command1", k));
    }
    QLabel* Label3() const { return Forms::Control<QLabel>(QStringLiteral("Begin1"), QStringLiteral("Label3")); }
    QWidget* PanelFocus() const { return Forms::Find<Begin1>()->focusWidget(); }
    void Pick(int index) const
    {
        Combo1()->setCurrentIndex(index);
        emit Combo1()->activated(index);
    }
    QList<bool> Enabled() const
    {
        QList<bool> out;
        for (int k : {0, 1, 2, 3, 4, 5, 7})
            out.append(Command1(k)->isEnabled());
        return out;
    }
    QColor Ink(int k) const
    {
        return Forms::Control<QLabel>(QStringLiteral("Begin1"), Forms::IndexedName("Label2", k))
            ->palette()
            .color(QPalette::WindowText);
    }
    void CloseTask(const QString& name) const
    {
        if (auto* close = Forms::Control<QPushButton>(name, QStringLiteral("Command1")))
            close->click();
    }

    Form* m_main{nullptr};
    Form* m_menu{nullptr};
    Form* m_dictionary{nullptr};
};
} // namespace

TEST_F(CoursePanelTest, F4InTheLessonListMinimisesAndOpensNoList)
{
    OpenPanel(1, 2);
    ASSERT_TRUE(PressWithKeys(Combo1(), Qt::Key_F4));
    EXPECT_EQ(static_cast<Background*>(m_main)->WindowState(), Form::Minimized);
    EXPECT_FALSE(Combo1()->view()->isVisible());
}

TEST_F(CoursePanelTest, ListsTheLessonsAndOpensAtTheLearnersStep)
{
    WriteCodedFile(Path("Lessons/Script/Lesson_5/lifr.vmq"), {"n.i3", "你好。", "Hello."});
    OpenPanel(5, 4);
    ASSERT_EQ(Combo1()->count(), 91);
    EXPECT_EQ(Combo1()->itemText(0), " 1 - Title 1");
    EXPECT_EQ(Combo1()->itemText(90), " 91 - Title 91");
    EXPECT_EQ(Combo1()->currentIndex(), 4);
    EXPECT_EQ(State().ViewedLesson, 5);
    EXPECT_EQ(State().LessonLineCount, 1) << "the lesson's script is loaded";
    EXPECT_EQ(Label3()->text(), "You are studying lesson 5.");
    EXPECT_EQ(Enabled(), (QList<bool>{true, true, true, true, false, false, true}));
    EXPECT_EQ(Ink(3), kRowRed);
    EXPECT_EQ(PanelFocus(), Command1(3));
}

TEST_F(CoursePanelTest, ChoosingALessonColoursTheRowsAndMovesTheFocus)
{
    OpenPanel(5, 4);
    struct Case {
        const char* name;
        int index;
        QList<bool> enabled;
        QColor step1;
        int focus;
    };
    const Case cases[] = {
        {"an earlier lesson", 2, {true, true, true, true, true, true, true}, kRowGrey, 0},
        {"a later lesson", 7, {true, false, false, false, false, false, true}, kRowBlack, 0},
        {"the learner's lesson", 4, {true, true, true, true, false, false, true}, kRowGrey, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Label3()->setText(QStringLiteral("unchanged"));
        Pick(c.index);
        EXPECT_EQ(State().ViewedLesson, c.index + 1);
        EXPECT_EQ(Enabled(), c.enabled);
        EXPECT_EQ(Ink(0), c.step1);
        EXPECT_EQ(PanelFocus(), Command1(c.focus));
        EXPECT_EQ(Label3()->text(), c.index == 4 ? "You are studying lesson 5." : "unchanged");
    }

    // Clicking the progress line brings the learner's own lesson back.
    Pick(10);
    QTest::mouseClick(Label3(), Qt::LeftButton);
    EXPECT_EQ(Combo1()->currentIndex(), 4);
    EXPECT_EQ(State().ViewedLesson, 5);
    EXPECT_EQ(PanelFocus(), Command1(3));
}

TEST_F(CoursePanelTest, EveryRowOpensItsStackAndClosingHandsBack)
{
    Begin1* panel = OpenPanel(5, 6);
    const QList<std::pair<int, QString>> rows{{0, "Text"}, {1, "Typing"}, {2, "Vocabulary"}, {3, "Exercise3"},
        {4, "FindSentence"}, {5, "Text"}, {7, "Newwords"}};
    for (const auto& [button, task] : rows) {
        SCOPED_TRACE(button);
        const StudyLauncher* launcher = LauncherForButton(button);
        State().QuizOpen = -1; // as a quiz window left it
        m_dictionary->Hide();
        Command1(button)->click();

        ASSERT_TRUE(SeenAtLoad().contains(task));
        EXPECT_EQ(SeenAtLoad()[task].first, launcher->Code);
        EXPECT_EQ(SeenAtLoad()[task].second, launcher->ClearsQuizOpen ? 0 : -1);
        Form* window = Forms::Find(task);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->Owner(), m_main);
        EXPECT_EQ(Forms::Control<QLabel>(task, QStringLiteral("Label6"))->text(), "Lesson 5");
        EXPECT_FALSE(panel->isVisible());
        EXPECT_FALSE(m_menu->isVisible());

        // Every window of the stack where the geometry puts it, one pixel apart, also after
        // the stack has been placed again for the window manager's frames.
        Clock::Advance(1000);
        QMap<StudyWindow, StackWindowSize> sizes;
        for (StudyWindow w : launcher->Above + QList<StudyWindow>{launcher->Task} + launcher->Below) {
            Form* f = Forms::Find(StudyWindowName(w));
            ASSERT_NE(f, nullptr) << StudyWindowName(w).toStdString();
            EXPECT_TRUE(f->isVisible()) << StudyWindowName(w).toStdString();
            // Outer sizes, frames included, as the stacks are measured.
            const QRect frame = f->frameGeometry();
            sizes.insert(w, {float(frame.width() * 15), float(frame.height() * 15)});
        }
        const auto places = PlaceStudyStack(*launcher, sizes, 15360, 11520, 15);
        for (auto it = places.cbegin(); it != places.cend(); ++it) {
            const Form* f = Forms::Find(StudyWindowName(it.key()));
            EXPECT_NEAR(f->Left(), it->Left, 15) << StudyWindowName(it.key()).toStdString();
            EXPECT_NEAR(f->Top(), it->Top, 15) << StudyWindowName(it.key()).toStdString();
            EXPECT_NEAR(f->frameGeometry().width() * 15, it->Width, 15) << "the notepad takes the text's width";
        }

        // Only reading aloud is the frontier here: its warning is answered to close.
        m_boxes->Answer(MsgBox::Cancel);
        CloseTask(task);
        EXPECT_FALSE(Forms::IsLoaded(task));
        for (StudyWindow w : launcher->Companions)
            EXPECT_FALSE(Forms::IsLoaded(StudyWindowName(w)));
        EXPECT_FALSE(m_dictionary->isVisible());
        EXPECT_TRUE(panel->isVisible());
        EXPECT_TRUE(m_menu->isVisible());
        EXPECT_EQ(State().CurrentActivity, 0);
        if (button <= 4) {
            EXPECT_EQ(PanelFocus(), Command1(5));
        }
        // Away from the button the next closing is to focus.
        panel->FocusStepButton(0);
    }
    EXPECT_EQ(m_boxes->Texts().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(Path("Record/Study.vmq.tmp")));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(5, 6)) << "nothing recorded";
}

TEST_F(CoursePanelTest, FinishingFrontierTasksMovesTheRowsAndTheFocus)
{
    Begin1* panel = OpenPanel(5, 1);

    // Closing the frontier text study records it.
    Command1(0)->click();
    CloseTask(QStringLiteral("Text"));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(5, 2));
    EXPECT_EQ(Ink(1), kRowRed);
    EXPECT_TRUE(Command1(1)->isEnabled());
    EXPECT_EQ(PanelFocus(), Command1(1));

    // An unfinished frontier typing task asks first: OK stays, Cancel closes unrecorded.
    Command1(1)->click();
    m_boxes->Answer(MsgBox::Ok);
    CloseTask(QStringLiteral("Typing"));
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Typing")));
    m_boxes->Answer(MsgBox::Cancel);
    CloseTask(QStringLiteral("Typing"));
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Typing")));
    EXPECT_EQ(Ink(1), kRowRed);
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(5, 2));

    // Passed: OK on the go-on message closes the window 500 ms later.
    Command1(1)->click();
    auto* typing = qobject_cast<LessonTaskWindow*>(Forms::Find(QStringLiteral("Typing")));
    ASSERT_NE(typing, nullptr);
    m_boxes->Answer(MsgBox::Ok);
    typing->Protocol().Graded(90);
    Clock::Advance(499);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Typing")));
    Clock::Advance(1);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Typing")));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(5, 3));
    EXPECT_EQ(Ink(2), kRowRed);
    EXPECT_EQ(PanelFocus(), Command1(2));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(CoursePanelTest, CompletingTheLessonFocusesItsReview)
{
    OpenPanel(5, 6);
    Command1(5)->click();
    auto* text = qobject_cast<LessonTaskWindow*>(Forms::Find(QStringLiteral("Text")));
    ASSERT_NE(text, nullptr);
    text->Protocol().ReadingFinished();
    EXPECT_EQ(m_boxes->Texts(), QStringList{"You have finished studying lesson 5"});
    EXPECT_EQ(Label3()->text(), "You have finished studying lesson 5.");
    Clock::Advance(500);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Text")));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(6, 1));
    EXPECT_EQ(Ink(0), kRowGrey) << "lesson 5 is done";
    EXPECT_EQ(PanelFocus(), Command1(7));
}

#include "CoursePanelTest.moc"
