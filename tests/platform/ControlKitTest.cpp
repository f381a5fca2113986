// The control kit (controls in one call, control rows) and the hook through which an earlier
// folder calls a loaded window of a later one.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ControlKit.h"
#include "Form.h"
#include "Forms.h"
#include "TestSupport.h"
#include "WindowHook.h"

namespace {

// Counts the pointer moves that reach the form itself.
class Host : public Form {
    Q_OBJECT
public:
    Host()
        : Form(QStringLiteral("Host"))
    {
        setMouseTracking(true);
        SetSize(6000, 4500);
    }
    int formMoves{0};

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        ++formMoves;
        Form::mouseMoveEvent(e);
    }
};

void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class ControlKitTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Forms::RegisterFactory<Host>();
        m_host = Forms::Load<Host>();
        m_host->Show();
    }
    Host* m_host{nullptr};
};

} // namespace

TEST_F(ControlKitTest, ControlsTakeNameTwipGeometryAndLookInOneCall)
{
    // 96 dots per inch in the tests: 15 twips a pixel.
    const Kit::Rect at{150, 300, 1500, 450};
    const QRect pixels(10, 20, 100, 30);
    const Kit::Look look{.points = 14, .weight = QFont::Bold, .underline = true, .ink = QColor(1, 2, 3)};
    QWidget* controls[] = {
        Kit::Label(m_host, "Label4", at, "Tone", look),
        Kit::Button(m_host, "Command1", at, "Save", look),
        Kit::CheckBox(m_host, "Check1", at, "Again", look),
        Kit::OptionButton(m_host, "Option1(0)", at, "Full screen", look),
        Kit::TextBox(m_host, "Text1", at, look),
    };
    for (QWidget* w : controls) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(m_host->findChild<QWidget*>(w->objectName()), w);
        EXPECT_EQ(w->geometry(), pixels);
        EXPECT_EQ(w->font().pointSizeF(), 14);
        EXPECT_TRUE(w->font().bold());
        EXPECT_TRUE(w->font().underline());
        EXPECT_EQ(w->palette().color(QPalette::WindowText), QColor(1, 2, 3));
        // Disabled, the control keeps the greyed text that says so.
        EXPECT_NE(w->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(1, 2, 3));
        EXPECT_NE(w->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(1, 2, 3));
        EXPECT_FALSE(w->autoFillBackground());
    }
    EXPECT_EQ(qobject_cast<QPushButton*>(controls[1])->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ControlKitTest, ALookThatAsksNothingLeavesTheFormsFontAndAZeroSizeFitsTheText)
{
    QFont formFont = m_host->font();
    formFont.setPointSize(11);
    m_host->setFont(formFont);
    QLabel* plain = Kit::Label(m_host, "Label1", {300, 150}, "Some words");
    EXPECT_EQ(plain->font().pointSize(), 11);
    EXPECT_EQ(plain->pos(), QPoint(20, 10));
    EXPECT_EQ(plain->size(), plain->sizeHint());

    QLabel* paper = Kit::Label(m_host, "Label2", {0, 0, 1500, 0}, "x",
        {.paper = Qt::yellow, .align = Qt::AlignRight, .wrap = true});
    EXPECT_EQ(paper->width(), 100);
    EXPECT_TRUE(paper->autoFillBackground());
    EXPECT_EQ(paper->palette().color(QPalette::Window), QColor(Qt::yellow));
    EXPECT_EQ(paper->alignment(), Qt::AlignRight);
    EXPECT_TRUE(paper->wordWrap());

    const QPixmap picture(40, 25);
    QLabel* image = Kit::Picture(m_host, "Image1", {150, 150}, picture);
    EXPECT_EQ(image->geometry(), QRect(10, 10, 40, 25));
}

TEST_F(ControlKitTest, ATextBoxSelectsItsWholeTextOnADoubleClickOnlyWhenAsked)
{
    QLineEdit* whole = Kit::TextBox(m_host, "Text1", {0, 0, 3000, 330}, {}, true);
    QLineEdit* word = Kit::TextBox(m_host, "Text2", {0, 600, 3000, 330});
    for (QLineEdit* box : {whole, word}) {
        box->setText("alpha beta gamma");
        box->deselect();
        QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(3, box->height() / 2));
    }
    EXPECT_EQ(whole->selectedText(), "alpha beta gamma");
    EXPECT_NE(word->selectedText(), "alpha beta gamma");
}

TEST_F(ControlKitTest, ARowKeepsTheFormsIndexesAndReportsMovesAndClicksByIndex)
{
    Kit::ControlRow<QLabel> row(m_host, "Label2");
    for (int i : {0, 1, 5})
        row.Add(i, Kit::Label(m_host, row.Name(i), {0, 450.0 * i, 1500, 300}, QString::number(i)));
    EXPECT_EQ(row[5]->objectName(), "Label2(5)");
    EXPECT_EQ(row[2], nullptr);
    EXPECT_EQ(row[6], nullptr);
    QList<int> indexes;
    for (const auto& [index, label] : row)
        indexes << index;
    EXPECT_EQ(indexes, (QList<int>{0, 1, 5}));

    QStringList heard;
    row.OnMouseMove([&](int i) { heard << QStringLiteral("move %1").arg(i); });
    row.OnClick([&](int i) { heard << QStringLiteral("click %1").arg(i); });
    const struct {
        int index;
        QEvent::Type type;
        QPoint at;
        Qt::MouseButton button;
        QString heard;
    } steps[] = {
        {5, QEvent::MouseMove, {3, 3}, Qt::NoButton, "move 5"},
        {0, QEvent::MouseMove, {3, 3}, Qt::NoButton, "move 0"},
        {1, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton, "click 1"},
        {1, QEvent::MouseButtonRelease, {500, 3}, Qt::LeftButton, ""}, // released after leaving it
        {1, QEvent::MouseButtonRelease, {3, 3}, Qt::RightButton, ""},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.heard.toStdString());
        heard.clear();
        Send(row[s.index], s.type, s.at, s.button);
        EXPECT_EQ(heard, s.heard.isEmpty() ? QStringList{} : QStringList{s.heard});
    }
    EXPECT_EQ(m_host->formMoves, 0) << "the row takes the moves over its elements";
    Send(m_host, QEvent::MouseMove, {400, 400});
    EXPECT_EQ(m_host->formMoves, 1);
}

TEST_F(ControlKitTest, ARowWithoutHandlersLetsTheMovesThrough)
{
    Kit::ControlRow<QLabel> row(m_host, "Image1");
    row.Add(1, Kit::Label(m_host, row.Name(1), {0, 0, 1500, 300}));
    Send(row[1], QEvent::MouseMove, {3, 3});
    EXPECT_EQ(m_host->formMoves, 1);
}

namespace {
class Receiver {
public:
    virtual void Call() = 0;

protected:
    ~Receiver() = default;
};

class ReceiverForm : public Form, public Receiver {
    Q_OBJECT
public:
    explicit ReceiverForm(const QString& name)
        : Form(name)
    {
    }
    void Call() override {}
};

class PlainReceiver : public Receiver {
public:
    void Call() override {}
};
} // namespace

TEST_F(ControlKitTest, AHookHandsOutItsWindowOnlyWhileTheWindowIsLoaded)
{
    WindowHook<Receiver> hook;
    EXPECT_EQ(hook.Get(), nullptr);

    Forms::RegisterFactory(QStringLiteral("First"), [] { return new ReceiverForm(QStringLiteral("First")); });
    Forms::RegisterFactory(QStringLiteral("Second"), [] { return new ReceiverForm(QStringLiteral("Second")); });
    auto* first = static_cast<ReceiverForm*>(Forms::Load(QStringLiteral("First")));
    auto* second = static_cast<ReceiverForm*>(Forms::Load(QStringLiteral("Second")));
    hook.Set(first);
    EXPECT_EQ(hook.Get(), first);
    hook.Set(second);
    hook.Clear(first); // a window going away never clears its successor
    EXPECT_EQ(hook.Get(), second);

    second->Unload(); // forgot to clear itself: still never handed out
    EXPECT_EQ(hook.Get(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(hook.Get(), nullptr);

    PlainReceiver plain;
    hook.Set(&plain);
    EXPECT_EQ(hook.Get(), &plain);
    hook.Clear(&plain);
    EXPECT_EQ(hook.Get(), nullptr);
}

#include "ControlKitTest.moc"
