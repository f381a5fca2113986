#include "RecordFolder.h"

#include <QDir>
#include <QFileInfo>

#include "AppState.h"
#include "MsgBox.h"

void EnsureRecordFolder()
{
    const QString path = State().AppPath + QStringLiteral("Record");
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(path);
}

QString RecordPath(const QString& name) { return State().AppPath + QStringLiteral("Record/") + name; }

void ShowDiskWriteWarning()
{
    MsgBox::Show(QStringLiteral("Velmora 2007 is unable to write the disk, because you are logged on as a limited user."),
        MsgBox::OkOnly, MsgBox::Critical, QStringLiteral("Warning"));
}
