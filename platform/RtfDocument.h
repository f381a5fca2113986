#pragma once
// RTF in and out for the rich-text box: a reader for the subset the program writes (and the
// common parts of what word processors write, so a learner's own file opens), and a writer
// for saving. Both work on a flat list of formatted runs and paragraph breaks, so they can be
// tested and fuzzed without a widget.
//
// Reading rules:
// - \'hh bytes and raw 8-bit bytes are text in code page 936 (GB18030 read, so nothing is
//   lost); \uN gives the UTF-16 unit N and skips the \ucN fallback characters after it. Bytes
//   that are no characters there are read as U+FFFD and the result says so (undecodable); a
//   font name made of such bytes is no font name.
// - \fN names a font of the font table; an unknown font number keeps the box's default font.
// - \cfN picks a colour of the colour table; 0, a missing table or an index past its end mean
//   the box's default text colour.
// - \par, \page and \row end a paragraph; \line is a line break inside the paragraph
//   (U+2028); \tab and \cell give a tab. Text characters the box would start a paragraph at
//   (CR, LF or CR LF, U+2029, U+FDD0, U+FDD1, from escapes such as \'0a or \u8233) end a
//   paragraph too, and count as the paragraph ends they become.
// - Unknown control words are ignored; ignorable (\*) and non-text destinations (pictures,
//   style sheets, document info, field instructions, ...) are skipped whole.
// - Broken input never fails: unbalanced braces, huge numbers and truncated escapes are read
//   as far as they make sense and the rest is dropped.
// - Hostile input stays within fixed limits: groups nested deeper than 1024 are counted, not
//   stored; \binN skips its N raw bytes; font and colour tables keep their first 1024
//   entries; a document of more than MaxPieces runs and paragraph ends is read up to there,
//   and the result says it stopped. The writer has no limit of its own: whoever saves checks
//   the count (RichTextBox::SaveFile), and since a written document reads back in at most as
//   many pieces as it was written from, what was saved within the limit loads back whole.

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVector>

struct RtfCharFormat {
    QString fontName;     // empty: the box's default font
    int fontCharset{-1};  // \fcharset of the font table entry, -1 when unknown
    double pointSize{0};  // 0: the box's default size
    bool bold{false};
    bool italic{false};
    bool underline{false};
    QColor color;         // invalid: the box's default text colour

    bool operator==(const RtfCharFormat&) const = default;
};

enum class RtfAlignment { Left, Center, Right, Justify };

struct RtfPiece {
    enum Kind { Text, ParagraphEnd };
    Kind kind{Text};
    QString text;              // Text only
    RtfCharFormat format;      // Text: the run's format; ParagraphEnd: the format of the break
    RtfAlignment alignment{RtfAlignment::Left}; // alignment of the paragraph in effect

    bool operator==(const RtfPiece&) const = default;
};

struct RtfContent {
    QVector<RtfPiece> pieces;
    // Alignment in effect at the end, for a last paragraph without \par.
    RtfAlignment finalAlignment{RtfAlignment::Left};
    // The document held more than Rtf::MaxPieces pieces: the rest was dropped.
    bool truncated{false};
    // Bytes of its text were no characters of code page 936 (GB18030 read): they stand as
    // U+FFFD, and a save would not give them back.
    bool undecodable{false};
};

namespace Rtf {
// The most runs and paragraph ends a document is read with: room for a text of 300,000 lines.
constexpr qsizetype MaxPieces = 600000;

// True when the bytes start (after blanks) with "{\rtf".
bool LooksLikeRtf(const QByteArray& data);
// Reads RTF bytes. Adjacent runs of one format are merged.
RtfContent Read(const QByteArray& data);
// Reads RTF given as a string (the builders' output): the string is turned into code page
// 936 bytes first, so characters that code page cannot hold arrive unchanged.
RtfContent Read(const QString& rtf);

// Plain text as paragraphs in one format, as the rich-text box takes it: CR LF, CR, LF and
// the characters the box itself breaks a paragraph at (U+2029, U+FDD0, U+FDD1) end a
// paragraph; a vertical tab is a line break inside one (U+2028).
RtfContent FromPlainText(const QString& text, const RtfCharFormat& format);

// Writes a complete document. Runs without a font name or size are written in the default
// font and size given here. Two-byte characters of code page 936 are written as \'hh
// escapes, others outside ASCII as \uN.
QString Write(const QVector<RtfPiece>& pieces, const QString& defaultFontName, double defaultPointSize);
} // namespace Rtf
