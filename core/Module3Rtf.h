#pragma once
// The rich-text builders every reading window uses: small RTF documents in code page 936 with
// a Chinese and a Latin font, appended to rich-text boxes. All of them are pure functions that
// return a new string; the exact bytes matter, because windows search and cache what the boxes
// show.

#include <QString>

// Font modes of RtfEncodeText.
namespace RtfFontMode {
constexpr int Plain = 0;         // two-byte characters as escapes, no font switch
constexpr int SongThenFont0 = 1; // each two-byte character in font 1, then back to font 0
constexpr int SongThenFont2 = 2; // each two-byte character in font 1, then on in font 2
} // namespace RtfFontMode

// RTF body text of a plain text: two-byte characters of code page 936 as \'hh\'ll escapes (with
// font switches in modes 1 and 2), a leading digit kept apart from the control word before it,
// and "\", "{" and "}" escaped.
QString RtfEncodeText(const QString& text, int fontMode);

// One-style documents: the whole text in one font, size, colour and weight.
QString RtfBlackRoman16Par(const QString& text);
QString RtfBoldRedSong24(const QString& text);
QString RtfBoldRedSong24Par(const QString& text);
QString RtfGreySans12Par(const QString& text);
QString RtfRedSans12Par(const QString& text);
QString RtfGreySans12(const QString& text);
QString RtfRedSans12(const QString& text);
QString RtfBoldBlueSong24Par(const QString& text);
QString RtfBoldBlueSong24(const QString& text);
QString RtfGreySans10Par(const QString& text);
QString RtfGreySans10(const QString& text);
QString RtfRedSong16Par(const QString& text);
QString RtfBlueSong16Par(const QString& text);

// A dictionary entry: red headword, black pinyin part, red meaning, grey source, then a second
// paragraph with the "Example Sentences:" heading (only when examples is not empty) and the
// examples, which are RTF fragments made by the two example-line builders below.
QString RtfDictionaryEntry(const QString& word, const QString& pinyinPart, const QString& meaning,
                           const QString& source, const QString& examples, int indent);
// An on-line look-up entry: blue query, red meanings, grey source, with or without examples.
QString RtfQueryEntry(const QString& query, const QString& meanings, const QString& source,
                      const QString& examples, int indent);
QString RtfQueryEntryNoExamples(const QString& query, const QString& meanings, const QString& source);

// One example line (an RTF fragment for the entries above): blue Song 12 pt for Chinese, grey
// sans 10 pt for English, after indent blanks.
QString RtfExampleChineseLine(const QString& text, int indent);
QString RtfExampleEnglishLine(const QString& text, int indent);
