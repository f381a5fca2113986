// The dictionary window's wiring, driven through its real controls on the offscreen platform:
// the rules themselves are tested without widgets beside this file.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QHeaderView>
#include <QStyle>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

#include "Background.h"
#include "Clock.h"
#include "ComboBox.h"
#include "Dictionary.h"
#include "DictionaryFixture.h"
#include "DictionaryForms.h"
#include "DictionaryOnline.h"
#include "Forms.h"
#include "ListView.h"
#include "RichTextBox.h"
#include "SelectionLookUp.h"
#include "SharedPlayer.h"
#include "Twips.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

QByteArray Sound(int ms)
{
    return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20'));
}

// The main window, counting its minimise calls.
class MinimiseProbe : public Background {
public:
    void MinimizeProgram() override { ++minimised; }
    int minimised{0};

protected:
    void Form_Load() override {}
};

// A reading window: one rich-text box whose mouse-up runs the shared look-up.
class ReadingWindow : public Form {
public:
    ReadingWindow()
        : Form(QStringLiteral("Exercise3"))
    {
        SetSize(6000, 2400);
        Box = new RichTextBox(this);
        Twips::Place(Box, 120, 120, 5700, 2100);
        connect(Box, &RichTextBox::MouseUp, this,
            [this](int, int, double x, double y) { SelectionLookUp(LookUpMembers::Exercise3, *this, *Box, x, y); });
    }
    RichTextBox* Box{nullptr};
};

class DictionaryWindowTest : public DictionaryFixture {
protected:
    void SetUp() override
    {
        DictionaryFixture::SetUp();
        State().AppPath = m_dir->path() + QLatin1Char('/');
        for (const char* file : {"H/hao3.wav", "W/wo3.wav", "M/men1.wav"})
            WriteFile(QStringLiteral("Phonetic Symbols/") + QLatin1String(file), Sound(300));
        AddSentence(u"你好！"_qs, u"Hello!"_qs);
        AddSentence(u"很好，我们走吧。"_qs, u"Fine, let's go."_qs);
        RegisterDictionaryForms();
        m_online = Forms::Load<DictionaryOnline>();
        m_dict = Forms::Load<Dictionary>();
        ASSERT_TRUE(m_dict && m_online);
        m_dict->show();
        m_dict->activateWindow();
    }

    void Search(const QString& text)
    {
        QLineEdit* edit = m_dict->Combo1->lineEdit();
        edit->clear();
        // Typed where the keys exist, else as an input method would hand it over.
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    void ClickRow(int item)
    {
        // On the row's first column: the columns together are wider than the list.
        const QRect r = m_dict->ListView1->visualItemRect(m_dict->ListView1->topLevelItem(item - 1));
        QTest::mouseClick(m_dict->ListView1->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 10, r.center().y()));
    }

    // Drags the mouse over characters from..to (exclusive) of box.
    static void DragSelect(RichTextBox* box, int from, int to)
    {
        QTextCursor c(box->document());
        c.setPosition(from);
        const QPoint start = box->cursorRect(c).center();
        c.setPosition(to);
        const QPoint end = box->cursorRect(c).center();
        QTest::mousePress(box->viewport(), Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, end, box->viewport()->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(box->viewport(), &move);
        QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, end);
    }

    Dictionary* m_dict{nullptr};
    DictionaryOnline* m_online{nullptr};
};

TEST_F(DictionaryWindowTest, SearchHitListEntrySoundLocateAndKeys)
{
    EXPECT_EQ(m_dict->ListView1->columnCount(), 6);
    EXPECT_EQ(m_dict->ListView1->ColumnHeader(1), u"Chinese  汉语"_qs);
    EXPECT_TRUE(m_dict->Check2->isChecked());

    Search(u"good"_qs); // Enter in the search box searches
    ASSERT_EQ(m_dict->ListView1->ItemCount(), 1);
    EXPECT_EQ(m_dict->ListView1->SubItem(1, 1), u"好"_qs);
    EXPECT_EQ(m_dict->Combo1->List(0), u"good"_qs);
    EXPECT_TRUE(m_dict->Command2->isEnabled());
    EXPECT_EQ(m_dict->RichTextBox1->Text(), QString()); // an English query opens nothing itself

    ClickRow(1);
    ASSERT_EQ(m_dict->ListView1->SelectedItem(), 1);
    EXPECT_TRUE(m_dict->RichTextBox1->Text().startsWith(u"好 [hǎo]"_qs));
    EXPECT_TRUE(m_dict->RichTextBox1->Text().contains(u"01）你好！"_qs));
    EXPECT_TRUE(m_dict->MMControl1->FileName().endsWith(u"Phonetic Symbols/H/hao3.wav"_qs));
    EXPECT_EQ(m_dict->MMControl1->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(400); // the syllable ends and the player closes
    EXPECT_EQ(m_dict->MMControl1->Mode(), WavePlayer::ModeNotOpen);

    // Locate walks the headword through the entry.
    const QString entry = m_dict->RichTextBox1->Text();
    QTest::mouseClick(m_dict->Command2, Qt::LeftButton);
    EXPECT_EQ(m_dict->RichTextBox1->SelStart(), entry.indexOf(u"好"_qs, 1));
    EXPECT_EQ(m_dict->RichTextBox1->SelText(), u"好"_qs);
    QTest::mouseClick(m_dict->Command2, Qt::LeftButton);
    EXPECT_EQ(m_dict->RichTextBox1->SelStart(), entry.indexOf(u"好"_qs, entry.indexOf(u"好"_qs, 1) + 1));

    // Esc empties the search box and keeps the hits.
    QTest::keyClick(m_dict->Combo1->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(m_dict->Combo1->Text(), QString());
    EXPECT_EQ(m_dict->ListView1->ItemCount(), 1);

    // A word another window hands over and that is not found turns Locate off: the keys it had
    // go to the search box.
    m_dict->Command2->setFocus();
    QString missing = u"xyz"_qs;
    m_dict->Common01(missing, false);
    EXPECT_FALSE(m_dict->Command2->isEnabled());
    ASSERT_NE(m_dict->focusWidget(), nullptr);
    EXPECT_TRUE(m_dict->focusWidget() == m_dict->Combo1 || m_dict->Combo1->isAncestorOf(m_dict->focusWidget()));

    Search(u"xyz"_qs);
    EXPECT_EQ(m_dict->Combo1->Text(), u"Sorry 对不起."_qs);
    EXPECT_EQ(m_dict->ListView1->ItemCount(), 0);
    EXPECT_FALSE(m_dict->Command2->isEnabled());
    EXPECT_EQ(m_dict->RichTextBox1->Text(), u"Sorry, it is not found."_qs);

    // A word picked from the history searches at once.
    m_dict->Combo1->showPopup();
    QAbstractItemView* list = m_dict->Combo1->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(m_dict->ListView1->ItemCount(), 1);
}

TEST_F(DictionaryWindowTest, AUsualMeaningReadsInTheHitListWithoutScrollingSideways)
{
    const ListView* list = m_dict->ListView1;
    constexpr int English = 2;
    // A meaning of the usual length (most of the vocabulary's are shorter), with the blanks
    // the table keeps at its ends.
    const QString usual = u" teacher; instructor; master "_qs;
    const int needed = list->fontMetrics().horizontalAdvance(usual)
        + 2 * list->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list->header());
    const int visible = list->maximumViewportSize().width() - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_GE(list->columnWidth(English), needed);
    EXPECT_LE(list->columnViewportPosition(English) + needed, visible);
}

TEST_F(DictionaryWindowTest, ASelectionInAReadingWindowIsLookedUpAndSpoken)
{
    ReadingWindow reading;
    reading.Box->SetText(u"我们去学校。"_qs);
    reading.Show();
    DragSelect(reading.Box, 0, 2);

    ASSERT_GE(m_dict->ListView1->ItemCount(), 1);
    EXPECT_EQ(m_dict->ListView1->SubItem(m_dict->ListView1->SelectedItem(), 1), u"我们"_qs);
    EXPECT_TRUE(m_dict->RichTextBox1->Text().startsWith(u"我们 [wǒ men]"_qs));
    EXPECT_TRUE(::MMControl1()->FileName().endsWith(u"Phonetic Symbols/W/wo3.wav"_qs)); // the shared queue speaks it
    EXPECT_EQ(reading.Box->SelLength(), 0);
    EXPECT_EQ(reading.Box->SelStart(), 2);

    // Ticking the local box unticks the on-line one; unticked, selections stay here unsearched.
    m_online->SetAutoLookUp(true);
    QTest::mouseClick(m_dict->Check2, Qt::LeftButton);
    EXPECT_FALSE(m_dict->AutoLookUp());
    QTest::mouseClick(m_dict->Check2, Qt::LeftButton);
    EXPECT_TRUE(m_dict->AutoLookUp());
    EXPECT_FALSE(m_online->AutoLookUp());
    QTest::mouseClick(m_dict->Check2, Qt::LeftButton);
    DragSelect(reading.Box, 2, 3);
    EXPECT_EQ(m_dict->ListView1->SubItem(1, 1), u"我们"_qs);
}

TEST_F(DictionaryWindowTest, ASelectionInTheEntryFillsTheSearchBoxWithoutSearching)
{
    Search(u"你好"_qs);
    ASSERT_EQ(m_dict->ListView1->ItemCount(), 1);
    const QString entry = m_dict->RichTextBox1->Text();
    const int at = int(entry.indexOf(u"你好！"_qs));
    DragSelect(m_dict->RichTextBox1, at, at + 2);
    EXPECT_EQ(m_dict->Combo1->Text(), u"你好"_qs);
    EXPECT_EQ(m_dict->ListView1->ItemCount(), 1);
    EXPECT_EQ(m_dict->RichTextBox1->SelLength(), 0);
    // Locate goes on after the clicked place: the next 你好 is not there, so it wraps.
    QTest::mouseClick(m_dict->Command2, Qt::LeftButton);
    EXPECT_EQ(m_dict->RichTextBox1->SelStart(), at);
}

TEST_F(DictionaryWindowTest, F4InEitherSearchBoxMinimisesAndOpensNoList)
{
    Forms::RegisterFactory(QStringLiteral("Background"), [] { return new MinimiseProbe; });
    auto* main = static_cast<MinimiseProbe*>(Forms::Load(QStringLiteral("Background")));
    ASSERT_NE(main, nullptr);
    int minimised = 0;
    for (Form* window : {static_cast<Form*>(m_dict), static_cast<Form*>(m_online)}) {
        SCOPED_TRACE(window->FormName().toStdString());
        window->show();
        auto* box = window->findChild<ComboBox*>(QStringLiteral("Combo1"));
        ASSERT_NE(box, nullptr);
        box->AddItem(u"你好"_qs);
        // F4 once, and once more after the restore.
        for (int press = 0; press < 2; ++press) {
            ASSERT_TRUE(PressWithKeys(box, Qt::Key_F4));
            EXPECT_EQ(main->minimised, ++minimised);
            EXPECT_FALSE(box->view()->isVisible());
        }
    }
}

} // namespace
