#pragma once
// Code page 936 for the whole program: one converter. Text files are written as GB18030 with
// the euro sign as 936's single byte 0x80, which gives the same bytes as 936 for every
// character 936 has and loses nothing outside it. Reading also takes GB18030's euro (A2E3).

#include <QByteArray>
#include <QString>
#include <optional>

namespace CodePage {
QByteArray ToGbk(const QString& text);
// *ok, when given, is false when the bytes are not all characters (a byte no code starts with, a
// code cut short at the end): those became U+FFFD, and writing the text back would not give
// the bytes again.
QString FromGbk(const QByteArray& bytes, bool* ok = nullptr);
// Code page 936 exactly, for peers that read nothing else (the chat): no value when a
// character has no code there, or when the bytes are not all 936 characters (a lead byte
// without its trail byte, a code 936 leaves empty).
std::optional<QByteArray> To936(const QString& text);
std::optional<QString> From936(const QByteArray& bytes);
// The characters of text that code page 936 cannot carry, each once, in their order.
QString Outside936(const QString& text);
// The character's code in code page 936 as a signed 16-bit value: the two-byte code for a
// double-byte character (negative for Chinese, e.g. 时 gives -13647), the byte for ASCII and
// for the euro sign (128), and 63 ("?") for a character 936 does not have.
qint16 AnsiCode(QChar c);
// True when c has a code in code page 936 (ASCII included).
bool InCodePage(QChar c);
// True when code page 936 encodes c in two bytes.
bool IsDoubleByte(QChar c);
// Whether the program's code page shows Chinese: the code of 时 must be -13647. The
// environment variable VELMORA_FORCE_CODEPAGE_FAILURE (any non-empty value) forces "no".
bool SystemCanShowChinese();
} // namespace CodePage
