#pragma once
// What the settings panel keeps besides the backdrop mode: the chat partner's address and
// port in Record/Setting.vmq (see SettingRecord), and the one-line text records tutor.txt,
// yourname.txt and backgroundpath.txt in code page 936.

#include <QString>

#include "SafeFile.h"
#include "SettingRecord.h"

constexpr qint16 DefaultChatPort = 1980;

// "a.b.c.d", or "" when every part is 0; the port as text, 0 shown as 1980.
QString AddressText(const SettingRecord& record);
QString PortText(const SettingRecord& record);

// Four dot-separated parts of one to three ASCII digits each, no blanks. Parts are not
// limited to 0-255: the chat partner's stored address keeps what the learner typed.
bool IsValidIP(const QString& text);
// One to four ASCII digits with a value of at least 1 (no signs, blanks, points or exponents).
bool IsValidPort(const QString& text);

// One-line text records of the Record folder. Reading gives the last line, blank-trimmed
// ("" for an empty file); ok is false when the file is missing or refused (ReadLastTextLine),
// and a refused file is kept aside (KeepRefusedRecord). Writing creates the Record folder when
// needed and replaces the file with one line ending in CR LF; a line longer than the reader
// takes is refused before anything is written.
QString ReadOneLineRecord(const QString& fileName, bool* ok = nullptr);
// The last line of a code page 936 text file (CR LF, LF or a lone CR; a final line end starts
// no new line), not trimmed, into *line. Refused: a file that cannot be opened or read, is no
// regular file, whose last line is longer than MaxLastLineBytes (TooLarge) or is not code page
// 936 text (Damaged). The file is read backwards from its end in blocks of ReadLineBlock bytes
// up to the line's start, so what stands before the line is never read; bytesRead, when
// given, tells how much was.
SafeFile::ReadStatus ReadLastTextLine(const QString& path, QString* line, qint64* bytesRead = nullptr);
constexpr qint64 ReadLineBlock = 4096;
constexpr qint64 MaxLastLineBytes = 1 << 20;
bool WriteOneLineRecord(const QString& fileName, const QString& line);

namespace SettingsFiles {
inline const QString Tutor = QStringLiteral("tutor.txt");
inline const QString YourName = QStringLiteral("yourname.txt");
inline const QString BackgroundPath = QStringLiteral("backgroundpath.txt");
} // namespace SettingsFiles
