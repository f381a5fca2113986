// Owned windows following their owner, our boxes going down and coming back with the window
// they are open over, activation that ignores our own boxes and dialogs, and key preview.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "ControlKit.h"
#include "Form.h"
#include "FormEvents.h"
#include "Forms.h"
#include "MsgBox.h"
#include "TestSupport.h"

namespace {
class Probe : public Form {
    Q_OBJECT
public:
    explicit Probe(const QString& name)
        : Form(name)
    {
        resize(200, 100);
        edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text1"));
    }
    QLineEdit* edit{nullptr};
    int activations{0};
    int deactivations{0};
    QList<int> downs;
    QList<int> ups;
    QList<Form::WindowStateKind> resizes;
    std::function<void()> onCloseBox; // the form's own answer to the close box, else an unload
    bool usesReturn{false};           // the form's key handler takes Return for itself
    bool ownerShownFirst{false};       // whether its owner was shown when it was last shown
    QWidget* keysNext{nullptr};        // what the form names to take the keys of a lost control

protected:
    QWidget* KeysAfter(QWidget* control) override { return keysNext ? keysNext : Form::KeysAfter(control); }
    void showEvent(QShowEvent* e) override
    {
        ownerShownFirst = !Owner() || Owner()->isVisible();
        Form::showEvent(e);
    }
    void Form_CloseRequested() override { onCloseBox ? onCloseBox() : Form::Form_CloseRequested(); }
    void Form_Activate() override { ++activations; }
    void Form_Deactivate() override { ++deactivations; }
    void Form_KeyDown(int& keyCode, int) override
    {
        downs << keyCode;
        if (usesReturn && keyCode == Keys::Return)
            keyCode = 0;
    }
    void Form_KeyUp(int& keyCode, int) override { ups << keyCode; }
    void Form_Resize() override { resizes << WindowState(); }
};

class FormWindowsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        for (const char* name : {"Main", "Menu", "Panel", "Other"})
            Forms::RegisterFactory(QString::fromLatin1(name), [n = QString::fromLatin1(name)] { return new Probe(n); });
    }
    Probe* LoadProbe(const char* name) { return qobject_cast<Probe*>(Forms::Load(QString::fromLatin1(name))); }
    static void Activate(QWidget* w)
    {
        w->activateWindow();
        QApplication::processEvents();
    }
};
} // namespace

TEST_F(FormWindowsTest, OwnedWindowsGoDownWithTheirOwnerAndComeBackWithIt)
{
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    Probe* panel = LoadProbe("Panel");
    Probe* other = LoadProbe("Other");
    main->Show();
    menu->Show(Form::Modeless, main);
    panel->Show(Form::Modeless, menu);
    other->Show();
    EXPECT_TRUE(panel->IsOwnedBy(main));
    EXPECT_FALSE(main->IsOwnedBy(panel));

    main->SetWindowState(Form::Minimized);
    EXPECT_EQ(main->WindowState(), Form::Minimized);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(other->isVisible());
    ASSERT_FALSE(main->resizes.isEmpty());
    EXPECT_EQ(main->resizes.last(), Form::Minimized);

    main->SetWindowState(Form::Normal);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(main->resizes.last(), Form::Normal);
}

TEST_F(FormWindowsTest, OwnedWindowsAreToolWindowsWithTheirOwnerAsTransientParent)
{
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    Probe* panel = LoadProbe("Panel");
    Probe* other = LoadProbe("Other");
    main->SetBorderless(true);
    panel->SetBorderless(true);
    main->Show();
    other->Show();
    menu->Show();
    // Shown alone first, then with an owner: it becomes an owned window and stays shown.
    menu->Show(Form::Modeless, main);
    panel->Show(Form::Modeless, menu);

    struct Case {
        const char* name;
        Probe* form;
        Probe* owner;
        bool borderless;
    };
    for (const Case& c : {Case{"main", main, nullptr, true}, Case{"other", other, nullptr, false},
             Case{"menu", menu, main, false}, Case{"panel", panel, menu, true}}) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.form->isVisible());
        // Only a window of a transient type gets WM_TRANSIENT_FOR; only unowned windows are
        // listed in the taskbar.
        EXPECT_EQ(c.form->windowType(), c.owner ? Qt::Tool : Qt::Window);
        EXPECT_EQ(c.form->windowFlags().testFlag(Qt::FramelessWindowHint), c.borderless);
        ASSERT_NE(c.form->windowHandle(), nullptr);
        EXPECT_EQ(c.form->windowHandle()->transientParent(), c.owner ? c.owner->windowHandle() : nullptr);
    }

    // Hidden with its owner and back: still owned, still above it.
    main->SetWindowState(Form::Minimized);
    main->SetWindowState(Form::Normal);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowType(), Qt::Tool);
    EXPECT_EQ(panel->windowHandle()->transientParent(), menu->windowHandle());
}

TEST_F(FormWindowsTest, OwnedWindowsStackInTheOrderTheyWereShownEachWithTheWindowsItOwns)
{
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    Probe* panel = LoadProbe("Panel");
    Probe* other = LoadProbe("Other");
    main->Show();
    menu->Show(Form::Modeless, main);
    panel->Show(Form::Modeless, menu);
    other->Show(Form::Modeless, main);
    using Stack = QList<Form*>;
    EXPECT_EQ(main->OwnedWindowsBottomToTop(), (Stack{menu, panel, other}));
    EXPECT_EQ(menu->OwnedWindowsBottomToTop(), (Stack{panel}));
    EXPECT_TRUE(panel->OwnedWindowsBottomToTop().isEmpty());

    // Shown again, the menu comes to the top with the panel it owns.
    menu->Show(Form::Modeless, main);
    EXPECT_EQ(main->OwnedWindowsBottomToTop(), (Stack{other, menu, panel}));

    // Hidden and unloaded windows are not raised.
    panel->Hide();
    EXPECT_EQ(main->OwnedWindowsBottomToTop(), (Stack{other, menu}));
    other->Unload();
    EXPECT_EQ(main->OwnedWindowsBottomToTop(), (Stack{menu}));
}

TEST_F(FormWindowsTest, AnOwnerThatTheFormOwnsIsNotTaken)
{
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    Probe* panel = LoadProbe("Panel");
    menu->Show(Form::Modeless, main);
    panel->Show(Form::Modeless, menu);
    main->Show(Form::Modeless, panel);
    EXPECT_EQ(main->Owner(), nullptr);
    EXPECT_FALSE(main->IsOwnedBy(panel));
    // Minimising and restoring still walk the owners to their end.
    main->SetWindowState(Form::Minimized);
    EXPECT_FALSE(panel->isVisible());
    main->SetWindowState(Form::Normal);
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(FormWindowsTest, AWindowHiddenWhileItsOwnerIsMinimisedStaysHidden)
{
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    Probe* panel = LoadProbe("Panel");
    main->Show();
    menu->Show(Form::Modeless, main);
    panel->Show(Form::Modeless, main);
    main->SetWindowState(Form::Minimized);
    panel->Hide();
    main->SetWindowState(Form::Normal);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(panel->isVisible());
    // A window that was already hidden is not shown by the restore either.
    menu->Hide();
    main->SetWindowState(Form::Minimized);
    main->SetWindowState(Form::Normal);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(FormWindowsTest, AWindowShownWhileItsOwnerIsDownComesBackWithItAfterIt)
{
    for (const bool modal : {false, true}) {
        SCOPED_TRACE(modal ? "modal" : "modeless");
        Forms::DiscardAll();
        // Loaded before its owner, so that the restore meets it first.
        Probe* panel = LoadProbe("Panel");
        Probe* main = LoadProbe("Main");
        Probe* menu = LoadProbe("Menu");
        main->Show();
        menu->Show(Form::Modeless, main);
        main->SetWindowState(Form::Minimized);
        bool shownWhileDown = true;
        bool backWithTheRestore = false;
        const auto restore = [&] {
            shownWhileDown = panel->isVisible();
            main->SetWindowState(Form::Normal);
            backWithTheRestore = panel->isVisible();
            if (modal)
                panel->Hide();
        };
        if (modal) {
            QTimer::singleShot(0, restore);
            panel->Show(Form::Modal, menu);
        } else {
            panel->Show(Form::Modeless, menu);
            restore();
        }
        EXPECT_FALSE(shownWhileDown);
        EXPECT_TRUE(backWithTheRestore);
        EXPECT_TRUE(panel->ownerShownFirst);
        EXPECT_FALSE(panel->IsShownModal());
        // Once back, it goes down with the next minimise as any other.
        main->SetWindowState(Form::Minimized);
        main->SetWindowState(Form::Normal);
        EXPECT_EQ(panel->isVisible(), !modal);
    }
}

TEST_F(FormWindowsTest, ABoxGoesDownWithTheWindowItIsOpenOverAndComesBackWithIt)
{
    m_boxes.reset(); // the real boxes
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    main->Show();
    menu->Show(Form::Modeless, main);
    Activate(menu);
    if (QApplication::activeWindow() != menu)
        GTEST_SKIP() << "the window system gives no activation";
    const auto shownBox = []() -> QMessageBox* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                return box;
        return nullptr;
    };
    for (const bool openFirst : {true, false}) {
        SCOPED_TRACE(openFirst ? "open at the minimise" : "asked for while minimised");
        struct Seen {
            bool shownWhileDown{true};
            bool asked{false};
            QWidget* over{nullptr};
            bool minimised{true};
        } seen;
        QTimer answer;
        answer.setInterval(0);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            // The box comes back once its window is back, and answers as it would have.
            QMessageBox* box = shownBox();
            if (!box)
                return;
            answer.stop();
            seen.over = box->parentWidget();
            seen.minimised = box->windowState() & Qt::WindowMinimized;
            box->button(QMessageBox::Yes)->click();
        });
        const auto restore = [&] {
            seen.shownWhileDown = shownBox() != nullptr;
            seen.asked = MsgBox::IsShowing();
            main->SetWindowState(Form::Normal);
            answer.start();
        };
        if (openFirst) {
            QTimer::singleShot(0, [&] {
                main->SetWindowState(Form::Minimized);
                restore();
            });
        } else {
            main->SetWindowState(Form::Minimized);
            QTimer::singleShot(0, restore);
        }
        EXPECT_EQ(MsgBox::Show(QStringLiteral("text"), MsgBox::YesNo, MsgBox::Question, QStringLiteral("Attention"),
                      MsgBox::DefaultSecond),
            MsgBox::Yes);
        EXPECT_FALSE(seen.shownWhileDown);
        EXPECT_TRUE(seen.asked);
        EXPECT_EQ(seen.over, menu);
        EXPECT_FALSE(seen.minimised);
        EXPECT_FALSE(MsgBox::IsShowing());
        EXPECT_TRUE(menu->isVisible());
    }
}

TEST_F(FormWindowsTest, OwnedWindowsIconifiedWithTheirOwnerComeBackNormal)
{
    // A window manager iconifies the transient windows with their owner before the owner's
    // own minimise hides them; shown again iconic, they would minimise the owner once more.
    Probe* main = LoadProbe("Main");
    Probe* menu = LoadProbe("Menu");
    Probe* panel = LoadProbe("Panel");
    main->Show();
    menu->Show(Form::Modeless, main);
    panel->Show(Form::Modeless, menu);
    for (Probe* owned : {menu, panel})
        owned->setWindowState(owned->windowState() | Qt::WindowMinimized);
    main->SetWindowState(Form::Minimized);
    main->SetWindowState(Form::Normal);
    for (Probe* owned : {menu, panel}) {
        SCOPED_TRACE(owned->objectName().toStdString());
        EXPECT_TRUE(owned->isVisible());
        EXPECT_EQ(owned->WindowState(), Form::Normal);
    }
    EXPECT_EQ(main->WindowState(), Form::Normal);
}

TEST_F(FormWindowsTest, ActivationIgnoresOurOwnMessageBoxesAndDialogs)
{
    Probe* a = LoadProbe("Main");
    Probe* b = LoadProbe("Other");
    a->Show();
    b->Show();
    b->move(300, 0);
    Activate(a);
    if (QApplication::activeWindow() != a)
        GTEST_SKIP() << "the window system gives no activation";
    EXPECT_GE(a->activations, 1);
    const int activations = a->activations;
    const int deactivations = a->deactivations;
    const int bActivations = b->activations;

    struct Case {
        const char* what;
        std::function<QWidget*(QWidget*)> make;
    };
    // Our boxes and dialogs open over the active form, as MsgBox and the file dialogs do.
    const Case cases[] = {
        {"message box",
            [](QWidget* over) { return new QMessageBox(QMessageBox::Warning, "Warning", "text", QMessageBox::Ok, over); }},
        {"dialog", [](QWidget* over) { return new QDialog(over); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<QWidget> box(c.make(a));
        box->show();
        Activate(box.get());
        EXPECT_EQ(QApplication::activeWindow(), box.get());
        box->hide();
        Activate(a);
        EXPECT_EQ(a->deactivations, deactivations);
        EXPECT_EQ(a->activations, activations);
    }

    Activate(b);
    EXPECT_EQ(a->deactivations, deactivations + 1);
    EXPECT_EQ(b->activations, bActivations + 1);
}

TEST_F(FormWindowsTest, AWindowClosedByItsCloseBoxGivesTheKeysBackToTheWindowActiveBeforeIt)
{
    struct Case {
        const char* what;
        std::function<void(Probe* main, Probe* menu, Probe* panel, Probe* other)> before;
        const char* keys; // the window active after the close, or "" for none of ours
    };
    const Case cases[] = {
        {"unloaded", [](Probe*, Probe*, Probe*, Probe*) {}, "Panel"},
        {"hidden, the one before it hidden since",
            [](Probe*, Probe*, Probe* panel, Probe* other) {
                panel->Hide();
                other->onCloseBox = [other] { other->Hide(); };
            },
            "Menu"},
        {"the form gives the keys itself",
            [](Probe*, Probe* menu, Probe*, Probe* other) {
                other->onCloseBox = [menu, other] {
                    other->Unload();
                    FormEvents::GiveKeysTo(menu);
                };
            },
            "Menu"},
        {"the program ends",
            [](Probe* main, Probe*, Probe*, Probe* other) {
                other->onCloseBox = [main, other] {
                    other->Unload();
                    main->Hide();
                    main->Unload();
                };
            },
            ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::DiscardAll();
        QApplication::processEvents();
        Probe* main = LoadProbe("Main");
        Probe* menu = LoadProbe("Menu");
        Probe* panel = LoadProbe("Panel");
        Probe* other = LoadProbe("Other");
        main->Show();
        Activate(main);
        for (Probe* owned : {menu, panel, other}) {
            owned->Show(Form::Modeless, main);
            Activate(owned);
        }
        if (QApplication::activeWindow() != other)
            GTEST_SKIP() << "the window system gives no activation";
        c.before(main, menu, panel, other);
        other->close();
        QApplication::processEvents();
        const auto* active = qobject_cast<Form*>(QApplication::activeWindow());
        EXPECT_EQ(active && active->isVisible() ? active->FormName() : QString(), QString::fromLatin1(c.keys));
    }
}

TEST_F(FormWindowsTest, KeyCodesTellTheMainRowFromTheKeypad)
{
    Probe* form = LoadProbe("Main");
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int code;
    };
    const Case cases[] = {{Qt::Key_1, Qt::NoModifier, 49}, {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_1, Qt::KeypadModifier, 97}, {Qt::Key_0, Qt::KeypadModifier, 96},
        {Qt::Key_Equal, Qt::NoModifier, 187}, {Qt::Key_Plus, Qt::ShiftModifier, 187},
        {Qt::Key_Minus, Qt::NoModifier, 189}, {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::KeypadModifier, 109}, {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_B, Qt::ShiftModifier, 66}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        form->downs.clear();
        QTest::keyClick(form, c.key, c.mods);
        EXPECT_EQ(form->downs, QList<int>{c.code});
    }
}

TEST_F(FormWindowsTest, KeyPreviewSeesEscOnKeyUpF4AndEnterBeforeTheControls)
{
    Probe* form = LoadProbe("Main");
    form->SetKeyPreview(true);
    form->Show();
    Activate(form);
    form->edit->setFocus();
    struct Case {
        Qt::Key key;
        int code;
    };
    for (const Case c : {Case{Qt::Key_Escape, 27}, Case{Qt::Key_F4, 115}, Case{Qt::Key_Return, 13}}) {
        SCOPED_TRACE(c.code);
        form->downs.clear();
        form->ups.clear();
        QTest::keyClick(form->edit, c.key);
        EXPECT_EQ(form->downs, QList<int>{c.code});
        EXPECT_EQ(form->ups, QList<int>{c.code});
    }
    // Without preview the focused control keeps its keys to itself.
    form->SetKeyPreview(false);
    form->downs.clear();
    QTest::keyClick(form->edit, Qt::Key_A);
    EXPECT_TRUE(form->downs.isEmpty());
    EXPECT_EQ(form->edit->text(), "a");
}

TEST_F(FormWindowsTest, AKeyReleasedWithoutItsPressInTheSameFormIsNotPreviewed)
{
    Probe* form = LoadProbe("Main");
    Probe* other = LoadProbe("Other");
    form->SetKeyPreview(true);
    other->SetKeyPreview(true);
    form->Show();
    Activate(form);
    form->edit->setFocus();

    // Esc pressed in one form that closes (or hides) on it: its release must not close the next.
    QTest::keyPress(form->edit, Qt::Key_Escape);
    form->Hide();
    other->Show();
    Activate(other);
    other->edit->setFocus();
    QTest::keyRelease(other->edit, Qt::Key_Escape);
    EXPECT_TRUE(other->ups.isEmpty());
    EXPECT_EQ(form->downs, QList<int>{27});

    // A release whose press went to a message box or an open list reaches nobody.
    QTest::keyRelease(other->edit, Qt::Key_Escape);
    EXPECT_TRUE(other->ups.isEmpty());

    // A whole key stroke in the form is previewed as ever.
    QTest::keyClick(other->edit, Qt::Key_Escape);
    EXPECT_EQ(other->ups, QList<int>{27});
}

TEST_F(FormWindowsTest, AFocusedButtonClicksOnReturnUnlessTheFormsKeyHandlerUsesIt)
{
    Probe* form = LoadProbe("Main");
    QPushButton* button = Kit::Button(form, QStringLiteral("Command1"), {0, 0, 1200, 400}, QStringLiteral("Open"));
    QSignalSpy clicks(button, &QPushButton::clicked);
    form->Show();
    Activate(form);
    struct Case {
        const char* name;
        bool preview;
        bool usesReturn;
        int clicks;
    };
    const Case cases[] = {{"no preview", false, false, 1}, {"preview that passes Return on", true, false, 1},
        {"preview that uses Return", true, true, 0}};
    for (const Case& c : cases) {
        for (const Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
            SCOPED_TRACE(std::string(c.name) + (mods ? ", keypad Enter" : ", Return"));
            form->SetKeyPreview(c.preview);
            form->usesReturn = c.usesReturn;
            form->downs.clear();
            clicks.clear();
            button->setFocus();
            QTest::keyClick(button, mods ? Qt::Key_Enter : Qt::Key_Return, mods);
            EXPECT_EQ(clicks.count(), c.clicks);
            EXPECT_EQ(form->downs, c.preview ? QList<int>{Keys::Return} : QList<int>{});
            // The button goes on as before: Space clicks it.
            QTest::keyClick(button, Qt::Key_Space);
            EXPECT_EQ(clicks.count(), c.clicks + 1);
        }
    }
}

TEST_F(FormWindowsTest, AControlDisabledOrHiddenWithTheKeysHandsThemToWhatTheWindowExpectsNext)
{
    // Tab order: the text box, Start, Close. Start goes off with the keys; the next control of
    // the chain, Close, must never get them, nor Return close anything.
    struct Case {
        const char* name;
        bool hide;     // hidden rather than disabled
        bool namesBox; // the window names its text box to take the keys next
        bool boxOff;   // the text box is disabled when Start goes off, enabled after Start is back
        bool tabbed;   // the learner presses Tab while Start is off
        const char* whileOff;
        const char* afterBack;
    };
    const Case cases[] = {
        {"disabled: the window keeps them, Start takes them back", false, false, false, false, "Main", "Start"},
        {"hidden: the same", true, false, false, false, "Main", "Start"},
        {"the window names its text box", false, true, false, false, "Text1", "Text1"},
        {"the box named is off too: it takes them when it is on", false, true, true, false, "Main", "Text1"},
        {"the learner moved on meanwhile", false, false, false, true, "Text1", "Text1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forms::DiscardAll();
        QApplication::processEvents();
        Probe* form = LoadProbe("Main");
        form->SetKeyPreview(true);
        QPushButton* start = Kit::Button(form, QStringLiteral("Start"), {0, 600, 1200, 400}, QStringLiteral("Start"));
        QPushButton* close = Kit::Button(form, QStringLiteral("Close"), {1300, 600, 1200, 400}, QStringLiteral("Close"));
        QSignalSpy closes(close, &QPushButton::clicked);
        form->Show();
        Activate(form);
        if (QApplication::activeWindow() != form)
            GTEST_SKIP() << "the window system gives no activation";
        form->keysNext = c.namesBox ? form->edit : nullptr;
        const auto keys = [form] { return form->focusWidget() ? form->focusWidget()->objectName() : QString(); };
        start->setFocus();
        form->edit->setEnabled(!c.boxOff);
        c.hide ? start->hide() : start->setEnabled(false);
        if (c.tabbed)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(keys(), QString::fromLatin1(c.whileOff));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(closes.count(), 0);
        c.hide ? start->show() : start->setEnabled(true);
        form->edit->setEnabled(true);
        EXPECT_EQ(keys(), QString::fromLatin1(c.afterBack));
    }
}

TEST_F(FormWindowsTest, ARestoreGivesTheKeysToTheWindowThatHadThemOrTheOneBeforeItWhereItIsGone)
{
    struct Case {
        const char* name;
        const char* active; // the window that has the keys when the main window goes down
        bool popupGone;     // the pop-up hides itself while the program is down
        const char* keys;   // the window active after the restore
    };
    const Case cases[] = {
        {"the pop-up comes back", "Other", false, "Other"},
        {"the pop-up hid itself: the window it was over", "Other", true, "Menu"},
        {"the main window had them", "Main", true, "Main"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forms::DiscardAll();
        QApplication::processEvents();
        Probe* main = LoadProbe("Main");
        Probe* menu = LoadProbe("Menu");
        Probe* popup = LoadProbe("Other");
        main->Show();
        Activate(main);
        menu->Show(Form::Modeless, main);
        Activate(menu);
        popup->Show(Form::Modeless, main);
        Activate(popup);
        Activate(Forms::Find(QString::fromLatin1(c.active)));
        if (QApplication::activeWindow() != Forms::Find(QString::fromLatin1(c.active)))
            GTEST_SKIP() << "the window system gives no activation";
        main->SetWindowState(Form::Minimized);
        QApplication::processEvents();
        if (c.popupGone)
            popup->Hide();
        main->SetWindowState(Form::Normal);
        Activate(main); // as the window manager activates the restored window
        QApplication::processEvents();
        const auto* active = qobject_cast<Form*>(QApplication::activeWindow());
        EXPECT_EQ(active ? active->FormName() : QString(), QString::fromLatin1(c.keys));
    }
}

TEST_F(FormWindowsTest, AWindowTakesItsOwnShapeBackWhateverTheLearnerDidToIt)
{
    struct Case {
        const char* name;
        std::function<void(Form*)> learner;
        int extra; // pixels a stack makes it taller
    };
    const Case cases[] = {
        {"made larger", [](Form* f) { f->resize(f->width() + 300, f->height() + 200); }, 0},
        {"maximised", [](Form* f) { f->SetWindowState(Form::Maximized); }, 0},
        {"maximised, then grown by a stack", [](Form* f) { f->SetWindowState(Form::Maximized); }, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forms::DiscardAll();
        QApplication::processEvents();
        Probe* form = LoadProbe("Main");
        form->SetSize(3000, 1500);
        const QSize own = form->OwnSize();
        form->Show();
        c.learner(form);
        QApplication::processEvents();
        ASSERT_NE(form->size(), own);
        EXPECT_EQ(form->OwnSize(), own);
        form->TakeOwnShape(c.extra);
        QApplication::processEvents();
        EXPECT_EQ(form->WindowState(), Form::Normal);
        EXPECT_EQ(form->size(), own + QSize(0, c.extra));
    }
}

#include "FormWindowsTest.moc"
