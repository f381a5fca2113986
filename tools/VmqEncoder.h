#pragma once
// The encoder of the coded course files: the inverse of ReadCodedLines. Characters the tag's
// code table holds are written enciphered (negative Kind), every other UTF-16 unit plainly
// (Kind 0 or above); each code is split at random into PartA + PartB; every line ends in 10
// (or 13 10). Code 0 is never written. Shared by the vmqpack tool and by tests that write
// fixture files.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace Vmq {

struct EncodeOptions {
    bool crlf{false};    // end lines in 13 10 instead of 10
    quint64 seed{0};     // the same seed and text always give the same bytes
};

// The coded bytes of lines, or nullopt with *error set: an unknown tag, or a line holding a
// unit the format cannot carry (NUL, CR or LF inside a line).
std::optional<QByteArray> EncodeLines(const QStringList& lines, const QString& tag,
    const EncodeOptions& options = {}, QString* error = nullptr);

// The lines of a UTF-8 text file (a leading byte-order mark is dropped; lines end in LF or
// CR LF; a final line break starts no extra line), or nullopt for invalid UTF-8.
std::optional<QStringList> SplitTextSource(const QByteArray& utf8, QString* error = nullptr);

// The tag a course file is read with, chosen by its path ("/" or "\"; .txt or .vmq):
// Lessons/Script/Lesson_<n>/icwp -> "RW", lifr -> "RT"; Vocabulary/ci<n> -> "VO",
// Vocabulary/zi<n> -> "RW"; Spoken/Script* -> "SP". Empty for any other path.
QString TagForPath(const QString& path);

// A stable 64-bit hash (FNV-1a), used to derive the default seed from a file's content.
quint64 StableHash(const QByteArray& data);

} // namespace Vmq
