#pragma once
// Pinyin in its two notations. Numbered pinyin is how the course data, the tables and the
// sound player write it: plain lower-case letters, a "." before the tone vowel, the tone
// digit after the syllable ("n.i3 h.ao3", "zh.ong1g.uo2", ".er2", "d.e0"; "v" for ü; digits
// other than 1-4 are the neutral tone). The screens show tone-marked pinyin ("nǐ hǎo").
// All functions are pure except SplitNumberedPinyin, which fills State().SplitSyllables.

#include <QString>
#include <QStringList>
#include <QtGlobal>

// One vowel slot of a syllable while tone-marked pinyin is turned back into numbers.
struct VowelTone {
    QString Vowel; // "a", "o", "e", "i", "u", "v", or empty for an unknown character
    qint16 Tone{0};
};

// The tone-marked form of a lower-case vowel ("a", "o", "e", "i", "u", "v") for tones 1-4.
// Other tones give the plain vowel ("ü" for "v"); any other text gives an empty result.
QString ToneVowel(const QString& vowel, qint16 tone);

// Every lower-case "v" replaced by "ü".
QString VToUmlaut(const QString& text);

// "n.i3 h.ao3" -> "nǐ hǎo"; "p.eng2y.ou0" -> "péng you". A text without any "." only loses a
// final digit; text after the last digit is dropped; a syllable without "." loses its digit.
QString NumberedToMarkedPinyin(const QString& numbered);

// Every "." replaced by a blank, then blanks trimmed at both ends: "n.i3 h.ao3" -> "n i3 h ao3".
QString DotsToSpaces(const QString& numbered);

// Cuts numbered pinyin into its syllables (each closed by its digit, blanks trimmed) into
// State().SplitSyllables, and returns them. Text after the last digit is dropped.
QStringList SplitNumberedPinyin(const QString& numbered);

// One tone-marked syllable in numbered notation: "hǎo" -> "h.ao3", "liú" -> "li.u2",
// "nüè" -> "nv.e4", "de" -> "d.e0". A piece without vowels comes back unchanged.
QString MarkedToNumberedSyllable(const QString& piece);

VowelTone MakeVowelTone(const QString& vowel, qint16 tone);

// Tone-marked pinyin in numbered notation, syllable by syllable. The separator is "," when
// the text holds a comma, else a blank; every converted piece is followed by it:
// "nǐ hǎo" -> "n.i3 h.ao3 ", "nǐ,hǎo" -> "n.i3,h.ao3,", "" -> " ".
QString MarkedToNumberedPinyin(const QString& marked);
