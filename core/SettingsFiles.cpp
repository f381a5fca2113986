#include "SettingsFiles.h"

#include <QStringList>

#include "BlankTrim.h"
#include "RecordFolder.h"
#include "SafeFile.h"

namespace {
bool AllAsciiDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}
} // namespace

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

QString ReadOneLineRecord(const QString& fileName, bool* ok)
{
    const QStringList lines = SafeFile::ReadTextLines(RecordPath(fileName), ok);
    return lines.isEmpty() ? QString() : BlankTrim(lines.last());
}

bool WriteOneLineRecord(const QString& fileName, const QString& line)
{
    EnsureRecordFolder();
    return SafeFile::WriteTextLines(RecordPath(fileName), {line});
}
