// The number window's wiring, driven through its real controls on the offscreen platform; the
// rules themselves are tested without widgets in NumberWindowRulesTest.

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <tuple>
#include <gtest/gtest.h>

#include "AppState.h"
#include "AssistantsFixture.h"
#include "Clock.h"
#include "ComboBox.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "Figure.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

using assistants_test::AssistantsFixture;

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

// The window opened as the learner opens it: the "Numbers" row of the Assistants menu.
class FigureTest : public AssistantsFixture {
protected:
    void SetUp() override
    {
        AssistantsFixture::SetUp();
        State().AppPath = m_dir->path() + QLatin1Char('/');
        for (QChar c : QStringLiteral("0123456789avilnbqswyzdftp"))
            WriteFile(QStringLiteral("Numbers/%1.wav").arg(c), Sound(100));
        SetUpSharedPlayers();
        Open();
    }
    void TearDown() override
    {
        CloseSharedPlayers();
        AssistantsFixture::TearDown();
    }
    void Open()
    {
        AssistantsFixture::Open("Command1");
        figure = Forms::Find<Figure>();
        ASSERT_NE(figure, nullptr);
        EXPECT_EQ(State().CurrentActivity, 12);
    }
    void Read(NumberReader::Mode mode, const QString& text)
    {
        ComboBox* box = mode == NumberReader::Cardinal ? figure->Combo2 : figure->Combo12;
        box->SetText(text);
        figure->Command2[mode]->click();
    }
    // The syllable labels on show, and their colours (B blue, R red, K black).
    QString Captions() const
    {
        QString text;
        for (int k = 1; QLabel* l = figure->Label5[k]; ++k)
            if (l->isVisible())
                text += l->text();
        return text;
    }
    QString Inks() const
    {
        QString inks;
        for (int k = 1; QLabel* l = figure->Label5[k]; ++k) {
            const QColor c = l->palette().color(QPalette::WindowText);
            inks += c == QColor(0, 0, 255) ? u'B' : c == QColor(255, 0, 0) ? u'R' : c == QColor(0, 0, 0) ? u'K' : u'?';
        }
        return inks;
    }
    QString Playing() const
    {
        if (MMControl1()->Mode() != WavePlayer::ModePlaying)
            return QStringLiteral("-");
        return MMControl1()->FileName().mid(State().AppPath.size());
    }

    Figure* figure{nullptr};
};

TEST_F(FigureTest, ACardinalIsShownAndSpokenLabelByLabelAndKeptInTheHistory)
{
    Read(NumberReader::Cardinal, QStringLiteral("2007"));
    EXPECT_EQ(Captions(), QStringLiteral("两千零七"));
    EXPECT_EQ(Inks(), QStringLiteral("RBBB"));
    EXPECT_EQ(Playing(), QStringLiteral("Numbers/n.wav"));
    EXPECT_EQ(State().SoundOwner, SoundOwnerCode::Figure);
    Clock::Advance(100);
    EXPECT_EQ(Inks(), QStringLiteral("BRBB"));
    EXPECT_EQ(Playing(), QStringLiteral("Numbers/q.wav"));
    Clock::Advance(1000);
    EXPECT_EQ(Inks(), QStringLiteral("BBBK"));

    Read(NumberReader::Cardinal, QStringLiteral("2007")); // the same labels light up again
    EXPECT_EQ(Inks(), QStringLiteral("RBBB"));
    EXPECT_EQ(figure->Combo2->ListCount(), 1);

    figure->Command1->click();
    EXPECT_FALSE(Forms::Find<Figure>());
    EXPECT_EQ(State().CurrentActivity, 10);
    EXPECT_TRUE(Visible("Begin4"));
    EXPECT_FALSE(Visible("Dictionary"));
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModeNotOpen);
    EXPECT_EQ(ReadFile("Record/cardinal.txt"), QByteArray("2007\r\n"));
    EXPECT_FALSE(QFile::exists(Path("Record/telephone.txt")));
    Clock::Advance(1000); // a sound cut short by the closing tells nobody

    Open();
    EXPECT_EQ(figure->Combo2->List(0), QStringLiteral("2007"));
    EXPECT_EQ(Captions(), QString());
}

TEST_F(FigureTest, RefusedNumbersWarnAndEmptyTheInput)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"1e5", "It's not a number!"},
        {"2,00", "It's not a number!"},
        {"10000000000001", "The number is too large! Please input a smaller number."},
        {"-10000000000001", "The number is too large! Please input a smaller number."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_boxes->Clear();
        Read(NumberReader::Cardinal, QString::fromLatin1(c.text));
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes().first().text, QString::fromLatin1(c.message));
        EXPECT_EQ(m_boxes->Boxes().first().title, QStringLiteral("Warning"));
        EXPECT_EQ(figure->Combo2->Text(), QString());
        EXPECT_EQ(figure->Combo2->ListCount(), 0);
        EXPECT_EQ(Captions(), QString());
    }
    Read(NumberReader::Cardinal, QStringLiteral("10000000000000"));
    EXPECT_EQ(Captions(), QStringLiteral("十兆"));
}

TEST_F(FigureTest, AReadingAskedForAgainAfterATelephoneTextWithoutDigitsShowsItsLabels)
{
    Read(NumberReader::Cardinal, QStringLiteral("12"));
    Clock::Advance(1000);
    Read(NumberReader::Telephone, QStringLiteral("none"));
    EXPECT_EQ(Captions(), QString());
    EXPECT_EQ(figure->Combo12->List(0), QStringLiteral("none")); // still kept
    Read(NumberReader::Cardinal, QStringLiteral("12"));
    EXPECT_EQ(Captions(), QStringLiteral("十二"));
    EXPECT_EQ(Inks(), QStringLiteral("RB"));
}

TEST_F(FigureTest, ClearingTheTelephonesPutsBackTheStartAndAPickedEntryIsReadLater)
{
    m_boxes->Answer(MsgBox::No);
    figure->Command3[5]->click();
    EXPECT_EQ(figure->Combo12->ListCount(), 0);
    EXPECT_EQ(m_boxes->Boxes().last().text, QStringLiteral("Do you really want to clear these numbers?"));
    EXPECT_EQ(m_boxes->Boxes().last().def, MsgBox::DefaultSecond);

    m_boxes->Answer(MsgBox::Yes);
    figure->Command3[5]->click();
    EXPECT_EQ(figure->Combo12->ListCount(), 2);
    EXPECT_EQ(ReadFile("Record/telephone.txt"), QByteArray("1\r\n010-01234567\r\n"));

    figure->Combo12->setCurrentIndex(1);
    emit figure->Combo12->activated(1);
    Clock::Advance(99);
    EXPECT_EQ(Captions(), QString());
    Clock::Advance(1);
    EXPECT_EQ(Captions(), QStringLiteral("零一零零一二三四五六七"));
    EXPECT_EQ(Playing(), QStringLiteral("Numbers/0.wav"));
    Clock::Advance(100);
    EXPECT_EQ(Playing(), QStringLiteral("Numbers/a.wav"));
}

TEST_F(FigureTest, ClearingTheCardinalsDeletesTheirFile)
{
    Read(NumberReader::Cardinal, QStringLiteral("5"));
    figure->SaveNumberLists();
    ASSERT_TRUE(QFile::exists(Path("Record/cardinal.txt")));
    m_boxes->Answer(MsgBox::Yes);
    figure->Command3[0]->click();
    EXPECT_EQ(figure->Combo2->ListCount(), 0);
    EXPECT_FALSE(QFile::exists(Path("Record/cardinal.txt")));
    figure->Command1->click();
    EXPECT_FALSE(QFile::exists(Path("Record/cardinal.txt")));
}

TEST_F(FigureTest, ALabelIsLookedUpInTheDictionaries)
{
    figure->Combo3->setCurrentIndex(11);
    emit figure->Combo3->activated(11);
    Clock::Advance(100);
    EXPECT_EQ(Captions(), QStringLiteral("第十二"));
    EXPECT_EQ(figure->Label6->text(), QStringLiteral("the twelth"));

    auto* dictionary = Forms::Find<Dictionary>();
    auto* online = Forms::Find<DictionaryOnline>();
    AppState& s = State();
    const std::tuple<const char*, const char*, const char*> words[] = {
        {"十", " ten ", "sh.i2"}, {"第", " ordinal prefix ", "d.i4"}};
    for (const auto& [chinese, english, pinyin] : words) {
        s.WordText[0].append(QString::fromUtf8(chinese));
        s.WordText[1].append(QString::fromUtf8(english));
        s.WordPinyin.append(QString::fromUtf8(pinyin));
        s.WordSource[0].append(1);
        s.WordSource[1].append(1);
    }
    s.WordCount = s.WordCountCopy = s.LessonEntryCount = 2;
    // The on-line answer comes from the cache.
    s.OnlineWordTable.append({QStringLiteral("第"), QStringLiteral("ordinal prefix")});
    s.OnlineWordCount = 1;
    online->SetAutoLookUp(false);
    online->SetLastQuery(QString());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), figure->Label5[2]->mapToGlobal(QPointF(3, 3)),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(figure->Label5[2], &release);
    EXPECT_EQ(dictionary->Combo1->Text(), QStringLiteral("十"));
    EXPECT_EQ(online->LastQuery(), QString());

    online->SetAutoLookUp(true);
    QCoreApplication::sendEvent(figure->Label5[1], &release);
    EXPECT_EQ(dictionary->Combo1->Text(), QStringLiteral("第"));
    EXPECT_EQ(online->LastQuery(), QStringLiteral("第"));
}

} // namespace
