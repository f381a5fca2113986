#pragma once
// The surnames tool's table: 190 surnames with their pinyin, the row number shown padded so
// that it sorts as text in numeric order, the sound each row plays, and the list's sort that
// flips its direction on every header click.

#include <QList>
#include <QString>

struct SurnameRecord {
    int Index{0};    // the row number, 1 to 190
    QString Text;    // one or two characters
    QString Pinyin;  // numbered with tone dots, as stored ("zh.ao4", "s.i1 m.a3")
    QString Marked;  // tone-marked, as shown
    QString Sound;   // numbered without dots ("zhao4", "si1 ma3")
    QString Bearers; // famous bearers, joined by "、"; may be empty
};

QList<SurnameRecord> SurnameTable();

// "  1", " 10", "100".
QString PadIndex(int n);

// What a click on a row plays: a one-character surname its syllable file directly (with the
// tone for the tone label), a longer one its syllables through the syllable queue.
struct SurnameSound {
    QString File;
    QString Tone;
    QString Sequence;
};
SurnameSound SoundOf(const SurnameRecord& surname);

// The list's sort: the key is the column last clicked (0 index, 1 surname, 2 pinyin,
// 3 bearers); every header click flips the direction, whichever column it was.
struct SurnameSort {
    int Column{0};
    bool Descending{false};
    void HeaderClicked(int column);
    void Apply(QList<SurnameRecord>& rows) const;

private:
    QString Key(const SurnameRecord& s) const;
};
