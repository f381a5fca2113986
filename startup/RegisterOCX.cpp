#include "RegisterOCX.h"

#include <QCoreApplication>

#include "AppState.h"
#include "Forms.h"
#include "MsgBox.h"
#include "SingleInstance.h"

namespace {
LinuxComponentHost g_linuxHost;
ComponentHost* g_host = &g_linuxHost;
} // namespace

QString LinuxComponentHost::SystemFolder() const { return QStringLiteral("/usr/lib"); }
bool LinuxComponentHost::FileExists(const QString&) const { return true; }
bool LinuxComponentHost::CopyFile(const QString&, const QString&) { return true; }
bool LinuxComponentHost::StartRegistration(const QString&) { return true; }

void SetComponentHost(ComponentHost* host) { g_host = host ? host : &g_linuxHost; }

RegisterOCX::RegisterOCX()
    : Form(QStringLiteral("RegisterOCX"))
{
    SetCaption(QStringLiteral("Velmora 2007 - Register OCX"));
    SetSize(4680, 1110);
    setFixedSize(size());
}

QStringList RegisterOCX::ComponentList()
{
    return {QStringLiteral("COMDLG32.OCX"), QStringLiteral("MCI32.OCX"), QStringLiteral("MSCOMCTL.OCX"),
        QStringLiteral("MSMAPI32.OCX"), QStringLiteral("MSWINSCK.OCX"), QStringLiteral("RICHTX32.OCX"),
        QStringLiteral("STKIT432.DLL"), QStringLiteral("STKITRUN.DLL")};
}

void RegisterOCX::Form_Load()
{
    if (!SingleInstance::AcquireForThisRun()) {
        // Another copy runs: end at once, without a window or a message.
        Unload();
        return;
    }
    State().AppPath = DefaultAppPath();
    const QString systemFolder = GetSystemFolder() + QLatin1Char('/');
    for (const QString& file : ComponentList())
        EnsureComponent(systemFolder, file);
    hide();
    Forms::Load(QStringLiteral("Background"));
}

void RegisterOCX::EnsureComponent(const QString& systemFolder, const QString& fileName)
{
    const QString target = systemFolder + fileName;
    if (g_host->FileExists(target))
        return;
    const QString source = State().AppPath + fileName;
    if (!g_host->FileExists(source)) {
        MsgBox::Warning(QStringLiteral("Fail to find ") + fileName + QStringLiteral(" in the installation path."));
        return;
    }
    if (!g_host->CopyFile(source, target)) {
        MsgBox::Warning(QStringLiteral("Fail to copy ") + fileName + QStringLiteral(" to system directory."));
        return;
    }
    if (!g_host->StartRegistration(QStringLiteral("regsvr32.exe ") + target + QStringLiteral(" /s")))
        MsgBox::Warning(QStringLiteral("Fail to register ") + fileName + QStringLiteral("."));
    QCoreApplication::processEvents();
}

QString RegisterOCX::GetSystemFolder() const { return g_host->SystemFolder(); }
