#include <QFile>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Clock.h"
#include "CodePage.h"
#include "NumberBoard.h"
#include "NumberHistory.h"
#include "NumberInput.h"
#include "SharedPlayer.h"
#include "TestSupport.h"
#include "Timer.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

const NumberFrame kFrame{240, 9000, 2400};

TEST(NumberLabelLayoutTest, RowsAreCentredInTheFrame)
{
    struct Row {
        int count;
        double left;
        double top;
    };
    const struct {
        int n;
        QVector<Row> rows;
    } cases[] = {
        {1, {{1, 4507.5, 2400}}},
        {15, {{15, 1252.5, 2400}}},
        {16, {{8, 2880, 2400}, {8, 2880, 2906}}},
        {17, {{8, 2880, 2400}, {9, 2647.5, 2906}}},
        {24, {{12, 1950, 2400}, {12, 1950, 2906}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const QVector<LabelPlace> places = NumberLabelLayout(QVector<double>(c.n, 465), kFrame);
        ASSERT_EQ(places.size(), c.n);
        int k = 0;
        for (const Row& row : c.rows)
            for (int i = 0; i < row.count; ++i, ++k)
                EXPECT_EQ(places[k], (LabelPlace{row.left + i * 465, row.top})) << "label " << k + 1;
    }
    EXPECT_TRUE(NumberLabelLayout({}, kFrame).isEmpty());
}

TEST(NumberLabelLayoutTest, AWideLabelInOneRowPushesTheNextOnesRight)
{
    // 百分之五十: centred as three labels, the first three characters wide.
    const QVector<LabelPlace> places = NumberLabelLayout({1395, 465, 465}, kFrame);
    EXPECT_EQ(places, (QVector<LabelPlace>{{4042.5, 2400}, {5437.5, 2400}, {5902.5, 2400}}));
}

// The board on the shared player, paced by the silent backend on the test clock. The test
// stands in for the window: it hears owner 16's play-done and calls Play1, as the window does.
class NumberBoardTest : public AppFixture, public PlayDoneReceiver {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        SetUpSharedPlayers();
        RegisterPlayDoneReceiver(SoundOwnerCode::Figure, this);
        for (QChar c : QStringLiteral("0123456789avilnbqswyzdftp"))
            WriteFile(QStringLiteral("Numbers/%1.wav").arg(c), Sound(100));
    }
    void TearDown() override
    {
        UnregisterPlayDoneReceiver(SoundOwnerCode::Figure, this);
        CloseSharedPlayers();
        AppFixture::TearDown();
    }
    void PlayDone() override
    {
        board.Play1();
        Record();
    }
    // The labels' inks as letters: B blue, R red, K black.
    QString Inks() const
    {
        QString inks;
        for (const NumberBoard::Label& l : board.Labels())
            inks += l.ink == NumberBoard::Ink::Blue ? u'B' : l.ink == NumberBoard::Ink::Red ? u'R' : u'K';
        return inks;
    }
    void Record() { steps << Inks() + u' ' + Playing(); }
    QString Playing() const
    {
        if (MMControl1()->Mode() != WavePlayer::ModePlaying)
            return QStringLiteral("-");
        return MMControl1()->FileName().mid(State().AppPath.size());
    }
    void Speak(const QString& codes)
    {
        board.ShowAndSpeak(codes);
        Record();
    }
    QString Captions() const
    {
        QString text;
        for (const NumberBoard::Label& l : board.Labels())
            text += l.caption;
        return text;
    }

    NumberBoard board{kFrame};
    QStringList steps;
};

TEST_F(NumberBoardTest, TheSoundingLabelIsRedThoseBeforeBlueAndTheLastBlackAtTheEnd)
{
    Speak(QStringLiteral("3d05")); // 3.05
    EXPECT_EQ(Captions(), QStringLiteral("三点零五"));
    EXPECT_EQ(board.LabelCount(), 4);
    EXPECT_EQ(State().SoundOwner, SoundOwnerCode::Figure);
    Clock::Advance(1000);
    EXPECT_EQ(steps, (QStringList{
        "RBBB Numbers/3.wav",
        "BRBB Numbers/d.wav",
        "BBRB Numbers/0.wav",
        "BBBR Numbers/5.wav",
        "BBBK -",
    }));
}

TEST_F(NumberBoardTest, TheSameCodesReuseTheirLabelsAndOtherCodesReplaceThem)
{
    Speak(QStringLiteral("nqq7")); // codes of equal length, so only reuse tells them apart
    const int first = board.Generation();
    Clock::Advance(1000);
    EXPECT_EQ(steps.last(), QStringLiteral("BBBK -"));

    steps.clear();
    Speak(QStringLiteral("nqq7"));
    EXPECT_EQ(board.Generation(), first);
    EXPECT_EQ(steps, QStringList{"RBBB Numbers/n.wav"}); // all blue again, then lit anew

    Speak(QStringLiteral("1q0n"));
    EXPECT_GT(board.Generation(), first);
    EXPECT_EQ(Captions(), QStringLiteral("一千零两"));
    EXPECT_EQ(steps.last(), QStringLiteral("RBBB Numbers/1.wav"));
}

TEST_F(NumberBoardTest, AReadingAskedForAgainAfterAnEmptyOneShowsItsLabels)
{
    Speak(QStringLiteral("2s2"));
    Clock::Advance(1000);
    Speak(QString()); // a telephone text without digits
    EXPECT_TRUE(board.Labels().isEmpty());
    EXPECT_EQ(board.LabelCount(), 0);
    EXPECT_EQ(board.ShownCodes(), QString());
    EXPECT_EQ(steps.last(), QStringLiteral(" -"));

    Speak(QStringLiteral("2s2"));
    EXPECT_EQ(Captions(), QStringLiteral("二十二"));
    EXPECT_EQ(steps.last(), QStringLiteral("RBB Numbers/2.wav"));
}

TEST_F(NumberBoardTest, AnEmptyReadingStopsTheOneBeingSpoken)
{
    Speak(QStringLiteral("2s2"));
    Clock::Advance(100);
    Speak(QString());
    Clock::Advance(1000);
    EXPECT_EQ(steps, (QStringList{"RBB Numbers/2.wav", "BRB Numbers/s.wav", " -"}));
}

TEST_F(NumberBoardTest, MissingOrDamagedRecordingsArePassedOver)
{
    QFile::remove(Path("Numbers/d.wav"));
    WriteFile("Numbers/5.wav", "not a wave file");
    Speak(QStringLiteral("3d05"));
    Clock::Advance(1000);
    EXPECT_EQ(steps, (QStringList{
        "RBBB Numbers/3.wav",
        "BBRB Numbers/0.wav",
        "BBBK -",
    }));

    steps.clear();
    QFile::remove(Path("Numbers/3.wav"));
    QFile::remove(Path("Numbers/0.wav"));
    Speak(QStringLiteral("3d05")); // nothing can be heard: the reading ends at once
    EXPECT_EQ(steps, QStringList{"BBBK -"});
}

TEST_F(NumberBoardTest, UnloadingForgetsTheShownCodes)
{
    Speak(QStringLiteral("s5"));
    board.Unload();
    EXPECT_EQ(board.LabelCount(), 0);
    Speak(QStringLiteral("s5"));
    EXPECT_EQ(Captions(), QStringLiteral("十五"));
}

class NumberHistoryTest : public AppFixture {};

TEST_F(NumberHistoryTest, EntriesRoundTripInCodePage936WithCrLf)
{
    NumberHistory cardinal(QStringLiteral("cardinal.txt"));
    cardinal.Load();
    EXPECT_TRUE(cardinal.Entries().isEmpty());
    for (const char* text : {"12", "3.05", "12", " 12 ", "-0.5", ""})
        cardinal.Add(QString::fromLatin1(text));
    EXPECT_EQ(cardinal.Entries(), (QStringList{"12", "3.05", " 12 ", "-0.5"}));
    NumberHistory telephone(QStringLiteral("telephone.txt"));
    telephone.Load();
    telephone.Add(QStringLiteral("电话 010-1234"));
    SaveNumberLists(cardinal, telephone);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_EQ(ReadFile("Record/cardinal.txt"), QByteArray("12\r\n3.05\r\n 12 \r\n-0.5\r\n"));
    EXPECT_EQ(ReadFile("Record/telephone.txt"), CodePage::ToGbk(QStringLiteral("电话 010-1234")) + "\r\n");

    NumberHistory again(QStringLiteral("cardinal.txt"));
    again.Load();
    EXPECT_EQ(again.Entries(), cardinal.Entries());
    EXPECT_FALSE(again.Changed());
}

TEST_F(NumberHistoryTest, LoadingSkipsEmptyLinesAndOnlyAChangeIsWritten)
{
    WriteFile("Record/cardinal.txt", "\r\n7\r\n\r\n8\n\r\n");
    NumberHistory cardinal(QStringLiteral("cardinal.txt"));
    cardinal.Load();
    EXPECT_EQ(cardinal.Entries(), (QStringList{"7", "8"}));
    EXPECT_FALSE(cardinal.Add(QStringLiteral("7")));
    EXPECT_TRUE(cardinal.Save());
    EXPECT_EQ(ReadFile("Record/cardinal.txt"), QByteArray("\r\n7\r\n\r\n8\n\r\n")); // untouched
    EXPECT_TRUE(cardinal.Add(QStringLiteral("9")));
    EXPECT_TRUE(cardinal.Save());
    EXPECT_EQ(ReadFile("Record/cardinal.txt"), QByteArray("7\r\n8\r\n9\r\n"));
}

TEST_F(NumberHistoryTest, ClearingTheCardinalsDeletesTheFileAndClosingWritesNone)
{
    WriteFile("Record/cardinal.txt", "7\r\n");
    NumberHistory cardinal(QStringLiteral("cardinal.txt"));
    NumberHistory telephone(QStringLiteral("telephone.txt"));
    cardinal.Load();
    telephone.Load();
    cardinal.Add(QStringLiteral("8"));
    EXPECT_TRUE(cardinal.Clear());
    EXPECT_TRUE(cardinal.Entries().isEmpty());
    SaveNumberLists(cardinal, telephone);
    EXPECT_FALSE(QFile::exists(Path("Record/cardinal.txt")));
    EXPECT_FALSE(QFile::exists(Path("Record/telephone.txt")));
    EXPECT_TRUE(cardinal.Clear()); // nothing left to delete
}

TEST_F(NumberHistoryTest, ClearingTheTelephonesWritesTheStartAtOnce)
{
    NumberHistory telephone(QStringLiteral("telephone.txt"));
    telephone.Load();
    telephone.Add(QStringLiteral("5550100"));
    EXPECT_TRUE(telephone.Reset(TelephoneHistoryStart()));
    EXPECT_EQ(telephone.Entries(), TelephoneHistoryStart());
    EXPECT_EQ(telephone.Entries().first(), QStringLiteral("1"));
    EXPECT_FALSE(telephone.Changed());
    EXPECT_EQ(ReadFile("Record/telephone.txt"), QByteArray("1\r\n010-01234567\r\n"));
}

TEST_F(NumberHistoryTest, AFileThatCannotBeWrittenWarnsAndTheOtherIsStillWritten)
{
    WriteFile("Record/cardinal.txt/blocked", "a folder stands where the file would go");
    NumberHistory cardinal(QStringLiteral("cardinal.txt"));
    NumberHistory telephone(QStringLiteral("telephone.txt"));
    cardinal.Add(QStringLiteral("1"));
    telephone.Add(QStringLiteral("2"));
    SaveNumberLists(cardinal, telephone);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes().first().title, QStringLiteral("Warning"));
    EXPECT_EQ(cardinal.Entries(), QStringList{"1"});
    EXPECT_TRUE(cardinal.Changed());
    EXPECT_EQ(ReadFile("Record/telephone.txt"), QByteArray("2\r\n"));
}

TEST(NumberInputTest, TextToSpeechReadsOrRefusesByMode)
{
    const struct {
        NumberReader::Mode mode;
        const char* text;
        PreparedReading::Refusal refusal;
        const char* codes;
        const char* caption;
    } cases[] = {
        {NumberReader::Cardinal, "2007", PreparedReading::None, "nq07", ""},
        {NumberReader::Cardinal, "3.05", PreparedReading::None, "3d05", ""},
        {NumberReader::Cardinal, "10000000000000", PreparedReading::None, "sz", ""},
        {NumberReader::Cardinal, "-10000000000000", PreparedReading::None, "fsz", ""},
        {NumberReader::Cardinal, "10000000000001", PreparedReading::TooLarge, "", ""},
        {NumberReader::Cardinal, "-10000000000001", PreparedReading::TooLarge, "", ""},
        {NumberReader::Cardinal, "1e5", PreparedReading::NotANumber, "", ""},
        {NumberReader::Cardinal, "", PreparedReading::NotANumber, "", ""},
        {NumberReader::Cardinal, "12,34", PreparedReading::NotANumber, "", ""},
        {NumberReader::Ordinal, "12", PreparedReading::None, "ts2", "the twelth"},
        {NumberReader::Ordinal, "25", PreparedReading::None, "t2s5", ""},
        {NumberReader::Percent, "100", PreparedReading::None, "pb", ""},
        {NumberReader::Telephone, "(010) 6512-3456", PreparedReading::None, "0a065a23456", ""},
        {NumberReader::Telephone, "call me", PreparedReading::None, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const PreparedReading r = PrepareReading(c.mode, QString::fromLatin1(c.text));
        EXPECT_EQ(r.refusal, c.refusal);
        EXPECT_EQ(r.codes, QString::fromLatin1(c.codes));
        EXPECT_EQ(r.caption, QString::fromLatin1(c.caption));
    }
}

class ReadingDeferralsTest : public AppFixture {
protected:
    QObject form;
    QList<NumberReader::Mode> reads;
    ReadingDeferrals deferrals{&form, [this](NumberReader::Mode m) { reads << m; }};
};

TEST_F(ReadingDeferralsTest, APickedEntryIsReadOnceAHundredMillisecondsLater)
{
    for (NumberReader::Mode mode :
        {NumberReader::Cardinal, NumberReader::Ordinal, NumberReader::Percent, NumberReader::Telephone}) {
        SCOPED_TRACE(mode);
        reads.clear();
        deferrals.Picked(mode, true);
        Clock::Advance(99);
        EXPECT_TRUE(reads.isEmpty());
        Clock::Advance(1);
        EXPECT_EQ(reads, QList<NumberReader::Mode>{mode});
        Clock::Advance(1000);
        EXPECT_EQ(reads.size(), 1);
        EXPECT_FALSE(deferrals.TimerOf(mode)->Enabled());
    }
    const char* names[] = {"Timer3", "Timer1", "Timer2", "Timer4"};
    const NumberReader::Mode modes[] = {
        NumberReader::Cardinal, NumberReader::Ordinal, NumberReader::Percent, NumberReader::Telephone};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(deferrals.TimerOf(modes[k])->objectName(), QString::fromLatin1(names[k]));
}

TEST_F(ReadingDeferralsTest, OrdinalAndPercentListsReadOnlyWhileTheWindowIsVisible)
{
    deferrals.Picked(NumberReader::Ordinal, false);
    deferrals.Picked(NumberReader::Percent, false);
    deferrals.Picked(NumberReader::Telephone, false);
    Clock::Advance(200);
    EXPECT_EQ(reads, QList<NumberReader::Mode>{NumberReader::Telephone});
}

} // namespace
