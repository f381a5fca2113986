#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

#include "Form.h"
#include "FormCalls.h"
#include "Forms.h"
#include "Clock.h"
#include "TestSupport.h"
#include "Timer.h"

namespace {
int g_loads = 0;
int g_unloads = 0;

class Probe : public Form {
    Q_OBJECT
public:
    Probe()
        : Form(QStringLiteral("Probe"))
    {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1"));
    }
    Q_INVOKABLE void Common01() { ++calls; }
    int calls{0};
    bool refuseUnload{false};

protected:
    void Form_Load() override { ++g_loads; }
    void Form_QueryUnload(bool& cancel) override { cancel = refuseUnload; }
    void Form_Unload() override { ++g_unloads; }
};

class FormsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        g_loads = g_unloads = 0;
        Forms::RegisterFactory(QStringLiteral("Probe"), [] { return new Probe; });
    }
};
} // namespace

TEST_F(FormsTest, LoadRunsFormLoadOnceAndFindNeverLoads)
{
    EXPECT_EQ(Forms::Find(QStringLiteral("Probe")), nullptr);
    EXPECT_FALSE(Forms::Invoke(QStringLiteral("Probe"), "Common01"));
    EXPECT_EQ(g_loads, 0);

    auto* p = Forms::Load<Probe>();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(Forms::Load<Probe>(), p);
    EXPECT_EQ(g_loads, 1);
    EXPECT_FALSE(p->isVisible());
    EXPECT_TRUE(Forms::Invoke(QStringLiteral("Probe"), "Common01"));
    EXPECT_EQ(p->calls, 1);
    EXPECT_NE(Forms::Control<QLabel>(QStringLiteral("Probe"), QStringLiteral("Label1")), nullptr);
}

TEST_F(FormsTest, UnloadRunsFormUnloadAndForgetsTheForm)
{
    auto* p = Forms::Load<Probe>();
    p->refuseUnload = true;
    p->Unload();
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Probe")));
    p->refuseUnload = false;
    p->Unload();
    p->Unload();
    EXPECT_EQ(g_unloads, 1);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Probe")));
    EXPECT_EQ(Forms::Control<QLabel>(QStringLiteral("Probe"), QStringLiteral("Label1")), nullptr);
    EXPECT_EQ(Forms::Load(QStringLiteral("NoSuchForm")), nullptr);
}

TEST_F(FormsTest, ModalShowReturnsWhenTheFormHides)
{
    auto* p = Forms::Load<Probe>();
    Timer closer(nullptr, 50, true);
    QObject::connect(&closer, &Timer::Tick, [&] {
        closer.SetEnabled(false);
        p->Hide();
    });
    // The manual clock does not move by itself inside the modal loop: drive it from a
    // zero-delay Qt callback.
    QMetaObject::invokeMethod(qApp, [] { Clock::Advance(100); }, Qt::QueuedConnection);
    p->Show(Form::Modal);
    EXPECT_FALSE(p->isVisible());
    EXPECT_FALSE(p->IsShownModal());
}


TEST_F(FormsTest, AFormWithoutACaptionOfItsOwnIsTitledWithTheProgramsName)
{
    auto* p = Forms::Load<Probe>();
    ASSERT_NE(p, nullptr);
    const QString program = QCoreApplication::applicationName();
    ASSERT_FALSE(program.isEmpty());
    EXPECT_EQ(p->windowTitle(), program);
    p->SetCaption(QStringLiteral("Lesson Text"));
    EXPECT_EQ(p->windowTitle(), "Lesson Text");
    p->SetCaption(QString());
    EXPECT_EQ(p->windowTitle(), program);
}

#include "FormsTest.moc"
