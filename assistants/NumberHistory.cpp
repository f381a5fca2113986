#include "NumberHistory.h"

#include <QFile>
#include <QFileInfo>

#include "RecordFolder.h"
#include "SafeFile.h"

NumberHistory::NumberHistory(const QString& fileName)
    : m_fileName(fileName)
{
}

QString NumberHistory::Path() const { return RecordPath(m_fileName); }

void NumberHistory::Load()
{
    m_entries.clear();
    m_changed = false;
    // An empty line is no number: one left by an older write would show as a blank entry.
    for (const QString& line : ReadRecordLines(Path()))
        if (!line.isEmpty())
            m_entries.append(line);
}

bool NumberHistory::Add(const QString& text)
{
    if (text.isEmpty() || m_entries.contains(text))
        return false;
    m_entries.append(text);
    m_changed = true;
    return true;
}

bool NumberHistory::Save()
{
    if (!m_changed)
        return true;
    if (m_entries.isEmpty()) {
        m_changed = false;
        return true;
    }
    EnsureRecordFolder();
    if (!SafeFile::WriteTextLines(Path(), m_entries))
        return false;
    m_changed = false;
    return true;
}

bool NumberHistory::Clear()
{
    m_entries.clear();
    m_changed = false;
    const QString path = SafeFile::Native(Path());
    return !QFileInfo::exists(path) || QFile::remove(path);
}

bool NumberHistory::Reset(const QStringList& entries)
{
    m_entries = entries;
    m_changed = true;
    return Save();
}

const QStringList& TelephoneHistoryStart()
{
    static const QStringList start{QStringLiteral("1"), QStringLiteral("010-01234567")};
    return start;
}

void SaveNumberLists(NumberHistory& cardinal, NumberHistory& telephone)
{
    for (NumberHistory* history : {&cardinal, &telephone})
        if (!history->Save())
            ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
}
