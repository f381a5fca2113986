#include "RecordFolder.h"

#include <QDir>
#include <QFileInfo>

#include "AppState.h"
#include "MsgBox.h"

QString RecordFolder() { return State().AppPath + QStringLiteral("Record"); }

void EnsureRecordFolder()
{
    const QString path = RecordFolder();
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(path);
}

QString RecordPath(const QString& name) { return State().AppPath + QStringLiteral("Record/") + name; }

void ShowDiskWriteWarning(const QString& folder)
{
    MsgBox::Show(QStringLiteral("Velmora 2007 is unable to write the disk, because you are logged on as a limited user.\n")
            + QDir::toNativeSeparators(folder),
        MsgBox::OkOnly, MsgBox::Critical, QStringLiteral("Warning"));
}
