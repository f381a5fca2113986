#pragma once
// The setup windows in temporary folders: the program folder (AppPath) as the medium, a home
// folder with a blank in its name, the learner's desktop and menu under it (XDG settings), and
// a host whose drives, free space and started programs the tests decide.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include "SetupFiles.h"
#include "Clock.h"
#include "DesktopEntries.h"
#include "DriveType.h"
#include "FormCalls.h"
#include "Forms.h"
#include "InstallEngine.h"
#include "SetupForms.h"
#include "SetupHost.h"
#include "StartupForms.h"
#include "DictionaryForms.h"
#include "TestSupport.h"

class FakeHost : public Installer::Host {
public:
    QStringList TargetBases() const override { return bases; }
    int DriveType(const QString& base) const override { return types.value(base, Drives::Fixed); }
    quint64 FreeBytes(const QString& base) const override { return freeBytes.value(base, quint64(1) << 33); }
    bool StartProgram(const QString& program, const QString& workingFolder) override
    {
        started << program + u'|' + workingFolder;
        return true;
    }

    QStringList bases;
    QHash<QString, int> types;
    QHash<QString, quint64> freeBytes;
    QStringList started;
};

class SetupWindowFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        RegisterStartupForms();
        RegisterDictionaryForms();
        RegisterSetupForms();
        m_home = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/learner home-XXXXXX"));
        ASSERT_TRUE(m_home->isValid());
        m_oldHome = qgetenv("HOME");
        // Desktop and menu entries land under the temporary home, never in the real one.
        qputenv("HOME", m_home->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home->path() + "/.config").toUtf8());
        qputenv("XDG_DATA_HOME", (m_home->path() + "/.local/share").toUtf8());
        Write(m_home->path() + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/My Desktop\"\n");
        qputenv("VELMORA_LOCK_DIR", m_dir->path().toUtf8());
        m_host.bases = {m_home->path()};
        Installer::SetHost(&m_host);
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        Installer::SetHost(nullptr);
        qputenv("HOME", m_oldHome);
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("VELMORA_LOCK_DIR");
        m_home.reset();
    }

    static void Write(const QString& path, const QByteArray& data = "x") { SetupFiles::Write(path, data); }
    static QStringList Tree(const QString& root) { return SetupFiles::Tree(root); }

    QString Home() const { return m_home->path(); }
    QString DesktopEntry() const { return Home() + "/My Desktop/" + DesktopEntries::FileName(); }
    QString MenuEntry() const { return Home() + "/.local/share/applications/" + DesktopEntries::FileName(); }

    FakeHost m_host;
    std::unique_ptr<QTemporaryDir> m_home;
    QByteArray m_oldHome;
};
