#include <QHash>
#include <QLabel>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Clock.h"
#include "Form.h"
#include "FormCalls.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "TestSupport.h"
#include "ToneLabel.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

// Every call any stand-in window receives, in order ("Text.Common01", ...).
QStringList g_calls;

// Stand-ins for the windows the dispatch calls: the main window with its tone label, and one
// window per owner with that owner's play-finished method, each registered while loaded as
// the real windows are.
class Background : public Form, public ToneLabelView {
    Q_OBJECT
public:
    Background()
        : Form(QStringLiteral("Background"))
    {
        m_label = new QLabel(QStringLiteral("Tone"), this);
        m_label->setObjectName(QStringLiteral("Label4"));
        m_label->hide();
    }
    void ShowToneText(const QString& text) override
    {
        m_label->setText(text);
        m_label->adjustSize();
        m_label->setVisible(true);
    }

protected:
    void Form_Load() override { RegisterToneLabelView(this); }
    void Form_Unload() override { UnregisterToneLabelView(this); }

private:
    QLabel* m_label{nullptr};
};

// Each owner's code and the method its play-done runs.
const QHash<QString, QPair<qint16, QString>> kOwners{
    {"Text", {SoundOwnerCode::Text, "Common01"}},
    {"Spoken", {SoundOwnerCode::Spoken, "Common02"}},
    {"Alphabet1", {SoundOwnerCode::Alphabet1, "Common01"}},
    {"Vocabulary", {SoundOwnerCode::Vocabulary, "Common05"}},
    {"FindSentence", {SoundOwnerCode::FindSentence, "Common02"}},
    {"Figure", {SoundOwnerCode::Figure, "Play1"}},
};

class Owner : public Form, public PlayDoneReceiver {
    Q_OBJECT
public:
    explicit Owner(const QString& name)
        : Form(name)
    {
    }
    void PlayDone() override { g_calls << FormName() + "." + kOwners[FormName()].second; }

protected:
    void Form_Load() override { RegisterPlayDoneReceiver(kOwners[FormName()].first, this); }
    void Form_Unload() override { UnregisterPlayDoneReceiver(kOwners[FormName()].first, this); }
};

const QStringList kOwnerForms{"Text", "Spoken", "Alphabet1", "Vocabulary", "FindSentence", "Figure"};

class SoundQueueTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        g_calls.clear();
        Forms::RegisterFactory("Background", [] { return new Background; });
        for (const QString& name : kOwnerForms)
            Forms::RegisterFactory(name, [name] { return new Owner(name); });
        Forms::Load("Background");
        SetUpSharedPlayers();
        CloseSharedPlayers();
        WriteFile("Phonetic Symbols\\N\\ni3.wav", Sound(300));
        WriteFile("Phonetic Symbols\\H\\hao3.wav", Sound(500));
        WriteFile("Phonetic Symbols\\M\\ma1.wav", Sound(200));
        WriteFile("Phonetic Symbols\\E\\er1.wav", Sound(250));
        WriteFile("Phonetic Symbols\\E\\er2.wav", Sound(260));
        WriteFile("Sound\\right.WAV", Sound(400));
    }
    void TearDown() override
    {
        CloseSharedPlayers();
        AppFixture::TearDown();
    }
    QString Label4() const
    {
        auto* l = Forms::Control<QLabel>("Background", "Label4");
        return l && l->isVisibleTo(l->parentWidget()) ? l->text() : QString();
    }
    // The file now loaded in the shared player, relative to AppPath.
    QString Playing() const
    {
        if (MMControl1()->Mode() != WavePlayer::ModePlaying)
            return {};
        return MMControl1()->FileName().mid(State().AppPath.size());
    }
};

} // namespace

TEST_F(SoundQueueTest, SpeaksEachSyllableInTurnWithItsToneThenTellsTheReadAloudTask)
{
    State().CurrentActivity = 6;
    Forms::Load("Text");
    PlayPinyinSequence("ni3 hao3");
    EXPECT_EQ(State().SyllableQueueCount, 2);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    EXPECT_EQ(Label4(), "[ ni3 ] the 3rd tone");
    EXPECT_EQ(State().SoundOwner, SoundOwnerCode::SyllableQueue);
    Clock::Advance(299);
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    Clock::Advance(1);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    EXPECT_EQ(Label4(), "[ hao3 ] the 3rd tone");
    EXPECT_TRUE(g_calls.isEmpty());
    Clock::Advance(500);
    EXPECT_EQ(g_calls, QStringList{"Text.Common01"});
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModeNotOpen); // the queue closes the player
    EXPECT_EQ(State().SyllableQueuePos, 2);
    EXPECT_EQ(Label4(), "[ hao3 ] the 3rd tone"); // stays after the sound
    Clock::Advance(5000);
    EXPECT_EQ(g_calls.size(), 1);
}

TEST_F(SoundQueueTest, TheEndOfTheQueueIsReportedByCurrentActivity)
{
    const struct {
        qint16 activity;
        QStringList calls;
    } cases[] = {
        {6, {"Text.Common01"}},
        {3, {"Vocabulary.Common05"}},
        {1, {}},
        {0, {}},
        {-1, {}},
    };
    Forms::Load("Text");
    Forms::Load("Vocabulary");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.activity);
        g_calls.clear();
        State().CurrentActivity = c.activity;
        PlayPinyinSequence("ma1");
        Clock::Advance(200);
        EXPECT_EQ(g_calls, c.calls);
    }
}

TEST_F(SoundQueueTest, QueueEntriesFollowTheToneRules)
{
    const struct {
        QString text;
        QStringList tones, files;
    } cases[] = {
        {"ni3 hao3", {"3", "3"}, {"ni3", "hao3"}},
        {"ma0", {"0"}, {"ma1"}},
        {"hao3 er1", {"3", "1"}, {"hao3", "er2"}},
        {"er1 hao3", {"1", "3"}, {"er1", "hao3"}},
        {"  zhong1  guo2 ren2xyz", {"1", "2", "2"}, {"zhong1", "guo2", "ren2"}},
        {"hello", {}, {}},
        {"5", {"5"}, {"5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        CloseSharedPlayers();
        PlayPinyinSequence(c.text);
        const AppState& s = State();
        ASSERT_EQ(s.SyllableQueueCount, c.files.size());
        for (int k = 1; k <= s.SyllableQueueCount; ++k) {
            EXPECT_EQ(s.SyllableQueue.At(0, k), c.tones.at(k - 1));
            EXPECT_EQ(s.SyllableQueue.At(1, k), c.files.at(k - 1));
        }
    }
}

TEST_F(SoundQueueTest, NeutralToneAndFinalErPlayTheirStandInFiles)
{
    PlayPinyinSequence("ma0");
    EXPECT_EQ(Playing(), "Phonetic Symbols/M/ma1.wav");
    EXPECT_EQ(Label4(), "[ ma1 ] light tone");
    PlayPinyinSequence("er1");
    EXPECT_EQ(Playing(), "Phonetic Symbols/E/er2.wav");
    EXPECT_EQ(Label4(), "[ er2 ] the 1st tone"); // the tone as written, the file as played
}

TEST_F(SoundQueueTest, MissingDamagedAndUnreadableFilesAreSkipped)
{
    WriteFile("Phonetic Symbols\\X\\xie4.wav", "RIFF\x04\0\0\0WAVE");             // damaged
    WriteFile("Phonetic Symbols\\S\\shi4.wav", WavFile::Encode16(8000, 1, {}));   // no sound data
    QDir().mkpath(Path("Phonetic Symbols/Z/zai4.wav"));                          // not a file
    State().CurrentActivity = 3;
    Forms::Load("Vocabulary");
    PlayPinyinSequence("xie4 shi4 zai4 ni3 wo3 hao3 qu4");
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
    EXPECT_EQ(State().SyllableQueuePos, 4);
    Clock::Advance(300);
    EXPECT_EQ(Playing(), "Phonetic Symbols/H/hao3.wav");
    EXPECT_EQ(State().CurrentTone, "3");
    Clock::Advance(500);
    EXPECT_EQ(g_calls, QStringList{"Vocabulary.Common05"});
}

TEST_F(SoundQueueTest, ATextWithNothingToPlayEndsTheQueueAtOnce)
{
    State().CurrentActivity = 3;
    Forms::Load("Vocabulary");
    for (const QString text : {"qu4", "hello"}) {
        SCOPED_TRACE(text.toStdString());
        g_calls.clear();
        PlaySoundFile(Path("Sound/right.WAV"), 0);
        PlayPinyinSequence(text);
        EXPECT_EQ(g_calls, QStringList{"Vocabulary.Common05"}); // before any event is processed
        EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModeNotOpen);
    }
    g_calls.clear();
    PlayPinyinSequence(""); // an empty text does nothing at all
    EXPECT_TRUE(g_calls.isEmpty());
}

TEST_F(SoundQueueTest, ASoundStartedByAnotherWindowStopsTheQueueForGood)
{
    State().CurrentActivity = 6;
    Forms::Load("Text");
    PlayPinyinSequence("ni3 hao3");
    Clock::Advance(100);
    PlaySoundFile(Path("Sound\\right.WAV"), SoundOwnerCode::Nobody);
    EXPECT_EQ(State().SoundOwner, 0);
    Clock::Advance(5000);
    EXPECT_TRUE(g_calls.isEmpty());
    EXPECT_EQ(State().SyllableQueuePos, 1);
}

TEST_F(SoundQueueTest, PlayDoneCallsTheOwnerWindowOnlyWhileItIsLoaded)
{
    const struct {
        qint16 owner;
        QString form, call;
    } cases[] = {
        {SoundOwnerCode::Text, "Text", "Text.Common01"},
        {SoundOwnerCode::Spoken, "Spoken", "Spoken.Common02"},
        {SoundOwnerCode::Alphabet1, "Alphabet1", "Alphabet1.Common01"},
        {SoundOwnerCode::Vocabulary, "Vocabulary", "Vocabulary.Common05"},
        {SoundOwnerCode::FindSentence, "FindSentence", "FindSentence.Common02"},
        {SoundOwnerCode::Figure, "Figure", "Figure.Play1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form.toStdString());
        Forms::Load(c.form);
        g_calls.clear();
        PlaySoundFile(Path("Sound\\right.WAV"), c.owner);
        EXPECT_TRUE(g_calls.isEmpty());
        Clock::Advance(400);
        EXPECT_EQ(g_calls, QStringList{c.call});

        // Closed before its sound ends: nobody is called, and the window is not loaded again.
        g_calls.clear();
        PlaySoundFile(Path("Sound\\right.WAV"), c.owner);
        Clock::Advance(100);
        Forms::Unload(c.form);
        Clock::Advance(1000);
        EXPECT_TRUE(g_calls.isEmpty());
        EXPECT_FALSE(Forms::IsLoaded(c.form));
    }
}

TEST_F(SoundQueueTest, OwnerNobodyAndUnknownOwnersCallNobody)
{
    for (const QString& name : kOwnerForms)
        Forms::Load(name);
    for (const qint16 owner : {qint16(0), qint16(1), qint16(14), qint16(99)}) {
        SCOPED_TRACE(owner);
        PlaySoundFile(Path("Sound\\right.WAV"), owner);
        EXPECT_EQ(MMControl1()->Notify(), owner != 0);
        Clock::Advance(1000);
        MMControl1_Done(WavePlayer::Successful); // even a stray report calls nobody
    }
    EXPECT_TRUE(g_calls.isEmpty());
}

TEST_F(SoundQueueTest, ReportsOtherThanSuccessfulCallNobody)
{
    Forms::Load("Text");
    State().SoundOwner = SoundOwnerCode::Text;
    for (const int code : {2, 4, 8, 0})
        MMControl1_Done(code);
    EXPECT_TRUE(g_calls.isEmpty());
    MMControl1_Done(WavePlayer::Successful);
    EXPECT_EQ(g_calls, QStringList{"Text.Common01"});
}

TEST_F(SoundQueueTest, ReplaySoundPlaysTheLoadedFileAgainWithItsToneLabel)
{
    Forms::Load("Alphabet1");
    State().CurrentTone = "0";
    PlaySoundFile(Path("Phonetic Symbols/M/ma1.wav"), SoundOwnerCode::Nobody);
    EXPECT_EQ(Label4(), "[ ma1 ] light tone");
    Clock::Advance(150);
    State().CurrentTone = "1";
    ReplaySound(SoundOwnerCode::Alphabet1);
    EXPECT_EQ(Label4(), "[ ma1 ] the 1st tone");
    Clock::Advance(199);
    EXPECT_TRUE(g_calls.isEmpty());
    Clock::Advance(1);
    EXPECT_EQ(g_calls, QStringList{"Alphabet1.Common01"});
}

TEST_F(SoundQueueTest, TheToneLabelShowsOnlyForSyllableFilesAndNeedsTheMainWindow)
{
    State().CurrentTone = "4";
    PlaySoundFile(Path("Sound\\right.WAV"), 0);
    EXPECT_EQ(Label4(), QString());
    PlaySoundFile(m_dir->path() + "\\Phonetic symbols\\H\\hao3.wav", 0); // "\" and any case; the label does not wait for the file
    EXPECT_EQ(Label4(), "[ hao3 ] the 4th tone");
    Forms::Unload("Background");
    PlayPinyinSequence("ni3"); // no main window: the sound plays, no label anywhere
    EXPECT_EQ(Playing(), "Phonetic Symbols/N/ni3.wav");
}

TEST_F(SoundQueueTest, ToneLabelEndings)
{
    const struct {
        QString tone, text;
    } cases[] = {
        {"0", "[ ma1 ] light tone"},    {"1", "[ ma1 ] the 1st tone"}, {"2", "[ ma1 ] the 2nd tone"},
        {"3", "[ ma1 ] the 3rd tone"},  {"4", "[ ma1 ] the 4th tone"}, {"", "[ ma1 ] the 4th tone"},
        {"7", "[ ma1 ] the 4th tone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tone.toStdString());
        ShowToneLabel(c.tone, "ma1");
        EXPECT_EQ(Label4(), c.text);
    }
}

TEST(BaseFileName, TakesTheTextBetweenTheLastSeparatorAndTheLastDot)
{
    const struct {
        QString path, base;
    } cases[] = {
        {"C:\\x\\y.wav", "y"},
        {"y.z.wav", "y.z"},
        {"C:\\a.b\\c", "a"},
        {"C:\\x\\noextension", ""},
        {"", ""},
        {"/home/learner/Velmora/Phonetic Symbols/H/hao3.wav", "hao3"},
        {"/a.b/c", "a"},
        {"mixed\\dir/zhong1.wav", "zhong1"},
        {".wav", ""},
        {"C:\\x\\.hidden", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(BaseFileName(c.path), c.base);
    }
}

TEST_F(SoundQueueTest, TheSecondPlayerClosesItselfAtTheEndOfItsSound)
{
    MMControl2()->SetFileName(Path("Sound\\right.WAV"));
    MMControl2()->Open();
    MMControl2()->Play();
    EXPECT_TRUE(MMControl2()->Notify());
    EXPECT_EQ(MMControl2()->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(400);
    EXPECT_EQ(MMControl2()->Mode(), WavePlayer::ModeNotOpen);
    EXPECT_TRUE(g_calls.isEmpty());
}

TEST_F(SoundQueueTest, ClosingTheSharedPlayersSilencesEverything)
{
    State().CurrentActivity = 6;
    Forms::Load("Text");
    PlayPinyinSequence("ni3 hao3");
    Clock::Advance(100);
    CloseSharedPlayers();
    Clock::Advance(5000);
    EXPECT_TRUE(g_calls.isEmpty());
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModeNotOpen);
    EXPECT_EQ(MMControl1()->DeviceType(), "WaveAudio");
}

#include "SoundQueueTest.moc"
