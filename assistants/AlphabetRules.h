#pragma once
// The pinyin alphabet window's rules without widgets: the groups, how a chart entry is shown
// (its toned forms, their numbered names and the characters that share each), the sound file
// of a toned form, and the moves between syllables.

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

struct CharacterRecord;

// "Group A" ... "Group Z" for the chart's 23 letters (no I, U, V), in alphabetical order.
QStringList AlphabetGroups();

// The entry without its "|" and its four tone flags: "bi|an1011" -> "bian".
QString JoinSyllable(const QString& entry);

// One toned form of a syllable: the caption (tone-marked, ü for v), the numbered name shown
// as its tool tip and looked up in the dictionary ("lv2"), and the characters that have this
// reading. All empty where the tone does not exist.
struct ToneForm {
    QString Caption;
    QString ToolTip;
    QString Tag;
};

// The four toned forms (tones 1 to 4) of a chart entry, the characters taken from the first
// count records of table in table order, each once.
std::array<ToneForm, 4> ToneForms(const QString& entry, const QVector<CharacterRecord>& table, int count);

// AppPath + "Phonetic Symbols/" + letter + "/" + the joined syllable + tone + ".wav".
QString AlphabetSoundPath(const QString& appPath, const QString& letter, const QString& entry, int tone);

// The next syllable after index, back to 1 after the last.
int NextSyllable(int index, int count);
// The syllable before index; index itself when it is the first.
int PreviousSyllable(int index);
