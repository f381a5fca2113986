#include "SettingRecord.h"

#include <QtEndian>

#include "RecordFolder.h"
#include "SafeFile.h"

static_assert(sizeof(qint16) * 6 == SettingRecord::Length);

namespace {
QString SettingPath() { return RecordPath(QStringLiteral("Setting.vmq")); }
qint16 Field(const QByteArray& b, int offset) { return qFromLittleEndian<qint16>(b.constData() + offset); }
void Put(QByteArray& b, int offset, qint16 v) { qToLittleEndian<qint16>(v, b.data() + offset); }
} // namespace

SettingRecord SettingRecord::FromBytes(const QByteArray& bytes)
{
    QByteArray b = bytes.left(Length);
    b.append(QByteArray(Length - b.size(), '\0'));
    SettingRecord r;
    r.BackdropMode = Field(b, 0);
    for (int i = 0; i < 4; ++i)
        r.Address[i] = Field(b, 2 + 2 * i);
    r.ChatPort = Field(b, 10);
    return r;
}

QByteArray SettingRecord::ToBytes() const
{
    QByteArray b(Length, '\0');
    Put(b, 0, BackdropMode);
    for (int i = 0; i < 4; ++i)
        Put(b, 2 + 2 * i, Address[i]);
    Put(b, 10, ChatPort);
    return b;
}

SettingRecord ReadSettingRecord()
{
    return SettingRecord::FromBytes(ReadRecordOf(SettingPath(), SettingRecord::Length, 1));
}

bool WriteSettingRecord(const SettingRecord& record)
{
    EnsureRecordFolder();
    return SafeFile::WriteRecord(SettingPath(), SettingRecord::Length, 1, record.ToBytes());
}
