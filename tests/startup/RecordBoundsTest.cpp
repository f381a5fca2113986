// Every record file of the learner met as its reader refuses it: larger than its bound, damaged,
// a FIFO. Each kind is read as the program reads it at its start or opening, changed and saved as
// the learner's work saves it, then read again as at the next start: the refused file is kept
// aside whole, the learner is told once, and the save and the next start go on from a fresh file.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AppState.h"
#include "ChatLink.h"
#include "ChatSession.h"
#include "CourseProgress.h"
#include "LoadingSteps.h"
#include "NumberHistory.h"
#include "OnlineCache.h"
#include "QuestionNotes.h"
#include "RecordFolder.h"
#include "SafeFile.h"
#include "SettingRecord.h"
#include "SettingsFiles.h"
#include "StudyProgress.h"
#include "TablesTestSupport.h"
#include "TestSupport.h"

namespace {

// One kind of record: how the program reads it, how a change of the learner's is saved, and
// what the next reading must give back.
struct RecordKind {
    const char* file; // in the Record folder
    qint64 bound;     // the most its reader takes
    bool text;        // a text file, which can be damaged (bytes that are no code page 936)
    std::function<void()> start;
    std::function<void()> useAndSave;
    std::function<bool()> savedIsBack; // the next start reads the change back
};

void StartSettings()
{
    ProgressRecorder progress;
    LoadSettingsFiles(progress);
}

void StartOnlineCache()
{
    ProgressRecorder progress;
    LoadOnlineWords(progress);
}

void AddOnlineWord()
{
    OnlineCache cache(QStringLiteral("[Lexicon Online]"));
    cache.AddCacheEntry(QStringLiteral("hello"), QStringLiteral("hello 1) greeting;"));
    cache.SaveCache();
}

bool OnlineWordIsBack(qint16 count)
{
    State().OnlineWordTable.clear();
    State().OnlineWordCount = 0;
    StartOnlineCache();
    return State().OnlineWordCount == count && State().OnlineWordTable.last().Word == QStringLiteral("hello");
}

class RecordBoundsTest : public AppFixture {
protected:
    QVector<ChatMessage> m_chat;
    NumberHistory m_numbers{QStringLiteral("cardinal.txt")};
    NumberHistory m_telephone{QStringLiteral("telephone.txt")};

    void Chat()
    {
        ChatSession session;
        session.LoadHistory();
        session.Socket().RemoteHost = QStringLiteral("127.0.0.2");
        session.Socket().RemotePort = 9;
        session.Link().HandleDatagram(ChatWire::Message(QStringLiteral("你好")).value(),
            QHostAddress(session.Socket().RemoteHost), session.Socket().RemotePort);
        session.Close();
        WaitForWrites();
    }

    std::vector<RecordKind> Kinds()
    {
        const QString questions = RecordPath(QStringLiteral("Question.txt"));
        return {
            {"Chat.txt", SafeFile::MaxTextFileBytes, true, [] { ChatHistory::Load(); }, [this] { Chat(); },
                [] { return ChatHistory::Load().size() == 1; }},
            {"wangci.txt", SafeFile::MaxTextFileBytes, true, StartOnlineCache, AddOnlineWord,
                [] { return OnlineWordIsBack(1); }},
            // The count file is read at start when there is a cache to load.
            {"Cang.vmq", SafeFile::MaxRecordFileBytes, false,
                [this] {
                    WriteFile("Record/wangci.txt", "first: 1) one;\r\n");
                    StartOnlineCache();
                },
                AddOnlineWord, [] { return OnlineWordIsBack(2); }},
            {"cardinal.txt", SafeFile::MaxTextFileBytes, true, [this] { m_numbers.Load(); },
                [this] {
                    m_numbers.Add(QStringLiteral("12"));
                    m_numbers.Save();
                },
                [this] {
                    m_numbers.Load();
                    return m_numbers.Entries() == QStringList{QStringLiteral("12")};
                }},
            {"telephone.txt", SafeFile::MaxTextFileBytes, true, [this] { m_telephone.Load(); },
                [this] { m_telephone.Reset(TelephoneHistoryStart()); },
                [this] {
                    m_telephone.Load();
                    return m_telephone.Entries() == TelephoneHistoryStart();
                }},
            {"Question.txt", SafeFile::MaxTextFileBytes, true, [questions] { ReadQuestions(questions); },
                [questions] { WriteQuestions(questions, QStringLiteral("问题")); },
                [questions] { return ReadQuestions(questions) == QStringLiteral("问题"); }},
            {"tutor.txt", MaxLastLineBytes, true, StartSettings,
                [] { WriteOneLineRecord(SettingsFiles::Tutor, QStringLiteral("teacher")); },
                [] { return ReadOneLineRecord(SettingsFiles::Tutor) == QStringLiteral("teacher"); }},
            {"yourname.txt", MaxLastLineBytes, true, StartSettings,
                [] { WriteOneLineRecord(SettingsFiles::YourName, QStringLiteral("王小明")); },
                [] { return ReadOneLineRecord(SettingsFiles::YourName) == QStringLiteral("王小明"); }},
            {"backgroundpath.txt", MaxLastLineBytes, true, [] { ReadOneLineRecord(SettingsFiles::BackgroundPath); },
                [] { WriteOneLineRecord(SettingsFiles::BackgroundPath, QStringLiteral("/pictures/a.jpg")); },
                [] { return ReadOneLineRecord(SettingsFiles::BackgroundPath) == QStringLiteral("/pictures/a.jpg"); }},
            {"Setting.vmq", SafeFile::MaxRecordFileBytes, false, [] { ReadSettingRecord(); },
                [] {
                    SettingRecord record = ReadSettingRecord();
                    record.BackdropMode = 1;
                    WriteSettingRecord(record);
                },
                [] { return ReadSettingRecord().BackdropMode == 1; }},
            {"Study.vmq", SafeFile::MaxRecordFileBytes, false, ReadStudyProgress, CompleteLessonStep,
                [] {
                    const StudyRecord r = ReadStudyRecord();
                    return r.Lesson == 1 && r.Step == 2;
                }},
        };
    }
};

enum class Fault { OverTheBound, Damaged, Fifo };

} // namespace

TEST_F(RecordBoundsTest, ARefusedRecordIsKeptAsideAndTheSaveAndTheNextStartGoOnWithoutIt)
{
    for (const RecordKind& kind : Kinds()) {
        for (const Fault fault : {Fault::OverTheBound, Fault::Damaged, Fault::Fifo}) {
            if (fault == Fault::Damaged && !kind.text)
                continue; // a record cut short reads as zeros where it ends: nothing is refused
            SCOPED_TRACE(testing::Message() << kind.file << ", fault " << int(fault));
            ResetState();
            m_boxes->Clear();
            ASSERT_TRUE(QDir(Path("Record")).removeRecursively());
            ASSERT_TRUE(QDir().mkpath(Path("Record")));
            const QString file = RecordPath(QLatin1String(kind.file));
            const QFileInfo info(file);
            const QString kept = Path("Record/" + info.completeBaseName() + " (kept 1)." + info.suffix());
            QByteArray bytes;
            if (fault == Fault::OverTheBound) {
                // Sparse beyond the bound, with a mark at its start.
                WriteFile("Record/" + info.fileName(), "mark");
                QFile f(file);
                ASSERT_TRUE(f.resize(kind.bound + 1));
            } else if (fault == Fault::Damaged) {
                bytes = "0ok\r\n1\xFF\xFE\r\n";
                WriteFile("Record/" + info.fileName(), bytes);
            } else {
                ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
            }

            kind.start();
            ASSERT_EQ(m_boxes->Boxes().size(), 1);
            EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Exclamation);
            EXPECT_TRUE(m_boxes->Boxes()[0].text.contains(QDir::toNativeSeparators(kept))) << "the learner is told where";
            kind.useAndSave();
            EXPECT_TRUE(kind.savedIsBack()) << "the next start reads what was saved";
            EXPECT_EQ(m_boxes->Boxes().size(), 1) << "told once, and no save failed";

            // What the reader refused is there whole.
            const QFileInfo keptInfo(kept);
            if (fault == Fault::OverTheBound) {
                EXPECT_EQ(keptInfo.size(), kind.bound + 1);
                QFile f(kept);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_EQ(f.read(4), QByteArray("mark"));
            } else if (fault == Fault::Damaged) {
                EXPECT_EQ(ReadFile("Record/" + keptInfo.fileName()), bytes);
            } else {
                struct stat st {};
                ASSERT_EQ(::lstat(QFile::encodeName(kept).constData(), &st), 0);
                EXPECT_TRUE(S_ISFIFO(st.st_mode));
            }
            EXPECT_TRUE(QFileInfo(file).isFile());
        }
    }
}
