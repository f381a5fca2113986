#include "SurnameTable.h"

#include <algorithm>

#include "Pinyin.h"
#include "SurnameData.h"
#include "SyllableQueue.h"
#include "TextFilters.h"

QList<SurnameRecord> SurnameTable()
{
    QList<SurnameRecord> table;
    int index = 0;
    for (const SurnameData& row : SurnameRows()) {
        SurnameRecord s;
        s.Index = ++index;
        s.Text = QString::fromUtf8(row.Surname);
        s.Pinyin = QString::fromLatin1(row.Pinyin);
        s.Marked = NumberedToMarkedPinyin(s.Pinyin);
        s.Sound = StripPunctuation(s.Pinyin);
        s.Bearers = QString::fromUtf8(row.Bearers);
        table << s;
    }
    return table;
}

QString PadIndex(int n)
{
    return PadNumber(static_cast<qint16>(n));
}

SurnameSound SoundOf(const SurnameRecord& surname)
{
    SurnameSound sound;
    if (surname.Text.size() == 1) {
        sound.Tone = surname.Sound.right(1);
        sound.File = SyllableSoundPath(surname.Sound);
    } else {
        sound.Sequence = surname.Sound;
    }
    return sound;
}

void SurnameSort::HeaderClicked(int column)
{
    Column = column;
    Descending = !Descending;
}

QString SurnameSort::Key(const SurnameRecord& s) const
{
    switch (Column) {
    case 1: return s.Text;
    case 2: return s.Marked;
    case 3: return s.Bearers;
    default: return PadIndex(s.Index);
    }
}

void SurnameSort::Apply(QList<SurnameRecord>& rows) const
{
    // As a list sorts its text: case-insensitive, with the rows' own order breaking ties.
    std::stable_sort(rows.begin(), rows.end(), [this](const SurnameRecord& a, const SurnameRecord& b) {
        const int order = Key(a).compare(Key(b), Qt::CaseInsensitive);
        return Descending ? order > 0 : order < 0;
    });
}
