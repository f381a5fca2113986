// The loading window: when it loads, what it refuses, and how it hands over to the start menu.

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include "AppState.h"
#include "Begin.h"
#include "Clock.h"
#include "Forms.h"
#include "LoadData.h"
#include "TablesTestSupport.h"
#include "Timer.h"

namespace {

// Stands in for the start menu: only its second timer matters here, so it does not start up.
class FakeBegin : public Begin {
protected:
    void Form_Load() override {}
};

// The loading window as it is, recording the steps it shows, with a load that takes longer
// than the window's timer: time goes on (on the test clock) each time the window repaints.
struct LoadRecord {
    QList<int> stepsShown; // each step once for each run of steps on its bar
    int loads{0};
};

class SlowLoadData : public LoadData {
public:
    explicit SlowLoadData(LoadRecord* record)
        : m_record(record)
    {
    }
    void SetMaximum(int step, int maximum) override
    {
        // The preparation sets the first two maxima once per load.
        if (step == 1)
            ++m_record->loads;
        LoadData::SetMaximum(step, maximum);
    }
    void SetValue(int step, int value) override
    {
        if (m_record->stepsShown.isEmpty() || m_record->stepsShown.last() != step)
            m_record->stepsShown << step;
        LoadData::SetValue(step, value);
    }
    void ProcessEvents() override
    {
        Clock::Advance(150);
        LoadData::ProcessEvents();
    }

private:
    LoadRecord* m_record;
};

class LoadDataTest : public TablesTest {
protected:
    void SetUp() override
    {
        TablesTest::SetUp();
        LoadData::Register();
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new FakeBegin; });
        m_begin = static_cast<FakeBegin*>(Forms::Load(QStringLiteral("Begin")));
    }

    LoadData* LoadWindow()
    {
        auto* form = qobject_cast<LoadData*>(Forms::Load(QStringLiteral("LoadData")));
        form->Show(Form::Modeless, m_begin);
        return form;
    }

    FakeBegin* m_begin{nullptr};
};

} // namespace

TEST_F(LoadDataTest, LoadsTheTablesAfter200msThenHandsOverToTheStartMenu)
{
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/lifr.vmq"), {"", "#", "Hello", "h.ao3", "好。", "Good."},
               QStringLiteral("RT"));
    WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {"h.ao3 h.ao4", "好人,"}, QStringLiteral("RW"));
    WriteText(QStringLiteral("Record/wangci.txt"), "abc: [x] y\r\n");
    WriteText(QStringLiteral("Record/yourname.txt"), "Lin\r\n");

    LoadData* form = LoadWindow();
    EXPECT_TRUE(form->Timer1->Enabled());
    EXPECT_EQ(form->Label1[2]->text(), QStringLiteral("Step 1: loading Chinese vocabulary"));
    EXPECT_TRUE(form->ProgressBar1->isVisible());
    EXPECT_EQ(State().WordCount, 0);

    Clock::Advance(199);
    EXPECT_EQ(State().WordCount, 0) << "nothing before the timer fires";
    Clock::Advance(1);

    const AppState& s = State();
    EXPECT_EQ(s.WordCount, 1);
    EXPECT_EQ(s.SentenceCount, 1);
    EXPECT_EQ(s.LessonTitles[0], QStringLiteral("Hello"));
    EXPECT_EQ(s.CharacterCount, 1);
    EXPECT_EQ(s.OnlineWordCount, 1);
    EXPECT_EQ(s.UserName, QStringLiteral("Lin"));
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("LoadData"))) << "the window unloads itself";
    EXPECT_TRUE(m_begin->Timer2->Enabled());
}

TEST_F(LoadDataTest, ALoadLongerThanTheTimerRunsOnceWithItsStepsInOrder)
{
    for (int lesson = 1; lesson <= 3; ++lesson) {
        const QString folder = QStringLiteral("Lessons/Script/Lesson_%1/").arg(lesson);
        WriteCoded(folder + QStringLiteral("icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
        WriteCoded(folder + QStringLiteral("lifr.vmq"), {"", "#", "Hello", "h.ao3", "好。", "Good."}, QStringLiteral("RT"));
    }
    WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {"h.ao3 h.ao4", "好人,"}, QStringLiteral("RW"));
    WriteText(QStringLiteral("Record/wangci.txt"), "abc: [x] y\r\n");
    LoadRecord record;
    Forms::RegisterFactory(QStringLiteral("LoadData"), [&record] { return new SlowLoadData(&record); });
    QPointer<LoadData> alive(LoadWindow());

    Clock::Advance(200);
    // The load took many times the 200 ms of the timer (each repaint moved the clock on), and
    // more time passes after it: nothing loads a second time.
    Clock::Advance(2000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "the window unloads itself after the load";
    EXPECT_EQ(record.loads, 1);
    EXPECT_EQ(record.stepsShown, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(State().WordCount, 3);
    EXPECT_EQ(State().SentenceCount, 3);
    EXPECT_EQ(State().OnlineWordCount, 1);
}

TEST_F(LoadDataTest, ShowsEachStepsProgressOnItsOwnBar)
{
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {"h.ao3", "好"}, QStringLiteral("RW"));
    State().CurrentActivity = 0; // drive the steps by hand, as the timer would
    LoadData* form = LoadWindow();
    LoadCourseTables(*form);
    // The bars take their values once a frame.
    Clock::Advance(16);
    form->ProcessEvents();

    EXPECT_EQ(form->ProgressBar2->maximum(), 238);
    EXPECT_EQ(form->ProgressBar2->value(), 1);
    EXPECT_EQ(form->ProgressBar3->maximum(), 111);
    EXPECT_EQ(form->ProgressBar4->maximum(), 99);
    EXPECT_EQ(form->ProgressBar4->value(), 1);
    EXPECT_EQ(form->ProgressBar1->maximum(), 100);
    EXPECT_EQ(form->Label1[2]->text(), QStringLiteral("Step 1: loading Chinese vocabulary: 1"));
    EXPECT_EQ(form->Label1[4]->text(), QStringLiteral("Step 3: loading all Chinese words (characters): 1"));
    EXPECT_EQ(form->Label1[1]->text(), QStringLiteral("Step 4: loading vocabulary searched online"));
}

// Counts the paints of the widgets it watches.
class PaintCounter : public QObject {
public:
    QHash<QObject*, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

TEST_F(LoadDataTest, RepaintsItsBarsAtMostOnceAFrame)
{
    // Thirty files for each of the first three steps, copies of one.
    const QString words = QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq");
    const QString sentences = QStringLiteral("Lessons/Script/Lesson_1/lifr.vmq");
    const QString characters = QStringLiteral("Vocabulary/zi1.vmq");
    WriteCoded(words, {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    WriteCoded(sentences, {"h.ao3", "好。", "Good."}, QStringLiteral("RT"));
    WriteCoded(characters, {"h.ao3", "好"}, QStringLiteral("RW"));
    for (int n = 2; n <= 30; ++n) {
        const QString folder = QStringLiteral("Lessons/Script/Lesson_%1/").arg(n);
        QDir().mkpath(Path(folder));
        ASSERT_TRUE(QFile::copy(Path(words), Path(folder + QStringLiteral("icwp.vmq"))));
        ASSERT_TRUE(QFile::copy(Path(sentences), Path(folder + QStringLiteral("lifr.vmq"))));
        ASSERT_TRUE(QFile::copy(Path(characters), Path(QStringLiteral("Vocabulary/zi%1.vmq").arg(n))));
    }
    State().CurrentActivity = 0; // drive the steps by hand, as the timer would
    LoadData* form = LoadWindow();
    Clock::Advance(100);
    PaintCounter counter;
    QProgressBar* const bars[] = {form->ProgressBar2, form->ProgressBar3, form->ProgressBar4};
    for (QProgressBar* bar : bars)
        bar->installEventFilter(&counter);

    // The whole load within one frame of the test clock: each bar moves many chunks.
    LoadCourseTables(*form);
    for (QProgressBar* bar : bars)
        EXPECT_LE(counter.paints.value(bar), 1) << bar->objectName().toStdString();

    // A frame later the bars show how far the load came.
    Clock::Advance(16);
    counter.paints.clear();
    form->ProcessEvents();
    for (QProgressBar* bar : bars) {
        EXPECT_EQ(bar->value(), 30) << bar->objectName().toStdString();
        EXPECT_EQ(counter.paints.value(bar), 1) << bar->objectName().toStdString();
    }
}

TEST_F(LoadDataTest, OutsideStartUpItLoadsNothingAndStartsNothing)
{
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    State().CurrentActivity = 0;
    LoadData* form = LoadWindow();
    EXPECT_FALSE(form->Timer1->Enabled());
    Clock::Advance(1000);
    EXPECT_EQ(State().WordCount, 0);
    form->Unload();
    EXPECT_FALSE(m_begin->Timer2->Enabled());
}

TEST_F(LoadDataTest, IgnoresEscapeAndTheWindowManagersClose)
{
    LoadData* form = LoadWindow();
    QTest::keyClick(form, Qt::Key_Escape);
    QCloseEvent close;
    QCoreApplication::sendEvent(form, &close);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("LoadData")));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(m_begin->Timer2->Enabled());
}

TEST_F(LoadDataTest, AStartWithoutAnyDataStillClosesNormally)
{
    LoadWindow();
    Clock::Advance(200);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("LoadData")));
    EXPECT_TRUE(m_begin->Timer2->Enabled());
    EXPECT_EQ(State().CharacterCount, 0);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty()) << "missing files are skipped silently";
}
