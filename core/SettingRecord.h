#pragma once
// Record/Setting.vmq: one 12-byte record of six 16-bit little-endian integers. Every writer
// reads the record, changes only its own fields and writes it back.

#include <QByteArray>
#include <QtGlobal>

struct SettingRecord {
    qint16 BackdropMode{0};   // 0 full screen, 1 above the taskbar, other: the one-pixel strip
    qint16 Address[4]{0, 0, 0, 0}; // the tutor computer's IPv4 address, part 1 first
    qint16 ChatPort{0};       // 0 means 1980

    static constexpr int Length = 12;
    static SettingRecord FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;
};

// Record 1 of AppPath + "Record/Setting.vmq"; a missing or unreadable file reads as zeros, and
// one refused is kept aside (KeepRefusedRecord).
SettingRecord ReadSettingRecord();
// Writes record 1 in place (temporary file, then rename), creating the Record folder when
// needed. False when the write failed.
bool WriteSettingRecord(const SettingRecord& record);
