// The on-line dictionary window's wiring, driven through its real controls on the offscreen
// platform against the loopback service; the rules behind it are tested beside this file.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "AppState.h"
#include "CodePage.h"
#include "ComboBox.h"
#include "Dictionary.h"
#include "DictionaryForms.h"
#include "DictionaryOnline.h"
#include "FormCalls.h"
#include "LoopbackService.h"
#include "ResultPage.h"
#include "RichTextBox.h"
#include "ServicePages.h"
#include "TestSupport.h"

namespace {

class DictionaryOnlineWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        State().AppPath = m_dir->path() + QLatin1Char('/');
        qputenv("VELMORA_ONLINE_SERVICE", m_service.Address().toUtf8());
        RegisterDictionaryForms();
        m_window = Forms::Load<DictionaryOnline>();
        ASSERT_TRUE(m_window);
        m_window->Show();
        m_window->activateWindow();
        Combo1 = Control<ComboBox>("Combo1");
        Box = Control<RichTextBox>("RichTextBox1");
        Bar = Control<QProgressBar>("ProgressBar1");
        ASSERT_TRUE(Combo1 && Box && Bar);
    }
    void TearDown() override
    {
        qputenv("VELMORA_ONLINE_SERVICE", "http://127.0.0.1:9");
        AppFixture::TearDown();
    }
    template <class T> T* Control(const char* name) const
    {
        return Forms::Control<T>(QStringLiteral("DictionaryOnline"), QString::fromLatin1(name));
    }
    void Type(const QString& text)
    {
        QLineEdit* edit = Combo1->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    bool WaitForResult() { return RunUntil([&] { return Combo1->isEnabled(); }); }

    LoopbackService m_service;
    DictionaryOnline* m_window{nullptr};
    ComboBox* Combo1{nullptr};
    RichTextBox* Box{nullptr};
    QProgressBar* Bar{nullptr};
};

TEST_F(DictionaryOnlineWindowTest, SearchCacheLocateSelectionAndSaveAtUnload)
{
    EXPECT_TRUE(Box->Text().startsWith(QStringLiteral("You can input a Chinese vocabulary")));
    EXPECT_FALSE(Control<QCheckBox>("Check1")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>("Check2")->isChecked());
    m_service.SetPage(QStringLiteral("hello"), {200, "text/html",
        Pages::Html(Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")},
            {QStringLiteral("你好！"), QStringLiteral("Hello!")})).toUtf8(), false});

    // Enter in the search box looks the text up: loading, then the result.
    Type(QStringLiteral("  hello "));
    QTest::keyClick(Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(Bar->isVisibleTo(m_window));
    EXPECT_FALSE(Combo1->isEnabled());
    ASSERT_TRUE(WaitForResult());
    EXPECT_FALSE(Bar->isVisibleTo(m_window));
    EXPECT_TRUE(Box->Text().startsWith(QStringLiteral("hello  1) greeting;    [Lexicon Online]")));
    EXPECT_EQ(Combo1->List(0), QStringLiteral("hello"));
    EXPECT_EQ(m_window->LastQuery(), QStringLiteral("hello"));

    // "Search" again in other capitals: served from the cache, headed as stored.
    Type(QStringLiteral("HELLO"));
    QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(m_service.Requests().size(), 1);
    EXPECT_TRUE(Box->Text().startsWith(QStringLiteral("hello")));
    EXPECT_EQ(Combo1->ListCount(), 1);

    // "Locate" skips the heading and walks to the example, then around again.
    QPushButton* locate = Control<QPushButton>("Command2");
    const int example = int(Box->Text().indexOf(QStringLiteral("Hello!")));
    QTest::mouseClick(locate, Qt::LeftButton);
    EXPECT_EQ(Box->SelStart(), example);
    EXPECT_EQ(Box->SelLength(), 5);
    QTest::mouseClick(locate, Qt::LeftButton);
    EXPECT_EQ(Box->SelStart(), example);

    // One Chinese character selected with the mouse goes into the search box.
    const int ni = int(Box->document()->toPlainText().indexOf(QStringLiteral("你")));
    QTextCursor c(Box->document());
    c.setPosition(ni);
    const QPoint from = Box->cursorRect(c).center();
    c.setPosition(ni + 1);
    const QPoint to = Box->cursorRect(c).center();
    QTest::mousePress(Box->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, Box->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Box->viewport(), &move);
    QTest::mouseRelease(Box->viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(Combo1->Text(), QStringLiteral("你"));
    EXPECT_EQ(Box->SelLength(), 0);

    // Ticking "Automatically" unticks the local dictionary's box; unticking leaves it.
    Dictionary* local = Forms::Load<Dictionary>();
    ASSERT_TRUE(local && local->Check2->isChecked());
    QCheckBox* check1 = Control<QCheckBox>("Check1");
    QTest::mouseClick(check1, Qt::LeftButton, {}, QPoint(8, check1->height() / 2));
    EXPECT_TRUE(m_window->AutoLookUp());
    EXPECT_FALSE(local->Check2->isChecked());
    QTest::mouseClick(check1, Qt::LeftButton, {}, QPoint(8, check1->height() / 2));
    EXPECT_FALSE(m_window->AutoLookUp());
    EXPECT_FALSE(local->Check2->isChecked());

    // The window manager's close only hides it; unloading saves the cache.
    m_window->close();
    EXPECT_TRUE(Forms::Find<DictionaryOnline>());
    Forms::Unload(QStringLiteral("DictionaryOnline"));
    EXPECT_EQ(CodePage::FromGbk(ReadFile(QStringLiteral("Record/wangci.txt"))),
        QStringLiteral("hello: 1) greeting;##你好！#Hello!#\r\n"));
}

TEST_F(DictionaryOnlineWindowTest, NoConnectionPutsTheQueryBackAndCommon01Widens)
{
    qputenv("VELMORA_ONLINE_SERVICE", QByteArray("http://127.0.0.1:") + QByteArray::number(LoopbackService::ClosedPort()));
    Type(QStringLiteral("hello"));
    QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
    Combo1->SetText(QString());
    ASSERT_TRUE(WaitForResult());
    EXPECT_EQ(Box->Text(), QStringLiteral("Cannot find server!"));
    EXPECT_EQ(Combo1->Text(), QStringLiteral("hello"));

    CharacterRecord zhong;
    zhong.Character = QStringLiteral("中");
    zhong.Phrases = {QStringLiteral("文")};
    State().CharacterTable.append(zhong);
    State().CharacterCount = 1;
    m_window->Common01(QStringLiteral("中"), 1, QStringLiteral("中文好"));
    EXPECT_EQ(m_window->LastQuery(), QStringLiteral("中文"));
    ASSERT_TRUE(WaitForResult());
    Control<QCheckBox>("Check2")->setChecked(false);
    m_window->Common01(QStringLiteral("中"), 1, QStringLiteral("中文好"));
    EXPECT_EQ(m_window->LastQuery(), QStringLiteral("中"));
    ASSERT_TRUE(WaitForResult());
}

TEST_F(DictionaryOnlineWindowTest, AnEntryTooCostlyToLayOutIsToldTooLargeAndAskedForAgain)
{
    // Within the page's limit, but one word changing writing direction at every letter: the
    // box would take seconds to lay it out. "sorry" begins the notice itself.
    const QString costly = QStringLiteral("a\u05D0").repeated(15000);
    for (const char* word : {"hello", "sorry"})
        m_service.SetPage(QLatin1String(word),
            {200, "text/html", Pages::Html(Pages::English(QLatin1String(word), {costly})).toUtf8(), false});
    m_service.SetPage(QStringLiteral("tea"),
        {200, "text/html", Pages::Html(Pages::English(QStringLiteral("tea"), {QStringLiteral("a drink")})).toUtf8(), false});
    auto search = [&](const char* word) {
        Type(QLatin1String(word));
        QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
        return WaitForResult();
    };
    for (const char* word : {"hello", "sorry", "hello"}) {
        SCOPED_TRACE(word);
        const qsizetype asked = m_service.Requests().size();
        ASSERT_TRUE(search(word));
        EXPECT_EQ(m_service.Requests().size(), asked + 1) << "never answered from the cache";
        EXPECT_EQ(Box->Text(), QLatin1String(TooLargeText));
        EXPECT_EQ(State().OnlineWordCount, 0);
    }
    // The next word is shown and kept as ever.
    ASSERT_TRUE(search("tea"));
    EXPECT_TRUE(Box->Text().startsWith(QStringLiteral("tea"))) << Box->Text().toStdString();
    EXPECT_EQ(State().OnlineWordCount, 1);
}

TEST_F(DictionaryOnlineWindowTest, TheSearchBoxHasTheKeysAgainWhenItsPageIsShownOrFails)
{
    for (const char* word : {"tea", "teapot", "cup"})
        m_service.SetPage(QLatin1String(word), {200, "text/html",
            Pages::Html(Pages::English(QLatin1String(word), {QStringLiteral("a drink")})).toUtf8(), false});
    m_service.SetPage(QStringLiteral("slow"), {200, "text/html",
        Pages::Html(Pages::English(QStringLiteral("slow"), {QStringLiteral("not fast")})).toUtf8(), true});
    // Typed where the keys are, as the learner types.
    const auto type = [](const QString& text) {
        QWidget* keys = QApplication::focusWidget();
        ASSERT_NE(keys, nullptr);
        QTest::keyClicks(keys, text);
        QTest::keyClick(keys, Qt::Key_Return);
    };
    ASSERT_TRUE(Combo1->SetFocus());
    ASSERT_TRUE(RunUntil([&] { return Combo1->hasFocus(); }));
    // A page shown, the next look-up typed after it, and a page that fails.
    type(QStringLiteral("tea"));
    ASSERT_TRUE(WaitForResult());
    EXPECT_TRUE(Combo1->hasFocus());
    type(QStringLiteral("pot"));
    ASSERT_TRUE(WaitForResult());
    EXPECT_TRUE(Combo1->hasFocus());
    // A click on Search takes the keys to the button: they go on to the box all the same, and
    // the next word typed there looks the next page up.
    Combo1->SetText(QStringLiteral("cu"));
    QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
    ASSERT_TRUE(WaitForResult());
    EXPECT_TRUE(Combo1->hasFocus());
    type(QStringLiteral("p"));
    ASSERT_TRUE(WaitForResult());
    EXPECT_TRUE(Combo1->hasFocus());
    EXPECT_EQ(m_service.Queries(), (QStringList{QStringLiteral("tea"), QStringLiteral("teapot"), QStringLiteral("cu"),
                                       QStringLiteral("cup")}));
    qputenv("VELMORA_ONLINE_SERVICE", QByteArray("http://127.0.0.1:") + QByteArray::number(LoopbackService::ClosedPort()));
    type(QStringLiteral("s"));
    ASSERT_TRUE(WaitForResult());
    EXPECT_EQ(Box->Text(), QStringLiteral("Cannot find server!"));
    EXPECT_TRUE(Combo1->hasFocus());

    // Keys the learner moves elsewhere while a page loads stay there.
    qputenv("VELMORA_ONLINE_SERVICE", m_service.Address().toUtf8());
    Combo1->SetText(QString());
    type(QStringLiteral("slow"));
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    Box->setFocus();
    m_service.ReleaseHeld();
    ASSERT_TRUE(WaitForResult());
    EXPECT_TRUE(Box->hasFocus());
}

} // namespace
