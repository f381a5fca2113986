// Platform services: single instance, drive type, time zone, pictures, screen in twips.

#include <QDir>
#include <QFile>
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

namespace {
class ServicesTest : public AppFixture {};
}

TEST_F(ServicesTest, OnlyOneHolderOfTheInstanceLockAtATime)
{
    const QString path = Path("velmora.lock");
    InstanceLock first;
    InstanceLock second;
    ASSERT_TRUE(first.TryLock(path));
    EXPECT_FALSE(second.TryLock(path));
    first.Release();
    EXPECT_TRUE(second.TryLock(path));
}

TEST_F(ServicesTest, ALockFileLeftBehindByAnEndedRunDoesNotBlock)
{
    WriteFile("velmora.lock", "4242\nvelmora\n");
    InstanceLock lock;
    EXPECT_TRUE(lock.TryLock(Path("velmora.lock")));
    InstanceLock nowhere;
    EXPECT_FALSE(nowhere.TryLock(Path("no/such/folder/velmora.lock")));
}

TEST_F(ServicesTest, TheLockFileLivesInTheChosenFolderPerUser)
{
    qputenv("VELMORA_LOCK_DIR", m_dir->path().toUtf8());
    EXPECT_TRUE(SingleInstance::LockPath().startsWith(m_dir->path() + "/velmora-"));
    EXPECT_TRUE(SingleInstance::LockPath().endsWith(".lock"));
    qunsetenv("VELMORA_LOCK_DIR");
}

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
