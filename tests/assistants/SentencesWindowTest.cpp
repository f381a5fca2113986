#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "AssistantsFixture.h"
#include "Clock.h"
#include "ComboBox.h"
#include "FenPeiTiao.h"
#include "ListView.h"
#include "LoopbackService.h"
#include "MailSender.h"
#include "RichTextBox.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "Zoom.h"

using namespace assistants_test;

namespace {

SentenceRecord Sentence(const char* pinyin, const char16_t* chinese, const char* english, qint16 source)
{
    return {QString::fromUtf8(pinyin), QString::fromUtf16(chinese), QString::fromUtf8(english), source};
}

CharacterReading Reading(const char* dotted, const char* tone)
{
    QString syllable = QString::fromLatin1(dotted);
    syllable.remove(u'.');
    const QString t = QLatin1String(tone);
    return {syllable.left(1), QLatin1String(dotted), syllable, t, t, t};
}

class SentencesWindowTest : public AssistantsFixture {
protected:
    void SetUp() override
    {
        AssistantsFixture::SetUp();
        SetUpSharedPlayers();
        Forms::RegisterFactory<Zoom>();
        Forms::Load<Zoom>();
        AppState& s = State();
        s.SentenceTable = {
            Sentence("n.i3 h.ao3 p.eng2 y.ou0", u"你好，朋友。", "Hello, my friend.", 3),  // 1
            Sentence("w.o3 x.iang3 h.e1 ch.a2", u"我想喝茶。", "I want to drink tea.", 5),  // 2
            Sentence("g.ong1 j.iao1 ch.e1 zh.an4", u"公交车站。", "The bus stop.", 99),    // 3
            Sentence("sh.ang4 ch.e1", u"上车。", "Get on the bus.", 99),                   // 4
            Sentence("x.ia4 ch.e1", u"下车。", "Get off <<< draft", 99),                   // 5
            Sentence("zh.e4 l.i3", u"这里。", "Here.", 100),                               // 6
            Sentence("n.i3", u"你好。", "Hello there.", 112),                              // 7: fewer syllables than characters
        };
        s.SentenceCount = qint16(s.SentenceTable.size());
        s.SpokenFirstSentence = 3;
        s.SpokenLastSentence = 6;
        s.CharacterTable = {{QStringLiteral("好"), {Reading("h.ao", "3"), Reading("h.ao", "4")}, {}},
            {QStringLiteral("朋"), {Reading("p.eng", "2")}, {}}};
        s.CharacterCount = 2;
        WriteFile(QStringLiteral("Phonetic Symbols/P/peng2.wav"), WavFile::Encode16(8000, 1, QByteArray(1600, '\x10')));

        Open("Command2");
        window = Forms::Find(QStringLiteral("SentencesSingle"));
        ASSERT_NE(window, nullptr);
        combo1 = Control<ComboBox>("Combo1");
        combo2 = Control<QComboBox>("Combo2");
        list = Control<ListView>("ListView1");
        box = Control<RichTextBox>("RichTextBox1");
        label2 = Control<QLabel>("Label2");
        ASSERT_TRUE(combo1 && combo2 && list && box && label2);
    }
    void TearDown() override
    {
        CloseSharedPlayers();
        AssistantsFixture::TearDown();
    }

    template <class T> static T* Control(const char* name)
    {
        return Forms::Control<T>(QStringLiteral("SentencesSingle"), QLatin1String(name));
    }
    void Category(int item)
    {
        combo2->setCurrentIndex(item);
        emit combo2->activated(item);
    }
    void SearchFor(const QString& text)
    {
        combo1->SetText(text);
        Control<QPushButton>("Command3")->click();
    }
    QStringList Column(int column) const
    {
        QStringList out;
        for (int item = 1; item <= list->ItemCount(); ++item)
            out << (column == 0 ? list->ItemText(item) : list->SubItem(item, column));
        return out;
    }
    void ShowRow(int item)
    {
        list->SetSelectedItem(item);
        emit list->Click();
    }
    // Selects text in the sentence box and releases the mouse over it.
    void SelectAndRelease(const QString& text)
    {
        const int at = int(box->Text().indexOf(text));
        ASSERT_GE(at, 0);
        box->SetSelStart(at);
        box->SetSelLength(int(text.size()));
        emit box->MouseUp(1, 0, 300, 300);
    }

    Form* window{nullptr};
    ComboBox* combo1{nullptr};
    QComboBox* combo2{nullptr};
    ListView* list{nullptr};
    RichTextBox* box{nullptr};
    QLabel* label2{nullptr};
};

TEST_F(SentencesWindowTest, OpensOnTheEmptyCategoryWithTheHintAndThePrompt)
{
    EXPECT_EQ(combo2->count(), 21);
    EXPECT_EQ(combo2->currentIndex(), 0);
    EXPECT_EQ(combo1->Text(), QStringLiteral("It is better to search what you want to speak."));
    EXPECT_EQ(Control<QLineEdit>("Text2")->text(),
        QStringLiteral("If there is no the sentence that you need in the database, you can ask us here."));
    EXPECT_EQ(label2->text(), QStringLiteral("0"));
    EXPECT_EQ(list->ColumnHeader(2), QStringLiteral("Related sentences "));
    EXPECT_FALSE(Control<FenPeiTiao>("FenPeiTiao1")->isVisible());
}

TEST_F(SentencesWindowTest, CategoryEightShowsItsCaptionOnOneLineAndListsItsContiguousBlock)
{
    Category(8);
    // One line: the name, blanks, the English name (the builder's control word takes one blank).
    EXPECT_TRUE(box->Text().startsWith(QStringLiteral("08) 公共汽车   ")));
    EXPECT_TRUE(box->Text().endsWith(QStringLiteral(" Bus")));
    EXPECT_FALSE(box->Text().contains(u'\n'));
    const QVector<RtfPiece> pieces = box->Pieces();
    ASSERT_GE(pieces.size(), 2);
    EXPECT_TRUE(pieces[0].format.bold);
    EXPECT_EQ(pieces[0].format.pointSize, 24);
    EXPECT_EQ(pieces[0].format.color, QColor(0, 0, 255));
    EXPECT_EQ(pieces.last().format.pointSize, 12);
    EXPECT_EQ(pieces.last().format.color, QColor(64, 64, 64));
    EXPECT_EQ(Column(0), (QStringList{"3", "4", "5"}));
    EXPECT_EQ(Column(1), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Column(2).first(), QStringLiteral("The bus stop."));
    EXPECT_EQ(label2->text(), QStringLiteral("3"));

    Category(9);
    EXPECT_EQ(Column(2), (QStringList{"Here."}));
    Category(0);
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_TRUE(box->Text().isEmpty());
}

TEST_F(SentencesWindowTest, KeywordSearchListsByLanguageKeepsHistoryAndSaysSorry)
{
    SearchFor(QStringLiteral("3 bus?"));
    EXPECT_EQ(combo1->Text(), QStringLiteral("bus"));
    EXPECT_EQ(Column(2), (QStringList{"The bus stop.", "Get on the bus."})); // "<<<" never listed
    EXPECT_EQ(Column(0), (QStringList{"3", "4"}));
    EXPECT_EQ(Column(1), (QStringList{"1", "2"}));
    EXPECT_EQ(label2->text(), QStringLiteral("2"));
    EXPECT_EQ(combo2->currentIndex(), 0);

    SearchFor(QStringLiteral("车站"));
    EXPECT_EQ(Column(2), (QStringList{QStringLiteral("公交车站。")}));
    SearchFor(QStringLiteral("bus"));
    SearchFor(QStringLiteral("BUS"));
    EXPECT_EQ(combo1->ListCount(), 3);
    EXPECT_EQ(combo1->List(2), QStringLiteral("BUS"));

    const struct {
        const char16_t* typed;
        const char* message;
    } tooShort[] = {{u"go", "The length of all English keywords must be more than two."},
        {u"茶！", "The length of all Chinese keywords must be more than one."}};
    for (const auto& c : tooShort) {
        SCOPED_TRACE(c.message);
        SearchFor(QString::fromUtf16(c.typed));
        EXPECT_EQ(box->Text(), QString::fromUtf8(c.message) + QStringLiteral("\r\n"));
        EXPECT_EQ(list->ItemCount(), 0);
    }

    SearchFor(QStringLiteral("ferry boat"));
    EXPECT_EQ(combo1->Text(), QStringLiteral("Sorry 对不起."));
    EXPECT_EQ(label2->text(), QStringLiteral("0"));
    const QString sorry = box->Text();
    EXPECT_TRUE(sorry.startsWith(QStringLiteral("Sorry, no sentences related are found.\r\nPlease email us")));
    EXPECT_EQ(combo1->ListCount(), 3);
    QTest::keyClick(window, Qt::Key_Return); // the "Sorry" text starts no search
    EXPECT_EQ(box->Text(), sorry);

    // Enter in the ask box runs the keyword search, not the mail.
    combo1->SetText(QStringLiteral("drink"));
    QTest::keyClick(Control<QLineEdit>("Text2"), Qt::Key_Return);
    EXPECT_EQ(Column(2), (QStringList{"I want to drink tea."}));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());

    // Enter on a focused button is the window's search too: "Close" closes nothing.
    combo1->SetText(QStringLiteral("friend"));
    auto* close = Control<QPushButton>("Command6");
    window->activateWindow();
    close->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), close);
    QTest::keyClick(close, Qt::Key_Return);
    EXPECT_EQ(Column(2), (QStringList{"Hello, my friend."}));
    EXPECT_EQ(Forms::Find(QStringLiteral("SentencesSingle")), window);
}

TEST_F(SentencesWindowTest, AShownSentenceIsSpokenAndItsCharacterPopsUpWithItsOwnSyllable)
{
    Zoom* zoom = Forms::Find<Zoom>();
    SearchFor(QStringLiteral("friend"));
    ShowRow(1);
    EXPECT_EQ(box->Text(), QStringLiteral("nǐ hǎo péng you\r\n你好，朋友。\r\nHello, my friend."));
    EXPECT_EQ(box->Pieces().first().format.pointSize, 16);
    EXPECT_EQ(box->SelStart(), 0);
    // Spoken syllable by syllable: only peng2 has a recording here.
    EXPECT_TRUE(MMControl1()->FileName().endsWith(QStringLiteral("P/peng2.wav")));
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);

    SelectAndRelease(QStringLiteral("朋")); // third character, after "，"
    EXPECT_EQ(zoom->GivenPinyin, QStringLiteral("peng2"));
    EXPECT_EQ(zoom->ShownReadingCount, 1);
    EXPECT_EQ(box->SelLength(), 0); // the selection collapses

    // The stored pinyin has no syllable for the second character: every reading is shown.
    SearchFor(QStringLiteral("there"));
    ShowRow(1);
    SelectAndRelease(QStringLiteral("好"));
    EXPECT_EQ(zoom->Label1->text(), QStringLiteral("好"));
    EXPECT_EQ(zoom->ShownReadingCount, 2);

    // A category caption is no sentence: no pop-up for its characters.
    Category(8);
    SelectAndRelease(QStringLiteral("公"));
    EXPECT_EQ(zoom->Label1->text(), QStringLiteral("好"));
}

// A stand-in sendmail program that keeps the message it was given.
class AskUsTest : public SentencesWindowTest {
protected:
    void SetUp() override
    {
        SentencesWindowTest::SetUp();
        ASSERT_TRUE(m_mail.isValid());
        const QString script = m_mail.filePath("sendmail");
        ASSERT_NO_FATAL_FAILURE(WriteScript(script, QStringLiteral("#!/bin/sh\ncat > '%1'\n").arg(m_mail.filePath("message"))));
        qputenv("VELMORA_SENDMAIL", script.toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("VELMORA_SENDMAIL");
        SentencesWindowTest::TearDown();
    }
    QByteArray Message() const
    {
        WaitForMail();
        QFile f(m_mail.filePath("message"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_mail;
};

TEST_F(AskUsTest, ChecksComeFirstThenTheSentenceGoesToTheTutorsInTheBodyOnly)
{
    QLineEdit* text2 = Control<QLineEdit>("Text2");
    QPushButton* askUs = Control<QPushButton>("Command1");
    const struct {
        const char* tutor;
        const char* user;
        const char* message;
    } refusals[] = {{"", "Ann", "Please fill in your tutor's email address on Setting panel."},
        {"lee", "", "Please fill in your name on Setting panel."},
        {"lee", "Ann", "Please write out your sentences in the text box above."}};
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.message);
        State().TutorMailbox = QLatin1String(c.tutor);
        State().UserName = QLatin1String(c.user);
        m_boxes->Clear();
        askUs->click();
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text, QLatin1String(c.message));
        EXPECT_EQ(m_boxes->Boxes()[0].title, QStringLiteral("Attention"));
        EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Information);
    }
    EXPECT_TRUE(Message().isEmpty());

    // A press empties the prompt; leaving the box empty brings it back.
    QTest::mouseClick(text2, Qt::LeftButton);
    EXPECT_TRUE(text2->text().isEmpty());
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(text2, &out);
    EXPECT_TRUE(text2->text().startsWith(QStringLiteral("If there is no the sentence")));

    m_boxes->Clear();
    const QString sentence = QStringLiteral("How do I say \"Subject: ferry\" in Chinese?");
    text2->setText(sentence);
    askUs->click();
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    const QByteArray message = Message();
    EXPECT_TRUE(message.startsWith("To: lee@velmora.example, tutor@velmora.example\r\n"));
    EXPECT_TRUE(message.contains("\r\nSubject: Ann: How to speak this sentence in Chinese?\r\n"));
    EXPECT_FALSE(message.left(message.indexOf("\r\n\r\n")).contains("ferry"));
    EXPECT_EQ(QByteArray::fromBase64(message.mid(message.indexOf("\r\n\r\n") + 4)), sentence.toUtf8());
    EXPECT_EQ(text2->text(), sentence); // the ask box keeps its text
}

TEST_F(AskUsTest, AskUsStaysOffInAReopenedWindowWhileTheMailGoes)
{
    // A mail program that takes the sentence and hangs.
    ASSERT_NO_FATAL_FAILURE(WriteScript(m_mail.filePath("sendmail"),
        QStringLiteral("#!/bin/sh\ncat > '%1'\necho > '%2'\n%3\n").arg(m_mail.filePath("message"), m_mail.filePath("took"), HangWhileTestsRun())));
    State().TutorMailbox = QStringLiteral("lee");
    State().UserName = QStringLiteral("Ann");
    Control<QLineEdit>("Text2")->setText(QStringLiteral("How do I say ferry?"));
    Control<QPushButton>("Command1")->click();
    ASSERT_TRUE(RunUntil([&] { return QFile::exists(m_mail.filePath("took")); }));

    Control<QPushButton>("Command6")->click();
    Settle();
    ASSERT_EQ(Forms::Find(QStringLiteral("SentencesSingle")), nullptr);
    Open("Command2");
    QPushButton* askUs = Control<QPushButton>("Command1");
    ASSERT_NE(askUs, nullptr);
    EXPECT_FALSE(askUs->isEnabled());
    Clock::Advance(MailSender::TimeLimitMs);
    WaitForMail();
    EXPECT_TRUE(askUs->isEnabled());
    EXPECT_TRUE(m_boxes->Boxes().isEmpty()) << "sending errors of the ask box are not shown";
}

} // namespace
