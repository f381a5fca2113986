#pragma once
// The learner's settings on disk: Record/Setting.vmq holds one SettingRecord (six 16-bit
// little-endian integers, 12 bytes); tutor.txt, yourname.txt and backgroundpath.txt hold one
// line each in code page 936. Every writer reads the record, changes only its own fields and
// writes it back, so the main window's backdrop mode and the chat address never clobber each
// other.

#include <QString>
#include <array>

struct SettingRecord {
    qint16 BackdropMode{0};             // 0 full screen, 1 show taskbar, 2 hide
    std::array<qint16, 4> Address{};    // the tutor computer's IPv4 parts, all 0 = none
    qint16 ChatPort{0};                 // 0 means 1980

    static constexpr int Length = 12;
};

constexpr qint16 DefaultChatPort = 1980;

// Record 1 of Record/Setting.vmq; a missing, short or unreadable file reads as zeros.
SettingRecord ReadSettingRecord();
// Writes record 1 in place (creating the Record folder first). False when the write failed.
bool WriteSettingRecord(const SettingRecord& record);

// "a.b.c.d", or "" when every part is 0; the port as text, 0 shown as 1980.
QString AddressText(const SettingRecord& record);
QString PortText(const SettingRecord& record);

// Four dot-separated parts of one to three ASCII digits each, no blanks. Parts are not
// limited to 0-255: the chat partner's stored address keeps what the learner typed.
bool IsValidIP(const QString& text);
// One to four ASCII digits with a value of at least 1 (no signs, blanks, points or exponents).
bool IsValidPort(const QString& text);

// Only plain blanks (U+0020) are trimmed; tabs and the ideographic space are text.
QString TrimBlanks(const QString& text);

// One-line text records. Reading gives the last line, blank-trimmed ("" for an empty file);
// ok is false when the file is missing. Writing replaces the file with one line.
QString ReadOneLineRecord(const QString& fileName, bool* ok = nullptr);
bool WriteOneLineRecord(const QString& fileName, const QString& line);

namespace SettingsFiles {
inline const QString Setting = QStringLiteral("Setting.vmq");
inline const QString Tutor = QStringLiteral("tutor.txt");
inline const QString YourName = QStringLiteral("yourname.txt");
inline const QString BackgroundPath = QStringLiteral("backgroundpath.txt");
} // namespace SettingsFiles
