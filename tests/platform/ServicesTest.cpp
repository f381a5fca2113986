// Platform services: single instance, drive type, time zone, pictures, screen in twips.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTimeZone>
#include <gtest/gtest.h>

#include "DriveType.h"
#include "Picture.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "TimeZone.h"
#include "Twips.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process that takes the lock on path and keeps it until Finish().
class OtherRun {
public:
    bool Start(const QString& path)
    {
        const QByteArray native = QFile::encodeName(path);
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_hold) != 0)
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            // Only async-signal-safe calls between fork and _exit.
            ::close(ready[0]);
            ::close(m_hold[1]);
            const int fd = ::open(native.constData(), O_RDWR | O_CREAT, 0600);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            if (::write(ready[1], &ok, 1) != 1)
                ::_exit(1);
            char c;
            while (::read(m_hold[0], &c, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(m_hold[0]);
        char ok = 'n';
        const bool got = m_pid > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 'y';
        ::close(ready[0]);
        return got;
    }
    void Finish()
    {
        if (m_pid <= 0)
            return;
        ::close(m_hold[1]);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    ~OtherRun() { Finish(); }

private:
    pid_t m_pid{-1};
    int m_hold[2]{-1, -1};
};

class InstanceTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        QDir().mkpath(Path("run"));
        QDir().mkpath(Path("tmp"));
        QFile::setPermissions(Path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("VELMORA_LOCK_DIR", Path("run").toUtf8());
        m_tmpdir = qgetenv("TMPDIR");
        qputenv("TMPDIR", Path("tmp").toUtf8());
    }
    void TearDown() override
    {
        SingleInstance::ReleaseForThisRun();
        qunsetenv("VELMORA_LOCK_DIR");
        if (m_tmpdir.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_tmpdir);
        AppFixture::TearDown();
    }
    QByteArray m_tmpdir;
};

QString OwnTempFolder() { return "/velmora-" + QString::number(::geteuid()); }

} // namespace

TEST_F(InstanceTest, OnlyALockHeldByARunningCopyMeansRunning)
{
    const QString path = SingleInstance::LockPath();
    ASSERT_EQ(path, Path("run") + OwnTempFolder() + ".lock");
    {
        OtherRun other;
        ASSERT_TRUE(other.Start(path));
        InstanceLock probe;
        EXPECT_EQ(probe.Take(path), InstanceLock::HeldElsewhere);
        EXPECT_FALSE(SingleInstance::AcquireForThisRun());
        other.Finish();
        // The copy ended; its file stays behind and means nothing.
        ASSERT_TRUE(QFile::exists(path));
        EXPECT_TRUE(SingleInstance::AcquireForThisRun());
    }
    // Two holders in one process exclude each other too.
    InstanceLock second;
    EXPECT_EQ(second.Take(path), InstanceLock::HeldElsewhere);
    SingleInstance::ReleaseForThisRun();
    EXPECT_EQ(second.Take(path), InstanceLock::Taken);

    // A stale file with old content and nobody holding it.
    second.Release();
    WriteFile("run" + OwnTempFolder() + ".lock", "4242\nvelmora\n");
    EXPECT_EQ(second.Take(path), InstanceLock::Taken);
}

TEST_F(InstanceTest, ALinkPlantedAtTheLockIsNotFollowedAndTheProgramStarts)
{
    const QString path = SingleInstance::LockPath();
    // A link to a file a running process holds, and a link to where a file would be created.
    WriteFile("held.lock", "");
    OtherRun other;
    ASSERT_TRUE(other.Start(Path("held.lock")));
    ASSERT_TRUE(QFile::link(Path("held.lock"), path));
    InstanceLock probe;
    EXPECT_EQ(probe.Take(path), InstanceLock::Unusable);
    EXPECT_TRUE(SingleInstance::AcquireForThisRun());
    SingleInstance::ReleaseForThisRun();

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(Path("victim"), path));
    EXPECT_TRUE(SingleInstance::AcquireForThisRun());
    EXPECT_FALSE(QFile::exists(Path("victim")));
}

TEST_F(InstanceTest, TheLockLivesOnlyInAFolderNobodyElseMayWrite)
{
    const QString uid = OwnTempFolder();
    // The runtime folder when it is private; otherwise our own folder in the temporary one.
    EXPECT_EQ(SingleInstance::LockFolder(Path("run"), Path("tmp")), Path("run"));
    QFile::setPermissions(Path("run"), QFile::Permissions(0x7777)); // rwx for everyone
    EXPECT_EQ(SingleInstance::LockFolder(Path("run"), Path("tmp")), Path("tmp") + uid);
    EXPECT_EQ(QFileInfo(Path("tmp") + uid).permissions() & 0x0077, 0);
    EXPECT_EQ(SingleInstance::LockFolder({}, Path("tmp")), Path("tmp") + uid);
    EXPECT_EQ(SingleInstance::LockFolder(Path("no/such/folder"), Path("tmp")), Path("tmp") + uid);
    // Our own folder left open to others is closed again.
    QFile::setPermissions(Path("tmp") + uid, QFile::Permissions(0x7777));
    EXPECT_EQ(SingleInstance::LockFolder({}, Path("tmp")), Path("tmp") + uid);
    EXPECT_EQ(QFileInfo(Path("tmp") + uid).permissions() & 0x0077, 0);

    // A link planted where our folder goes, or a file there: no folder can be trusted.
    QDir().mkpath(Path("tmp2"));
    QDir().mkpath(Path("elsewhere"));
    ASSERT_TRUE(QFile::link(Path("elsewhere"), Path("tmp2") + uid));
    EXPECT_EQ(SingleInstance::LockFolder({}, Path("tmp2")), QString());
    QDir().mkpath(Path("tmp3"));
    WriteFile("tmp3" + uid, "");
    EXPECT_EQ(SingleInstance::LockFolder({}, Path("tmp3")), QString());
}

TEST_F(InstanceTest, ALockThatCannotBeUsedLetsTheProgramStart)
{
    // No folder to trust at all.
    QFile::setPermissions(Path("run"), QFile::Permissions(0x7777));
    WriteFile("tmp" + OwnTempFolder(), "");
    EXPECT_EQ(SingleInstance::LockPath(), QString());
    EXPECT_TRUE(SingleInstance::AcquireForThisRun());
    SingleInstance::ReleaseForThisRun();

    // A private folder, but the lock path cannot be opened as a file.
    QFile::setPermissions(Path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(SingleInstance::LockPath());
    InstanceLock probe;
    EXPECT_EQ(probe.Take(SingleInstance::LockPath()), InstanceLock::Unusable);
    EXPECT_TRUE(SingleInstance::AcquireForThisRun());
    EXPECT_EQ(probe.Take(Path("no/such/folder/velmora.lock")), InstanceLock::Unusable);
}

namespace {
class ServicesTest : public AppFixture {};
} // namespace

TEST_F(ServicesTest, DriveTypeFromTheMountTableAndSysfs)
{
    // A fake sysfs laid out as the kernel does: class/block/<partition> links to a folder
    // inside its disk's folder, block/<disk> links to the disk. sdb and sdc are USB sticks
    // (removable 1); sda and nvme0n1 are fixed disks. sdc's partition and sda3 are missing
    // from class/block: the walk then goes to block/<disk>.
    const QString sys = Path("sys");
    for (const char* dir : {"devices/sdb/sdb1", "devices/sda/sda2", "devices/sdc", "devices/nvme0n1", "class/block", "block"})
        QDir().mkpath(sys + "/" + dir);
    WriteFile("sys/devices/sdb/removable", "1\n");
    WriteFile("sys/devices/sda/removable", "0\n");
    WriteFile("sys/devices/sdc/removable", "1\n");
    WriteFile("sys/devices/nvme0n1/removable", "0\n");
    ASSERT_TRUE(QFile::link(sys + "/devices/sdb/sdb1", sys + "/class/block/sdb1"));
    ASSERT_TRUE(QFile::link(sys + "/devices/sda/sda2", sys + "/class/block/sda2"));
    ASSERT_TRUE(QFile::link(sys + "/devices/sdb", sys + "/class/block/sdb"));
    for (const char* disk : {"sda", "sdb", "sdc", "nvme0n1"})
        ASSERT_TRUE(QFile::link(sys + "/devices/" + disk, sys + "/block/" + disk));

    const QString mounts = "/dev/sda2 / ext4 rw 0 0\n"
                           "proc /proc proc rw 0 0\n"
                           "/dev/sr0 /mnt/cdrom iso9660 ro 0 0\n"
                           "/dev/loop3 /mnt/disc udf ro 0 0\n"
                           "/dev/sdb1 /mnt/stick vfat rw 0 0\n"
                           "/dev/sdb /mnt/wholestick vfat rw 0 0\n"
                           "/dev/sdc1 /media/ann/My\\040Stick vfat rw 0 0\n"
                           "/dev/sdd1 /run/media/ann/CARD exfat rw 0 0\n"
                           "/dev/sda3 /media/ann/Data ext4 rw 0 0\n"
                           "/dev/nvme0n1p2 /run/media/ann/Games ext4 rw 0 0\n"
                           "/dev/loop0 /media/ann/Image iso9660 ro 0 0\n"
                           "/dev/sr1 /run/media/ann/DISC udf ro 0 0\n"
                           "/dev/sda4 /mnt/cdrom/home ext4 rw 0 0\n";
    struct Case {
        const char* path;
        int type;
    };
    const Case cases[] = {
        {"/opt/velmora", Drives::Fixed},
        {"/mnt/cdrom/Velmora", Drives::CdRom},
        {"/mnt/disc", Drives::CdRom},
        {"/media/ann/Image/Velmora", Drives::CdRom},
        {"/run/media/ann/DISC", Drives::CdRom},
        {"/mnt/stick/Velmora", Drives::Removable},
        {"/mnt/wholestick", Drives::Removable},
        {"/media/ann/My Stick/Velmora", Drives::Removable},
        // Fixed disks mounted where desktops mount sticks.
        {"/media/ann/Data/Velmora", Drives::Fixed},
        {"/run/media/ann/Games/Velmora", Drives::Fixed},
        {"/run/media/ann/CARD", Drives::Fixed}, // the kernel gives no flag for it
        {"/mnt/cdrom/home/ann", Drives::Fixed},  // the deeper mount is the one in force
        {"/mnt/stickier/x", Drives::Fixed},      // a name that only begins like a mount point
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Drives::DriveTypeFrom(c.path, mounts, sys), c.type);
    }
}

TEST_F(ServicesTest, DriveTypeCanBeForcedForTheInstallerRoad)
{
    qputenv("VELMORA_DRIVE_TYPE", "5");
    EXPECT_EQ(Drives::DriveType(m_dir->path()), Drives::CdRom);
    qunsetenv("VELMORA_DRIVE_TYPE");
    EXPECT_NE(Drives::DriveType(m_dir->path()), Drives::CdRom);
}

TEST_F(ServicesTest, TimeZoneInTheOldBiasShape)
{
    struct Case {
        const char* zone;
        QDate date;
        int result;
        int bias;
        int daylightBias;
    };
    const Case cases[] = {
        {"Europe/Berlin", QDate(2026, 1, 15), 1, -60, -60},
        {"Europe/Berlin", QDate(2026, 7, 15), 2, -60, -60},
        {"America/New_York", QDate(2026, 7, 15), 2, 300, -60},
        {"Asia/Shanghai", QDate(2026, 7, 15), 0, -480, 0},
        {"Asia/Kolkata", QDate(2026, 7, 15), 0, -330, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        const QTimeZone zone(c.zone);
        if (!zone.isValid())
            GTEST_SKIP() << "no time-zone data for " << c.zone;
        const TimeZone::Information info = TimeZone::Describe(zone, QDateTime(c.date, QTime(12, 0), zone));
        EXPECT_EQ(info.result, c.result);
        EXPECT_EQ(info.bias, c.bias);
        EXPECT_EQ(info.standardBias, 0);
        if (c.result == 2) {
            EXPECT_EQ(info.daylightBias, c.daylightBias);
        }
        EXPECT_FALSE(info.standardName.isEmpty());
    }
    EXPECT_EQ(TimeZone::Describe(QTimeZone(), QDateTime::currentDateTime()).result, -1);

    TimeZone::Information pinned;
    pinned.result = 1;
    pinned.bias = -600;
    TimeZone::Override(pinned);
    EXPECT_EQ(TimeZone::Query().bias, -600);
    TimeZone::ClearOverride();
}

TEST_F(ServicesTest, PicturesLoadByContentWhateverTheirName)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(Path("a.bmp"), "BMP"));
    ASSERT_TRUE(image.save(Path("b.jpg"), "JPEG"));
    ASSERT_TRUE(image.save(Path("bmp-named.jpg"), "BMP"));
    // The smallest GIF: one pixel.
    WriteFile("c.gif", QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b"));
    WriteFile("text.jpg", "not a picture");
    struct Case {
        const char* file;
        QSize size;
    };
    for (const Case c : {Case{"a.bmp", {4, 3}}, Case{"b.jpg", {4, 3}}, Case{"bmp-named.jpg", {4, 3}}, Case{"c.gif", {1, 1}},
             Case{"text.jpg", {}}, Case{"missing.gif", {}}}) {
        SCOPED_TRACE(c.file);
        const QPixmap pm = Picture::Load(Path(c.file));
        EXPECT_EQ(pm.isNull(), !c.size.isValid());
        if (c.size.isValid()) {
            EXPECT_EQ(pm.size(), c.size);
        }
    }
}

TEST_F(ServicesTest, ScreenAndWorkAreaInTwips)
{
    Twips::OverrideScreen(QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728));
    EXPECT_DOUBLE_EQ(Twips::PerPixelY(), 15.0);
    EXPECT_DOUBLE_EQ(Twips::ScreenWidth(), 15360);
    EXPECT_DOUBLE_EQ(Twips::ScreenHeight(), 11520);
    EXPECT_DOUBLE_EQ(Twips::WorkAreaHeight(), 10920);
    EXPECT_DOUBLE_EQ(Twips::WorkAreaTop(), 0);
    Twips::ClearScreenOverride();
    EXPECT_EQ(Twips::ScreenPixels(), QGuiApplication::primaryScreen()->geometry());
}
