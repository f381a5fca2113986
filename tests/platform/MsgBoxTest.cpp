// The message box service: the real box (title, icon, buttons, default) and the recorder.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "MsgBox.h"

namespace {
struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon{QMessageBox::NoIcon};
    QStringList buttons;
    QString defaultButton;
    bool showing{false};
};

// Looks at the box once it is open, then presses the button named press (or closes it).
void InspectThenPress(Seen& seen, const QString& press)
{
    QMetaObject::invokeMethod(
        qApp,
        [&seen, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.showing = MsgBox::IsShowing();
            for (QAbstractButton* b : box->buttons())
                seen.buttons << b->text().remove('&');
            seen.defaultButton = box->defaultButton() ? box->defaultButton()->text().remove('&') : QString();
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove('&') == press) {
                    b->click();
                    return;
                }
            box->reject();
        },
        Qt::QueuedConnection);
}
} // namespace

TEST(MsgBoxTest, TheRealBoxCarriesTitleIconButtonsAndDefault)
{
    struct Case {
        const char* what;
        MsgBox::Buttons buttons;
        MsgBox::Icon icon;
        MsgBox::DefaultButton def;
        const char* press; // "" closes the box without a button
        QMessageBox::Icon qtIcon;
        QStringList shownButtons;
        const char* defaultButton;
        MsgBox::Result result;
    };
    const Case cases[] = {
        {"warning", MsgBox::OkOnly, MsgBox::Exclamation, MsgBox::DefaultFirst, "OK", QMessageBox::Warning, {"OK"}, "OK",
            MsgBox::Ok},
        {"disk warning", MsgBox::OkOnly, MsgBox::Critical, MsgBox::DefaultFirst, "", QMessageBox::Critical, {"OK"}, "OK",
            MsgBox::Ok},
        {"question, No as default", MsgBox::YesNo, MsgBox::Information, MsgBox::DefaultSecond, "Yes",
            QMessageBox::Information, {"Yes", "No"}, "No", MsgBox::Yes},
        {"question closed", MsgBox::YesNo, MsgBox::Question, MsgBox::DefaultFirst, "", QMessageBox::Question,
            {"Yes", "No"}, "Yes", MsgBox::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen;
        InspectThenPress(seen, QString::fromLatin1(c.press));
        const MsgBox::Result r = MsgBox::Show(QStringLiteral("text"), c.buttons, c.icon, QStringLiteral("Attention"), c.def);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(seen.title, "Attention");
        EXPECT_EQ(seen.text, "text");
        EXPECT_EQ(seen.icon, c.qtIcon);
        QStringList sortedShown = seen.buttons;
        sortedShown.sort();
        QStringList sortedExpected = c.shownButtons;
        sortedExpected.sort();
        EXPECT_EQ(sortedShown, sortedExpected);
        EXPECT_EQ(seen.defaultButton, c.defaultButton);
        EXPECT_TRUE(seen.showing);
        EXPECT_FALSE(MsgBox::IsShowing());
    }
}

TEST(MsgBoxTest, TheRecorderAnswersInTurnThenByTheDefault)
{
    MsgBox::Recorder recorder;
    recorder.Answer(MsgBox::Yes);
    QStringList seenWhileOpen;
    recorder.OnShow([&](const MsgBox::Shown& s) { seenWhileOpen << s.text; });
    EXPECT_EQ(MsgBox::Show("one", MsgBox::YesNo, MsgBox::Question, "Attention", MsgBox::DefaultSecond), MsgBox::Yes);
    EXPECT_EQ(MsgBox::Show("two", MsgBox::YesNo, MsgBox::Question, "Attention", MsgBox::DefaultSecond), MsgBox::No);
    EXPECT_EQ(MsgBox::Show("three", MsgBox::YesNo, MsgBox::Question, "Attention"), MsgBox::Yes);
    MsgBox::Warning("four");
    EXPECT_EQ(seenWhileOpen, QStringList({"one", "two", "three", "four"}));
    ASSERT_EQ(recorder.Boxes().size(), 4);
    EXPECT_EQ(recorder.Boxes()[3].title, "Warning");
    EXPECT_EQ(recorder.Boxes()[3].icon, MsgBox::Exclamation);
}
