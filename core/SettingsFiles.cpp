#include "SettingsFiles.h"

#include <QStringList>
#include <QtEndian>

#include "RecordFolder.h"
#include "SafeFile.h"

namespace {
qint16 FieldAt(const QByteArray& rec, int offset) { return qFromLittleEndian<qint16>(rec.constData() + offset); }

void PutField(QByteArray& rec, int offset, qint16 value) { qToLittleEndian<qint16>(value, rec.data() + offset); }

bool AllAsciiDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}
} // namespace

SettingRecord ReadSettingRecord()
{
    const QByteArray rec = SafeFile::ReadRecord(RecordPath(SettingsFiles::Setting), SettingRecord::Length, 1);
    SettingRecord r;
    r.BackdropMode = FieldAt(rec, 0);
    for (int i = 0; i < 4; ++i)
        r.Address[i] = FieldAt(rec, 2 + 2 * i);
    r.ChatPort = FieldAt(rec, 10);
    return r;
}

bool WriteSettingRecord(const SettingRecord& record)
{
    QByteArray rec(SettingRecord::Length, '\0');
    PutField(rec, 0, record.BackdropMode);
    for (int i = 0; i < 4; ++i)
        PutField(rec, 2 + 2 * i, record.Address[i]);
    PutField(rec, 10, record.ChatPort);
    EnsureRecordFolder();
    return SafeFile::WriteRecord(RecordPath(SettingsFiles::Setting), SettingRecord::Length, 1, rec);
}

QString AddressText(const SettingRecord& record)
{
    QStringList parts;
    for (const qint16 p : record.Address)
        parts << QString::number(p);
    const QString text = parts.join(QLatin1Char('.'));
    return text == QLatin1String("0.0.0.0") ? QString() : text;
}

QString PortText(const SettingRecord& record)
{
    return QString::number(record.ChatPort == 0 ? DefaultChatPort : record.ChatPort);
}

bool IsValidIP(const QString& text)
{
    if (text.isEmpty() || text.contains(QLatin1Char(' ')))
        return false;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& p : parts)
        if (p.isEmpty() || p.size() > 3 || !AllAsciiDigits(p))
            return false;
    return true;
}

bool IsValidPort(const QString& text)
{
    if (text.isEmpty() || text.size() > 4 || !AllAsciiDigits(text))
        return false;
    return text.toInt() >= 1;
}

QString TrimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QString ReadOneLineRecord(const QString& fileName, bool* ok)
{
    const QStringList lines = SafeFile::ReadTextLines(RecordPath(fileName), ok);
    return lines.isEmpty() ? QString() : TrimBlanks(lines.last());
}

bool WriteOneLineRecord(const QString& fileName, const QString& line)
{
    EnsureRecordFolder();
    return SafeFile::WriteTextLines(RecordPath(fileName), {line});
}
