#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Begin.h"
#include "Clock.h"
#include "LoadData.h"
#include "MenuProbes.h"
#include "Setting.h"
#include "TestSupport.h"
#include "Twips.h"
#include "frmAbout.h"

namespace {

using menuprobes::Journal;

// Notes when a window is hidden, with the forms loaded at that moment.
class HideWatch : public QObject {
public:
    HideWatch(QWidget* w, QStringList* log, std::function<QString()> more)
        : m_log(log)
        , m_more(std::move(more))
    {
        w->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Hide)
            *m_log << watched->objectName() + " hidden: " + Forms::LoadedNames().join(' ') + m_more();
        return false;
    }

private:
    QStringList* m_log;
    std::function<QString()> m_more;
};

class StartMenuTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        menuprobes::RegisterProbes();
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new Begin; });
        Forms::RegisterFactory(QStringLiteral("Setting"), [] { return new Setting; });
        Forms::RegisterFactory(QStringLiteral("frmAbout"), [] { return new frmAbout; });
        Launch();
    }

    // The main window's start-up step opens the menu (and loads the character pop-up).
    void Launch()
    {
        Journal().clear();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_main = Forms::Load(QStringLiteral("Background"));
        ASSERT_NE(m_main, nullptr);
        Clock::Advance(100);
        m_menu = Forms::Find<Begin>();
        ASSERT_NE(m_menu, nullptr);
        ASSERT_TRUE(m_menu->isVisible());
        ASSERT_EQ(Journal(), QStringList{"load Zoom"});
        Journal().clear();
    }

    // Runs the start-up to the open course panel.
    void StartUp()
    {
        Clock::Advance(400);
        ASSERT_EQ(State().CurrentActivity, 0);
        Journal().clear();
    }

    QLabel* Item(int k) { return Picture("Image3", k); }
    QLabel* Picture(const char* name, int k)
    {
        return Forms::Control<QLabel>(QStringLiteral("Begin"), QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(k));
    }
    // What item k shows: 'p' plain, 'h' hover, 's' selected.
    char Look(int k)
    {
        const qint64 shown = Item(k)->pixmap().cacheKey();
        if (Item(k)->pixmap().isNull())
            return 'p';
        if (shown == Picture("Image1", k)->pixmap().cacheKey())
            return 'h';
        if (k < 5 && shown == Picture("Image2", k)->pixmap().cacheKey())
            return 's';
        return '?';
    }
    std::string Looks()
    {
        std::string s;
        for (int k = 1; k <= 5; ++k)
            s += Look(k);
        return s;
    }
    void Click(int k) { QTest::mouseClick(Item(k), Qt::LeftButton); }
    static void MoveOver(QWidget* w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
            Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    // A panel lies beside the items, inside the menu.
    void ExpectAtPanelPlace(const Form* f)
    {
        EXPECT_EQ(f->x(), m_menu->x() + Twips::ToPixelsX(Begin::PanelOffsetLeft));
        EXPECT_EQ(f->y(), m_menu->y() + Twips::ToPixelsY(Begin::PanelOffsetTop));
    }
    // What the syllable queue was last given to speak, syllable by syllable; then forgets it.
    static QString Spoken()
    {
        QStringList syllables;
        for (int k = 1; k <= State().SyllableQueueCount; ++k)
            syllables << State().SyllableQueue.At(1, k);
        State().SyllableQueue.Erase();
        State().SyllableQueueCount = 0;
        State().SyllableQueuePos = 0;
        return syllables.join(' ');
    }
    static bool Shown(const char* name)
    {
        Form* f = Forms::Find(QLatin1String(name));
        return f && f->isVisible();
    }

    Form* m_main{nullptr};
    Begin* m_menu{nullptr};
};

} // namespace

TEST_F(StartMenuTest, StartUpLoadsThenOpensTheCoursePanelWithoutSpeaking)
{
    Clock::Advance(199);
    EXPECT_TRUE(Journal().isEmpty());
    // Clicks, hovers and F4 do nothing while the program starts.
    Click(3);
    MoveOver(Item(2));
    QTest::keyClick(m_menu, Qt::Key_F4);
    EXPECT_EQ(Looks(), "ppppp");
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Setting")));
    EXPECT_EQ(m_main->WindowState(), Form::Normal);

    Clock::Advance(1);
    EXPECT_EQ(Journal(), (QStringList{"load LoadData", "LoadData modal=1", "unload LoadData", "load Dictionary",
                             "load DictionaryOnline"}));
    EXPECT_EQ(State().CurrentActivity, -1);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Begin1")));
    EXPECT_FALSE(Forms::Find(QStringLiteral("Dictionary"))->isVisible());

    Clock::Advance(200);
    EXPECT_EQ(State().CurrentActivity, 0);
    EXPECT_EQ(m_menu->SelectedItem, 1);
    EXPECT_EQ(Looks(), "spppp");
    Form* course = Forms::Find(QStringLiteral("Begin1"));
    ASSERT_NE(course, nullptr);
    EXPECT_TRUE(course->isVisible());
    EXPECT_EQ(course->Owner(), m_menu);
    ExpectAtPanelPlace(course);
    EXPECT_EQ(Spoken(), "");

    // From now on F4 minimises the whole program.
    QTest::keyClick(m_menu, Qt::Key_F4);
    EXPECT_EQ(m_main->WindowState(), Form::Minimized);
}

TEST_F(StartMenuTest, EachItemOpensItsPanelBesideTheMenuAndHidesTheOldOne)
{
    StartUp();
    const struct {
        int item;
        const char* panel;
        qint16 activity;
        const char* spoken;
    } items[] = {{3, "Setting", 20, "she4 zhi4"}, {2, "Begin4", 10, "zhu4 shou3"}, {4, "frmAbout", 30, "guan1 yu2"},
        {1, "Begin1", 0, "ke4 cheng2"}, {3, "Setting", 20, "she4 zhi4"}};
    const char* panels[] = {"Begin1", "Begin4", "Setting", "frmAbout"};
    for (const auto& c : items) {
        SCOPED_TRACE(c.panel);
        Click(c.item);
        EXPECT_EQ(Spoken(), c.spoken);
        EXPECT_EQ(State().CurrentActivity, c.activity);
        EXPECT_EQ(m_menu->SelectedItem, c.item);
        std::string looks = "ppppp";
        looks[c.item - 1] = 's';
        EXPECT_EQ(Looks(), looks);
        for (const char* p : panels)
            EXPECT_EQ(Shown(p), QLatin1String(p) == QLatin1String(c.panel)) << p;
        Form* panel = Forms::Find(QLatin1String(c.panel));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->Owner(), m_menu);
        ExpectAtPanelPlace(panel);
    }
    // Panels are hidden, never unloaded: each was loaded once.
    EXPECT_EQ(Journal().filter("load Begin").size(), 1);
    EXPECT_TRUE(Journal().filter("unload").isEmpty());
}

TEST_F(StartMenuTest, TheOpenItemIgnoresClicksAndTheCoursePanelComesBackAsItWas)
{
    StartUp();
    Click(3);
    EXPECT_EQ(Spoken(), "she4 zhi4");
    auto* name = Forms::Control<QLineEdit>(QStringLiteral("Setting"), QStringLiteral("Text2"));
    name->setText("draft");
    Click(3);
    EXPECT_EQ(Spoken(), "");
    EXPECT_EQ(name->text(), "draft");
    EXPECT_TRUE(Shown("Setting"));
    Form* course = Forms::Find(QStringLiteral("Begin1"));
    Click(1);
    EXPECT_FALSE(Shown("Setting"));
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Setting")));
    EXPECT_EQ(Forms::Find(QStringLiteral("Begin1")), course);
    EXPECT_TRUE(course->isVisible());
    EXPECT_FALSE(Journal().contains("load Begin1"));
    EXPECT_EQ(State().CurrentActivity, 0);
    EXPECT_EQ(Spoken(), "ke4 cheng2");
}

TEST_F(StartMenuTest, HoverLightsOneItemAndNeverTouchesTheSelectedOne)
{
    StartUp();
    // Each step: where the pointer goes (an item, 0 the menu's face, -1 the course panel, which
    // forwards its mouse moves), then the looks.
    const struct {
        int over;
        const char* looks;
        int hover;
    } steps[] = {
        {2, "shppp", 2},
        {4, "spphp", 4},
        {0, "spppp", 0},
        {5, "sppph", 5},
        {1, "spppp", 1}, // the selected item keeps its look, every other turns plain
        {0, "spppp", 1}, // leaving the selected item changes nothing
        {3, "sphpp", 3},
        {-1, "spppp", 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.over);
        if (s.over > 0)
            MoveOver(Item(s.over));
        else if (s.over == 0)
            MoveOver(m_menu);
        else
            m_menu->Form_MouseMove();
        EXPECT_EQ(Looks(), s.looks);
        EXPECT_EQ(m_menu->HoverItem, s.hover);
    }
    // Pointer moves over the settings and About panels clear the hover too.
    for (int item : {3, 4}) {
        SCOPED_TRACE(item);
        Click(item);
        MoveOver(Item(2));
        EXPECT_EQ(m_menu->HoverItem, 2);
        MoveOver(Forms::Find(QLatin1String(item == 3 ? "Setting" : "frmAbout")));
        EXPECT_EQ(m_menu->HoverItem, 0);
        EXPECT_EQ(Looks(), item == 3 ? "ppspp" : "pppsp");
    }
}

TEST_F(StartMenuTest, ExitUnloadsEverythingInTheWrittenOrderAndErasesTheTablesBeforeTheMainWindow)
{
    StartUp();
    Click(2);
    Click(3);
    Click(4);
    AppState& s = State();
    s.WordText[0] << QString::fromUtf8("你好");
    s.WordText[1] << " hello ";
    s.WordPinyin << "n.i3 h.ao3";
    s.WordSource[0] << 1;
    s.WordSource[1] << 1;
    s.SentenceTable.append({"n.i3 h.ao3", QString::fromUtf8("你好"), "Hello.", 1});
    s.CharacterTable.append({QString::fromUtf8("好"), {}, {}});
    s.OnlineWordTable.append({QString::fromUtf8("好"), "good"});
    auto tables = [&s] {
        const bool full = !s.WordText[0].isEmpty() && !s.WordText[1].isEmpty() && !s.WordPinyin.isEmpty()
            && !s.WordSource[0].isEmpty() && !s.WordSource[1].isEmpty() && !s.SentenceTable.isEmpty()
            && !s.CharacterTable.isEmpty() && !s.OnlineWordTable.isEmpty();
        const bool empty = s.WordText[0].isEmpty() && s.WordText[1].isEmpty() && s.WordPinyin.isEmpty()
            && s.WordSource[0].isEmpty() && s.WordSource[1].isEmpty() && s.SentenceTable.isEmpty()
            && s.CharacterTable.isEmpty() && s.OnlineWordTable.isEmpty();
        return QString(full ? " [tables]" : empty ? "" : " [tables partly erased]");
    };
    QStringList stillLoaded;
    const menuprobes::UnloadHook hook([&](const QString& name) {
        stillLoaded << name + ": " + Forms::LoadedNames().join(' ') + tables();
    });
    HideWatch watch(m_main, &stillLoaded, tables);
    Click(5);
    EXPECT_EQ(stillLoaded, (QStringList{
                               "Zoom: Background Begin Dictionary DictionaryOnline Begin1 Begin4 Setting frmAbout [tables]",
                               "Dictionary: Background Begin DictionaryOnline Begin1 Begin4 Setting frmAbout [tables]",
                               "DictionaryOnline: Background Begin Begin1 Begin4 Setting frmAbout [tables]",
                               "Background hidden: Background Begin Begin1 Begin4 Setting frmAbout",
                               "Begin1: Begin4 Setting frmAbout",
                               "Begin4: Setting frmAbout",
                           }));
    EXPECT_TRUE(Forms::LoadedNames().isEmpty());
}

TEST_F(StartMenuTest, EscExitsFromTheMenuAndFromEveryPanel)
{
    const struct {
        int item;        // the item opened first (0: none)
        const char* form; // where Esc is pressed
        const char* child;
        bool onRelease;
    } cases[] = {
        {0, "Begin", nullptr, true},
        {3, "Setting", "Text2", false},
        {3, "Setting", nullptr, false},
        {4, "frmAbout", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        if (!Forms::IsLoaded(QStringLiteral("Begin")))
            Launch();
        Clock::Advance(400);
        if (c.item)
            Click(c.item);
        Form* f = Forms::Find(QLatin1String(c.form));
        ASSERT_NE(f, nullptr);
        QWidget* target = c.child ? f->findChild<QWidget*>(QLatin1String(c.child)) : f;
        // The menu answers the key's release only; a panel its press.
        if (c.onRelease) {
            QTest::keyPress(target, Qt::Key_Escape);
            EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Begin")));
            QTest::keyRelease(target, Qt::Key_Escape);
        } else {
            QTest::keyPress(target, Qt::Key_Escape);
        }
        EXPECT_TRUE(Forms::LoadedNames().isEmpty()) << Forms::LoadedNames().join(' ').toStdString();
    }
    // The release of an Esc pressed elsewhere (the one that answered a task window's box and so
    // closed the window in front of the menu) ends nothing.
    Launch();
    Clock::Advance(400);
    Form* menu = Forms::Find(QStringLiteral("Begin"));
    ASSERT_NE(menu, nullptr);
    QTest::keyRelease(menu, Qt::Key_Escape);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Begin")));
}

TEST_F(StartMenuTest, F4InAPanelMinimisesTheProgramAndRestoringBringsThePanelBack)
{
    StartUp();
    for (int item : {3, 4}) {
        SCOPED_TRACE(item);
        Click(item);
        Form* panel = Forms::Find(QLatin1String(item == 3 ? "Setting" : "frmAbout"));
        QTest::keyClick(panel, Qt::Key_F4);
        EXPECT_EQ(m_main->WindowState(), Form::Minimized);
        EXPECT_FALSE(panel->isVisible());
        m_main->SetWindowState(Form::Normal);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Begin")));
    }
}

TEST_F(StartMenuTest, AMenuUnloadedDuringStartUpTakesNoFurtherStep)
{
    m_menu->Unload();
    Clock::Advance(1000);
    EXPECT_TRUE(Journal().isEmpty());
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Begin1")));
}

TEST_F(StartMenuTest, WithTheRealLoadingWindowTheCoursePanelOpensOnceTheTablesAreLoaded)
{
    Forms::RegisterFactory(QStringLiteral("LoadData"), [] { return new LoadData; });
    WriteFile("Record/yourname.txt", "Anna\r\n");
    WriteFile("Record/tutor.txt", "lin\r\n");
    QStringList seen;
    Clock::Advance(199);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("LoadData")));
    // The loading window lies at the panel place while it is open.
    Timer look(nullptr, 1, true);
    QObject::connect(&look, &Timer::Tick, [&] {
        if (Form* loading = Forms::Find(QStringLiteral("LoadData"))) {
            look.SetEnabled(false);
            seen << QStringLiteral("modal=%1").arg(loading->IsShownModal() ? 1 : 0);
            ExpectAtPanelPlace(loading);
        }
    });
    Clock::Advance(1000);
    EXPECT_EQ(seen, QStringList{"modal=1"});
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("LoadData")));
    EXPECT_EQ(Journal(), (QStringList{"load Dictionary", "load DictionaryOnline", "load Begin1"}));
    EXPECT_EQ(State().CurrentActivity, 0);
    EXPECT_EQ(State().UserName, "Anna");
    EXPECT_EQ(State().TutorMailbox, "lin");
    EXPECT_TRUE(Shown("Begin1"));
    EXPECT_EQ(Looks(), "spppp");
}
