#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AssistantsFixture.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "CodePage.h"
#include "FileDialog.h"
#include "ReadingHelper.h"
#include "RichTextBox.h"
#include "RtfDocument.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "Zoom.h"

using namespace assistants_test;

namespace {

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }
const QColor Red(255, 0, 0);

class ReadingHelperWindowTest : public AssistantsWithPlayers {
protected:
    void OpenHelper()
    {
        Open("Command8");
        helper = Forms::Find<ReadingHelper>();
        ASSERT_NE(helper, nullptr);
        box = helper->findChild<RichTextBox*>(QStringLiteral("RichTextBox1"));
        ASSERT_NE(box, nullptr);
    }
    void Click(const char* button) { helper->findChild<QPushButton*>(QLatin1String(button))->click(); }
    void CloseHelper()
    {
        Click("Command1");
        Settle();
        helper = nullptr;
        box = nullptr;
    }
    // Selects length characters from start and releases the mouse over them.
    void Select(int start, int length, int shift = 0)
    {
        box->SetSelStart(start);
        box->SetSelLength(length);
        emit box->MouseUp(1, shift, 300, 200);
    }
    bool Looking() const { return !helper->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->isHidden(); }
    // Lets the look-up run, one character per turn of the event loop.
    void FinishLookUp()
    {
        Clock::Advance(100);
        for (int turn = 0; turn < 100 && Looking(); ++turn)
            QCoreApplication::processEvents();
    }
    QString Reading() const { return QString::fromLatin1(ReadFile(QStringLiteral("Record/Reading.rtf"))); }
    static void UntickLocalLookUp() { Forms::Control<QCheckBox>(QStringLiteral("Dictionary"), QStringLiteral("Check2"))->setChecked(false); }
    static QStringList Queued()
    {
        QStringList syllables;
        for (int k = 1; k <= State().SyllableQueueCount; ++k)
            syllables << State().SyllableQueue.At(1, k);
        return syllables;
    }

    ReadingHelper* helper{nullptr};
    RichTextBox* box{nullptr};
};

TEST_F(ReadingHelperWindowTest, TheTextIsSavedOnCloseAndComesBackWithItsColourAndSize)
{
    OpenHelper();
    EXPECT_EQ(box->Text(), QString());
    box->SetText(QStringLiteral("你好 world\r\n第二行"));
    helper->FormatText();
    box->SetSelStart(0);
    box->SetSelLength(2);
    box->SetSelColor(Red);
    box->SetSelFontSize(30);
    CloseHelper();
    EXPECT_EQ(State().CurrentActivity, 10);
    const QString saved = Reading();
    EXPECT_TRUE(saved.startsWith(QStringLiteral("{\\rtf1")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\\'c4\\'e3\\'ba\\'c3"))) << "Chinese as code page 936 escapes";
    EXPECT_TRUE(QDir(Path(QStringLiteral("Record"))).entryList(QDir::Files) == QStringList{QStringLiteral("Reading.rtf")})
        << "no temporary left behind";

    OpenHelper();
    EXPECT_EQ(box->Text(), QStringLiteral("你好 world\r\n第二行"));
    const struct {
        int start;
        QColor colour;
        double points;
    } runs[] = {{0, Red, 30}, {1, Red, 30}, {3, QColor(0, 0, 0), 24}, {11, QColor(0, 0, 0), 24}};
    for (const auto& r : runs) {
        SCOPED_TRACE(r.start);
        box->SetSelStart(r.start);
        box->SetSelLength(1);
        EXPECT_EQ(box->SelColor().rgb(), r.colour.rgb());
        EXPECT_DOUBLE_EQ(box->SelFontSize(), r.points);
        EXPECT_EQ(box->SelFontName(), QStringLiteral("Microsoft Sans Serif"));
    }
    // Opening and closing without a change writes nothing.
    const QByteArray before = ReadFile(QStringLiteral("Record/Reading.rtf"));
    CloseHelper();
    EXPECT_EQ(ReadFile(QStringLiteral("Record/Reading.rtf")), before);
}

TEST_F(ReadingHelperWindowTest, AnOlderReadingFileDecodes)
{
    const struct {
        const char* why;
        QByteArray file;
        const char16_t* text;
    } cases[] = {
        {"936 escapes and a Unicode escape with its fallback",
            "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs48 \\'c4\\'e3\\'ba\\'c3\\u20320?\\par\r\n}",
            u"你好你\r\n"},
        {"raw 936 bytes", "{\\rtf1\\ansi\\ansicpg936 \xC4\xE3}", u"你"},
        {"not RTF at all: plain text", "plain", u"plain"},
        {"binary data and deep groups are skipped", "{\\rtf1 a{\\*\\pict\\bin3 }}{}b" + QByteArray(5000, '{') + "c}", u"abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        WriteFile(QStringLiteral("Record/Reading.rtf"), c.file);
        OpenHelper();
        EXPECT_EQ(box->Text(), QString::fromUtf16(c.text));
        CloseHelper();
    }
}

TEST_F(ReadingHelperWindowTest, AChangeIsSavedAtTheFifthMinuteAndAFailedSaveWaitsForTheClose)
{
    OpenHelper();
    box->SetText(QStringLiteral("第一"));
    Clock::Advance(4 * 60000);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Record/Reading.rtf"))));
    Clock::Advance(60000);
    ASSERT_TRUE(QFile::exists(Path(QStringLiteral("Record/Reading.rtf"))));
    EXPECT_TRUE(Reading().contains(QStringLiteral("\\'b5\\'da\\'d2\\'bb")));

    // The Record folder cannot be written: the warning, and the change waits.
    QDir(Path(QStringLiteral("Record"))).removeRecursively();
    WriteFile(QStringLiteral("Record"), "a file in the way");
    box->SetText(QStringLiteral("第二"));
    Clock::Advance(5 * 60000);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_TRUE(m_boxes->Boxes().first().text.startsWith(QStringLiteral("Velmora 2007 is unable to write the disk")));
    Clock::Advance(10 * 60000);
    EXPECT_EQ(m_boxes->Boxes().size(), 1) << "the clock stays stopped";

    QFile::remove(Path(QStringLiteral("Record")));
    CloseHelper();
    EXPECT_TRUE(Reading().contains(QStringLiteral("\\'b5\\'da\\'b6\\'fe")));
}

// Texts the box cannot lay out: lines taller together than the layout finishes, and a
// paragraph too long to lay out at once.
QByteArray TallRtf(int lines) { return "{\\rtf1\\fs144 " + QByteArray("\\par ").repeated(lines) + "}"; }
QByteArray LongParagraph() { return QByteArray("abcd ").repeated(500000); }

TEST_F(ReadingHelperWindowTest, ASavedTextThatCannotBeLoadedIsKeptAsideTheLearnerIsToldOnceAndTheNewTextIsSaved)
{
    QByteArray manyParagraphs = "{\\rtf1 ";
    for (qsizetype i = 0; i <= Rtf::MaxPieces; ++i)
        manyParagraphs += "\\par ";
    const QString file = Path(QStringLiteral("Record/Reading.rtf"));
    const struct {
        const char* why;
        QByteArray file;
        qint64 size; // 0: as written; -1: a FIFO
    } cases[] = {
        {"larger than the bound", "{\\rtf1 ", RichTextBox::MaxFileBytes + 1},
        {"more paragraphs than the reader takes", manyParagraphs + "}", 0},
        {"more paragraphs than the reader takes, hidden in one run",
            "{\\rtf1 " + QByteArray("x\\'0a").repeated(Rtf::MaxPieces / 2 + 1) + "}", 0},
        {"250,000 lines at 72 points, taller than the layout finishes", TallRtf(250000), 0},
        {"a paragraph too long to lay out", "{\\rtf1 " + LongParagraph() + "}", 0},
        {"a FIFO", {}, -1},
        // Shown with replacement characters, its bytes would be written over at the next save.
        {"an escape that is no code page 936 character", "{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3\\'ff\\'fe}", 0},
        {"a raw byte that is none", "{\\rtf1 \xC4\xE3\xFF}", 0},
        {"no RTF, and no code page 936 text", "\xC4\xE3\xFF plain", 0},
    };
    const QString kept = Path(QStringLiteral("Record/Reading (kept 1).rtf"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        m_boxes->Clear();
        QFile::remove(file);
        QFile::remove(kept);
        if (c.size < 0)
            ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else
            WriteFile(QStringLiteral("Record/Reading.rtf"), c.file);
        if (c.size > 0) {
            ASSERT_TRUE(QFile(file).resize(c.size));
        }
        const QByteArray original = c.size < 0 ? QByteArray() : ReadFile(QStringLiteral("Record/Reading.rtf"));
        OpenHelper();
        EXPECT_EQ(box->Text(), QString());
        EXPECT_EQ(m_boxes->Boxes().size(), 1) << "why the box is empty";
        // Set aside whole before anything is saved.
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(kept).constData(), &st), 0);
        if (c.size < 0)
            EXPECT_TRUE(S_ISFIFO(st.st_mode));
        else
            EXPECT_EQ(ReadFile(QStringLiteral("Record/Reading (kept 1).rtf")), original);
        // The new text is saved beside it, comes back at the next opening, and nothing more is said.
        box->SetText(QStringLiteral("新的"));
        Clock::Advance(5 * 60000);
        CloseHelper();
        EXPECT_TRUE(Reading().contains(QStringLiteral("\\'d0\\'c2\\'b5\\'c4")));
        OpenHelper();
        EXPECT_EQ(box->Text(), QStringLiteral("新的"));
        EXPECT_EQ(m_boxes->Boxes().size(), 1);
        CloseHelper();
        if (c.size >= 0) {
            EXPECT_EQ(ReadFile(QStringLiteral("Record/Reading (kept 1).rtf")), original);
        }
    }
}

// Lines that take 512 bytes each in Reading.rtf, five times their size in a .txt: 98 tabs
// ("\\tab " each), two Chinese characters ("\\'hh\\'hh" each) and the paragraph end.
QString CostlyLines(int count) { return QStringList(count, QString(98, u'\t') + QStringLiteral("中文")).join(u'\n'); }

TEST_F(ReadingHelperWindowTest, AnOpenedTextComesBackWholeAfterEachSaveAndLoad)
{
    QStringList shortLines;
    for (int line = 0; line < 100001; ++line)
        shortLines << QStringLiteral("第%1行").arg(line);
    const struct {
        const char* why;
        QString text;
    } cases[] = {
        {"more short lines than runs the reader took", shortLines.join(u'\n')},
        {"tabs", QStringLiteral("甲\t乙\n\t丙\t")},
        {"bare line feeds and empty lines", QStringLiteral("一\n二\n\n\n三")},
        {"characters beyond U+FFFF", QStringLiteral("𠀀𪚥\n𠮷野家")},
        {"just within the bound of Reading.rtf", CostlyLines(int((RichTextBox::MaxFileBytes - 4096) / 512))},
    };
    FileDialog::Recorder dialog;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        QFile::remove(Path(QStringLiteral("Record/Reading.rtf")));
        WriteFile(QStringLiteral("in/text.txt"), c.text.toUtf8());
        QString text = c.text;
        text.replace(u'\n', QStringLiteral("\r\n"));
        OpenHelper();
        dialog.Answer(Path(QStringLiteral("in/text.txt")));
        Click("Command5");
        ASSERT_EQ(box->Text(), text);
        CloseHelper();
        // Loaded, changed and saved again, then loaded again.
        OpenHelper();
        ASSERT_EQ(box->Text(), text);
        box->SetSelText(QStringLiteral("。"));
        CloseHelper();
        OpenHelper();
        EXPECT_EQ(box->Text(), QStringLiteral("。") + text);
        CloseHelper();
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

// Ctrl+End in the box: the caret and the view at the end of the text, the layout finished.
void ExpectEndShown(RichTextBox* box)
{
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    for (int turn = 0; turn < 100; ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(box->SelStart(), box->TextLength());
    EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect().topLeft()));
    const QTextBlock last = box->document()->lastBlock();
    EXPECT_TRUE(last.layout() && last.layout()->lineCount() > 0);
}

TEST_F(ReadingHelperWindowTest, ATextTheBoxCannotKeepIsNotOpenedAndTheSavedTextStays)
{
    const struct {
        const char* why;
        const char* name;
        QByteArray file;
    } cases[] = {
        // Less than a quarter of the bound as a .txt, more than the bound as RTF.
        {"too large to save", "in/large.txt", CostlyLines(int(RichTextBox::MaxFileBytes / 512 + 8)).toUtf8()},
        {"600,001 empty lines, taller than the layout finishes", "in/lines.txt", QByteArray(600000, '\n')},
        {"250,000 lines at 72 points", "in/lines.rtf", TallRtf(250000)},
        {"a paragraph too long to lay out", "in/paragraph.txt", LongParagraph()},
        // Taken in with replacement characters, the text would go into Reading.rtf for good.
        {"a text neither UTF-8 nor code page 936", "in/bytes.txt", QByteArray("\xC4\xE3\xFF\xFE")},
        {"RTF whose escapes are no code page 936 text", "in/bytes.rtf", QByteArray("{\\rtf1 \\'c4\\'e3\\'ff}")},
    };
    FileDialog::Recorder dialog;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        m_boxes->Clear();
        WriteFile(QLatin1String(c.name), c.file);
        OpenHelper();
        box->SetText(QStringLiteral("保存的"));
        CloseHelper();
        const QByteArray saved = ReadFile(QStringLiteral("Record/Reading.rtf"));
        OpenHelper();
        dialog.Answer(Path(QLatin1String(c.name)));
        Click("Command5");
        EXPECT_EQ(m_boxes->Boxes().size(), 1) << "why it is not opened";
        EXPECT_EQ(box->Text(), QStringLiteral("保存的"));
        Clock::Advance(5 * 60000);
        CloseHelper();
        EXPECT_EQ(m_boxes->Boxes().size(), 1) << "nothing refused at the autosave or the close";
        EXPECT_EQ(ReadFile(QStringLiteral("Record/Reading.rtf")), saved);
        // The next opening has the saved text, to its end.
        OpenHelper();
        EXPECT_EQ(box->Text(), QStringLiteral("保存的"));
        ExpectEndShown(box);
        CloseHelper();
    }
}

TEST_F(ReadingHelperWindowTest, ATextJustWithinTheLayoutIsOpenedSavedAndShownToItsEndWhenReopened)
{
    // 140,000 lines at 72 points: a little lower than the box lays out.
    WriteFile(QStringLiteral("in/lines.rtf"), TallRtf(140000));
    FileDialog::Recorder dialog;
    OpenHelper();
    dialog.Answer(Path(QStringLiteral("in/lines.rtf")));
    Click("Command5");
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    ASSERT_EQ(box->document()->blockCount(), 140001);
    Clock::Advance(5 * 60000);
    ASSERT_TRUE(QFile::exists(Path(QStringLiteral("Record/Reading.rtf")))) << "saved by the autosave";
    CloseHelper();
    OpenHelper();
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_EQ(box->document()->blockCount(), 140001);
    ExpectEndShown(box);
    CloseHelper();
}

TEST_F(ReadingHelperWindowTest, OpenReadsTextFilesFormattedAndRtfFilesAsTheyAre)
{
    WriteFile(QStringLiteral("in/a.TXT"), CodePage::ToGbk(QStringLiteral("你好\r\n再见\r\n")));
    WriteFile(QStringLiteral("in/b.rtf"), QByteArray("\xE4\xBD\xA0 UTF-8"));
    WriteFile(QStringLiteral("in/c.rtf"), "{\\rtf1\\ansi{\\colortbl ;\\red255\\green0\\blue0;}\\cf1\\fs20 red}");
    FileDialog::Recorder dialog;
    OpenHelper();
    const struct {
        const char* answer;
        const char16_t* text;
        QColor colour;
        double points;
    } cases[] = {
        {"in/a.TXT", u"你好\r\n再见", QColor(0, 0, 0), 24},
        {"in/b.rtf", u"你 UTF-8", QColor(0, 0, 0), 24},
        {"in/c.rtf", u"red", Red, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        dialog.Answer(Path(QLatin1String(c.answer)));
        Click("Command5");
        EXPECT_EQ(box->Text(), QString::fromUtf16(c.text));
        box->SetSelStart(1);
        box->SetSelLength(1);
        EXPECT_EQ(box->SelColor().rgb(), c.colour.rgb());
        EXPECT_DOUBLE_EQ(box->SelFontSize(), c.points);
    }
    dialog.Answer(QString()); // cancelled
    Click("Command5");
    EXPECT_EQ(box->Text(), QStringLiteral("red"));
    EXPECT_EQ(dialog.Shown(), 4);
    CloseHelper();
    EXPECT_TRUE(Reading().contains(QStringLiteral("red")));
}

TEST_F(ReadingHelperWindowTest, ClearPasteAndClearPasteWorkOnTheClipboard)
{
    OpenHelper();
    QApplication::clipboard()->setText(QStringLiteral("剪贴板"));
    box->SetText(QStringLiteral("旧"));
    Click("Command3");
    EXPECT_EQ(box->Text(), QStringLiteral("剪贴板"));
    box->SetSelStart(0);
    box->SetSelLength(1);
    EXPECT_DOUBLE_EQ(box->SelFontSize(), 24);
    box->SetSelStart(1);
    Click("Command4");
    EXPECT_EQ(box->Text(), QStringLiteral("剪剪贴板贴板"));
    Click("Command2");
    EXPECT_EQ(box->Text(), QString());
}

TEST_F(ReadingHelperWindowTest, APasteOrAFormattingTheBoxRefusesIsExplainedAndTheTextStays)
{
    OpenHelper();
    QCheckBox* check = helper->findChild<QCheckBox*>(QStringLiteral("Check1"));
    ASSERT_TRUE(box->SetText(QStringLiteral("保存的")));
    // One word of 64,000 letters changing writing direction at every letter (half a minute of
    // layout), and more lines than any file of the box holds (refused unmeasured).
    const QString offers[] = {QStringLiteral("a\u05D0").repeated(32000), QStringLiteral("\n").repeated(Rtf::MaxPieces + 1)};
    const struct {
        const char* why;
        std::function<void()> paste;
    } pastes[] = {
        {"Paste", [&] { Click("Command4"); }},
        {"Clear + paste", [&] { Click("Command3"); }},
        {"Ctrl+V", [&] { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); }},
    };
    for (const QString& offer : offers) {
        QApplication::clipboard()->setText(offer);
        for (const auto& p : pastes) {
            SCOPED_TRACE(p.why);
            m_boxes->Clear();
            p.paste();
            Settle();
            EXPECT_EQ(m_boxes->Boxes().size(), 1);
            EXPECT_EQ(box->Text(), QStringLiteral("保存的"));
        }
    }

    // A word the box lays out in 8 points, and would lay out three times over in the 24 points
    // of unticking "Change color": it stays in 8 points.
    check->setChecked(true);
    RtfCharFormat small;
    small.pointSize = 8;
    ASSERT_TRUE(box->SetText(QString(80000, u'a'), small));
    m_boxes->Clear();
    check->setChecked(false);
    Settle();
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
    box->SetSelStart(0);
    box->SetSelLength(1);
    EXPECT_DOUBLE_EQ(box->SelFontSize(), 8);

    // What can be pasted still is, without a word.
    m_boxes->Clear();
    QApplication::clipboard()->setText(QStringLiteral("你好"));
    Click("Command3");
    Settle();
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_EQ(box->Text(), QStringLiteral("你好"));
}

TEST_F(ReadingHelperWindowTest, ASelectionIsReadAloudFromThePairsAndReplayedWhenChosenAgain)
{
    AppState& s = State();
    s.WordText[0] = QStringList{QStringLiteral("你好"), QStringLiteral("好吗")};
    s.WordText[1] = QStringList{QStringLiteral(" hello "), QStringLiteral(" ok? ")};
    s.WordPinyin = QStringList{QStringLiteral("n.i3 h.ao3"), QStringLiteral("h.ao3 m.a0")};
    s.WordCount = s.WordCountCopy = 2;
    for (const char* name : {"N/ni3", "H/hao3", "M/ma1"})
        WriteFile(QStringLiteral("Phonetic Symbols/%1.wav").arg(QLatin1String(name)), Sound(200));
    UntickLocalLookUp();
    OpenHelper();
    box->SetText(QStringLiteral("他说：你好吗？"));
    Select(3, 3);
    EXPECT_TRUE(Looking());
    FinishLookUp();
    EXPECT_FALSE(Looking());
    EXPECT_EQ(Queued(), (QStringList{QStringLiteral("ni3"), QStringLiteral("hao3"), QStringLiteral("ma1")}));
    EXPECT_TRUE(MMControl1()->FileName().endsWith(QStringLiteral("N/ni3.wav")));

    // The same selection again: spoken at once from what was found.
    Clock::Advance(1000);
    State().SyllableQueueCount = 0;
    Select(3, 3);
    EXPECT_FALSE(Looking());
    EXPECT_EQ(Queued().size(), 3);

    // A selection with Latin letters: they are skipped.
    box->SetText(QStringLiteral("o你好吗k"));
    Select(0, 5);
    FinishLookUp();
    EXPECT_EQ(Queued(), (QStringList{QStringLiteral("ni3"), QStringLiteral("hao3"), QStringLiteral("ma1")}));
}

TEST_F(ReadingHelperWindowTest, ClosingTheWindowDuringALookUpCancelsIt)
{
    AppState& s = State();
    for (int k = 0; k < 200; ++k) {
        s.WordText[0] << QStringLiteral("甲乙");
        s.WordText[1] << QStringLiteral(" x ");
        s.WordPinyin << QStringLiteral("j.ia3 y.i3");
    }
    s.WordCount = s.WordCountCopy = 200;
    WriteFile(QStringLiteral("Phonetic Symbols/J/jia3.wav"), Sound(200));
    OpenHelper();
    box->SetText(QStringLiteral("甲乙甲乙甲乙甲乙甲乙"));
    Select(0, 10);
    Clock::Advance(100);
    ASSERT_TRUE(Looking());
    CloseHelper();
    for (int turn = 0; turn < 20; ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(Forms::Find<ReadingHelper>(), nullptr);
    EXPECT_NE(MMControl1()->Mode(), WavePlayer::ModePlaying);
    EXPECT_EQ(State().CurrentActivity, 10);
}

TEST_F(ReadingHelperWindowTest, CtrlWithOneCharacterOpensThePopUpAndColouringIsUndoneByUnticking)
{
    Forms::RegisterFactory<Zoom>();
    Zoom* zoom = Forms::Load<Zoom>();
    AppendCharacterRecord({QStringLiteral("好"), {MakeReading(QStringLiteral("h.ao"), QChar(u'3'))}, {}});
    OpenHelper();
    box->SetText(QStringLiteral("你好吗"));
    helper->FormatText();
    Select(1, 1, 2);
    EXPECT_TRUE(zoom->isVisible());
    EXPECT_EQ(zoom->Label1->text(), QStringLiteral("好"));
    EXPECT_EQ(box->SelLength(), 0);
    EXPECT_EQ(box->SelStart(), 2);
    zoom->Hide();
    Select(0, 2, 2); // two characters: the local dictionary, no pop-up
    EXPECT_FALSE(zoom->isVisible());

    auto* check = helper->findChild<QCheckBox*>(QStringLiteral("Check1"));
    check->setChecked(true);
    Select(0, 1);
    box->SetSelStart(0);
    box->SetSelLength(1);
    EXPECT_NE(box->SelColor().rgb(), QColor(0, 0, 0).rgb()) << "a random colour (black has one chance in 16 million)";
    box->SetSelStart(2);
    box->SetSelLength(1);
    EXPECT_EQ(box->SelColor().rgb(), QColor(0, 0, 0).rgb()) << "only the selection is coloured";
    box->SetSelFontSize(12);
    check->setChecked(false);
    for (int at = 0; at < 3; ++at) {
        SCOPED_TRACE(at);
        box->SetSelStart(at);
        box->SetSelLength(1);
        EXPECT_EQ(box->SelColor().rgb(), QColor(0, 0, 0).rgb());
        EXPECT_DOUBLE_EQ(box->SelFontSize(), 24);
        EXPECT_EQ(box->SelFontName(), QStringLiteral("Microsoft Sans Serif"));
    }
}

} // namespace
