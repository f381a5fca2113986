#include <QFileInfo>
#include <QLabel>
#include <gtest/gtest.h>
#include <cerrno>
#include <signal.h>
#include <sys/resource.h>

#include "AppState.h"
#include "Forms.h"
#include "StudyProgress.h"
#include "TestSupport.h"

namespace {
// Stands in for the course panel: its step-row refresh and its caption label, registered as
// the progress view while it is loaded.
class PanelStandIn : public Form, public ProgressView {
    Q_OBJECT
public:
    PanelStandIn()
        : Form(QStringLiteral("Begin1"))
    {
        Label3 = new QLabel(this);
        Label3->setObjectName(QStringLiteral("Label3"));
    }
    void SetLabel3(const QString& text) override { Label3->setText(text); }
    void Common07() override { refreshedAt.append({State().CurrentLesson, State().CurrentStep}); }

    QLabel* Label3{nullptr};
    QList<QPair<qint16, qint16>> refreshedAt;

protected:
    void Form_Load() override { RegisterProgressView(this); }
    void Form_Unload() override { UnregisterProgressView(this); }
};

QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson & 0xFF), static_cast<char>(lesson >> 8),
        static_cast<char>(step & 0xFF), static_cast<char>(step >> 8)};
    return QByteArray(b, 4);
}

class StudyProgressTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Forms::SetQuitWhenEmpty(false);
        Forms::RegisterFactory(QStringLiteral("Begin1"), [] { return new PanelStandIn; });
    }
    PanelStandIn* Panel() { return qobject_cast<PanelStandIn*>(Forms::Load(QStringLiteral("Begin1"))); }
    void StartAt(qint16 lesson, qint16 step)
    {
        State().CurrentLesson = lesson;
        State().CurrentStep = step;
    }
};
} // namespace

TEST_F(StudyProgressTest, EachStepIsSavedAndThePanelRefreshed)
{
    PanelStandIn* panel = Panel();
    StartAt(5, 1);
    const QPair<qint16, qint16> expected[] = {{5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}, {6, 1}, {6, 2}};
    for (const auto& [lesson, step] : expected) {
        SCOPED_TRACE(testing::Message() << lesson << "/" << step);
        CompleteLessonStep();
        EXPECT_EQ(State().CurrentLesson, lesson);
        EXPECT_EQ(State().CurrentStep, step);
        EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(lesson, step));
        ASSERT_FALSE(panel->refreshedAt.isEmpty());
        EXPECT_EQ(panel->refreshedAt.last(), qMakePair(lesson, step));
    }
    EXPECT_EQ(panel->refreshedAt.size(), 7);
    EXPECT_EQ(panel->Label3->text(), "You have finished studying lesson 5.");
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(StudyProgressTest, TheLastLessonIsCongratulatedBeforeTheLabelChanges)
{
    PanelStandIn* panel = Panel();
    StartAt(91, 6);
    QString labelWhileBoxOpen = QStringLiteral("unset");
    m_boxes->OnShow([&](const MsgBox::Shown&) { labelWhileBoxOpen = panel->Label3->text(); });
    CompleteLessonStep();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].text, "Congratulations! You have finished studying all the 91 lessons.");
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Notice");
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Information);
    EXPECT_EQ(labelWhileBoxOpen, "");
    EXPECT_EQ(panel->Label3->text(), "You have finished studying lesson 91.");
    EXPECT_EQ(State().CurrentLesson, 92);
    EXPECT_EQ(State().CurrentStep, 1);
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(92, 1));
}

TEST_F(StudyProgressTest, WithoutTheCoursePanelOnlyTheRecordChanges)
{
    StartAt(5, 3);
    ASSERT_FALSE(QFileInfo::exists(Path("Record")));
    CompleteLessonStep();
    EXPECT_TRUE(QFileInfo(Path("Record")).isDir());
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(5, 4));
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Begin1")));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(StudyProgressTest, ARecordThatCannotBeWrittenWarnsAndTheFrontierStillMoves)
{
    PanelStandIn* panel = Panel();
    StartAt(5, 6);
    WriteFile("Record", "not a folder");
    CompleteLessonStep();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Critical);
    // The warning names the real reason: no folder to write in, not a want of rights.
    const QStringList lines = m_boxes->Boxes()[0].text.split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("Study.vmq") && lines[0].contains(qt_error_string(ENOTDIR))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], Path("Record"));
    EXPECT_EQ(State().CurrentLesson, 6);
    EXPECT_EQ(State().CurrentStep, 1);
    EXPECT_EQ(panel->refreshedAt.size(), 1);
    EXPECT_EQ(ReadFile("Record"), "not a folder");
}

TEST_F(StudyProgressTest, AFailedWriteKeepsTheOldRecord)
{
    WriteFile("Record/Study.vmq", StudyBytes(7, 2));
    StartAt(7, 2);
    // No file may grow while the limit holds, whatever the rights of the user running the test.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    CompleteLessonStep();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(State().CurrentStep, 3);
    EXPECT_EQ(ReadFile("Record/Study.vmq"), StudyBytes(7, 2));
    EXPECT_EQ(QDir(Path("Record")).entryList(QDir::Files), QStringList{"Study.vmq"});
}

#include "StudyProgressTest.moc"
