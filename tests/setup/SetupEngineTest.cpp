#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <sched.h>
#include <functional>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CodePage.h"
#include "DesktopEntries.h"
#include "DriveType.h"
#include "InstallEngine.h"
#include "SetupFiles.h"
#include "TestSupport.h"
#include "UninstallEngine.h"

namespace {

using SetupFiles::Tree;
using SetupFiles::Write;

// Runs a whole walk and copy of source into base, as the installer window does.
struct Installation {
    QStringList folders;
    qint64 files{0};
    QStringList log;
    std::unique_ptr<Installer::CopyJob> job;

    Installation(const QString& source, const QString& base, int steps = -1,
                 std::function<void(const QString&)> listed = {})
    {
        const QString path = Installer::InstallPath(base);
        Installer::FolderWalk walk(source, path);
        while (walk.Step()) {
        }
        folders = walk.Folders();
        files = walk.FileCount();
        job = std::make_unique<Installer::CopyJob>(source, folders, path, files);
        job->Log = [this](const QString& line) { log << line; };
        job->Listed = std::move(listed);
        for (int i = 0; i != steps && job->Step(); ++i) {
        }
    }
};

// Every entry below folder, with a file's bytes.
QStringList Contents(const QString& folder)
{
    QStringList entries;
    for (const QString& entry : Tree(folder)) {
        QFile f(folder + u'/' + entry);
        entries << entry + (f.open(QIODevice::ReadOnly) ? u':' + QString::fromUtf8(f.readAll()) : QString());
    }
    return entries;
}

// Runs an uninstall of app to its end, the program's end included; what stayed.
QStringList Uninstall(const QString& app, bool keepRecord)
{
    Uninstaller::UninstallJob job(app, keepRecord);
    while (job.Step()) {
    }
    job.FinishAtExit();
    return job.Left();
}


class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_source = m_tmp.filePath(QStringLiteral("medium"));
        m_base = m_tmp.filePath(QStringLiteral("home of learner"));
        QDir().mkpath(m_base);
        Write(m_source + "/velmora");
        Write(m_source + "/background.jpg");
        Write(m_source + "/.hidden");
        Write(m_source + "/Lessons/Script/Lesson_1/icwp.vmq");
        Write(m_source + "/Lessons/Script/Lesson_2/lifr.vmq");
        Write(m_source + "/Numbers/1.wav");
        Write(m_source + "/Phonetic Symbols/H/hao3.wav");
        Write(m_source + "/Vocabulary/zi1.vmq");
        // A link back up the tree must not be followed.
        QFile::link(m_source, m_source + "/Numbers/loop");
        // The uninstaller removes desktop entries: never the real learner's.
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", m_tmp.filePath(QStringLiteral("xdg home")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_tmp.filePath(QStringLiteral("xdg home/.config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_tmp.filePath(QStringLiteral("xdg home/.local/share")).toUtf8());
    }
    void TearDown() override
    {
        qputenv("HOME", m_oldHome);
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }
    QString Installed(const QString& relative) const
    {
        return Installer::InstallPath(m_base) + relative;
    }

    QTemporaryDir m_tmp;
    QString m_source;
    QString m_base;
    QByteArray m_oldHome;
};

TEST_F(SetupTest, TheWalkIsBreadthFirstAndTheCopyFollowsIt)
{
    Installation run(m_source, m_base);
    QStringList relative;
    for (const QString& f : run.folders)
        relative << QDir(QFileInfo(m_source).canonicalFilePath()).relativeFilePath(f);
    EXPECT_EQ(relative, (QStringList{"Lessons", "Numbers", "Phonetic Symbols", "Vocabulary", "Lessons/Script",
                                     "Phonetic Symbols/H", "Lessons/Script/Lesson_1", "Lessons/Script/Lesson_2"}));
    EXPECT_EQ(run.files, 8);
    EXPECT_EQ(run.job->Maximum(), 8);
    EXPECT_EQ(run.job->Progress(), 8);
    EXPECT_FALSE(run.job->Failed());
    // Root files first (name order), then each folder's files in walk order.
    ASSERT_EQ(run.log.size(), 8);
    EXPECT_EQ(run.log.first(), Installed(".hidden"));
    EXPECT_EQ(run.log.last(), Installed("Lessons/Script/Lesson_2/lifr.vmq"));
    QStringList source = Tree(m_source);
    source.removeAll("Numbers/loop");
    QStringList copy = Tree(Installed(QString()));
    copy.removeAll(Installer::ManifestName());
    EXPECT_EQ(copy, source);
}

TEST_F(SetupTest, AnInstallIntoTheProgramFolderDoesNotCopyItself)
{
    Installation run(m_source, m_source);
    for (const QString& folder : run.folders)
        EXPECT_FALSE(folder.contains(Installer::InstallFolderName())) << folder.toStdString();
    EXPECT_FALSE(run.job->Failed());
}

TEST_F(SetupTest, FailuresAreCollectedReportedAndWrittenDown)
{
    // A folder where a file goes, and a file where a folder's parent goes.
    QDir().mkpath(Installed("velmora"));
    Write(Installed("Phonetic Symbols"));
    Installation run(m_source, m_base);
    ASSERT_TRUE(run.job->Failed());
    EXPECT_EQ(run.job->Progress(), run.job->Maximum());
    const QString report = run.job->FailureReport();
    const QString expected =
        "The following folders were not created successfully:\r\n\r\n" + Installed("Phonetic Symbols/H") + "\r\n"
        + "The following files were not copied successfully:\r\n\r\n"
        + QFileInfo(m_source).canonicalFilePath() + "/velmora\r\n"
        + QFileInfo(m_source).canonicalFilePath() + "/Phonetic Symbols/H/hao3.wav";
    EXPECT_EQ(report, expected);
    ASSERT_TRUE(run.job->WriteErrorFile());
    QFile file(Installed("Install Error.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), CodePage::ToGbk(expected + "\r\n"));
}

TEST_F(SetupTest, AReplacedFileIsNeverLeftHalfWritten)
{
    Write(Installed("Vocabulary/zi1.vmq"), "old contents");
    Write(m_source + "/Vocabulary/zi1.vmq", QByteArray(100000, 'n'));
    const auto folder = [this](const QString& relative) { return Installer::FolderHandle::Open(Installed(relative)); };
    EXPECT_TRUE(Installer::CopyReplacing(m_source + "/Vocabulary/zi1.vmq", folder("Vocabulary"), "zi1.vmq"));
    EXPECT_EQ(QFileInfo(Installed("Vocabulary/zi1.vmq")).size(), 100000);
    // A source that cannot be read leaves the old file as it was.
    Write(Installed("Numbers/1.wav"), "old");
    EXPECT_FALSE(Installer::CopyReplacing(m_source + "/missing.wav", folder("Numbers"), "1.wav"));
    QFile kept(Installed("Numbers/1.wav"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
}

TEST_F(SetupTest, WhateverACancelledOrFailedInstallCopiedIsUninstalled)
{
    const struct {
        const char* why;
        int steps;
        bool failing;
        QStringList copied; // besides the manifest, before the uninstall
        QStringList left;   // after it
    } cases[] = {
        {"cancelled once the install folder was made", 1, false, {}, {}},
        {"cancelled after three files", 4, false, {".hidden", "background.jpg", "velmora"}, {}},
        // A folder stands where the file goes: named, so the manifest keeps its line.
        {"failed, with its error report", -1, true, {}, {Installer::ManifestName(), "Numbers/", "Numbers/1.wav/"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const QString base = m_tmp.filePath("case " + QString::number(++n));
        const QString app = Installer::InstallPath(base);
        if (c.failing)
            QDir().mkpath(app + "Numbers/1.wav"); // a folder where a file goes
        Installation run(m_source, base, c.steps);
        if (c.failing) {
            ASSERT_TRUE(run.job->Failed());
            ASSERT_TRUE(run.job->WriteErrorFile());
        } else {
            QStringList copied = Tree(app);
            copied.removeAll(Installer::ManifestName());
            EXPECT_EQ(copied, c.copied);
        }

        ASSERT_FALSE(Uninstaller::Refusal(app, m_tmp.filePath("elsewhere")).has_value());
        Uninstall(app, false);
        EXPECT_EQ(QFileInfo::exists(app) ? Tree(app) : QStringList(), c.left);
    }
}

TEST(SetupRulesTest, DrivesAreJudgedByTypeAndWholeFreeMegabytes)
{
    constexpr quint64 mb = 1024 * 1024;
    const struct {
        int type;
        quint64 bytes;
        Installer::DriveVerdict verdict;
    } cases[] = {
        {Drives::Fixed, 50 * mb, Installer::DriveVerdict::Enough},
        {Drives::Fixed, 49 * mb, Installer::DriveVerdict::NotEnoughSpace},
        {Drives::Fixed, 49 * mb + mb / 2, Installer::DriveVerdict::Enough},     // 49.5 -> 50
        {Drives::Fixed, 48 * mb + mb / 2, Installer::DriveVerdict::NotEnoughSpace}, // 48.5 -> 48
        {Drives::Fixed, 0, Installer::DriveVerdict::NotEnoughSpace},
        {Drives::Fixed, quint64(1) << 50, Installer::DriveVerdict::Enough},
        {Drives::CdRom, quint64(1) << 40, Installer::DriveVerdict::CdRom},
        {Drives::Removable, quint64(1) << 40, Installer::DriveVerdict::Removable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(Installer::CheckDrive(c.type, c.bytes), c.verdict);
    }
    EXPECT_EQ(Installer::InstallPath("/home/ann/"), QStringLiteral("/home/ann/Norvale/"));
    EXPECT_EQ(Installer::InstallPath("/"), QStringLiteral("/Norvale/"));
}

TEST(SetupRulesTest, DesktopEntriesQuoteTheProgramPath)
{
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/home/ann/Norvale/velmora", "\"/home/ann/Norvale/velmora\""},
        {"/media/my disk/Norvale/velmora", "\"/media/my disk/Norvale/velmora\""},
        {"/x/100%/v", "\"/x/100%%/v\""},
        {"/x/a\"b$c`d/v", "\"/x/a\\\\\"b\\\\$c\\\\`d/v\""},
        {"/x/back\\slash/v", "\"/x/back\\\\\\\\slash/v\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DesktopEntries::ExecArgument(QString::fromUtf8(c.path)), QString::fromUtf8(c.exec));
    }
}

TEST_F(SetupTest, ShortcutsLandInTheLearnersDesktopAndMenu)
{
    const QString home = m_tmp.filePath("xdg home");
    const QString config = home + "/.config";
    Write(config + "/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/My Desktop\"\n");
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    const QString program = Installed("velmora");
    DesktopEntries::Create(Installer::ProductName(), program, Installed(QString()));

    const QString desktop = home + "/My Desktop/" + DesktopEntries::FileName();
    const QString menu = home + "/.local/share/applications/" + DesktopEntries::FileName();
    QFile entry(desktop);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains("Exec=\"" + program + "\"\n"));
    EXPECT_TRUE(text.contains("Name=Velmora 2007\n"));
    EXPECT_TRUE(QFileInfo(desktop).isExecutable());
    EXPECT_TRUE(QFileInfo::exists(menu));

    DesktopEntries::Remove();
    EXPECT_FALSE(QFileInfo::exists(desktop));
    EXPECT_FALSE(QFileInfo::exists(menu));
}

TEST(UninstallRulesTest, FixedFoldersComeInTheirOrder)
{
    for (bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        const auto list = Uninstaller::FixedFolders(keep);
        EXPECT_EQ(list.size(), keep ? 126 : 127);
        EXPECT_EQ(Uninstaller::ProgressMaximum(keep), keep ? 121 : 122);
        EXPECT_EQ(Uninstaller::FolderPath("/p/", list.at(0)), QStringLiteral("/p/Characters"));
        EXPECT_EQ(Uninstaller::FolderPath("/p/", list.at(91)), QStringLiteral("/p/Lessons/Script/Lesson_91"));
        EXPECT_EQ(Uninstaller::FolderPath("/p/", list.at(95)), QStringLiteral("/p/Phonetic Symbols/A"));
        EXPECT_EQ(Uninstaller::FolderPath("/p/", list.last()), QStringLiteral("/p/Vocabulary"));
    }
}

TEST_F(SetupTest, UninstallRemovesOnlyWhatWasInstalled)
{
    for (bool keepRecord : {true, false}) {
        SCOPED_TRACE(keepRecord);
        const QString base = m_tmp.filePath(keepRecord ? "keep" : "drop");
        QDir().mkpath(base);
        Installation run(m_source, base);
        const QString app = Installer::InstallPath(base);
        // The learner's own files and folders beside the installed ones.
        Write(app + "Record/Study.vmq");
        Write(app + "Numbers/my note.txt");
        Write(app + "My Texts/story.txt");

        ASSERT_FALSE(Uninstaller::Refusal(app, m_tmp.filePath("elsewhere")).has_value());
        Uninstaller::UninstallJob job(app, keepRecord);
        while (job.Step()) {
        }
        EXPECT_EQ(job.Progress(), job.Maximum());
        EXPECT_TRUE(job.Left().isEmpty());
        job.FinishAtExit();

        QStringList expected{"My Texts/", "My Texts/story.txt", "Numbers/", "Numbers/my note.txt"};
        if (keepRecord)
            expected << "Record/" << "Record/Study.vmq";
        expected.sort();
        EXPECT_EQ(Tree(app), expected);
    }
}

TEST_F(SetupTest, UninstallNeverRemovesAnythingBehindALink)
{
    Write(m_source + "/Spoken/Sound/ni3.wav");
    for (const char* glyph : {"20320.vmq", "22909.vmq", "25105.vmq", "26159.vmq"})
        Write(m_source + "/Characters/" + glyph, glyph);
    // A folder of the program moved to another disk, a link left in its place.
    const auto move = [](const QString& app, const QString& relative, const QString& disk) {
        const QString moved = disk + u'/' + QFileInfo(relative).fileName();
        ASSERT_TRUE(QDir().rename(app + relative, moved));
        ASSERT_TRUE(QFile::link(moved, app + relative));
    };
    // The same, as a move to another file system does it: a copy there, the folder removed.
    const auto moveAcross = [](const QString& app, const QString& relative, const QString& disk) {
        const QString moved = disk + u'/' + QFileInfo(relative).fileName();
        ASSERT_TRUE(QDir().mkpath(moved));
        for (const QString& name : QDir(app + relative).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(app + relative + u'/' + name, moved + u'/' + name));
        ASSERT_TRUE(QDir(app + relative).removeRecursively());
        ASSERT_TRUE(QFile::link(moved, app + relative));
    };
    const struct {
        const char* why;
        std::function<void(const QString& app, const QString& disk)> arrange;
        QStringList left;             // what stays in the program folder
        const char* during = nullptr; // arranged once a file below this went, else before the run
    } cases[] = {
        {"a folder of the fixed list moved", [&](const QString& app, const QString& disk) { move(app, "Numbers", disk); },
            {"Numbers"}},
        {"a nested folder of the fixed list moved",
            [&](const QString& app, const QString& disk) { move(app, "Spoken/Sound", disk); }, {"Spoken/", "Spoken/Sound"}},
        {"a lesson folder moved",
            [&](const QString& app, const QString& disk) { move(app, "Lessons/Script/Lesson_1", disk); },
            {"Lessons/", "Lessons/Script/", "Lessons/Script/Lesson_1"}},
        {"the folder above the lesson folders moved",
            [&](const QString& app, const QString& disk) { move(app, "Lessons", disk); }, {"Lessons"}},
        {"an installed file replaced by a link to the learner's own file",
            [](const QString& app, const QString& disk) {
                Write(disk + "/mine.vmq", "mine");
                ASSERT_TRUE(QFile::remove(app + "Vocabulary/zi1.vmq"));
                ASSERT_TRUE(QFile::link(disk + "/mine.vmq", app + "Vocabulary/zi1.vmq"));
            },
            {}},
        {"manifest lines naming files behind a planted link",
            [](const QString& app, const QString& disk) {
                Write(disk + "/notes/a.txt", "mine");
                Write(disk + "/notes/deeper/b.txt", "mine");
                ASSERT_TRUE(QFile::link(disk + "/notes", app + "Linked"));
                QFile manifest(app + Installer::ManifestName());
                ASSERT_TRUE(manifest.open(QIODevice::Append));
                manifest.write("Linked/a.txt\nLinked/deeper/b.txt\n");
            },
            {"Linked"}},
        {"a folder moved while its files were being removed",
            [&](const QString& app, const QString& disk) { moveAcross(app, "Characters", disk); }, {"Characters"},
            "Characters/"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const QString base = m_tmp.filePath("case " + QString::number(++n));
        const QString disk = m_tmp.filePath("other disk " + QString::number(n));
        QDir().mkpath(base);
        QDir().mkpath(disk);
        Installation run(m_source, base);
        const QString app = Installer::InstallPath(base);
        QStringList before;
        const auto arrange = [&] {
            c.arrange(app, disk);
            before = Contents(disk);
        };
        if (!c.during)
            arrange();
        Uninstaller::UninstallJob job(app, false);
        if (c.during) {
            job.Removed = [&, armed = true](const QString& relative) mutable {
                if (armed && relative.startsWith(QString::fromUtf8(c.during))) {
                    armed = false;
                    arrange();
                }
            };
        }
        while (job.Step()) {
        }
        job.FinishAtExit();

        ASSERT_FALSE(before.isEmpty());
        EXPECT_EQ(Contents(disk), before);
        QStringList left = QFileInfo::exists(app) ? Tree(app) : QStringList();
        EXPECT_EQ(left.removeAll(Installer::ManifestName()) == 1, !job.Left().isEmpty())
            << "the manifest stays for what stayed";
        EXPECT_EQ(left, c.left);
        // What stays is said: each link where the program had a folder, never what it holds.
        EXPECT_EQ(job.Left(), left.filter(QRegularExpression("[^/]$")));
    }
}

TEST_F(SetupTest, AReinstallationFromASmallerMediumLeavesNothingBehindOnUninstall)
{
    Installation first(m_source, m_base);
    QFile::remove(m_source + "/Numbers/1.wav");
    Write(m_source + u'/' + Installer::ManifestName(), "velmora\n"); // a medium that was installed itself
    Installation second(m_source, m_base);

    const QString app = Installer::InstallPath(m_base);
    EXPECT_TRUE(Uninstaller::ReadManifest(app).contains("Numbers/1.wav"));
    Uninstall(app, true);
    EXPECT_FALSE(QFileInfo::exists(app));
}

TEST_F(SetupTest, AReinstallKeepsTheRecordsAndWritesNothingThroughALink)
{
    Write(m_source + "/Record/Study.vmq", "the medium's");
    Installation first(m_source, m_base);
    // Since then: the learner's records, and links planted in place of an installed file and
    // an installed folder.
    Write(Installed("Record/Study.vmq"), "the learner's");
    Write(m_source + "/Record/Chat.txt", "the medium's");
    const QString disk = m_tmp.filePath("other disk");
    Write(disk + "/notes.txt", "mine");
    Write(disk + "/folder/keep.txt", "mine");
    ASSERT_TRUE(QFile::remove(Installed("background.jpg")));
    ASSERT_TRUE(QFile::link(disk + "/notes.txt", Installed("background.jpg")));
    ASSERT_TRUE(QDir(Installed("Numbers")).removeRecursively());
    ASSERT_TRUE(QFile::link(disk + "/folder", Installed("Numbers")));
    const QStringList before = Contents(disk);

    Write(m_source + "/background.jpg", "new");
    Installation second(m_source, m_base);

    EXPECT_EQ(Contents(Installed("Record")), QStringList{"Study.vmq:the learner's"});
    EXPECT_EQ(Contents(disk), before);
    // The rest went on: the file took its link's place, and the linked folder's file failed.
    EXPECT_FALSE(QFileInfo(Installed("background.jpg")).isSymLink());
    EXPECT_TRUE(Contents(Installed(QString())).contains("background.jpg:new"));
    EXPECT_EQ(second.job->FailedFiles(), QStringList{QFileInfo(m_source).canonicalFilePath() + "/Numbers/1.wav"});
}

TEST_F(SetupTest, AnInstallKilledMidFileIsUninstalledWhole)
{
    const struct {
        const char* why;
        bool reinstall;
        QString partOf; // what a kill during a write leaves beside that file
    } cases[] = {
        {"killed before the copy", false, {}},
        {"killed during the copy", false, "Numbers/1.wav"},
        {"a reinstall killed while it rewrote its manifest", true, Installer::ManifestName()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const QString app = Installer::InstallPath(m_tmp.filePath(c.why));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (c.reinstall)
                Installation first(m_source, m_tmp.filePath(c.why));
            Installation run(m_source, m_tmp.filePath(c.why), -1, [&](const QString& relative) {
                if (relative != "Numbers/1.wav")
                    return;
                if (!c.partOf.isEmpty()) {
                    const QFileInfo file(app + c.partOf);
                    QFile part(file.path() + u'/' + Installer::PartName(file.fileName()));
                    if (part.open(QIODevice::WriteOnly))
                        part.write("half");
                }
                ::raise(SIGKILL);
            });
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        EXPECT_EQ(Uninstall(app, false), QStringList());
        EXPECT_FALSE(QFileInfo::exists(app)) << Tree(app).join(u' ').toStdString();
    }
}

TEST_F(SetupTest, WhatStaysIsNamedAndListedSoThatAnotherUninstallFinishesIt)
{
    Installation run(m_source, m_base);
    const QString app = Installer::InstallPath(m_base);
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can make one file immutable; a read-only folder would keep its neighbours too";
    {
        // The program itself and one sound that nobody may remove.
        const SetupFiles::Unremovable program(app + "velmora");
        const SetupFiles::Unremovable sound(app + "Numbers/1.wav");
        if (!program.Done() || !sound.Done())
            GTEST_SKIP() << "this file system keeps no immutable flag";
        for (int runs = 1; runs <= 2; ++runs) {
            SCOPED_TRACE(runs);
            ASSERT_FALSE(Uninstaller::Refusal(app, m_tmp.filePath("elsewhere")).has_value());
            EXPECT_EQ(Uninstall(app, false), (QStringList{"Numbers/1.wav", "velmora"}));
            EXPECT_EQ(Uninstaller::ReadManifest(app), (QStringList{"velmora", "Numbers/1.wav"}));
            EXPECT_EQ(Tree(app), (QStringList{Installer::ManifestName(), "Numbers/", "Numbers/1.wav", "velmora"}));
        }
    }
    // Once they may go, the next run takes them and the folder.
    EXPECT_EQ(Uninstall(app, false), QStringList());
    EXPECT_FALSE(QFileInfo::exists(app)) << Tree(app).join(u' ').toStdString();
}

// Another file system mounted below the program folder (a RAM disk), or a folder of the
// learner's bound there from elsewhere on the same disk: what they hold is not the program's.
TEST_F(SetupTest, NothingOnAMountBelowTheProgramFolderIsWrittenOrRemoved)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root, in a mount namespace of the test's own";
    Write(m_source + "/Characters/20320.vmq");
    Installation first(m_source, m_base);
    const QString app = Installer::InstallPath(m_base);
    const QString backup = m_tmp.filePath("backup");
    Write(backup + "/1.wav", "backup");
    Write(backup + "/2.wav", "backup");

    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The mounts live in a namespace of this child only, and end with it.
        ::close(report[0]);
        const QByteArray characters = QFile::encodeName(app + "Characters");
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", characters.constData(), "tmpfs", 0, "size=1m") != 0
            || ::mount(QFile::encodeName(backup).constData(), QFile::encodeName(app + "Numbers").constData(), nullptr,
                   MS_BIND, nullptr) != 0)
            ::_exit(77);
        QFile onRamDisk(app + "Characters/20320.vmq");
        if (!onRamDisk.open(QIODevice::WriteOnly) || onRamDisk.write("ram disk") != 8)
            ::_exit(78);
        onRamDisk.close();
        Installation again(m_source, m_base);
        const QStringList left = Uninstall(app, false);
        const QString lines = QStringList{left.join(u','), Contents(app + "Characters").join(u','),
                                  Contents(backup).join(u','), again.job->FailedFiles().join(u',')}
                                  .join(u'\n');
        Installer::WriteAll(report[1], lines.toUtf8());
        ::_exit(0);
    }
    ::close(report[1]);
    QFile reader;
    ASSERT_TRUE(reader.open(report[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QStringList lines = QString::fromUtf8(reader.readAll()).split(u'\n');
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "this system lets no test mount, even in a mount namespace of its own";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(lines.size(), 4);

    const QString medium = QFileInfo(m_source).canonicalFilePath();
    EXPECT_EQ(lines[0], "Characters,Numbers") << "what stayed, named by its mount point";
    EXPECT_EQ(lines[1], "20320.vmq:ram disk");
    EXPECT_EQ(lines[2], "1.wav:backup,2.wav:backup");
    EXPECT_EQ(lines[3], medium + "/Characters/20320.vmq," + medium + "/Numbers/1.wav") << "the reinstall";
    // Unmounted, the program's own files are there again, and the manifest still lists them.
    EXPECT_EQ(Uninstaller::ReadManifest(app), (QStringList{"Characters/20320.vmq", "Numbers/1.wav"}));
    EXPECT_EQ(Uninstall(app, false), QStringList());
    EXPECT_FALSE(QFileInfo::exists(app)) << Tree(app).join(u' ').toStdString();
}

TEST_F(SetupTest, AManifestPastItsBoundIsNeitherReadNorWrittenOver)
{
    const QString app = Installer::InstallPath(m_base);
    Installation first(m_source, m_base);
    QFile manifest(app + Installer::ManifestName());
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    const QByteArray listed = manifest.readAll();
    manifest.close();

    // Grown past any installation's list (sparse, it takes no room): refused by both, and
    // never written over.
    const qint64 huge = qint64(3) << 30;
    ASSERT_TRUE(QFile::resize(app + Installer::ManifestName(), huge));
    EXPECT_TRUE(Uninstaller::Refusal(app, m_tmp.filePath("elsewhere")).value_or(QString()).contains(
        Installer::ManifestTooLargeReason()));
    EXPECT_TRUE(Installer::InstallRefusal(app).has_value());
    Installation again(m_source, m_base);
    EXPECT_EQ(again.job->FailedFiles().size(), again.files) << "nothing is copied that no list names";
    EXPECT_EQ(QFileInfo(app + Installer::ManifestName()).size(), huge);

    // Nine bytes short of the bound, it is read; a reinstall adds no line that would pass the
    // bound, and copies only what the list names.
    Write(app + Installer::ManifestName(), listed + QByteArray(Installer::ManifestLimit - listed.size() - 10, 'p') + '\n');
    Write(m_source + "/Vocabulary/ci1.vmq", "new");
    Installation within(m_source, m_base);
    EXPECT_EQ(within.job->FailedFiles(), QStringList{QFileInfo(m_source).canonicalFilePath() + "/Vocabulary/ci1.vmq"});
    EXPECT_EQ(QFileInfo(app + Installer::ManifestName()).size(), Installer::ManifestLimit - 9);
    EXPECT_FALSE(QFileInfo::exists(app + "Vocabulary/ci1.vmq"));
    EXPECT_FALSE(Uninstaller::Refusal(app, m_tmp.filePath("elsewhere")).has_value());
}

TEST_F(SetupTest, UninstallRefusesFoldersItDidNotInstall)
{
    const QString app = m_tmp.filePath("plain/");
    Write(app + "velmora");
    EXPECT_TRUE(Uninstaller::Refusal(app, m_tmp.filePath("home")).has_value()); // no manifest
    Write(app + Installer::ManifestName(), "velmora\n");
    EXPECT_FALSE(Uninstaller::Refusal(app, m_tmp.filePath("home")).has_value());
    EXPECT_TRUE(Uninstaller::Refusal(app, app).has_value()); // the home folder itself
    EXPECT_TRUE(Uninstaller::Refusal(QStringLiteral("/"), m_tmp.filePath("home")).has_value());
}

TEST_F(SetupTest, AManifestNeverReachesOutsideTheProgramFolder)
{
    const QString app = m_tmp.filePath("app/");
    Write(m_tmp.filePath("outside.txt"));
    Write(app + Installer::ManifestName(), "../outside.txt\n/etc/passwd\nvelmora\n");
    EXPECT_EQ(Uninstaller::ReadManifest(app), QStringList{"velmora"});
}

} // namespace
